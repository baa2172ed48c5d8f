// SPDX-License-Identifier: GPL-3.0-or-later
#include "runningclock.h"

#include "convert.h"
#include "ruzozura_window.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QProcessEnvironment>
#include <QScreen>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace tessaro::guitest {

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
    m_window = xdotool({u"search"_s, u"--sync"_s, u"--onlyvisible"_s, u"--pid"_s,
                        QString::number(m_process.waitForStarted(10000) ? pid() : 0),
                        u"--name"_s, u"^Tessaro$"_s},
                       20000)
                   .value_or(QString())
                   .section(u'\n', 0, 0);
    return !m_window.isEmpty();
}

RunningClock::~RunningClock()
{
    m_process.terminate(); // nothing if it has ended
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(5000);
}

bool RunningClock::click(ElementKey key) const
{
    const ElementDef *def = findRuzozuraElement(key);
    return def && click(m_window, qt::toQRect(pixelRect(def->rect)).center());
}

int RunningClock::exitByButton()
{
    if (!click({"Command1"}) || !m_process.waitForFinished(10000))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

QImage RunningClock::grab() const
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(WId(m_window.toULongLong()))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

bool RunningClock::click(const QString &window, QPoint at)
{
    return xdotool({u"mousemove"_s, u"--window"_s, window, QString::number(at.x()),
                    QString::number(at.y()), u"click"_s, u"1"_s})
        .has_value();
}

std::optional<QString> RunningClock::xdotool(const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.start(u"xdotool"_s, arguments);
    const bool ok = process.waitForFinished(timeoutMs) &&
                    process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    process.kill();
    process.waitForFinished();
    return ok ? std::optional(QString::fromUtf8(process.readAllStandardOutput())) : std::nullopt;
}

QString faceText(const QDateTime &local)
{
    return local.toString(u"dd.MM.yyyy HH:mm:ss"_s) +
           (local.date().year() >= 2048 ? u" (7 year cells)"_s : u" (11 year cells)"_s);
}

std::optional<QString> readFace(const QImage &shot, QString &fault, QColor lit)
{
    // The rows as the window shows them, highest weight on the left.
    static const std::vector<std::vector<ElementKey>> rows{
        {{"Frame23"}, {"Frame22"}, {"Frame21"}, {"Frame20"}, {"Frame19"}},
        {{"Frame25"}, {"Frame26"}, {"Frame27"}, {"Frame28"}},
        {{"Frame39"}, {"Frame38"}, {"Frame37"}, {"Frame36"}, {"Frame35"}, {"Frame34"},
         {"Frame33"}, {"Frame32"}, {"Frame31"}, {"Frame30"}, {"Frame29"}},
        {{"bin1", 4}, {"bin1", 3}, {"bin1", 2}, {"bin1", 1}, {"bin1", 0}},
        {{"binmin1", 5}, {"binmin1", 4}, {"binmin1", 3}, {"binmin1", 2}, {"binmin1", 1},
         {"binmin1", 0}},
        {{"binsec1", 5}, {"binsec1", 4}, {"binsec1", 3}, {"binsec1", 2}, {"binsec1", 1},
         {"binsec1", 0}}};
    // Each cell '1' lit, '0' dark, '-' green or '?' (none or more of these) inside
    // its edge; other colours, as of the "0" or "1" on time cells, do not count.
    QStringList cells;
    for (const auto &row : rows) {
        cells << QString();
        for (const ElementKey &key : row) {
            const QRect r = qt::toQRect(pixelRect(findRuzozuraElement(key)->rect)).adjusted(1, 1, -1, -1);
            int seen = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    const QRgb pixel = shot.pixel(x, y) | 0xFF000000u;
                    seen |= (pixel == lit.rgb()) | (pixel == qRgb(128, 255, 128)) << 1 |
                            (pixel == qRgb(0, 255, 0)) << 2;
                }
            cells.back() += u"?10?-???"_s.at(seen);
        }
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

} // namespace tessaro::guitest
