// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtapplication.h"

#include "application.h"

#include "convert.h"
#include "qttoolkit.h"
#include "tessaro_version.h"

#include <QApplication>
#include <QByteArray>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

namespace tessaro::qt
{
namespace
{

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

void refuseWithoutSession(const char *reason)
{
    std::fprintf(stderr, "tessaro: Tessaro braucht eine grafische Sitzung (%s).\n", reason);
}

// While QApplication connects to the display, Qt's messages are held back. A
// display that is set but cannot be reached (a server that has gone, a stale
// DISPLAY in a remote shell) ends in Qt's fatal advice about platform
// plugins and an abort with a core dump; instead the clock says in one line
// what is missing and ends with status 1. Once connected, the held messages
// are passed on unchanged.
class DisplayConnection
{
public:
    DisplayConnection() { previous_ = qInstallMessageHandler(&DisplayConnection::hold); }
    ~DisplayConnection()
    {
        qInstallMessageHandler(previous_);
        for (const Held &message : held_) {
            if (!previous_)
                break;
            const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
            previous_(message.type, context, message.text);
        }
        held_.clear();
    }
    DisplayConnection(const DisplayConnection &) = delete;
    DisplayConnection &operator=(const DisplayConnection &) = delete;

private:
    struct Held {
        QtMsgType type;
        QByteArray category;
        QString text;
    };

    static void hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type == QtFatalMsg) {
            const QByteArray reason =
                "keine Verbindung zum Display; DISPLAY=" + qgetenv("DISPLAY") +
                ", WAYLAND_DISPLAY=" + qgetenv("WAYLAND_DISPLAY");
            refuseWithoutSession(reason.constData());
            std::_Exit(1);
        }
        held_.push_back({type, QByteArray(context.category), text});
    }

    static inline QtMessageHandler previous_ = nullptr;
    static inline std::vector<Held> held_;
};

} // namespace

int runApplication(int &argc, char **argv,
                   const std::function<std::shared_ptr<void>(Toolkit &)> &start)
{
    if (!graphicalSessionAvailable()) {
        refuseWithoutSession(
            "kein Display gefunden; DISPLAY oder WAYLAND_DISPLAY ist nicht gesetzt");
        return 1;
    }
    // The windows draw their own faces; Fusion keeps check boxes and message
    // boxes the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    std::optional<DisplayConnection> connecting(std::in_place);
    QApplication application(argc, argv);
    connecting.reset();
    QApplication::setApplicationName(toQString(app::title));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(app::versionMajor)
                                            .arg(app::versionMinor)
                                            .arg(app::versionRevision));
    // The icon is the main window's own (its table says so); the About
    // dialog has none.
    QGuiApplication::setDesktopFileName(toQString(app::applicationId));

    QtToolkit toolkit;
    const std::shared_ptr<void> program = start(toolkit);
    return QApplication::exec();
}

} // namespace tessaro::qt

namespace tessaro
{

int runApplication(int &argc, char **argv, const ProgramStart &start)
{
    return qt::runApplication(argc, argv, start);
}

} // namespace tessaro
