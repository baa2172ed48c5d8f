// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QRect>
#include <QString>

#include <optional>

// Reads a screenshot of the main window's client area at 96 dpi, or at
// another scale (1.5 for 144 dpi). Positions come from the window's table in
// twips; the screenshot may come from any toolkit that draws the window.
namespace tessaro::screenshot
{

// The rectangle of a main window element in pixels; an empty one if the
// window has no such element.
QRect elementRect(ElementKey key, double ratio = 1.0);

// The centre of an About dialog element in pixels.
QPoint aboutCentre(ElementKey key);

// The colour of most pixels inside the rectangle, one pixel in from its
// edges, so that a border or an anti-aliased edge does not count.
QColor mainColour(const QImage &shot, const QRect &rect);
// Whether any pixel of the rectangle has exactly this colour.
bool showsColour(const QImage &shot, const QRect &rect, QColor colour);
// Whether anything dark (text, a border, a line) is drawn in the rectangle.
bool showsInk(const QImage &shot, const QRect &rect);

// The colours a cell shows: lit (the colour buttons' choice; blue at start),
// dark, and the window's green where a hidden year cell was.
inline const QColor startLit{0, 0, 192};
inline const QColor dark{128, 255, 128};
inline const QColor windowGreen{0, 255, 0};

// A face as text: "06.12.2026 12:34:56 (11 year cells)".
QString faceText(const QDateTime &local);
// Reads the six bit rows cell by cell: each cell only lit or dark (from 2048
// the four highest year cells only the window's green), the rows a real date
// and time. Else nothing, and `fault` says what shows.
std::optional<QString> readFace(const QImage &shot, QString &fault, QColor lit = startLit,
                                double ratio = 1.0);

} // namespace tessaro::screenshot
