// SPDX-License-Identifier: GPL-3.0-or-later
#include "runningclock.h"

#include "convert.h"
#include "ruzozura_window.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcessEnvironment>
#include <QScreen>
#include <QTest>
#include <QThread>

namespace tessaro::guitest {

RunningClock::~RunningClock()
{
    stop();
}

bool RunningClock::start(const Options &options)
{
    const QString binary = qEnvironmentVariable("TESSARO_BINARY");
    if (binary.isEmpty()) {
        m_error = QStringLiteral("TESSARO_BINARY is not set");
        return false;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), options.timeZone);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const QString &pair : options.environment) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        env.insert(pair.left(eq), pair.mid(eq + 1));
    }
    if (!options.fakeTime.isEmpty()) {
        // libfaketime is loaded into the clock itself (the faketime wrapper
        // would fork, leaving a process between the test and the clock).
        // Only the wall clock is faked: Qt's timers run on the real monotonic clock.
        const QString library = qEnvironmentVariable("TESSARO_LIBFAKETIME");
        if (library.isEmpty()) {
            m_error = QStringLiteral("TESSARO_LIBFAKETIME is not set");
            return false;
        }
        env.insert(QStringLiteral("LD_PRELOAD"), library);
        env.insert(QStringLiteral("FAKETIME"), options.fakeTime);
        env.insert(QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC"), QStringLiteral("1"));
    }
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(binary, QStringList());
    if (!m_process.waitForStarted(10000)) {
        m_error = QStringLiteral("could not start %1: %2").arg(binary, m_process.errorString());
        return false;
    }
    const QString found =
        xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                 QStringLiteral("--pid"), QString::number(m_process.processId()),
                 QStringLiteral("--name"), QStringLiteral("^Tessaro$")},
                20000)
            .value_or(QString());
    m_window = found.split(QLatin1Char('\n'), Qt::SkipEmptyParts).value(0);
    if (m_window.isEmpty()) {
        m_error = QStringLiteral("the Tessaro window did not appear");
        return false;
    }
    return true;
}

QSize RunningClock::windowSize() const
{
    const QString out =
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), m_window})
            .value_or(QString());
    int width = -1;
    int height = -1;
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("WIDTH=")))
            width = line.mid(6).toInt();
        if (line.startsWith(QStringLiteral("HEIGHT=")))
            height = line.mid(7).toInt();
    }
    return {width, height};
}

QImage RunningClock::grab() const
{
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(WId(m_window.toULongLong())).toImage().convertToFormat(
        QImage::Format_RGB32);
}

QString RunningClock::save(const QImage &shot, const QString &name)
{
    QString dir = qEnvironmentVariable("TESSARO_SHOTS");
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    shot.save(path);
    return path;
}

bool RunningClock::click(ElementKey key) const
{
    const QPoint at = centreOf(key);
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), m_window,
                    QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
                    QStringLiteral("1")})
        .has_value();
}

bool RunningClock::key(const QString &keys) const
{
    // Focus and then plain key events: with --window a key that closes the
    // window loses its release, and the server's auto-repeat presses it on.
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), m_window});
    return xdotool({QStringLiteral("key"), keys}).has_value();
}

void RunningClock::waitForTicks(int ticks)
{
    QTest::qWait(ticks * 100 + 150);
}

int RunningClock::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

std::optional<QString> RunningClock::xdotool(const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QPoint RunningClock::centreOf(ElementKey key)
{
    const ElementDef *def = findRuzozuraElement(key);
    if (!def)
        return {};
    return qt::pixelRect(def->rect).center();
}

QColor RunningClock::colourAt(const QImage &shot, QPoint point)
{
    return QColor(shot.pixel(point));
}

} // namespace tessaro::guitest
