// SPDX-License-Identifier: GPL-3.0-or-later
// The real program as a user sees it, at faked times and read back from
// screenshots: the main window's colours, the clock set while it
// runs; the About dialog in a build whose registry names the probe program.
// (The colour buttons and check boxes: tst_window_session.) Each test starts the clocks it needs
// and ends them; every wait is for something to show, with a deadline. Under the sanitizers
// (scripts/test-asan.sh) no test may leave a report.
#include "groups.h"
#include "infotessaro_window.h"
#include "probebuild.h"
#include "runningclock.h"
#include "ruzozura_keys.h"
#include "windowmodel.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>

using namespace tessaro;
using namespace tessaro::guitest;
using namespace tessaro::ruzozura;
using namespace Qt::StringLiterals;

namespace
{

// A stopped clock at a time that lights cells in every row.
const QString stoppedAt = u"FAKETIME=2026-12-06 12:34:56"_s;
const QString stoppedFace = u"06.12.2026 12:34:56 (11 year cells)"_s;

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QFile::rename(m_probe + u".away"_s, m_probe); // if a failed run left it so
        QVERIFY2(QFileInfo::exists(m_probe), qPrintable(m_probe));
        // Programs the clock leaves behind come to this test, not to init.
        QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    }

    // The main window's exact colours at a stopped time.
    void mainWindowHasItsColours()
    {
        RunningClock clock;
        QVERIFY(clock.start({stoppedAt}));
        QCOMPARE(clock.awaitFace(stoppedFace), stoppedFace);
        const QImage shot = clock.grab();
        // A corner of the window, Frame18, hexa1(4) and (0); Command2 to 5
        // and Command1: each the colour of most of its inside.
        const std::pair<QRect, QRgb> colours[] = {
            {screenshot::pixelRect({5700, 6600, 450, 435}), qRgb(0, 255, 0)},
            {screenshot::elementRect(Frame18), qRgb(128, 255, 128)},
            {screenshot::elementRect(hexa1[4]), qRgb(255, 255, 0)},
            {screenshot::elementRect(hexa1[0]), qRgb(255, 255, 0)},
            {screenshot::elementRect(Command2), qRgb(128, 128, 0)},
            {screenshot::elementRect(Command3), qRgb(255, 0, 0)},
            {screenshot::elementRect(Command4), qRgb(0, 0, 192)},
            {screenshot::elementRect(Command5), qRgb(255, 255, 0)},
            {screenshot::elementRect(Command1), qRgb(255, 128, 0)}};
        for (const auto &[rect, colour] : colours)
            QCOMPARE(screenshot::mainColour(shot, rect), QColor(colour));
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
            const QString after = screenshot::faceText(at.toTimeZone(QTimeZone(zone.toLatin1())));
            // Before the first tick the cells show their starting colours,
            // which read as no face at all.
            QString shown;
            QString mix;
            clock.awaitShot([&](const QImage &shot) {
                QString fault;
                const std::optional<QString> face = screenshot::readFace(shot, fault);
                shown = face.value_or(fault);
                if (before && face != before && face != after && mix.isEmpty())
                    mix = shown;
                return shown == after ? QString() : shown;
            });
            QVERIFY2(mix.isEmpty(),
                     qPrintable(u"between %1 and %2: %3"_s.arg(*before, after, mix)));
            QCOMPARE(shown, after);
            before = after;
        }
    }

    // A second click on "Info " while the dialog is open opens no second one.
    void infoOpensExactlyOneDialog()
    {
        ProbeBuild build;
        QVERIFY(build.start());
        QVERIFY(build.openDialog());
        QVERIFY(build.clock().click(Command5));
        // Clicks are handled in turn: once the click on Check1 after it shows,
        // any dialog that the second click opened is on the screen.
        QVERIFY(build.clock().click(Check1));
        const QString wrong = build.clock().awaitShot(
            [](const QImage &shot) { return groupMismatch(shot, Group::DecimalReadouts, true); });
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong));
        QCOMPARE(visibleWindows(ProbeBuild::dialogTitle), QStringList{build.dialog()});
        QCOMPARE(build.clock().exitByButton(), 0);
        QCOMPARE(build.reports(), QStringList());
    }

    void withoutAProgramAMessageSaysSo()
    {
        ProbeBuild build;
        QVERIFY(build.start());
        QVERIFY(build.openDialog());
        QFile::remove(m_probe + u".away"_s);
        QVERIFY(QFile::rename(m_probe, m_probe + u".away"_s));
        const auto putBack = qScopeGuard([this] { QFile::rename(m_probe + u".away"_s, m_probe); });
        QVERIFY(build.clickInDialog(infotessaro::cmdSysInfo));
        // The box carries the program's title, as the main window does, and
        // gives its OK button the focus just after it appears.
        const auto boxes = [] { return visibleWindows(u"^Tessaro$"_s); };
        QVERIFY(awaitTrue([&] { return boxes().size() == 2; }, patienceMs));
        QStringList box = boxes();
        box.removeAll(build.clock().window());
        QVERIFY(typeUntil(box.value(0), u"Return"_s, [&] { return boxes().size() == 1; }));
        QCOMPARE(visibleWindows(ProbeBuild::dialogTitle), QStringList{build.dialog()});
        QVERIFY(!QFileInfo::exists(m_probe + u".ran"_s));
        QCOMPARE(build.clock().exitByButton(), 0);
        QCOMPARE(build.reports(), QStringList());
    }

    void exitWithTheDialogAndAProgramOpenEndsOnlyTheClock()
    {
        ProbeBuild build;
        QVERIFY(build.start());
        QVERIFY(build.openDialog());
        const qint64 pid = build.startProbe();
        QVERIFY2(pid > 0, "the program did not start");
        QCOMPARE(build.clock().exitByButton(), 0);
        QVERIFY(build.dialogClosed());
        QFile stat(u"/proc/%1/stat"_s.arg(pid));
        QVERIFY2(stat.open(QIODevice::ReadOnly), "the program ended with the clock");
        const QByteArray fields = stat.readAll().split(')').last(); // " S PARENT ..."
        QVERIFY2(fields.startsWith(" S ") || fields.startsWith(" R "), fields.constData());
        QCOMPARE(fields.split(' ').value(2).toLongLong(), qint64(::getpid()));
        ::kill(pid_t(pid), SIGTERM);
        QCOMPARE(::waitpid(pid_t(pid), nullptr, 0), pid_t(pid));
        QCOMPARE(build.reports(), QStringList());
    }

private:
    const QString m_probe = qEnvironmentVariable("TESSARO_SYSINFO_PROBE");
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
