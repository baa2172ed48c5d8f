// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtapplication.h"

#include "convert.h"
#include "icon.h"
#include "qttoolkit.h"
#include "tessaro_version.h"

#include <QApplication>
#include <QByteArray>
#include <QStyleFactory>

#include <cstdio>

namespace tessaro::qt {
namespace {

// Qt aborts with a long trace when it cannot reach a display; a desktop
// clock without one should just say so.
bool graphicalSessionAvailable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

} // namespace

int runApplication(int &argc, char **argv,
                   const std::function<std::shared_ptr<void>(Toolkit &)> &start)
{
    if (!graphicalSessionAvailable()) {
        std::fputs("tessaro: Tessaro braucht eine grafische Sitzung (kein Display gefunden; "
                   "DISPLAY oder WAYLAND_DISPLAY ist nicht gesetzt).\n",
                   stderr);
        return 1;
    }
    // The windows draw their own faces; Fusion keeps check boxes and message
    // boxes the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication application(argc, argv);
    QApplication::setApplicationName(toQString(app::title));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(app::versionMajor)
                                            .arg(app::versionMinor)
                                            .arg(app::versionRevision));
    QGuiApplication::setDesktopFileName(toQString(app::applicationId));
    QApplication::setWindowIcon(tessaroIcon());

    QtToolkit toolkit;
    const std::shared_ptr<void> program = start(toolkit);
    return QApplication::exec();
}

} // namespace tessaro::qt
