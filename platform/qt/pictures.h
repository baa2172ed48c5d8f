// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <QImage>

namespace tessaro::qt
{

// The fixed picture of a picture box; a null image for none.
QImage picture(PictureId id);

} // namespace tessaro::qt
