// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

namespace tessaro::qt {

// Fixed pictures of picture boxes, by the picture id in ElementDef::style.
// An unknown id gives a null image.
QImage picture(int id);

} // namespace tessaro::qt
