// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"
#include "screenshot_decoder.h"

#include <QImage>
#include <QProcess>

#include <functional>
#include <optional>

namespace tessaro::guitest
{

// How long a window test waits for what it expects to see (a window, a
// screenshot, a process gone) before it fails: long enough for a busy machine.
constexpr int patienceMs = 30000;

// What a program prints, or nothing when it fails or outlasts the timeout.
std::optional<QString> run(const QString &program, const QStringList &arguments,
                           int timeoutMs = patienceMs);

// The real program (or a test build of it) on the test's X display. Ended,
// if it still runs, when the object goes.
class RunningClock
{
public:
    RunningClock() = default;
    RunningClock(const RunningClock &) = delete;
    RunningClock &operator=(const RunningClock &) = delete;
    ~RunningClock();

    // Starts it with NAME=value pairs added to its environment and waits for
    // its main window to be mapped (not yet painted: see awaitShot). With
    // FAKETIME* settings libfaketime fakes its wall clock; Qt's timers keep
    // the real monotonic clock.
    bool start(const QStringList &environment = {}, const QString &timeZone = QStringLiteral("UTC"),
               const QString &program = qEnvironmentVariable("TESSARO_BINARY"));
    [[nodiscard]] QString window() const { return m_window; }
    [[nodiscard]] qint64 pid() const { return m_process.processId(); }
    [[nodiscard]] QImage grab() const;
    bool click(ElementKey key) const;
    // Screenshots until `check` finds nothing wrong with one (returns an empty
    // text) or patience runs out; what was wrong with the last one.
    QString awaitShot(const std::function<QString(const QImage &)> &check) const;
    // Screenshots until the face reads `expected` in this lit colour; what
    // the last one showed (its face, or what kept it from being read).
    QString awaitFace(const QString &expected, QColor lit = screenshot::startLit) const;
    // Screenshots until the face reads as any date and time in this lit
    // colour; what was wrong with the last one.
    QString awaitAnyFace(QColor lit = screenshot::startLit) const;
    // Clicks "Exit"; the exit status, or -1 if the clock did not end.
    int exitByButton();

    static bool click(const QString &window, QPoint at);
    static std::optional<QString> xdotool(const QStringList &arguments, int timeoutMs = patienceMs)
    {
        return run(QStringLiteral("xdotool"), arguments, timeoutMs);
    }

private:
    QProcess m_process;
    QString m_window;
};

// Waits until `done` holds; false, with what was on the screen kept and
// printed (evidence.h), if patience runs out.
bool awaitTrue(const std::function<bool()> &done, int timeoutMs = patienceMs);
// The visible top-level windows whose title matches the pattern.
QStringList visibleWindows(const QString &titlePattern);
// Moves a window to a place on the screen and waits until it is there.
bool moveWindow(const QString &window, QPoint to);
// Types keys as the keyboard does, to the window given the focus first (a key
// sent to the window itself loses its release when it closes the window, and
// auto-repeat presses it on), until `done` holds; again if a window that
// has just appeared has not yet taken it. False if `done` never holds.
bool typeUntil(const QString &window, const QString &keys, const std::function<bool()> &done);

} // namespace tessaro::guitest
