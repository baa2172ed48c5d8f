// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "elements.h"

#include <QDateTime>
#include <QImage>
#include <QProcess>
#include <QTest>

#include <optional>

namespace tessaro::guitest {

// The real program (or a test build of it) on the test's X display.
class RunningClock
{
public:
    ~RunningClock();
    // Starts it with NAME=value pairs added to its environment and waits for
    // its main window. With FAKETIME* settings libfaketime fakes its wall
    // clock; Qt's timers keep the real monotonic clock.
    bool start(const QStringList &environment = {}, const QString &timeZone = QStringLiteral("UTC"),
               const QString &program = qEnvironmentVariable("TESSARO_BINARY"));
    [[nodiscard]] QString window() const { return m_window; }
    [[nodiscard]] qint64 pid() const { return m_process.processId(); }
    [[nodiscard]] QImage grab() const;
    bool click(ElementKey key) const;
    int exitByButton(); // the exit status, or -1 if the clock did not end

    static bool click(const QString &window, QPoint at);
    static std::optional<QString> xdotool(const QStringList &arguments, int timeoutMs = 10000);
    static void waitForTicks(int ticks = 3) { QTest::qWait(ticks * 100 + 150); }

private:
    QProcess m_process;
    QString m_window;
};

// A face as text: "06.12.2026 12:34:56 (11 year cells)".
QString faceText(const QDateTime &local);
// Reads the six bit rows cell by cell: each cell only lit or dark (from 2048
// the four highest year cells only the window's green), the rows a real date
// and time; else `fault` says what shows.
std::optional<QString> readFace(const QImage &shot, QString &fault, QColor lit = QColor(0, 0, 192));

} // namespace tessaro::guitest
