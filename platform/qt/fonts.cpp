// SPDX-License-Identifier: GPL-3.0-or-later
#include "fonts.h"

namespace tessaro::qt
{

QFont font(FontId id)
{
    const FontDef def = fontDef(id);
    QFont f(def.serif ? QStringLiteral("Liberation Serif") : QStringLiteral("Liberation Sans"));
    f.setStyleHint(def.serif ? QFont::Serif : QFont::SansSerif);
    f.setPixelSize(def.pixelSize);
    f.setWeight(def.bold ? QFont::Bold : QFont::Normal);
    // Captions line place values up with cell columns through runs of
    // spaces; kerning would shift them by fractions of a pixel.
    f.setKerning(false);
    // Without kerning, Latin text needs no shaping; plain glyph advances
    // give the same pixels, with no HarfBuzz tables loaded for each face and
    // a cheaper layout on every repaint of a readout.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

} // namespace tessaro::qt
