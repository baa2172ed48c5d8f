// SPDX-License-Identifier: GPL-3.0-or-later
#include "devicepixels.h"

#include "classiclook.h"

#include <QPainter>
#include <QWidget>

namespace tessaro::qt
{

DevicePixels::DevicePixels(const QWidget &widget, QPainter &painter)
    : m_painter(painter), m_origin(widget.mapTo(widget.window(), QPoint(0, 0))),
      m_ratio(widget.devicePixelRatioF()), m_lineWidth(deviceLineWidth(m_ratio))
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

DeviceEdges DevicePixels::edges(const QRect &logical) const
{
    return deviceEdges(
        {m_origin.x() + logical.x(), m_origin.y() + logical.y(), logical.width(), logical.height()},
        m_ratio);
}

DeviceEdges DevicePixels::inset(DeviceEdges e, int lines) const
{
    return look::inset(e, lines, m_lineWidth);
}

void DevicePixels::fill(const DeviceEdges &e, const QColor &colour)
{
    if (e.right <= e.left || e.bottom <= e.top)
        return;
    // Back to the widget's logical coordinates: the painter scales by the
    // ratio again and lands on exactly these device pixels.
    const QRectF local(e.left / m_ratio - m_origin.x(), e.top / m_ratio - m_origin.y(),
                       (e.right - e.left) / m_ratio, (e.bottom - e.top) / m_ratio);
    m_painter.fillRect(local, colour);
}

void DevicePixels::frame(const DeviceEdges &e, const QColor &topLeft, const QColor &bottomRight)
{
    const look::FrameRuns runs = look::frameRuns(e, m_lineWidth);
    for (const DeviceEdges &run : runs.topLeft)
        fill(run, topLeft);
    for (const DeviceEdges &run : runs.bottomRight)
        fill(run, bottomRight);
}

void DevicePixels::ring(const look::FocusRing &ring)
{
    const QColor colour(int(redOf(ring.colour)), int(greenOf(ring.colour)),
                        int(blueOf(ring.colour)));
    for (int line = 0; line < ring.lines; ++line)
        frame(inset(ring.outer, line), colour);
}

void DevicePixels::line(const QLine &logical, LineStyle style, const QColor &colour)
{
    const PixelLine inWindow{m_origin.x() + logical.x1(), m_origin.y() + logical.y1(),
                             m_origin.x() + logical.x2(), m_origin.y() + logical.y2()};
    for (const DeviceEdges &run : look::lineRuns(inWindow, style, m_ratio, look::qtPens))
        fill(run, colour);
}

} // namespace tessaro::qt
