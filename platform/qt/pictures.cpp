// SPDX-License-Identifier: GPL-3.0-or-later
// Placeholder until the About picture lands.
#include "pictures.h"

namespace tessaro::qt {

QImage picture(int id)
{
    (void)id;
    return {};
}

} // namespace tessaro::qt
