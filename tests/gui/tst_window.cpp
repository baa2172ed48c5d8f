// SPDX-License-Identifier: GPL-3.0-or-later
// The real program as a user sees it, at faked times and read back from
// screenshots: the main window, the clock set while it runs, days of a fast
// clock; the About dialog in a build whose registry names the probe program
// (it leaves "<its path>.ran" holding its process id), and half a minute of
// use, under the sanitizers (scripts/test-asan.sh) without a report.
#include "convert.h"
#include "infotessaro_window.h"
#include "runningclock.h"
#include "ruzozura_window.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>

using namespace tessaro;
using namespace tessaro::guitest;
using namespace Qt::StringLiterals;

namespace
{

QRect rectOf(const char *name, int index = -1)
{
    return qt::toQRect(pixelRect(findRuzozuraElement({name, index})->rect));
}

QRect leftEdge(const char *name, int index = -1)
{
    const QRect r = rectOf(name, index);
    return {r.left() - 1, r.center().y() - 2, 3, 5};
}

// Whether anything dark (text, a border, a line), or yellow, is drawn there.
bool marked(const QImage &shot, const QRect &rect, bool yellow)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (yellow ? (shot.pixel(x, y) & 0xFFFFFFu) == 0xFFFF00u : qGray(shot.pixel(x, y)) < 110)
                return true;
    return false;
}

enum Mark { inkWhileShown, inkWhileHidden, yellowWhileShown };
using Probes = QList<std::pair<Mark, QRect>>;

QStringList windows(const QString &title = u"^Info zu Tessaro$"_s)
{
    const auto found = RunningClock::xdotool({u"search"_s, u"--onlyvisible"_s, u"--name"_s, title});
    return found.value_or(QString()).split(u'\n', Qt::SkipEmptyParts);
}

