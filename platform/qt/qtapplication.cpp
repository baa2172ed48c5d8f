// SPDX-License-Identifier: GPL-3.0-or-later
#include "application.h"

#include "commandline.h"
#include "convert.h"
#include "qttoolkit.h"
#include "tessaro_version.h"

#include <QApplication>
#include <QByteArray>
#include <QStyleFactory>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace tessaro
{
namespace qt
{
namespace
{

// Qt aborts with a long trace when it cannot reach a display; a desktop
// clock without one should just say so.
bool graphicalSessionAvailable(const CommandLine &commandLine)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!commandLine.platformName.empty() || !commandLine.displayName.empty() ||
        qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
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
    explicit DisplayConnection(const CommandLine &commandLine)
    {
        m_chosen = chosenDisplay(commandLine);
        m_previous = qInstallMessageHandler(&DisplayConnection::hold);
    }
    ~DisplayConnection()
    {
        qInstallMessageHandler(m_previous);
        for (const Held &message : m_held) {
            if (!m_previous)
                break;
            const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
            m_previous(message.type, context, message.text);
        }
        m_held.clear();
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
            const std::string reason = "keine Verbindung zum Display; " + m_chosen;
            refuseWithoutSession(reason.c_str());
            std::_Exit(1);
        }
        m_held.push_back({type, QByteArray(context.category), text});
    }

    // Names what chose the display: the options if given, else the
    // environment.
    static std::string chosenDisplay(const CommandLine &commandLine)
    {
        std::string chosen;
        if (!commandLine.platformName.empty())
            chosen = "-platform " + commandLine.platformName;
        if (!commandLine.displayName.empty())
            chosen += (chosen.empty() ? "" : " ") + ("-display " + commandLine.displayName);
        if (chosen.empty()) {
            chosen = "DISPLAY=" + qgetenv("DISPLAY").toStdString() +
                     ", WAYLAND_DISPLAY=" + qgetenv("WAYLAND_DISPLAY").toStdString();
        }
        return chosen;
    }

    static inline std::string m_chosen;
    static inline QtMessageHandler m_previous = nullptr;
    static inline std::vector<Held> m_held;
};

// Answers --help, --version and a bad command line; returns the exit status.
int answerCommandLine(const CommandLine &commandLine)
{
    std::FILE *stream = commandLine.action == CommandLine::Action::PrintToStdout ? stdout : stderr;
    std::fputs(commandLine.text.c_str(), stream);
    return commandLine.exitStatus;
}

} // namespace
} // namespace qt

// Qt's event loop, with the clock's windows as Qt widgets.
int runApplication(int &argc, char **argv,
                   const std::function<std::shared_ptr<void>(Toolkit &)> &start)
{
    // The command line is read before Qt, which needs a display.
    const CommandLine commandLine = parseCommandLine({argv, argv + argc});
    if (commandLine.action != CommandLine::Action::Run)
        return qt::answerCommandLine(commandLine);
    if (!qt::graphicalSessionAvailable(commandLine)) {
        qt::refuseWithoutSession(
            "kein Display gefunden; DISPLAY oder WAYLAND_DISPLAY ist nicht gesetzt");
        return 1;
    }
    // The windows draw their own faces; Fusion keeps check boxes and message
    // boxes the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // Qt sees only the window-system options that were kept; they live as
    // long as the application.
    std::vector<std::string> qtArguments = commandLine.toolkitArguments;
    std::vector<char *> qtArgv;
    for (std::string &argument : qtArguments)
        qtArgv.push_back(argument.data());
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(qtArguments.size());
    std::optional<qt::DisplayConnection> connecting(std::in_place, commandLine);
    QApplication application(qtArgc, qtArgv.data());
    connecting.reset();
    // The window's fixed layout is drawn left to right; a right-to-left
    // locale must not mirror the widgets around the painted cells.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    QApplication::setApplicationName(qt::toQString(app::title));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(app::versionMajor)
                                            .arg(app::versionMinor)
                                            .arg(app::versionRevision));
    // The icon is the main window's own (its table says so); the About
    // dialog has none.
    QGuiApplication::setDesktopFileName(qt::toQString(app::applicationId));

    qt::QtToolkit toolkit;
    const std::shared_ptr<void> program = start(toolkit);
    return QApplication::exec();
}

} // namespace tessaro
