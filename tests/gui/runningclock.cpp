// SPDX-License-Identifier: GPL-3.0-or-later
#include "runningclock.h"

#include "evidence.h"
#include "ruzozura_keys.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcessEnvironment>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tessaro::guitest
{

bool RunningClock::start(const QStringList &environment, const QString &timeZone,
                         const QString &program)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"TZ"_s, timeZone);
    for (const QString &pair : environment)
        env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    // Preloaded: the faketime wrapper would fork, a process between test and clock.
    if (!environment.filter(u"FAKETIME"_s).isEmpty()) {
        env.insert(u"LD_PRELOAD"_s, qEnvironmentVariable("TESSARO_LIBFAKETIME"));
        env.insert(u"FAKETIME_DONT_FAKE_MONOTONIC"_s, u"1"_s);
    }
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, {});
    if (!m_process.waitForStarted(patienceMs))
        return false;
    m_window = xdotool({u"search"_s, u"--sync"_s, u"--onlyvisible"_s, u"--pid"_s,
                        QString::number(pid()), u"--name"_s, u"^Tessaro$"_s})
                   .value_or(QString())
                   .section(u'\n', 0, 0);
    if (m_window.isEmpty())
        screenshot::reportFailedWait(u"the main window"_s);
    return !m_window.isEmpty();
}

RunningClock::~RunningClock()
{
    m_process.terminate(); // nothing if it has ended
    if (!m_process.waitForFinished(patienceMs))
        m_process.kill();
    m_process.waitForFinished(patienceMs);
}

QImage RunningClock::grab() const
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(WId(m_window.toULongLong()))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

bool RunningClock::click(ElementKey key) const
{
    const QRect rect = screenshot::elementRect(key);
    return !rect.isEmpty() && click(m_window, rect.center());
}

QString RunningClock::awaitShot(const std::function<QString(const QImage &)> &check) const
{
    QString wrong = check(grab());
    // A screenshot takes a few milliseconds of the X server; a tick is 100 ms.
    QImage shot;
    for (QDeadlineTimer patience(patienceMs); !wrong.isEmpty() && !patience.hasExpired();) {
        QTest::qWait(40);
        shot = grab();
        wrong = check(shot);
    }
    if (!wrong.isEmpty()) {
        // Kept to be looked at: what the test saw last.
        QTemporaryFile file(QDir::tempPath() + u"/tessaro-window-test-XXXXXX.png"_s);
        file.setAutoRemove(false);
        if (file.open() && shot.save(&file, "PNG"))
            qWarning("the last screenshot: %s", qPrintable(file.fileName()));
        screenshot::reportFailedWait(u"a screenshot: "_s + wrong);
    }
    return wrong;
}

QString RunningClock::awaitFace(const QString &expected, QColor lit) const
{
    QString shown;
    awaitShot([&](const QImage &shot) {
        QString fault;
        shown = screenshot::readFace(shot, fault, lit).value_or(fault);
        return shown == expected ? QString() : shown;
    });
    return shown;
}

QString RunningClock::awaitAnyFace(QColor lit) const
{
    return awaitShot([&](const QImage &shot) {
        QString fault;
        return screenshot::readFace(shot, fault, lit) ? QString() : fault;
    });
}

int RunningClock::exitByButton()
{
    if (!click(ruzozura::Command1))
        return -1;
    if (!m_process.waitForFinished(patienceMs)) {
        screenshot::reportFailedWait(u"the clock to end after Exit"_s);
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

bool RunningClock::click(const QString &window, QPoint at)
{
    return xdotool({u"mousemove"_s, u"--window"_s, window, QString::number(at.x()),
                    QString::number(at.y()), u"click"_s, u"1"_s})
        .has_value();
}

std::optional<QString> run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    const bool ok = process.waitForFinished(timeoutMs) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    process.kill();
    process.waitForFinished();
    return ok ? std::optional(QString::fromUtf8(process.readAllStandardOutput())) : std::nullopt;
}

QStringList visibleWindows(const QString &titlePattern)
{
    const auto found =
        RunningClock::xdotool({u"search"_s, u"--onlyvisible"_s, u"--name"_s, titlePattern});
    return found.value_or(QString()).split(u'\n', Qt::SkipEmptyParts);
}

bool awaitTrue(const std::function<bool()> &done, int timeoutMs)
{
    if (QTest::qWaitFor(done, timeoutMs))
        return true;
    screenshot::reportFailedWait(u"a window, a screenshot or a process"_s);
    return false;
}

bool moveWindow(const QString &window, QPoint to)
{
    if (RunningClock::xdotool({u"windowmove"_s, u"--sync"_s, window, QString::number(to.x()),
                               QString::number(to.y())}))
        return true;
    screenshot::reportFailedWait(u"a window to move"_s);
    return false;
}

bool typeUntil(const QString &window, const QString &keys, const std::function<bool()> &done)
{
    for (QDeadlineTimer patience(patienceMs); !patience.hasExpired();) {
        // Only while the window is there: keys meant for a window that has
        // just closed would go to the next one.
        if (RunningClock::xdotool({u"windowfocus"_s, u"--sync"_s, window}))
            RunningClock::xdotool({u"key"_s, keys});
        if (QTest::qWaitFor(done, 5000))
            return true;
    }
    screenshot::reportFailedWait(u"keys "_s + keys + u" to take effect"_s);
    return false;
}

} // namespace tessaro::guitest