// Types as the keyboard does: a key sent to the window itself loses its
// release when it closes the window, and auto-repeat presses it on.
void key(const QString &window, const QString &keys)
{
    RunningClock::xdotool({u"windowfocus"_s, u"--sync"_s, window});
    RunningClock::xdotool({u"key"_s, keys});
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The main window's size and exact colours at a stopped time.
    void initTestCase()
    {
        QVERIFY(m_clock.start({u"FAKETIME=2026-12-06 12:34:56"_s}));
        RunningClock::waitForTicks();
        const QImage shot = m_clock.grab();
        QCOMPARE(shot.size(), QSize(407, 469)); // the client area
        // The window, Frame18, hexa1(4) and (0); Command2 to 5 and Command1.
        const std::pair<QPoint, QRgb> colours[] = {
            {{400, 460}, qRgb(0, 255, 0)},   {{350, 333}, qRgb(128, 255, 128)},
            {{172, 212}, qRgb(255, 255, 0)}, {{263, 287}, qRgb(255, 255, 0)},
            {{122, 345}, qRgb(128, 128, 0)}, {{141, 345}, qRgb(255, 0, 0)},
            {{162, 345}, qRgb(0, 0, 192)},   {{296, 347}, qRgb(255, 255, 0)},
            {{296, 389}, qRgb(255, 128, 0)}};
        for (const auto &[point, colour] : colours)
            QCOMPARE(QColor(shot.pixel(point)), QColor(colour));
    }

    void colourButtonsRecolourTheLitCells()
    {
        const std::pair<const char *, QColor> buttons[] = {
            {"Command2", QColor(128, 128, 0)}, {"Command3", QColor(255, 0, 0)},
            {"Command4", QColor(0, 0, 192)}}; // back to the start
        for (const auto &[button, lit] : buttons) {
            QVERIFY(m_clock.click({button}));
            RunningClock::waitForTicks();
            QString fault;
            QCOMPARE(readFace(m_clock.grab(), fault, lit).value_or(fault),
                     u"06.12.2026 12:34:56 (11 year cells)"_s);
        }
    }

    void checkBoxesHideAndShowTheirGroups()
    {
        // Where ink (or yellow) shows only while the group shows (or is hidden).
        // The title reads "Uhr" beside the decimal readouts, else "Stunden".
        Probes decimal{{inkWhileHidden, rectOf("Label1").adjusted(25, 2, -5, -2)}};
        for (const char *readout : {"Stunde", "z2", "se", "Tag1", "Monat", "Jahr"})
            decimal.append({inkWhileShown, leftEdge(readout)});
        Probes info;
        for (const QRect &r : {rectOf("Label18"), rectOf("Label17"), QRect(12, 120, 130, 46),
                               QRect(130, 26, 160, 3), QRect(119, 35, 3, 40), QRect(203, 300, 3, 5)})
            info.append({inkWhileShown, r});
        Probes hex{{inkWhileShown, leftEdge("hex1", 0)}, {inkWhileShown, leftEdge("hex1", 2)}};
        for (int index = 0; index <= 8; ++index)
            hex.append({yellowWhileShown, rectOf("hexa1", index)});
        const std::tuple<const char *, bool, Probes> boxes[] = {
            {"Check1", false, decimal}, {"Check2", true, info}, {"Check3", true, hex}};
        for (const auto &[box, shownAtStart, probes] : boxes)
            for (int clicks = 0; clicks <= 2; ++clicks) {
                QVERIFY(clicks == 0 || m_clock.click({box}));
                RunningClock::waitForTicks(2);
                const bool shown = shownAtStart != (clicks == 1);
                const QImage shot = m_clock.grab();
                QString fault;
                QString wrong = readFace(shot, fault) ? QString() : fault;
                for (const auto &[mark, r] : probes)
                    if (marked(shot, r, mark == yellowWhileShown) != (shown == (mark != inkWhileHidden)))
                        wrong += u" (%1,%2)"_s.arg(r.x()).arg(r.y());
                QVERIFY2(wrong.isEmpty(), qPrintable(u"%1, %2 clicks:%3"_s.arg(QLatin1StringView(box)).arg(clicks).arg(wrong)));
            }
    }

    void exitButtonEndsTheClock() { QCOMPARE(m_clock.exitByButton(), 0); }

    // The time comes from a file libfaketime reads on every call. Until the
    // new time shows, each screenshot shows the old one whole, never a mix.
    void settingTheClockShowsTheNewTimeWhole_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("moments");
        const auto row = [](const char *name, const char *zone, const char *moments) {
            QTest::newRow(name) << QString::fromLatin1(zone) << QString::fromLatin1(moments);
        };
        row("a day forward", "UTC", "2026-03-10T08:15:30Z 2026-03-11T08:15:30Z");
        row("a year back at midnight", "UTC", "2027-01-01T00:00:00Z 2026-01-01T00:00:00Z");
        row("into 2048 and back", "UTC",
            "2047-12-31T23:59:59Z 2048-01-01T00:00:00Z 2026-12-06T12:34:56Z");
        row("from 2049 to 2026", "UTC", "2049-06-15T12:00:00Z 2026-06-15T12:00:00Z");
        // 01:59:59 winter time, then 03:00:00 summer time, and 02:59:59 summer
        // time, then 02:00:00 winter time.
        row("summer time begins", "Europe/Berlin", "2026-03-29T00:59:59Z 2026-03-29T01:00:00Z");
        row("summer time ends", "Europe/Berlin", "2026-10-25T00:59:59Z 2026-10-25T01:00:00Z");
    }

    void settingTheClockShowsTheNewTimeWhole()
    {
        QFETCH(QString, zone);
        QFETCH(QString, moments);
        QTemporaryDir dir;
        RunningClock clock;
        std::optional<QString> before;
        for (const QString &moment : moments.split(u' ')) {
            const QDateTime at = QDateTime::fromString(moment, Qt::ISODate);
            QSaveFile file(dir.filePath(u"now"_s));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::number(at.toSecsSinceEpoch()));
            QVERIFY(file.commit());
            if (!before)
                QVERIFY(clock.start({u"FAKETIME_TIMESTAMP_FILE="_s + file.fileName(),
                                     u"FAKETIME_NO_CACHE=1"_s, u"FAKETIME_FMT=%s"_s},
                                    zone));
            const QString after = faceText(at.toTimeZone(QTimeZone(zone.toLatin1())));
            QString fault;
            std::optional<QString> shown;
            for (QDeadlineTimer patience(10000); shown != after && !patience.hasExpired();
                 QTest::qWait(10)) {
                shown = readFace(clock.grab(), fault);
                // Before the first tick the cells show their starting colours.
                if (before && shown != before && shown != after)
                    QFAIL(qPrintable(u"between %1 and %2: %3"_s.arg(*before, after,
                                                                      shown.value_or(fault))));
            }
            QCOMPARE(shown.value_or(fault), after);
            before = after;
        }
    }

    void testBuildStarts()
    {
        QFile::rename(m_probe + u".away"_s, m_probe); // if a failed run left it so
        QVERIFY2(QFileInfo::exists(m_probe), qPrintable(m_probe));
        // Programs the clock leaves behind come to this test, not to init.
        QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
        const QString log = u":log_path="_s + m_reports.path();
        // The probe inherits the environment and stays 4 s.
        QVERIFY(m_about.start({u"TESSARO_PROBE_LINGER=4"_s,
                               u"ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"_s + log + u"/asan"_s,
                               u"UBSAN_OPTIONS=print_stacktrace=1"_s + log + u"/ubsan"_s,
                               u"LSAN_OPTIONS=print_suppressions=0:suppressions="_s +
                                   qEnvironmentVariable("TESSARO_LSAN_SUPPRESSIONS")},
                              u"Europe/Berlin"_s, qEnvironmentVariable("TESSARO_PROBE_BUILD")));
    }

    void infoOpensExactlyOneDialogAndEscapeClosesIt()
    {
        openDialog();
        QVERIFY(m_about.click({"Command5"}));
        RunningClock::waitForTicks(5);
        QCOMPARE(windows(), QStringList{m_dialog});
        key(m_dialog, u"Escape"_s);
        QVERIFY(QTest::qWaitFor([] { return windows().isEmpty(); }));
        openDialog();
    }

    void systemInfoStartsTheProgramAndReapsIt()
    {
        const qint64 pid = startProbe();
        QVERIFY2(pid > 0, "the program did not start");
        QCOMPARE(QFile::symLinkTarget(u"/proc/%1/exe"_s.arg(pid)), m_probe);
        // Gone once it ends, not even left as a zombie.
        QVERIFY(QTest::qWaitFor([&] { return !QFile::exists(u"/proc/%1"_s.arg(pid)); }, 15000));
    }

    void withoutAProgramAMessageSaysSo()
    {
        QFile::remove(m_probe + u".away"_s);
        QVERIFY(QFile::rename(m_probe, m_probe + u".away"_s));
        QVERIFY(clickIn(infotessaro::cmdSysInfo.name));
        // The box carries the program's title, as the main window does, and
        // gives its OK button the focus just after it appears.
        QVERIFY(QTest::qWaitFor([] { return windows(u"^Tessaro$"_s).size() == 2; }));
        QTest::qWait(300);
        QStringList boxes = windows(u"^Tessaro$"_s);
        boxes.removeAll(m_about.window());
        key(boxes.value(0), u"Return"_s);
        QVERIFY(QTest::qWaitFor([] { return windows(u"^Tessaro$"_s).size() == 1; }));
        QCOMPARE(windows(), QStringList{m_dialog});
        QVERIFY(!QFileInfo::exists(m_marker));
        QVERIFY(QFile::rename(m_probe + u".away"_s, m_probe));
    }

    void halfAMinuteOfUse()
    {
        const int seconds = qEnvironmentVariableIntValue("TESSARO_SESSION_SECONDS");
        QElapsedTimer session;
        session.start();
        while (session.elapsed() < (seconds > 0 ? seconds : 30) * 1000) {
            // Out of the way of the main window's buttons.
            RunningClock::xdotool({u"windowmove"_s, m_dialog, u"700"_s, u"100"_s});
            for (std::string_view button : {infotessaro::cmdSysInfo.name, infotessaro::cmdOK.name}) {
                QVERIFY(clickIn(button));
                RunningClock::waitForTicks(2);
            }
            for (const char *name : {"Command3", "Check1", "Command4", "Check2", "Check3",
                                     "Command2", "Check1", "Check2", "Check3"}) {
                QVERIFY(m_about.click({name}));
                RunningClock::waitForTicks(1);
            }
            openDialog();
        }
    }

    void exitWithTheDialogAndAProgramOpenEndsOnlyTheClock()
    {
        const qint64 pid = startProbe();
        QVERIFY2(pid > 0, "the program did not start");
        QCOMPARE(m_about.exitByButton(), 0);
        QVERIFY(windows().isEmpty());
        QFile stat(u"/proc/%1/stat"_s.arg(pid));
        QVERIFY2(stat.open(QIODevice::ReadOnly), "the program ended with the clock");
        const QByteArray fields = stat.readAll().split(')').last(); // " S PARENT ..."
        QVERIFY2(fields.startsWith(" S ") || fields.startsWith(" R "), fields.constData());
        QCOMPARE(fields.split(' ').value(2).toLongLong(), qint64(::getpid()));
        ::kill(pid_t(pid), SIGTERM);
        QCOMPARE(::waitpid(pid_t(pid), nullptr, 0), pid_t(pid));
        const QStringList reports = QDir(m_reports.path()).entryList(QDir::Files);
        m_reports.setAutoRemove(reports.isEmpty());
        QVERIFY2(reports.isEmpty(), qPrintable(m_reports.path() + u": "_s + reports.join(u' ')));
    }

    // An hour a second: for 80 hours into 2048 every screenshot must show the
    // faked time of a tick just past, and the resident memory stay flat.
    void fastClockFollowsTheCalendarForDays()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("the memory of a sanitized build says nothing of the real one's");
