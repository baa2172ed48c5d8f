// SPDX-License-Identifier: GPL-3.0-or-later
#include "devicepixels.h"

#include "devicegrid.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

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
    const int by = lines * m_lineWidth;
    return {e.left + by, e.top + by, e.right - by, e.bottom - by};
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
    const int w = m_lineWidth;
    fill({e.left, e.top, e.right, e.top + w}, topLeft);
    fill({e.left, e.top, e.left + w, e.bottom}, topLeft);
    fill({e.left, e.bottom - w, e.right, e.bottom}, bottomRight);
    fill({e.right - w, e.top, e.right, e.bottom}, bottomRight);
}

void DevicePixels::line(const QLine &logical, LineStyle style, const QColor &colour)
{
    const bool horizontal = logical.dy() == 0;
    const int length = std::abs(horizontal ? logical.dx() : logical.dy()) + 1;
    const int direction = (horizontal ? logical.dx() : logical.dy()) < 0 ? -1 : 1;
    // Runs of drawn pixels become one rectangle each.
    for (int step = 0; step < length;) {
        if (!linePixelDrawn(style, step)) {
            ++step;
            continue;
        }
        int end = step;
        while (end < length && linePixelDrawn(style, end))
            ++end;
        const int first = direction > 0 ? step : -(end - 1);
        const int count = end - step;
        const QRect run = horizontal ? QRect(logical.x1() + first, logical.y1(), count, 1)
                                     : QRect(logical.x1(), logical.y1() + first, 1, count);
        DeviceEdges e = edges(run);
        if (horizontal)
            e.bottom = e.top + m_lineWidth;
        else
            e.right = e.left + m_lineWidth;
        fill(e, colour);
        step = end;
    }
}

} // namespace tessaro::qt
