// SPDX-License-Identifier: GPL-3.0-or-later
#include "convert.h"

#include <QGuiApplication>
#include <QPalette>

namespace tessaro::qt
{

QColor toQColor(Colour colour)
{
    if (!isSystemColour(colour))
        return QColor(int(redOf(colour)), int(greenOf(colour)), int(blueOf(colour)));

    const QPalette palette = QGuiApplication::palette();
    switch (colour) {
    case colours::windowText:
        return palette.color(QPalette::WindowText);
    case colours::buttonFace:
        return palette.color(QPalette::Button);
    case colours::buttonText:
        return palette.color(QPalette::ButtonText);
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace tessaro::qt
