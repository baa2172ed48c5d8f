// SPDX-License-Identifier: GPL-3.0-or-later
#include "driver.h"

#include "devicegeometry.h"
#include "infotessaro_window.h"
#include "ruzozura_window.h"
#include "windowmodel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QPixmap>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimeZone>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tessaro::screenshot
{

std::optional<QString> run(const QString &program, const QStringList &arguments, bool quiet)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(patienceMs);
    const bool ok =
        finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    process.kill();
    process.waitForFinished();
    if (ok)
        return QString::fromUtf8(process.readAllStandardOutput());
    // Some tools, wine's reg among them, print their errors on the output.
    if (!quiet)
        qWarning("%s %s failed (%s): %s", qPrintable(program), qPrintable(arguments.join(u' ')),
                 finished ? qPrintable(u"exit status %1"_s.arg(process.exitCode())) : "timed out",
                 (process.readAllStandardError() + process.readAllStandardOutput())
                     .trimmed()
                     .constData());
    return std::nullopt;
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
    if (const auto evidence =
            run(QStringLiteral(TESSARO_SCREEN_EVIDENCE),
                {dir.path(), QString::number(QCoreApplication::applicationPid())}))
        qInfo("%s", qPrintable(*evidence));
}

bool awaitTrue(const std::function<bool()> &done, const QString &what, const QImage &lastShot)
{
    if (QTest::qWaitFor(done, patienceMs))
        return true;
    reportFailedWait(what, lastShot);
    return false;
}

QSize windowSize(const QString &window)
{
    const auto match = QRegularExpression(u"Geometry: (\\d+)x(\\d+)"_s)
                           .match(xdotool({u"getwindowgeometry"_s, window}).value_or(QString()));
    return match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
}

bool reg(const QStringList &arguments)
{
    // Wine's reg tool fails now and then on a loaded machine.
    for (int attempt = 0; attempt < 3; ++attempt)
        if (run(u"wine"_s, QStringList{u"reg"_s} + arguments + QStringList{u"/f"_s}))
            return true;
    return false;
}

bool parkPointer()
{
    return xdotool({u"mousemove"_s, u"1270"_s, u"1010"_s}).has_value();
}

RunningClock::~RunningClock()
{
    m_process.terminate(); // nothing if it has ended
    if (!m_process.waitForFinished(patienceMs))
        m_process.kill();
    m_process.waitForFinished(patienceMs);
}

void RunningClock::setMoment(const QDateTime &moment)
{
    QFile file(m_timeFile + u".part"_s);
    if (file.open(QIODevice::WriteOnly))
        file.write(moment.isValid() ? QByteArray::number(moment.toSecsSinceEpoch()) + '\n'
                                    : "+0\n");
    file.close();
    // Replaced whole, so the clock never reads half a moment.
    QFile::remove(m_timeFile);
    QFile::rename(file.fileName(), m_timeFile);
}

bool RunningClock::start(const QStringList &environment, const QString &timeZone,
                         const QString &program)
{
    return launch(program, {}, environment + QStringList{u"TZ="_s + timeZone}, 1.0);
}

bool RunningClock::startUnderWine(const QDateTime &moment, int dpi)
{
    setMoment(moment);
    // Wine reads the resolution as the program starts; the next start gets 96.
    const auto setDpi = [](int value) {
        return reg({u"add"_s, u"HKCU\\Control Panel\\Desktop"_s, u"/v"_s, u"LogPixels"_s, u"/t"_s,
                    u"REG_DWORD"_s, u"/d"_s, QString::number(value)});
    };
    const bool started =
        setDpi(dpi) && launch(u"wine"_s, {qEnvironmentVariable("TESSARO_WINDOWS_EXE")},
                              {u"TZ=UTC"_s}, scaleOf(dpi));
    return setDpi(96) && started;
}

