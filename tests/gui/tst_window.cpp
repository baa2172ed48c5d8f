// SPDX-License-Identifier: GPL-3.0-or-later
// The real program as a user sees it, at faked times and read back from
// screenshots: the main window's colours, the clock set while it runs, and a
// session of use of a test build whose registry names the probe program.
// Every wait is for something to show, with a deadline. Under the
// sanitizers (scripts/test-asan.sh) no test may leave a report.
#include "driver.h"
#include "infotessaro_window.h"
#include "ruzozura_keys.h"
#include "windowmodel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>

using namespace tessaro;
using namespace tessaro::screenshot;
using namespace tessaro::ruzozura;
using namespace Qt::StringLiterals;

namespace
{

// The test build, whose registry names the probe program (it leaves
// "<its path>.ran" holding its process id and stays 4 s), with its About
// dialog. In a sanitized build every report goes to a directory of its own.
struct ProbeBuild {
    QTemporaryDir reports; // outlives the clock, which may still write to it
    RunningClock clock;
    QString dialog;
    const QString probe = qEnvironmentVariable("TESSARO_SYSINFO_PROBE");

    bool start()
    {
        const QString log = u":log_path="_s + reports.path();
        return clock.start({u"TESSARO_PROBE_LINGER=4"_s,
                            u"ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"_s + log + u"/asan"_s,
                            u"UBSAN_OPTIONS=print_stacktrace=1"_s + log + u"/ubsan"_s,
                            u"LSAN_OPTIONS=print_suppressions=0:suppressions="_s +
                                qEnvironmentVariable("TESSARO_LSAN_SUPPRESSIONS")},
                           u"Europe/Berlin"_s, qEnvironmentVariable("TESSARO_PROBE_BUILD"));
    }
    // Clicks "Info " and waits for the one dialog, then moves it beside the
    // main window, out of the way of its buttons and screenshots.
    bool openDialog()
    {
        if (!clock.click(Command5) ||
            !awaitTrue([] { return visibleWindows(aboutTitle).size() == 1; }, u"About"_s))
            return false;
        dialog = visibleWindows(aboutTitle).value(0);
        if (xdotool({u"windowmove"_s, u"--sync"_s, dialog, u"700"_s, u"100"_s}))
            return true;
        reportFailedWait(u"the About dialog to move"_s);
        return false;
    }
    bool clickInDialog(ElementKey button) const
    {
        return clock.clickAt(dialog, aboutCentre(button));
    }
    // Clicks Systeminfo and waits for the probe; its process id, or 0.
    qint64 startProbe()
    {
        QFile marker(probe + u".ran"_s);
        marker.remove();
        if (clickInDialog(infotessaro::cmdSysInfo) &&
            awaitTrue([&] { return marker.exists(); }, u"the probe"_s))
            marker.open(QIODevice::ReadOnly);
        const qint64 pid = marker.readLine().split(' ').value(0).toLongLong();
        return marker.remove() && pid != clock.pid() ? pid : 0;
    }
    // The sanitizers' report files, if any (kept for reading if so).
    QStringList reportFiles()
    {
        const QStringList found = QDir(reports.path()).entryList(QDir::Files);
        reports.setAutoRemove(found.isEmpty());
        return found;
    }
};

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QFile::rename(m_probe + u".away"_s, m_probe); // if a failed run left it so
        QVERIFY2(QFileInfo::exists(m_probe), qPrintable(m_probe));
        // Programs the clock leaves behind come to this test.
        QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    }

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
        // 01:59:59 winter time, then 03:00:00 summer time, and 02:59:59 summer
        // time, then 02:00:00 winter time.
        row("summer time begins", "Europe/Berlin", "2026-03-29T00:59:59Z 2026-03-29T01:00:00Z");
        row("summer time ends", "Europe/Berlin", "2026-10-25T00:59:59Z 2026-10-25T01:00:00Z");
    }

    void settingTheClockShowsTheNewTimeWhole()
    {
        QFETCH(QString, zone);
        QFETCH(QString, moments);
        RunningClock clock;
        std::optional<QString> before;
        for (const QString &moment : moments.split(u' ')) {
            const QDateTime at = QDateTime::fromString(moment, Qt::ISODate);
            clock.setMoment(at);
            if (!before)
                QVERIFY(clock.start({}, zone));
            const QString after = faceText(at.toTimeZone(QTimeZone(zone.toLatin1())));
            // Before the first tick the cells show their starting colours,
            // which read as no face at all.
            QString mix;
            const QString wrong = clock.awaitShot([&](const QImage &shot) {
                QString fault;
                const std::optional<QString> face = readFace(shot, fault);
                if (before && face && face != before && face != after && mix.isEmpty())
                    mix = *face;
                return face == after ? QString() : face.value_or(fault);
            });
            QVERIFY2(mix.isEmpty(),
                     qPrintable(u"between %1 and %2: %3"_s.arg(*before, after, mix)));
            QCOMPARE(wrong, QString());
            before = after;
        }
    }

    // The steps the wine window test shares (the colours, About without a
    // program, the controls, a second "Info "); Systeminfo and OK; Exit with
    // the dialog and a program open ends only the clock, which has reaped
    // the programs that ended before.
    // TESSARO_SESSION_SECONDS repeats the rounds for as long.
    void aSessionOfUse()
    {
        ProbeBuild build;
        QVERIFY(build.start());
        RunningClock &clock = build.clock;
        Expected expected;
        QCOMPARE(clock.awaitShot([&](const QImage &shot) { return expected.mismatch(shot); }),
                 QString());
        QCOMPARE(colourFault(clock.lastShot()), QString());
        QVERIFY(build.openDialog());
        {
            QFile::remove(m_probe + u".away"_s);
            QVERIFY(QFile::rename(m_probe, m_probe + u".away"_s));
            const auto putBack =
                qScopeGuard([this] { QFile::rename(m_probe + u".away"_s, m_probe); });
            missingToolShowsTheMessage(clock);
            QVERIFY(!QTest::currentTestFailed() && !QFileInfo::exists(m_probe + u".ran"_s));
        }

        QList<qint64> probes;
        QElapsedTimer session;
        session.start();
        do {
            const qint64 probe = build.startProbe();
            QVERIFY2(probe > 0, "the program did not start");
            probes << probe;
            QVERIFY(build.clickInDialog(infotessaro::cmdOK));
            QVERIFY(awaitTrue([&] { return visibleWindows(aboutTitle).isEmpty(); }, u"OK"_s));
            useTheControls(clock, expected);
            QVERIFY(!QTest::currentTestFailed());
            QVERIFY(build.openDialog());
        } while (session.elapsed() <
                 qEnvironmentVariableIntValue("TESSARO_SESSION_SECONDS") * 1000);

        secondInfoOpensNoOther(clock, expected);
        QVERIFY(!QTest::currentTestFailed());
        for (const qint64 probe : probes)
            QVERIFY(awaitTrue([&] { return !QFile::exists(u"/proc/%1"_s.arg(probe)); },
                              u"the clock to reap its program"_s));

        const qint64 pid = build.startProbe();
        QVERIFY2(pid > 0, "the program did not start");
        QVERIFY(clock.click(Command1));
        QCOMPARE(clock.awaitExit(), 0);
        QVERIFY(visibleWindows(aboutTitle).isEmpty());
        QFile stat(u"/proc/%1/stat"_s.arg(pid));
        QVERIFY2(stat.open(QIODevice::ReadOnly), "the program ended with the clock");
        const QByteArray fields = stat.readAll().split(')').last(); // " S PARENT ..."
        QVERIFY2(fields.startsWith(" S ") || fields.startsWith(" R "), fields.constData());
        QCOMPARE(fields.split(' ').value(2).toLongLong(), qint64(::getpid()));
        ::kill(pid_t(pid), SIGTERM);
        QCOMPARE(::waitpid(pid_t(pid), nullptr, 0), pid_t(pid));
        QCOMPARE(build.reportFiles(), QStringList());
    }

    // A fast clock, an hour a second: every screenshot reads, the faces
    // never go back and step by a few minutes, as the clock ticks ten times
    // a second, through the calendar day by day. Over days into 2048 (the soak, run with
    // TESSARO_SOAK set) the clock's resident memory stays flat.
    void fastClockFollowsTheCalendar_data()
    {
        QTest::addColumn<int>("hours");
        QTest::newRow("hours") << 3;
        if (qEnvironmentVariableIsSet("TESSARO_SOAK"))
            QTest::newRow("days") << 76;
    }

    void fastClockFollowsTheCalendar()
    {
        QFETCH(const int, hours);
        RunningClock clock;
        QVERIFY(clock.start({u"FAKETIME=@2047-12-29 20:00:00 x3600"_s}));
        const auto residentKiB = [&] {
            QFile status(u"/proc/%1/status"_s.arg(clock.pid()));
            const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : "";
            return text.mid(text.indexOf("VmRSS:") + 6).trimmed().split(' ').value(0).toLongLong();
        };
        QList<QDateTime> faces;
        qint64 warmKiB = 0;
        const auto span = [&] { return faces.isEmpty() ? 0 : faces.front().secsTo(faces.back()); };
        // The faked clock runs from the launch on; the window shows it from
        // its first paint, once the machine gets to it.
        for (QDeadlineTimer patience(4 * patienceMs); span() < hours * 3600; QTest::qWait(40)) {
            const QImage shot = clock.grab();
            if (patience.hasExpired())
                reportFailedWait(u"%1 hours"_s.arg(hours), shot);
            QString fault;
            const std::optional<QString> face = readFace(shot, fault);
            if (!face && faces.isEmpty() && !patience.hasExpired())
                continue;
            QVERIFY2(face && !patience.hasExpired(), qPrintable(fault));
            QDateTime shown = QDateTime::fromString(face->left(19), u"dd.MM.yyyy HH:mm:ss"_s);
            shown.setTimeZone(QTimeZone::utc());
            QVERIFY2(faces.isEmpty() || faces.back() <= shown, qPrintable(u"back to "_s + *face));
            if (faces.isEmpty() || faces.back() != shown)
                faces << shown;
            if (warmKiB == 0 && span() > hours * 1200)
                warmKiB = residentKiB();
        }
        QList<qint64> steps;
        QList<QDate> days{faces.front().date()};
        for (qsizetype i = 1; i < faces.size(); ++i) {
            steps << faces[i - 1].secsTo(faces[i]);
            if (days.back() != faces[i].date())
                days << faces[i].date();
        }
        std::ranges::sort(steps);
        // A tick every 0.1 s moves the face by six faked minutes.
        QVERIFY2(steps[steps.size() / 2] <= 1800,
                 qPrintable(u"steps of %1 s"_s.arg(steps[steps.size() / 2])));
        QCOMPARE(days.size(), days.front().daysTo(days.back()) + 1);
        if (hours < 24)
            return;
        QCOMPARE(days.back().year(), 2048);
#ifdef __SANITIZE_ADDRESS__
        QSKIP("the memory of a sanitized build says nothing of the real one's");
#endif
        const qint64 endKiB = residentKiB();
        qInfo("resident memory after warm-up %lld KiB, at the end %lld KiB", warmKiB, endKiB);
        QCOMPARE_LT(endKiB - warmKiB, 1024);
    }

private:
    const QString m_probe = qEnvironmentVariable("TESSARO_SYSINFO_PROBE");
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
