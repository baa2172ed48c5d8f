// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>

namespace tessaro::guitest {

// The real `tessaro` executable running on the test's X display, optionally
// under faketime, with helpers to find its window, click its elements and
// take screenshots of it.
class RunningClock
{
public:
    struct Options {
        // FAKETIME value: "2026-12-06 12:34:56" stands still, "@2026-12-06
        // 12:34:56" starts there and runs; empty runs on the real clock.
        QString fakeTime;
        QString timeZone = QStringLiteral("UTC");
        // Further NAME=value pairs for the clock's environment.
        QStringList environment;
    };

    RunningClock() = default;
    ~RunningClock();
    RunningClock(const RunningClock &) = delete;
    RunningClock &operator=(const RunningClock &) = delete;

    // Starts the clock and waits until its main window is mapped. On failure
    // returns false and leaves the reason in error().
    bool start(const Options &options);
    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] QString windowId() const { return m_window; }
    [[nodiscard]] qint64 pid() const { return m_process.processId(); }
    QProcess &process() { return m_process; }

    // The window's size as the X server has it.
    [[nodiscard]] QSize windowSize() const;
    // A screenshot of the window's client area.
    [[nodiscard]] QImage grab() const;
    // Saves a screenshot under TESSARO_SHOTS (or the temp dir); returns the path.
    static QString save(const QImage &shot, const QString &name);

    // Clicks the centre of an element of the main window.
    bool click(ElementKey key) const;
    // Sends keys (xdotool key names) to the window.
    bool key(const QString &keys) const;

    // Waits for the next ticks to have painted (a little over two ticks).
    static void waitForTicks(int ticks = 3);

    // Ends the clock; returns its exit status, or -1 if it did not exit.
    int stop();

    // Runs xdotool; returns its stdout, or nothing when it failed.
    static std::optional<QString> xdotool(const QStringList &arguments, int timeoutMs = 10000);

    // The centre of an element of the main window in window pixels.
    static QPoint centreOf(ElementKey key);
    static QColor colourAt(const QImage &shot, QPoint point);

private:
    QProcess m_process;
    QString m_window;
    QString m_error;
};

} // namespace tessaro::guitest