bool RunningClock::launch(const QString &program, const QStringList &arguments,
                          const QStringList &environment, double ratio)
{
    QStringList pairs = environment;
    if (QFile::exists(m_timeFile))
        pairs << u"FAKETIME_TIMESTAMP_FILE="_s + m_timeFile << u"FAKETIME_NO_CACHE=1"_s
              << u"FAKETIME_FMT=%s"_s;
    // Preloaded, not through the faketime wrapper, which would fork a process
    // between test and program. Timers keep the real monotonic clock.
    if (!pairs.filter(QRegularExpression(u"^FAKETIME"_s)).isEmpty())
        pairs << u"LD_PRELOAD="_s + qEnvironmentVariable("TESSARO_LIBFAKETIME")
              << u"FAKETIME_DONT_FAKE_MONOTONIC=1"_s;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &pair : pairs)
        env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
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
            for (const QString &id : windows(u"^Tessaro$"_s)) {
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

QStringList RunningClock::windows(const QString &titlePattern) const
{
    const auto search = [](const QStringList &criteria) { // finding none is no failure
        return run(u"xdotool"_s, QStringList{u"search"_s, u"--onlyvisible"_s} + criteria, true)
            .value_or(QString())
            .split(u'\n', Qt::SkipEmptyParts);
    };
    // xdotool matches one pattern at a time.
    const QStringList own = search(m_wine ? QStringList{u"--classname"_s, u"^tessaro\\.exe$"_s}
                                          : QStringList{u"--pid"_s, QString::number(pid())});
    QStringList named = search({u"--name"_s, titlePattern});
    named.removeIf([&](const QString &id) { return !own.contains(id); });
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
    awaitTrue(
        [&] {
            // Two equal shots in a row: nothing was half painted.
            const QImage shot = grab();
            if (shot.isNull() || shot != grab())
                return false;
            m_lastShot = shot;
            fault = check(shot);
            return fault.isEmpty();
        },
        u"a screenshot without fault"_s, m_lastShot);
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

QStringList RunningClock::pointerTo(const QString &window, QPoint clientPoint) const
{
    const QPoint at = clientPoint + m_client.topLeft();
    return {u"mousemove"_s, u"--window"_s, window, QString::number(at.x()),
            QString::number(at.y())};
}

bool RunningClock::clickAt(const QString &window, QPoint clientPoint) const
{
    const bool clicked =
        xdotool(pointerTo(window, clientPoint) + QStringList{u"click"_s, u"1"_s}).has_value();
    return parkPointer() && clicked;
}

bool RunningClock::click(ElementKey key) const
{
    const QRect rect = elementRect(key);
    return !rect.isEmpty() && clickAt(m_window, rect.center());
}

bool RunningClock::hover(ElementKey key) const
{
    return xdotool(pointerTo(m_window, {2, 300})) &&
           xdotool(pointerTo(m_window, elementRect(key).center()));
}

bool RunningClock::keys(const QString &keys) const
{
    const QStringList shown = windows(u"."_s);
    // The root window's children, topmost first.
    const QString stacking = run(u"xwininfo"_s, {u"-root"_s, u"-children"_s}).value_or(QString());
    static const QRegularExpression child(u"^\\s+0x([0-9a-f]+) "_s,
                                          QRegularExpression::MultilineOption);
    for (auto it = child.globalMatch(stacking); it.hasNext();) {
        const QString id = QString::number(it.next().captured(1).toULongLong(nullptr, 16));
        if (shown.contains(id))
            return xdotool({u"windowfocus"_s, u"--sync"_s, id}) &&
                   xdotool(QStringList{u"key"_s, u"--delay"_s, u"80"_s} +
                           keys.split(u' ', Qt::SkipEmptyParts));
    }
    return false;
}

bool RunningClock::showsMessage() const
{
    const QStringList titled = windows(u"^Tessaro$"_s);
    return std::any_of(titled.begin(), titled.end(),
                       [&](const QString &w) { return windowSize(w) != windowSize(m_window); });
}

int RunningClock::awaitExit()
{
    if (!m_process.waitForFinished(patienceMs)) {
        reportFailedWait(u"the program to end"_s);
        return -1;
    }
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QRect elementRect(ElementKey key, double ratio)
{
    const ElementDef *def = findRuzozuraElement(key);
    if (!def)
        return {};
    const DeviceEdges e = deviceEdges(tessaro::pixelRect(def->rect), ratio);
    return {e.left, e.top, e.right - e.left, e.bottom - e.top};
}

QPoint aboutCentre(ElementKey key)
{
    for (const ElementDef &def : infotessaroWindow().elements)
        if (const PixelRect r = tessaro::pixelRect(def.rect); def.key == key)
            return QRect(r.left, r.top, r.width, r.height).center();
    return {};
}

namespace
{

// The pixels of the rectangle that lie in the screenshot, with the alpha
// channel of a 32-bit screenshot ignored.
template <typename Visit> void forEachPixel(const QImage &shot, const QRect &rect, Visit visit)
{
    const QRect inside = rect & shot.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            visit(shot.pixel(x, y) | 0xFF000000u);
}

// The rows as the window shows them, highest weight on the left: day, month,
// year, hours, minutes, seconds.
const clock::ClockLayout &layout = ruzozuraClockLayout();
const clock::BitRow faceRows[] = {layout.day.cells,         layout.month.cells,
                                  layout.year.cells,        layout.hours.row.cells,
                                  layout.minutes.row.cells, layout.seconds.row.cells};

// A cell as '1' lit, '0' dark, '-' green or '?' (none or more of these) inside
// its edge; other colours, as of the "0" or "1" on time cells, do not count.
QChar readCell(const QImage &shot, ElementKey key, QColor lit, double ratio)
{
    int seen = 0;
    forEachPixel(shot, elementRect(key, ratio).adjusted(1, 1, -1, -1), [&](QRgb pixel) {
        seen |= int(pixel == lit.rgb()) | int(pixel == dark.rgb()) << 1 |
                int(pixel == windowGreen.rgb()) << 2;
    });
    return u"?10?-???"_s.at(seen);
}

} // namespace

QColor mainColour(const QImage &shot, const QRect &rect)
{
    QHash<QRgb, int> counts;
    forEachPixel(shot, rect.adjusted(1, 1, -1, -1), [&](QRgb pixel) { ++counts[pixel]; });
    const auto most = std::max_element(counts.cbegin(), counts.cend());
    return most == counts.cend() ? QColor() : QColor(most.key());
}

bool showsColour(const QImage &shot, const QRect &rect, QColor colour)
{
    bool seen = false;
    forEachPixel(shot, rect, [&](QRgb pixel) { seen = seen || pixel == colour.rgb(); });
    return seen;
}

bool showsInk(const QImage &shot, const QRect &rect)
{
    bool seen = false;
    forEachPixel(shot, rect, [&](QRgb pixel) { seen = seen || qGray(pixel) < 110; });
    return seen;
}

QString faceText(const QDateTime &local)
{
    return local.toString(u"dd.MM.yyyy HH:mm:ss"_s) +
           (local.date().year() >= 2048 ? u" (7 year cells)"_s : u" (11 year cells)"_s);
}

std::optional<QString> readFace(const QImage &shot, QString &fault, QColor lit, double ratio)
{
    QStringList cells;
    for (const clock::BitRow row : faceRows) {
        cells << QString();
        for (const clock::BitCell &cell : row)
            cells.back() += readCell(shot, cell.key, lit, ratio);
    }
    fault = u"cells "_s + cells.join(u' ');
    const bool seven = cells[2].startsWith(u"----"_s);
    int v[6] = {};
    for (int i = 0; i < 6; ++i) {
        const QString bits = i == 2 && seven ? cells[2].mid(4) : cells[i];
        if (bits.count(u'0') + bits.count(u'1') != bits.size())
            return std::nullopt;
        v[i] = bits.toInt(nullptr, 2);
    }
    const QDateTime shown(QDate(v[2] + (seven ? 2000 : 0), v[1], v[0]), QTime(v[3], v[4], v[5]),
                          QTimeZone::utc());
    if (!shown.isValid() || seven != (shown.date().year() >= 2048))
        return std::nullopt;
    fault.clear();
    return faceText(shown);
}

} // namespace tessaro::screenshot