#endif
        constexpr int rate = 3600;
        const QDateTime start(QDate(2047, 12, 29), QTime(20, 0), QTimeZone::utc());
        QElapsedTimer real;
        real.start();
        RunningClock clock;
        QVERIFY(clock.start({u"FAKETIME=@2047-12-29 20:00:00 x%1"_s.arg(rate)}));
        const auto residentKiB = [&] {
            QFile status(u"/proc/%1/status"_s.arg(clock.pid()));
            const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : "";
            return text.mid(text.indexOf("VmRSS:") + 6).trimmed().split(' ').value(0).toLongLong();
        };
        // Per screenshot: the seconds it took, how far it lags the faked time.
        QList<std::pair<double, double>> samples;
        QList<QDate> days{start.date()};
        QDateTime last = start;
        qint64 warmKiB = 0;
        while (real.elapsed() < 80'000) {
            const double before = double(real.nsecsElapsed()) / 1e9;
            const QImage shot = clock.grab();
            const double after = double(real.nsecsElapsed()) / 1e9;
            QString fault;
            const std::optional<QString> face = readFace(shot, fault);
            QVERIFY2(face, qPrintable(fault));
            QDateTime shown = QDateTime::fromString(face->left(19), u"dd.MM.yyyy HH:mm:ss"_s);
            shown.setTimeZone(QTimeZone::utc());
            QVERIFY2(last <= shown, qPrintable(u"back to "_s + *face));
            if (days.back() != shown.date())
                days << shown.date();
            samples.append({after - before, rate * after - double(start.secsTo(shown))});
            last = shown;
            if (warmKiB == 0 && after > 8)
                warmKiB = residentKiB();
            QTest::qWait(40);
        }
        const qint64 endKiB = residentKiB();
        QCOMPARE(days, (QList<QDate>{{2047, 12, 29}, {2047, 12, 30}, {2047, 12, 31}, {2048, 1, 1},
                                     {2048, 1, 2}}));
        // The faked clock began after the launch by the smallest lag; beyond it a
        // screenshot may lag by the time it took, a tick and a late tick.
        const double origin = std::ranges::min(samples, {}, &std::pair<double, double>::second).second;
        QVERIFY2(origin >= -2.0 && origin <= rate * 5.0, qPrintable(QString::number(origin)));
        for (const auto &[grabSeconds, lag] : samples)
            QCOMPARE_LE((lag - origin) / rate, grabSeconds + 0.1 + 0.5);
        qInfo("resident memory after warm-up %lld KiB, at the end %lld KiB", warmKiB, endKiB);
        QVERIFY(warmKiB > 0);
        QCOMPARE_LT(endKiB - warmKiB, 1024);
    }

private:
    void openDialog()
    {
        QVERIFY(m_about.click({"Command5"}));
        QVERIFY(QTest::qWaitFor([] { return windows().size() == 1; }));
        m_dialog = windows().value(0);
    }

    bool clickIn(std::string_view button) const
    {
        for (const ElementDef &def : infotessaroWindow().elements)
            if (def.key.name == button)
                return RunningClock::click(m_dialog, qt::toQRect(pixelRect(def.rect)).center());
        return false;
    }

    // Clicks Systeminfo; the process id of the probe it started, or 0.
    qint64 startProbe()
    {
        QFile marker(m_marker);
        marker.remove();
        if (clickIn(infotessaro::cmdSysInfo.name) && QTest::qWaitFor([&] { return marker.exists(); }))
            marker.open(QIODevice::ReadOnly);
        const qint64 pid = marker.readLine().split(' ').value(0).toLongLong();
        return marker.remove() && pid != m_about.pid() ? pid : 0;
    }

    RunningClock m_clock;
    QTemporaryDir m_reports;
    RunningClock m_about;
    QString m_dialog;
    const QString m_probe = qEnvironmentVariable("TESSARO_SYSINFO_PROBE");
    const QString m_marker = m_probe + u".ran"_s;
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
