// SPDX-License-Identifier: GPL-3.0-or-later
#include "elementwidgets.h"

#include "classiclook.h"
#include "convert.h"
#include "devicepixels.h"
#include "qtaccessibility.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace tessaro::qt
{
namespace
{

// The classic raised or sunken edge: two lines, light above and left, dark
// below and right (swapped when sunken); one line on a very small element.
void drawEdge(DevicePixels &device, const DeviceEdges &outer, bool sunken, bool twoLines)
{
    const QColor outerLight = sunken ? QColor(Qt::black) : QColor(Qt::white);
    const QColor outerDark = sunken ? QColor(Qt::white) : QColor(Qt::black);
    const QColor innerLight = sunken ? QColor(128, 128, 128) : QColor(223, 223, 223);
    const QColor innerDark = sunken ? QColor(223, 223, 223) : QColor(128, 128, 128);
    device.frame(outer, outerLight, outerDark);
    if (twoLines)
        device.frame(device.inset(outer, 1), innerLight, innerDark);
}

} // namespace

// --- LabelWidget -----------------------------------------------------------

LabelWidget::LabelWidget(QWidget *parent, Qt::Alignment alignment, bool transparent)
    : QWidget(parent), m_alignment(alignment), m_transparent(transparent)
{
    if (!transparent)
        setAttribute(Qt::WA_OpaquePaintEvent);
}

void LabelWidget::setCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void LabelWidget::showCaption(const QString &caption, bool condensed)
{
    if (condensed != (font().letterSpacing() < 0)) {
        QFont condensedFont = font();
        // Half a pixel less between letters makes Liberation Sans about as
        // wide as the face the window was laid out for.
        condensedFont.setLetterSpacing(QFont::AbsoluteSpacing, condensed ? -0.5 : 0.0);
        setFont(condensedFont);
    }
    setCaption(caption);
}

void LabelWidget::setBackColour(const QColor &colour)
{
    if (colour == m_back)
        return;
    m_back = colour;
    if (!m_transparent)
        update();
}

void LabelWidget::setForeColour(const QColor &colour)
{
    if (colour == m_fore)
        return;
    m_fore = colour;
    update();
}

void LabelWidget::setBorder(bool border)
{
    if (border == m_border)
        return;
    m_border = border;
    update();
}

QRect LabelWidget::textRect() const
{
    return toQRect(look::textRect(toPixelRect(rect()), m_border));
}

void LabelWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(event->rect(), m_back);
    if (m_border) {
        DevicePixels device(*this, painter);
        device.frame(device.edges(rect()), Qt::black);
    }
    const QRect text = textRect();
    painter.setClipRect(text);
    painter.setPen(m_fore);
    painter.setFont(font());
    const int flags = int(Qt::AlignTop | m_alignment | Qt::TextWordWrap);
    if (captionHeight(text, flags) <= text.height()) {
        painter.drawText(text, flags, m_caption);
        return;
    }
    drawTightLines(painter, text);
}

void LabelWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_oneLineHeight = -1;
    QWidget::changeEvent(event);
}

namespace
{

// Letters and digits only: no break opportunity, so the caption is one line.
bool isOneWord(const QString &caption)
{
    return !caption.isEmpty() && std::all_of(caption.begin(), caption.end(), [](QChar c) {
        return c.unicode() < 128 && c.isLetterOrNumber();
    });
}

} // namespace

// The height of the wrapped caption. The readouts that change every second
// ("1", "0", "3B", "59") are single words of one line, whose height is the
// same for every such word in the label's font; measuring it once spares
// those repaints a second text layout.
int LabelWidget::captionHeight(const QRect &text, int flags)
{
    const QFontMetrics metrics(font());
    if (!isOneWord(m_caption))
        return metrics.boundingRect(text, flags, m_caption).height();
    if (m_oneLineHeight < 0)
        m_oneLineHeight = metrics.boundingRect(text, flags, QStringLiteral("0")).height();
    return m_oneLineHeight;
}

// The substitute faces run a little wider than the ones the window was laid
// out for, so a wrapped text can need one line more than its label has room
// for. Rather than cut the last line in half, the lines move closer together,
// down to the font's pixel size.
void LabelWidget::drawTightLines(QPainter &painter, const QRect &text)
{
    QTextLayout layout(m_caption, font(), this);
    QTextOption option(m_alignment);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    int lines = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(text.width());
        ++lines;
    }
    layout.endLayout();
    const QFontMetricsF metrics(font());
    const qreal minimum = font().pixelSize() > 0 ? font().pixelSize() : metrics.height() * 0.85;
    const qreal step = look::lineStep(lines, text.height(), minimum, metrics.lineSpacing());
    for (int i = 0; i < layout.lineCount(); ++i)
        layout.lineAt(i).setPosition(QPointF(0, i * step));
    layout.draw(&painter, text.topLeft());
}

// --- CellWidget ------------------------------------------------------------

CellWidget::CellWidget(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CellWidget::setBackColour(const QColor &colour)
{
    if (colour == m_back)
        return;
    m_back = colour;
    update();
}

void CellWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), m_back);
}

// --- LineWidget ------------------------------------------------------------

LineWidget::LineWidget(QWidget *parent, QLine line, LineStyle style)
    : QWidget(parent), m_line(line), m_style(style)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const int left = std::min(line.x1(), line.x2());
    const int top = std::min(line.y1(), line.y2());
    setGeometry(left, top, std::abs(line.dx()) + 1, std::abs(line.dy()) + 1);
}

void LineWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DevicePixels device(*this, painter);
    device.line(m_line.translated(-pos()), m_style, Qt::black);
}

// --- WebFrameWidget --------------------------------------------------------

WebFrameWidget::WebFrameWidget(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WebFrameWidget::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void WebFrameWidget::setColours(const QColor &back, const QColor &fore)
{
    m_back = back;
    m_fore = fore;
    update();
}

void WebFrameWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_back);
    const QFontMetrics metrics(font());
    const look::WebFrameLayout layout =
        look::webFrameLayout(width(), height(), metrics.ascent(), metrics.height(),
                             metrics.horizontalAdvance(m_caption));
    DevicePixels device(*this, painter);
    device.frame(device.edges(toQRect(layout.border)), QColor(128, 128, 128));
    painter.fillRect(toQRect(layout.captionBack), m_back);
    painter.setPen(m_fore);
    painter.drawText(toQRect(layout.text), int(Qt::AlignLeft | Qt::AlignTop), m_caption);
}

// --- GroupFrameWidget ------------------------------------------------------

GroupFrameWidget::GroupFrameWidget(QWidget *parent) : QWidget(parent) {}

void GroupFrameWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DevicePixels device(*this, painter);
    // A grey frame, and a white one a line further right and down.
    const DeviceEdges outer = device.edges(rect());
    const int line = device.lineWidth();
    device.frame({outer.left, outer.top, outer.right - line, outer.bottom - line},
                 QColor(128, 128, 128));
    device.frame({outer.left + line, outer.top + line, outer.right, outer.bottom}, Qt::white);
}

// --- FaceButton ------------------------------------------------------------

FaceButton::FaceButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FaceButton::setFaceColour(const QColor &colour)
{
    m_face = colour;
    update();
}

void FaceButton::setTextColour(const QColor &colour)
{
    m_text = colour;
    update();
}

QSize FaceButton::sizeHint() const
{
    return size();
}

void FaceButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DevicePixels device(*this, painter);
    const DeviceEdges outer = device.edges(rect());
    device.fill(outer, m_face);
    const bool sunken = isDown() || isChecked();
    drawEdge(device, outer, sunken, width() > 4 && height() > 4);

    const QRect content = rect().adjusted(2, 2, -2, -2).translated(sunken ? 1 : 0, sunken ? 1 : 0);
    if (!text().isEmpty()) {
        painter.setPen(m_text);
        painter.setFont(font());
        painter.drawText(content, int(Qt::AlignCenter | Qt::TextShowMnemonic), text());
    }
    if (!hasFocus())
        return;
    const auto ring = look::focusRing(ElementKind::Button, outer, toPixelRect(rect()),
                                      toColour(m_face), device.lineWidth());
    if (ring)
        device.ring(*ring);
}

// --- CheckBoxWidget --------------------------------------------------------

CheckBoxWidget::CheckBoxWidget(QWidget *parent) : QCheckBox(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CheckBoxWidget::setBackColour(const QColor &colour)
{
    m_back = colour;
    update();
}

QSize CheckBoxWidget::sizeHint() const
{
    return size();
}

bool CheckBoxWidget::hitButton(const QPoint &pos) const
{
    return rect().contains(pos);
}

QRect CheckBoxWidget::boxRect() const
{
    return toQRect(look::checkBoxRect(width(), height()));
}

// The classic 13-pixel box: a sunken edge of two lines around a white
// square, and a check mark of seven columns, each three pixels high. Drawn
// whole inside the control at every scale; the control's own colour shows
// around it where the control is larger than the box.
void CheckBoxWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DevicePixels device(*this, painter);
    device.fill(device.edges(rect()), m_back);
    const QRect box = boxRect();
    const DeviceEdges outer = device.edges(box);
    device.fill(outer, Qt::white);
    if (hasFocus()) {
        device.ring(*look::focusRing(ElementKind::CheckBox, outer, toPixelRect(box), colours::white,
                                     device.lineWidth()));
    } else {
        device.frame(outer, QColor(128, 128, 128), Qt::white);
        device.frame(device.inset(outer, 1), QColor(64, 64, 64), QColor(223, 223, 223));
    }
    if (checkState() == Qt::Unchecked)
        return;
    const QColor mark = checkState() == Qt::Checked ? QColor(Qt::black) : QColor(128, 128, 128);
    for (const PixelRect &column : look::checkMark(toPixelRect(box)))
        device.fill(device.edges(toQRect(column)), mark);
}

// --- PictureWidget ---------------------------------------------------------

PictureWidget::PictureWidget(QWidget *parent, QImage picture)
    : QWidget(parent), m_picture(std::move(picture))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    DevicePixels device(*this, painter);
    const DeviceEdges outer = device.edges(rect());
    device.fill(outer, palette().color(QPalette::Button));
    if (!m_picture.isNull())
        painter.drawImage(QPoint(2, 2), m_picture);
    drawEdge(device, outer, true, width() > 4 && height() > 4);
    if (hasFocus())
        device.ring(*look::focusRing(ElementKind::PictureBox, outer, toPixelRect(rect()),
                                     toColour(palette().color(QPalette::Button)),
                                     device.lineWidth()));
}

} // namespace tessaro::qt
