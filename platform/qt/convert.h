// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour.h"
#include "windowmodel.h"

#include <QColor>
#include <QLine>
#include <QRect>
#include <QString>

#include <string_view>

namespace tessaro::qt
{

inline QRect toQRect(const PixelRect &r)
{
    return {r.left, r.top, r.width, r.height};
}

inline PixelRect toPixelRect(const QRect &r)
{
    return {r.x(), r.y(), r.width(), r.height()};
}

inline QLine toQLine(const PixelLine &l)
{
    return {l.x1, l.y1, l.x2, l.y2};
}

// Resolves system colours from the application palette.
QColor toQColor(Colour colour);
inline Colour toColour(const QColor &c)
{
    return rgb(unsigned(c.red()), unsigned(c.green()), unsigned(c.blue()));
}

inline QString toQString(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

} // namespace tessaro::qt
