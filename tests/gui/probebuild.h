// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "infotessaro_window.h"
#include "runningclock.h"
#include "ruzozura_keys.h"

#include <QTemporaryDir>

#include <string_view>

namespace tessaro::guitest
{

// The test build of the clock whose registry names the probe program (it
// leaves "<its path>.ran" holding its process id and stays 4 s), with its
// About dialog. In a sanitized build every report goes to a directory of its
// own, which a test reads once the clock has ended.
class ProbeBuild
{
public:
    ProbeBuild();

    bool start();
    [[nodiscard]] RunningClock &clock() { return m_clock; }
    [[nodiscard]] QString dialog() const { return m_dialog; }

    // Clicks "Info " and waits for the one About dialog, then moves it beside
    // the main window, out of the way of its buttons and screenshots.
    bool openDialog();
    bool dialogClosed() const { return visibleWindows(dialogTitle).isEmpty(); }
    bool clickInDialog(ElementKey button) const;
    // Clicks Systeminfo and waits for the probe; its process id, or 0.
    qint64 startProbe();
    // The sanitizers' report files, if any (kept for reading if so).
    QStringList reports();

    static inline const QString dialogTitle = QStringLiteral("^Info zu Tessaro$");

private:
    QTemporaryDir m_reports; // outlives the clock, which may still write to it
    RunningClock m_clock;
    QString m_dialog;
    const QString m_probe = qEnvironmentVariable("TESSARO_SYSINFO_PROBE");
    const QString m_marker = m_probe + QStringLiteral(".ran");
};

// Whether a process has ended and been reaped (no zombie left either).
bool processGone(qint64 pid);

} // namespace tessaro::guitest
