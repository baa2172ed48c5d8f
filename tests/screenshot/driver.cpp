// SPDX-License-Identifier: GPL-3.0-or-later
#include "driver.h"

#include "devicegeometry.h"
#include "ruzozura_keys.h"
#include "ruzozura_window.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tessaro::screenshot
{

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

std::optional<QString> xdotool(const QStringList &arguments)
{
    return run(u"xdotool"_s, arguments);
}

void reportFailedWait(const QString &what, const QImage &lastShot)
{
    const QString base = qEnvironmentVariable("TESSARO_SHOT_DIR", QDir::tempPath());
    QDir().mkpath(base);
    QTemporaryDir dir(base + u"/failed-wait-"_s +
                      QDateTime::currentDateTime().toString(u"HHmmss"_s) + u"-XXXXXX"_s);
    dir.setAutoRemove(false);
    if (!lastShot.isNull())
        lastShot.save(dir.filePath(u"last-shot.png"_s));
    qWarning("the wait for %s ran out; what was on the screen is kept in %s", qPrintable(what),
             qPrintable(dir.path()));
    QProcess evidence;
    evidence.setProcessChannelMode(QProcess::ForwardedChannels);
    evidence.start(QStringLiteral(TESSARO_SCREEN_EVIDENCE),
                   {dir.path(), QString::number(QCoreApplication::applicationPid())});
    if (!evidence.waitForFinished(60000))
        evidence.kill();
    evidence.waitForFinished();
}

bool awaitTrue(const std::function<bool()> &done, const QString &what, int timeoutMs)
{
    if (QTest::qWaitFor(done, timeoutMs))
        return true;
    reportFailedWait(what);
    return false;
}

namespace
{

QStringList search(const QStringList &criteria)
{
    return xdotool(QStringList{u"search"_s, u"--onlyvisible"_s} + criteria)
        .value_or(QString())
        .split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

QStringList visibleWindows(const QString &titlePattern)
{
    return search({u"--name"_s, titlePattern});
}

QSize windowSize(const QString &window)
{
    const auto match = QRegularExpression(u"Geometry: (\\d+)x(\\d+)"_s)
                           .match(xdotool({u"getwindowgeometry"_s, window}).value_or(QString()));
    return match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
}

bool reg(const QStringList &arguments)
{
    return run(u"wine"_s, QStringList{u"reg"_s} + arguments + QStringList{u"/f"_s}).has_value();
}

bool parkPointer()
{
    return xdotool({u"mousemove"_s, u"1270"_s, u"1010"_s}).has_value();
}

RunningClock::RunningClock() : m_timeFile(m_dir.filePath(u"moment"_s)) {}

RunningClock::~RunningClock()
{
    m_process.terminate(); // nothing if it has ended
    if (!m_process.waitForFinished(patienceMs))
        m_process.kill();
    m_process.waitForFinished(patienceMs);
}

void RunningClock::setMoment(const QString &secondsSinceEpoch)
{
    QFile file(m_timeFile + u".part"_s);
    if (file.open(QIODevice::WriteOnly))
        file.write(secondsSinceEpoch.toUtf8() + '\n');
    file.close();
    // Replaced whole, so the clock never reads half a moment.
    QFile::remove(m_timeFile);
    QFile::rename(file.fileName(), m_timeFile);
}

void RunningClock::setMoment(const QDateTime &moment)
{
    setMoment(QString::number(moment.toSecsSinceEpoch()));
}

bool RunningClock::start(const QStringList &environment, const QString &timeZone,
                         const QString &program)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"TZ"_s, timeZone);
    for (const QString &pair : environment)
        env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    return launch(program, {}, env, 1.0);
}

bool RunningClock::startUnderWine(const QDateTime &moment, int dpi)
{
    setMoment(moment);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"TZ"_s, u"UTC"_s);
    // Wine reads the resolution as the program starts; the next start gets 96.
    const auto setDpi = [](int value) {
        return reg({u"add"_s, u"HKCU\\Control Panel\\Desktop"_s, u"/v"_s, u"LogPixels"_s, u"/t"_s,
                    u"REG_DWORD"_s, u"/d"_s, QString::number(value)});
    };
    const bool started =
        setDpi(dpi) &&
        launch(u"wine"_s, {qEnvironmentVariable("TESSARO_WINDOWS_EXE")}, env, scaleOf(dpi));
    return setDpi(96) && started;
}

