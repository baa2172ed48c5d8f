// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "classiclook.h"

#include <QColor>
#include <QLine>
#include <QPoint>
#include <QRect>

class QPainter;
class QWidget;

namespace tessaro::qt
{

// Paints a widget's lines and edges on whole device pixels of its window.
// At 125 %, 150 % or 175 % a one-pixel pen on a widget's edge falls between
// device pixels and is clipped away, or comes out wider on one side than on
// the other. Rectangles whose corners are device pixels, rounded edge by
// edge in window coordinates as Qt rounds the widget's own clip, keep every
// line at least one device pixel wide, every border the same width on all
// four sides, and neighbours touching.
class DevicePixels
{
public:
    DevicePixels(const QWidget &widget, QPainter &painter);
    // The device pixels a rectangle of the widget (logical pixels) covers.
    [[nodiscard]] DeviceEdges edges(const QRect &logical) const;
    // Device pixels of a line one logical pixel wide.
    [[nodiscard]] int lineWidth() const { return m_lineWidth; }
    // `lines` line widths inside every edge.
    [[nodiscard]] DeviceEdges inset(DeviceEdges edges, int lines) const;

    void fill(const DeviceEdges &edges, const QColor &colour);
    // A frame one line wide along the inside of `edges`; bottom and right
    // are drawn last, so they own the corners they share with top and left.
    void frame(const DeviceEdges &edges, const QColor &topLeft, const QColor &bottomRight);
    void frame(const DeviceEdges &edges, const QColor &colour) { frame(edges, colour, colour); }
    void ring(const look::FocusRing &ring);
    // A horizontal or vertical line through the logical pixels from p1 to
    // p2 (both drawn), in the style's pattern counted from p1.
    void line(const QLine &logical, LineStyle style, const QColor &colour);

private:
    QPainter &m_painter;
    QPoint m_origin; // of the widget in its window, logical pixels
    double m_ratio;
    int m_lineWidth;
};

} // namespace tessaro::qt
