// SPDX-License-Identifier: GPL-3.0-or-later
#include "wineclock.h"

#include "devicegeometry.h"
#include "evidence.h"
#include "screenshot_decoder.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace tessaro::winetest
{
namespace
{

// Where the pointer rests between clicks: off every window, so no tooltip
// gets into a screenshot.
constexpr QPoint restingPointer{1270, 1010};

std::optional<QByteArray> runForBytes(const QString &program, const QStringList &arguments,
                                      int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

} // namespace

std::optional<QString> run(const QString &program, const QStringList &arguments, int timeoutMs)
{
    const auto bytes = runForBytes(program, arguments, timeoutMs);
    return bytes ? std::optional(QString::fromUtf8(*bytes)) : std::nullopt;
}

bool awaitTrue(const std::function<bool()> &done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) {
            screenshot::reportFailedWait(u"a window, a screenshot or a process"_s);
            return false;
        }
        QTest::qWait(50);
    }
    return true;
}

QList<TopWindow> visibleWindows(const QString &titlePattern)
{
    QList<TopWindow> found;
    const auto ids =
        run(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--name"_s, titlePattern});
    for (const QString &id : ids.value_or(QString()).split(u'\n', Qt::SkipEmptyParts)) {
        const auto geometry = run(u"xdotool"_s, {u"getwindowgeometry"_s, id});
        const auto match =
            QRegularExpression(u"Geometry: (\\d+)x(\\d+)"_s).match(geometry.value_or(QString()));
        if (match.hasMatch())
            found.append({id, QSize(match.captured(1).toInt(), match.captured(2).toInt())});
    }
    return found;
}

bool reg(const QStringList &arguments)
{
    QProcess process;
    process.start(u"wine"_s, QStringList{u"reg"_s} + arguments + QStringList{u"/f"_s});
    return process.waitForFinished(patienceMs) && process.exitCode() == 0;
}

WineClock::WineClock() : m_timeFile(m_dir.filePath(u"moment"_s)) {}

WineClock::~WineClock()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(patienceMs);
    }
}

void WineClock::setMoment(const QString &moment)
{
    QFile file(m_timeFile + u".part"_s);
    file.open(QIODevice::WriteOnly);
    file.write(moment.toUtf8() + '\n');
    file.close();
    // Replaced whole, so the clock never reads half a moment.
    QFile::remove(m_timeFile);
    QFile::rename(file.fileName(), m_timeFile);
}

bool WineClock::start(const QString &moment, double ratio)
{
    setMoment(moment);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LD_PRELOAD"_s, qEnvironmentVariable("TESSARO_LIBFAKETIME"));
    env.insert(u"FAKETIME_TIMESTAMP_FILE"_s, m_timeFile);
    env.insert(u"FAKETIME_NO_CACHE"_s, u"1"_s);
    // Timers keep the real monotonic clock, so the tick still comes.
    env.insert(u"FAKETIME_DONT_FAKE_MONOTONIC"_s, u"1"_s);
    env.insert(u"TZ"_s, u"UTC"_s);
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(u"wine"_s, {qEnvironmentVariable("TESSARO_WINDOWS_EXE")});
    const DeviceEdges edges = deviceEdges({0, 0, clientSize.width(), clientSize.height()}, ratio);
    const QSize client(edges.right, edges.bottom);
    // Wine's frame: the same border left, right and below, and the caption.
    return awaitTrue([&] {
        for (const TopWindow &top : visibleWindows(u"^Tessaro$"_s)) {
            const QSize frame = top.size - client;
            if (frame.width() > 0 && frame.width() < 20 && frame.height() > frame.width() &&
                frame.height() < 60) {
                m_window = top.id;
                const int border = frame.width() / 2;
                m_client = {QPoint(border, frame.height() - border), client};
                return true;
            }
        }
        return false;
    });
}

QImage WineClock::grab() const
{
    const auto ppm = runForBytes(
        u"import"_s, {u"-window"_s, m_window, u"-depth"_s, u"8"_s, u"ppm:-"_s}, patienceMs);
    if (!ppm)
        return {};
    const QImage framed = QImage::fromData(*ppm, "PPM");
    if (framed.isNull())
        return {};
    return framed.copy(m_client).convertToFormat(QImage::Format_RGB32);
}

QString WineClock::awaitShot(const std::function<QString(const QImage &)> &check) const
{
    QString fault = u"no screenshot"_s;
    awaitTrue([&] {
        // Two equal shots in a row: nothing was half painted.
        const QImage shot = grab();
        if (shot.isNull() || shot != grab())
            return false;
        m_lastShot = shot;
        fault = check(shot);
        return fault.isEmpty();
    });
    return fault;
}

bool WineClock::clickAt(const QString &window, QPoint clientPoint) const
{
    const QPoint at = clientPoint + clientOffset;
    const bool clicked =
        run(u"xdotool"_s, {u"mousemove"_s, u"--window"_s, window, QString::number(at.x()),
                           QString::number(at.y()), u"click"_s, u"1"_s})
            .has_value();
    run(u"xdotool"_s,
        {u"mousemove"_s, QString::number(restingPointer.x()), QString::number(restingPointer.y())});
    return clicked;
}

bool WineClock::hover(ElementKey key) const
{
    const auto move = [this](QPoint client) {
        const QPoint at = client + clientOffset;
        return run(u"xdotool"_s, {u"mousemove"_s, u"--window"_s, m_window, QString::number(at.x()),
                                  QString::number(at.y())})
            .has_value();
    };
    return move({2, 300}) && move(screenshot::elementRect(key).center());
}

bool WineClock::parkPointer()
{
    return run(u"xdotool"_s, {u"mousemove"_s, QString::number(restingPointer.x()),
                              QString::number(restingPointer.y())})
        .has_value();
}

bool WineClock::click(ElementKey key) const
{
    return clickAt(m_window, screenshot::elementRect(key).center());
}

bool WineClock::keys(const QString &keys)
{
    const QString front = frontWindow();
    return !front.isEmpty() &&
           run(u"xdotool"_s, {u"windowfocus"_s, u"--sync"_s, front}).has_value() &&
           run(u"xdotool"_s,
               QStringList{u"key"_s, u"--delay"_s, u"80"_s} + keys.split(u' ', Qt::SkipEmptyParts))
               .has_value();
}

QString WineClock::frontWindow()
{
    const QStringList shown =
        run(u"xdotool"_s, {u"search"_s, u"--onlyvisible"_s, u"--classname"_s, u"^tessaro\\.exe$"_s})
            .value_or(QString())
            .split(u'\n', Qt::SkipEmptyParts);
    // The root window's children, topmost first; titled ones only, as
    // tooltips take no keys.
    const QString stacking = run(u"xwininfo"_s, {u"-root"_s, u"-children"_s}).value_or(QString());
    const QRegularExpression titled(u"^\\s+0x([0-9a-f]+) \"[^\"]+\""_s,
                                    QRegularExpression::MultilineOption);
    for (auto it = titled.globalMatch(stacking); it.hasNext();) {
        const QString id = QString::number(it.next().captured(1).toULongLong(nullptr, 16));
        if (shown.contains(id))
            return id;
    }
    return {};
}

int WineClock::awaitExit()
{
    if (!m_process.waitForFinished(patienceMs)) {
        screenshot::reportFailedWait(u"Tessaro.exe to end"_s);
        return -1;
    }
    if (m_process.exitStatus() != QProcess::NormalExit)
        return -1;
    return m_process.exitCode();
}

} // namespace tessaro::winetest
