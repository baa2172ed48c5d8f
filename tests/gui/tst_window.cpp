// SPDX-License-Identifier: GPL-3.0-or-later
// The real program as a user sees it, at faked times and read back from
// screenshots: the main window's colours, the clock set while it runs, a
// session of use of a test build whose registry names the probe program,
// and the About dialog under a real window manager.
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
#include <QRegularExpression>
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

// One property as xprop prints it ("NAME(TYPE) = value" or "NAME(WINDOW):
// window id # 0x..."): its value, "" if there is none.
QString xprop(const QString &window, const QString &name)
{
    static const QRegularExpression value(u"^[^(]*\\([^)]*\\)(?:: | = )(.*)$"_s,
                                          QRegularExpression::DotMatchesEverythingOption);
    const QStringList where =
        window.isEmpty() ? QStringList{u"-root"_s} : QStringList{u"-id"_s, window};
    const QString text = run(u"xprop"_s, where + QStringList{name}).value_or(QString()).trimmed();
    return value.match(text).captured(1).trimmed();
}

// The windows the window manager manages, as xdotool names them.
QStringList managedWindows()
{
    QStringList ids;
    for (const QString &id : xprop({}, u"_NET_CLIENT_LIST"_s).split(u", "_s, Qt::SkipEmptyParts))
        ids << QString::number(id.section(u'#', -1).trimmed().toULongLong(nullptr, 16));
    return ids;
}

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

    // Under a window manager (openbox), About closes by Enter and by Escape
    // while the picture has the focus, and by the window manager's close
    // (Alt+F4, as its close box). No owner, nor kept above the main window:
    // as "Info " leaves an open dialog as it is, the dialog has a taskbar
    // entry of its own to be found by. A fixed frame with only the close box:
    // functions resize (held by the size hints), move and close; border,
    // title and menu.
    void aboutUnderAWindowManager()
    {
        // The clock first: the window manager takes over the windows shown as it starts.
        RunningClock clock;
        QVERIFY(clock.start());
        QTemporaryDir config;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_s, config.path()); // the default configuration
        QProcess openbox;
        openbox.setProcessEnvironment(env);
        openbox.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        openbox.start(u"openbox"_s, {u"--sm-disable"_s});
        const auto stop = qScopeGuard([&] {
            openbox.terminate();
            if (!openbox.waitForFinished(5000))
                openbox.kill();
        });
        QVERIFY(awaitTrue([&] { return !xprop(clock.window(), u"_NET_FRAME_EXTENTS"_s).isEmpty(); },
                          u"the frame"_s));
        for (const QString &keys : {u"Tab Return"_s, u"Tab Escape"_s, u"alt+F4"_s}) {
            // Clicked again if the window manager was still placing the window.
            QVERIFY(awaitTrue(
                [&] {
                    return clock.click(Command5) &&
                           QTest::qWaitFor([] { return !visibleWindows(aboutTitle).isEmpty(); },
                                           3000);
                },
                u"the About dialog"_s));
            const QString dialog = visibleWindows(aboutTitle).value(0);
            // Managed once the window manager has framed it and set its actions.
            QVERIFY(
                awaitTrue([&] { return !xprop(dialog, u"_NET_WM_ALLOWED_ACTIONS"_s).isEmpty(); },
                          u"the dialog framed"_s));
            QCOMPARE(xprop(dialog, u"WM_TRANSIENT_FOR"_s), QString());
            QCOMPARE(xprop(dialog, u"_NET_WM_WINDOW_TYPE"_s), u"_NET_WM_WINDOW_TYPE_NORMAL"_s);
            const QString state = xprop(dialog, u"_NET_WM_STATE"_s);
            QVERIFY2(!state.contains(u"SKIP_TASKBAR"_s) && !state.contains(u"ABOVE"_s),
                     qPrintable(state));
            QCOMPARE(xprop(dialog, u"_MOTIF_WM_HINTS"_s), u"0x3, 0x26, 0x1e, 0x0, 0x0"_s);
            const QString hints =
                run(u"xprop"_s, {u"-id"_s, dialog, u"WM_NORMAL_HINTS"_s}).value_or(QString());
            QVERIFY2(hints.contains(u"minimum size: 294 by 323"_s) &&
                         hints.contains(u"maximum size: 294 by 323"_s),
                     qPrintable(hints));
            xdotool({u"windowactivate"_s, u"--sync"_s, dialog});
            QVERIFY(xdotool(QStringList{u"key"_s} + keys.split(u' ')));
            QVERIFY(awaitTrue([&] { return !managedWindows().contains(dialog); }, keys));
            QCOMPARE(managedWindows(), QStringList{clock.window()});
        }
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
