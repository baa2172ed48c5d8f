// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour.h"
#include "windowdef.h"

#include <QColor>
#include <QLine>
#include <QRect>
#include <QString>

#include <cmath>
#include <string_view>

namespace tessaro::qt {

// Twips to logical pixels, rounded to the nearest pixel.
constexpr int pixels(int twips)
{
    return (twips >= 0 ? twips + twipsPerPixel / 2 : twips - twipsPerPixel / 2) / twipsPerPixel;
}

inline QRect pixelRect(const TwipRect &r)
{
    return {pixels(r.left), pixels(r.top), pixels(r.width), pixels(r.height)};
}

// A line's two end points in pixels (TwipRect holds X1, Y1, X2, Y2).
inline QLine pixelLine(const TwipRect &r)
{
    return {pixels(r.left), pixels(r.top), pixels(r.width), pixels(r.height)};
}

// Resolves system colours from the application palette.
QColor toQColor(Colour colour);

inline QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

} // namespace tessaro::qt