bool RunningClock::launch(const QString &program, const QStringList &arguments,
                          QProcessEnvironment env, double ratio)
{
    if (QFile::exists(m_timeFile)) {
        env.insert(u"FAKETIME_TIMESTAMP_FILE"_s, m_timeFile);
        env.insert(u"FAKETIME_NO_CACHE"_s, u"1"_s);
        env.insert(u"FAKETIME_FMT"_s, u"%s"_s);
    }
    // Preloaded, not through the faketime wrapper, which would fork a process
    // between test and program. Timers keep the real monotonic clock.
    const QStringList names = env.keys();
    if (std::any_of(names.begin(), names.end(),
                    [](const QString &name) { return name.startsWith(u"FAKETIME"_s); })) {
        env.insert(u"LD_PRELOAD"_s, qEnvironmentVariable("TESSARO_LIBFAKETIME"));
        env.insert(u"FAKETIME_DONT_FAKE_MONOTONIC"_s, u"1"_s);
    }
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, arguments);
    m_wine = program == u"wine"_s;
    const WindowDef &main = ruzozuraWindow();
    const DeviceEdges edges =
        deviceEdges(tessaro::pixelRect({0, 0, main.clientWidth, main.clientHeight}), ratio);
    const QSize client(edges.right, edges.bottom);
    // Wine draws the frame itself: the same border left, right and below,
    // and the caption; other windows of the program have other sizes.
    return awaitTrue(
        [&] {
            for (const QString &id : ownWindows(u"^Tessaro$"_s)) {
                const QSize frame = windowSize(id) - client;
                if (frame.width() >= 0 && frame.width() < 20 && frame.height() >= frame.width() &&
                    frame.height() < 60) {
                    m_window = id;
                    const int border = frame.width() / 2;
                    m_client = {QPoint(border, frame.height() - border), client};
                    return true;
                }
            }
            return false;
        },
        u"the main window"_s);
}

QStringList RunningClock::ownWindows(const QString &titlePattern) const
{
    if (!m_wine)
        return search({u"--pid"_s, QString::number(pid()), u"--name"_s, titlePattern});
    // xdotool matches one pattern at a time.
    const QStringList exe = search({u"--classname"_s, u"^tessaro\\.exe$"_s});
    QStringList named = visibleWindows(titlePattern);
    named.removeIf([&](const QString &id) { return !exe.contains(id); });
    return named;
}

QImage RunningClock::grab() const
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(WId(m_window.toULongLong()), m_client.x(), m_client.y(), m_client.width(),
                     m_client.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QString RunningClock::awaitShot(const std::function<QString(const QImage &)> &check) const
{
    QString fault = u"no screenshot"_s;
    const bool done = QTest::qWaitFor(
        [&] {
            // Two equal shots in a row: nothing was half painted.
            const QImage shot = grab();
            if (shot.isNull() || shot != grab())
                return false;
            m_lastShot = shot;
            fault = check(shot);
            return fault.isEmpty();
        },
        patienceMs);
    if (!done)
        reportFailedWait(u"a screenshot: "_s + fault, m_lastShot);
    return fault;
}

QString RunningClock::awaitFace(const QString &expected, QColor lit, double ratio) const
{
    return awaitShot([&](const QImage &shot) {
        QString fault;
        const auto face = readFace(shot, fault, lit, ratio);
        return !face ? fault : *face == expected ? QString() : u"shows "_s + *face;
    });
}

bool RunningClock::clickAt(const QString &window, QPoint clientPoint) const
{
    const QPoint at = clientPoint + m_client.topLeft();
    const bool clicked = xdotool({u"mousemove"_s, u"--window"_s, window, QString::number(at.x()),
                                  QString::number(at.y()), u"click"_s, u"1"_s})
                             .has_value();
    return parkPointer() && clicked;
}

bool RunningClock::click(ElementKey key) const
{
    const QRect rect = elementRect(key);
    return !rect.isEmpty() && clickAt(m_window, rect.center());
}

bool RunningClock::hover(ElementKey key) const
{
    const auto move = [this](QPoint client) {
        const QPoint at = client + m_client.topLeft();
        return xdotool({u"mousemove"_s, u"--window"_s, m_window, QString::number(at.x()),
                        QString::number(at.y())})
            .has_value();
    };
    return move({2, 300}) && move(elementRect(key).center());
}

QString RunningClock::frontWindow() const
{
    const QStringList shown = ownWindows(u"."_s);
    // The root window's children, topmost first.
    const QString stacking = run(u"xwininfo"_s, {u"-root"_s, u"-children"_s}).value_or(QString());
    static const QRegularExpression child(u"^\\s+0x([0-9a-f]+) "_s,
                                          QRegularExpression::MultilineOption);
    for (auto it = child.globalMatch(stacking); it.hasNext();) {
        const QString id = QString::number(it.next().captured(1).toULongLong(nullptr, 16));
        if (shown.contains(id))
            return id;
    }
    return {};
}

bool RunningClock::keys(const QString &keys) const
{
    const QString front = frontWindow();
    return !front.isEmpty() && xdotool({u"windowfocus"_s, u"--sync"_s, front}) &&
           xdotool(QStringList{u"key"_s, u"--delay"_s, u"80"_s} +
                   keys.split(u' ', Qt::SkipEmptyParts));
}

bool RunningClock::typeUntil(const QString &keys, const std::function<bool()> &done) const
{
    for (QDeadlineTimer patience(patienceMs); !patience.hasExpired(); QTest::qWait(50))
        if (this->keys(keys) && QTest::qWaitFor(done, 5000))
            return true;
    reportFailedWait(u"keys "_s + keys + u" to take effect"_s);
    return false;
}

int RunningClock::awaitExit()
{
    if (!m_process.waitForFinished(patienceMs)) {
        reportFailedWait(u"the program to end"_s);
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

} // namespace tessaro::screenshot
