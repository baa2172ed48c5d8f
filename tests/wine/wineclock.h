// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace tessaro::winetest
{

// How long a test waits for what it expects (a window, a screenshot, a
// process gone) before it fails: long enough for a busy 2-core machine.
constexpr int patienceMs = 30000;

// The client area of the main window at 96 dpi, and where wine's own frame
// puts it inside the window (thin fixed border and caption).
constexpr QPoint clientOffset{3, 22};
constexpr QSize clientSize{407, 469};

// Tessaro.exe running under wine on the test's X display, its wall clock
// set by libfaketime from a file the test rewrites: each moment stands
// still until the next one is set. Ended, if it still runs, when the object
// goes.
class WineClock
{
public:
    WineClock();
    ~WineClock();
    WineClock(const WineClock &) = delete;
    WineClock &operator=(const WineClock &) = delete;

    // Starts the program at a moment ("2047-12-31 23:59:59", local time in
    // UTC) and waits for its main window, which has the client area of
    // `ratio` times 96 dpi (wine's LogPixels must say the same).
    bool start(const QString &moment, double ratio = 1.0);
    void setMoment(const QString &moment);
    [[nodiscard]] QString window() const { return m_window; }

    // The client area as it stands on the screen.
    [[nodiscard]] QImage grab() const;
    // Screenshots until `check` finds nothing wrong (an empty text) or
    // patience runs out; what was wrong with the last one.
    QString awaitShot(const std::function<QString(const QImage &)> &check) const;
    // The screenshot that awaitShot() looked at last.
    [[nodiscard]] QImage lastShot() const { return m_lastShot; }
    bool click(ElementKey key) const;
    bool clickAt(const QString &window, QPoint clientPoint) const;
    // Rests the pointer on an element (coming from the window's empty left
    // margin), or moves it off every window.
    bool hover(ElementKey key) const;
    static bool parkPointer();
    // Presses keys on the keyboard, to the program's window in front. Without
    // a window manager wine at times leaves the X keyboard focus on the root
    // window when one of its windows closes, though the program has made the
    // next one active: the focus is given to that one first, as a window
    // manager would.
    static bool keys(const QString &keys);
    // Waits for the program to end; its exit status, or -1 (with what was on
    // the screen kept if it still runs).
    int awaitExit();

private:
    // The program's titled window that is shown topmost.
    static QString frontWindow();

    QTemporaryDir m_dir;
    QString m_timeFile;
    QProcess m_process;
    QString m_window;
    mutable QImage m_lastShot;
    QRect m_client{clientOffset, clientSize}; // in the window, wine's frame included
};

// Runs a program to its end; its standard output, or nothing on failure.
std::optional<QString> run(const QString &program, const QStringList &arguments,
                           int timeoutMs = patienceMs);
// The visible top-level windows whose title matches the pattern, with their
// sizes (wine's frame included).
struct TopWindow {
    QString id;
    QSize size;
};
QList<TopWindow> visibleWindows(const QString &titlePattern);
// Waits until `done` holds; false, with what was on the screen kept and
// printed, if patience runs out.
bool awaitTrue(const std::function<bool()> &done, int timeoutMs = patienceMs);
// A registry command of wine's reg tool ("add", "delete", ...).
bool reg(const QStringList &arguments);

} // namespace tessaro::winetest
