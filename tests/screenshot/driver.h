// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "screenshot_decoder.h"

#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <optional>

// Drives a program's windows on the test's X display as a user does, with
// xdotool: finds them, screenshots, clicks, types and hovers. Every wait has
// a deadline, and a wait that runs out keeps what was on the screen.
namespace tessaro::screenshot
{

// How long a window test waits for what it expects: enough for a busy 2-core machine.
constexpr int patienceMs = 30000;

// What a program prints, or nothing when it fails or outlasts the timeout.
std::optional<QString> run(const QString &program, const QStringList &arguments,
                           int timeoutMs = patienceMs);
std::optional<QString> xdotool(const QStringList &arguments);
// Keeps what was on the X screen (screenshots, the windows with titles and
// places, the focus, the processes still running) in a new folder under
// TESSARO_SHOT_DIR or the temporary folder. `what` names the wait.
void reportFailedWait(const QString &what, const QImage &lastShot = {});
// Waits until `done` holds; false, with the evidence kept, if it never does.
bool awaitTrue(const std::function<bool()> &done, const QString &what, int timeoutMs = patienceMs);
// The visible top-level windows whose title matches the pattern.
QStringList visibleWindows(const QString &titlePattern);
QSize windowSize(const QString &window);
bool reg(const QStringList &arguments);
// Moves the pointer off every window, so that no tooltip shows.
bool parkPointer();

// The program with its main window, its wall clock set by libfaketime; ended
// when the object goes.
class RunningClock
{
public:
    RunningClock();
    RunningClock(const RunningClock &) = delete;
    RunningClock &operator=(const RunningClock &) = delete;
    ~RunningClock();

    // The program on Linux, with NAME=value pairs added to its environment;
    // with FAKETIME* among them libfaketime fakes its wall clock.
    bool start(const QStringList &environment = {}, const QString &timeZone = QStringLiteral("UTC"),
               const QString &program = qEnvironmentVariable("TESSARO_BINARY"));
    // Tessaro.exe under wine, the wall clock standing at a moment (UTC) until
    // the next is set, at a screen resolution of its own.
    bool startUnderWine(const QDateTime &moment, int dpi = 96);
    // The moment the faked clock shows from now on; "+0" for the real time.
    void setMoment(const QString &secondsSinceEpoch);
    void setMoment(const QDateTime &moment);

    [[nodiscard]] QString window() const { return m_window; }
    [[nodiscard]] qint64 pid() const { return m_process.processId(); }
    // The client area as it stands on the screen.
    [[nodiscard]] QImage grab() const;
    // Screenshots until `check` finds nothing wrong with one (returns an empty
    // text); else what was wrong with the last one.
    QString awaitShot(const std::function<QString(const QImage &)> &check) const;
    [[nodiscard]] QImage lastShot() const { return m_lastShot; }
    // Screenshots until the face reads `expected` in this lit colour.
    QString awaitFace(const QString &expected, QColor lit = startLit, double ratio = 1.0) const;
    bool click(ElementKey key) const;
    // Clicks a point of a window's client area, then parks the pointer.
    bool clickAt(const QString &window, QPoint clientPoint) const;
    // Rests the pointer on an element, coming from the window's left margin.
    bool hover(ElementKey key) const;
    // Presses keys, to the program's topmost titled window, given the X focus
    // first as a window manager would: without one, wine at times leaves it
    // on the root window when one of its windows closes.
    bool keys(const QString &keys) const;
    // Presses keys again until `done` holds, in case a window that has just
    // appeared has not yet taken the focus.
    bool typeUntil(const QString &keys, const std::function<bool()> &done) const;
    // Waits for the program to end; its exit status, or -1.
    int awaitExit();

private:
    bool launch(const QString &program, const QStringList &arguments, QProcessEnvironment env,
                double ratio);
    // The program's visible windows whose title matches the pattern.
    QStringList ownWindows(const QString &titlePattern) const;
    QString frontWindow() const;

    QTemporaryDir m_dir;
    QString m_timeFile;
    QProcess m_process;
    bool m_wine = false;
    QString m_window;
    QRect m_client;
    mutable QImage m_lastShot;
};

} // namespace tessaro::screenshot
