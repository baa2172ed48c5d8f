// SPDX-License-Identifier: GPL-3.0-or-later
// Placeholder until the icon design lands.
#include "icon.h"

namespace tessaro::qt {

QImage renderTessaroIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QIcon tessaroIcon()
{
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(renderTessaroIcon(16)));
    icon.addPixmap(QPixmap::fromImage(renderTessaroIcon(32)));
    return icon;
}

} // namespace tessaro::qt
