// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "windowdef.h"

#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <optional>

// Drives a program's windows on the test's X display as a user does, with
// xdotool, and reads their screenshots by the main window's table, at 96 dpi
// or another scale (1.5 for 144 dpi), whichever toolkit draws it.
namespace tessaro::screenshot
{

// A main window element's rectangle in pixels; empty if the window has none.
QRect elementRect(ElementKey key, double ratio = 1.0);
QPoint aboutCentre(ElementKey key);

// The colour of most pixels inside the rectangle, one pixel in from its
// edges, so that a border or an anti-aliased edge does not count.
QColor mainColour(const QImage &shot, const QRect &rect);
bool showsColour(const QImage &shot, const QRect &rect, QColor colour);
// Whether anything dark (text, a border, a line) is drawn in the rectangle.
bool showsInk(const QImage &shot, const QRect &rect);

// The colours a cell shows: lit (the colour buttons' choice; blue at start),
// dark, and the window's green where a hidden year cell was.
inline const QColor startLit{0, 0, 192};
inline const QColor dark{128, 255, 128};
inline const QColor windowGreen{0, 255, 0};

// A face as text: "06.12.2026 12:34:56 (11 year cells)".
QString faceText(const QDateTime &local);
// Reads the six bit rows cell by cell: each cell only lit or dark (from 2048
// the four highest year cells only the window's green), the rows a real date
// and time. Else nothing, and `fault` says what shows.
std::optional<QString> readFace(const QImage &shot, QString &fault, QColor lit = startLit,
                                double ratio = 1.0);

// How long a window test waits for what it expects: enough for a busy 2-core machine.
constexpr int patienceMs = 30000;

// What a program prints, or nothing when it fails or outlasts the patience;
// unless `quiet`, a failure is told with the program's errors.
std::optional<QString> run(const QString &program, const QStringList &arguments,
                           bool quiet = false);
std::optional<QString> xdotool(const QStringList &arguments);
// Keeps what was on the X screen (screenshots, the windows with titles and
// places, the focus, the processes still running) under TESSARO_SHOT_DIR.
void reportFailedWait(const QString &what, const QImage &lastShot = {});
// Waits until `done` holds; false, with the evidence kept, if it never does.
bool awaitTrue(const std::function<bool()> &done, const QString &what, const QImage &lastShot = {});
QSize windowSize(const QString &window);
bool reg(const QStringList &arguments);
// Moves the pointer off every window, so that no tooltip shows.
bool parkPointer();

// The program with its main window, its wall clock set by libfaketime; ended
// when the object goes.
class RunningClock
{
public:
    ~RunningClock();

    // The program on Linux, with NAME=value pairs added to its environment;
    // with FAKETIME* among them libfaketime fakes its wall clock.
    bool start(const QStringList &environment = {}, const QString &timeZone = QStringLiteral("UTC"),
               const QString &program = qEnvironmentVariable("TESSARO_BINARY"));
    // Tessaro.exe under wine, the wall clock standing at a moment (UTC) until
    // the next is set, at a screen resolution of its own.
    bool startUnderWine(const QDateTime &moment, int dpi = 96);
    // The moment the faked clock shows from now on; the real time for an invalid one.
    void setMoment(const QDateTime &moment);

    [[nodiscard]] QString window() const { return m_window; }
    [[nodiscard]] qint64 pid() const { return m_process.processId(); }
    // The program's visible top-level windows whose title matches the pattern.
    [[nodiscard]] QStringList windows(const QString &titlePattern) const;
    // The client area as it stands on the screen.
    [[nodiscard]] QImage grab() const;
    // Screenshots until `check` finds nothing wrong with one (returns an empty
    // text); else what was wrong with the last one.
    QString awaitShot(const std::function<QString(const QImage &)> &check) const;
    [[nodiscard]] QImage lastShot() const { return m_lastShot; }
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
    // Waits for the program to end; its exit status, or -1.
    int awaitExit();
    // Whether a window of the program's title but not its size shows.
    [[nodiscard]] bool showsMessage() const;

private:
    bool launch(const QString &program, const QStringList &arguments,
                const QStringList &environment, double ratio);
    // xdotool's arguments that move the pointer to a point of a window's client area.
    QStringList pointerTo(const QString &window, QPoint clientPoint) const;

    QTemporaryDir m_dir;
    QString m_timeFile = m_dir.filePath(QStringLiteral("moment"));
    QProcess m_process;
    bool m_wine = false;
    QString m_window;
    QRect m_client;
    mutable QImage m_lastShot;
};

} // namespace tessaro::screenshot
