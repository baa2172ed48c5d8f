// SPDX-License-Identifier: GPL-3.0-or-later
// The real program as a user sees it, at faked times and read back from
// screenshots, on Linux (also under a window manager and on Wayland) and as
// Tessaro.exe under wine (with a screen reader through MSAA). Under the
// sanitizers (scripts/test-asan.sh) no test may leave a report.
#include "classiclook.h"
#include "driver.h"
#include "infotessaro_window.h"
#include "ruzozura_keys.h"
#include "ruzozura_window.h"
#include "windowmodel.h"

#include <QBitmap>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegion>
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

// Where a right-aligned readout's border crosses its row.
QRect leftEdge(ElementKey key)
{
    const QRect r = elementRect(key);
    return {r.left() - 1, r.center().y() - 2, 3, 5};
}

// Ink that shows only while a check box's group shows, or only while it is
// hidden (the title reads "Uhr" beside the readouts, else "Stunden"), or
// yellow that shows only while it shows: of each kind of element one.
enum Mark { inkWhileShown, inkWhileHidden, yellowWhileShown };
struct Probe {
    std::size_t box;
    Mark mark;
    QRect rect;
};

QList<Probe> groupProbes()
{
    return {{0, inkWhileHidden, elementRect(Label1).adjusted(25, 2, -5, -2)},
            {0, inkWhileShown, leftEdge(Jahr)},
            {1, inkWhileShown, elementRect(Label18)},
            {1, inkWhileShown, QRect(130, 26, 160, 3)}, // the byte bracket's top stroke
            {2, inkWhileShown, leftEdge(hex1[0])},
            {2, yellowWhileShown, elementRect(hexa1[0])}};
}

const QString aboutTitle = u"^Info zu Tessaro$"_s;

bool awaitAbouts(const RunningClock &clock, qsizetype count, const QString &what)
{
    return awaitTrue([&] { return clock.windows(aboutTitle).size() == count; }, what);
}

const QString probeProgram = qEnvironmentVariable("TESSARO_SYSINFO_PROBE");

// What the main window shows as the user presses its controls: the lit
// colour, and which of the check boxes' groups show.
struct Expected {
    QColor lit = startLit;
    std::array<bool, 3> shown{false, true, true};

    void press(ElementKey key)
    {
        const ElementKey boxes[] = {Check1, Check2, Check3};
        for (const auto &[button, colour] : {std::pair{Command2, QColor(128, 128, 0)},
                                             {Command3, QColor(255, 0, 0)},
                                             {Command4, QColor(0, 0, 192)}})
            lit = button == key ? colour : lit;
        for (size_t box = 0; box < 3; ++box)
            shown[box] = shown[box] != (boxes[box] == key);
    }

    // Empty when the screenshot shows what is expected, else what differs.
    [[nodiscard]] QString mismatch(const QImage &shot) const
    {
        QString wrong;
        readFace(shot, wrong, lit);
        for (const auto &[box, mark, r] : groupProbes()) {
            const bool marked =
                mark == yellowWhileShown ? showsColour(shot, r, Qt::yellow) : showsInk(shot, r);
            if (marked != (shown[box] == (mark != inkWhileHidden)))
                wrong += u" (%1,%2)"_s.arg(r.x()).arg(r.y());
        }
        return wrong;
    }
};

// Empty when the window, its buttons and a time cell's digit show their own colours.
QString colourFault(const QImage &shot, double ratio = 1.0)
{
    QString wrong;
    for (const auto &[key, colour] : {std::pair{Command1, QColor(255, 128, 0)},
                                      {Command2, QColor(128, 128, 0)},
                                      {Command3, QColor(255, 0, 0)},
                                      {Command4, startLit},
                                      {Command5, QColor(Qt::yellow)},
                                      {hexa1[0], QColor(Qt::yellow)},
                                      {Label7, windowGreen}})
        if (const QColor seen = mainColour(shot, elementRect(key, ratio)); seen != colour)
            wrong += QString::fromStdString(describe(key)) + u" "_s + seen.name() + u" "_s;
    if (!showsColour(shot, elementRect(bin1[4], ratio), Qt::white))
        wrong += u"no white text in "_s + QString::fromStdString(describe(bin1[4]));
    return wrong;
}

void press(RunningClock &clock, Expected &expected, ElementKey key, const QString &keys)
{
    QVERIFY(keys.isEmpty() ? clock.click(key) : clock.keys(keys));
    expected.press(key);
    const QString step = QString::fromStdString(describe(key)) + u" "_s + keys;
    if (key == Command5) { // the dialog may lie over the main window
        QVERIFY(awaitAbouts(clock, 1, step));
        QVERIFY(clock.keys(u"Escape"_s));
        QVERIFY(awaitAbouts(clock, 0, u"Escape"_s));
        return;
    }
    const QString wrong = clock.awaitShot([&](const QImage &s) { return expected.mismatch(s); });
    QVERIFY2(wrong.isEmpty(), qPrintable(u"after %1:%2"_s.arg(step, wrong)));
}

// The user's steps that both programs share, each seen on the screen (they
// fail the running test else): each colour button and check box clicked,
// then Space and Tab from Check1 round the tab order (past Exit) to it again.
void useTheControls(RunningClock &clock, Expected &expected)
{
    for (const ElementKey key : {Command3, Check1, Command4, Check2, Check3, Command2, Check1})
        if (press(clock, expected, key, {}); QTest::currentTestFailed())
            return;
    const ElementKey tabOrder[] = {Command2, Command3, Command4, Command5, Check2, Check3};
    if (press(clock, expected, Check1, u"space"_s); QTest::currentTestFailed())
        return;
    for (const ElementKey key : tabOrder)
        if (press(clock, expected, key, u"Tab space"_s); QTest::currentTestFailed())
            return;
    press(clock, expected, Check1, u"Tab Tab space"_s);
}

// In the open About dialog, with no tool to start: OK, the picture and
// Systeminfo in tab order, which shows the one message; Return closes it.
void missingToolShowsTheMessage(RunningClock &clock)
{
    const QStringList dialog = clock.windows(aboutTitle);
    QVERIFY(clock.keys(u"Tab Tab space"_s));
    QVERIFY(awaitTrue([&] { return clock.showsMessage(); }, u"the message"_s));
    // Its OK takes the focus just after it appears: Return again if need be.
    QVERIFY(awaitTrue(
        [&] {
            return clock.keys(u"Return"_s) &&
                   QTest::qWaitFor([&] { return !clock.showsMessage(); }, 5000);
        },
        u"Return to close the message"_s));
    QCOMPARE(clock.windows(aboutTitle), dialog);
}

// "Info " while About is open opens no second one. Clicks are handled in
// turn: once the colour clicked after it shows, any such dialog shows.
void secondInfoOpensNoOther(RunningClock &clock, Expected &expected)
{
    const QStringList dialog = clock.windows(aboutTitle);
    QVERIFY(clock.click(Command5));
    press(clock, expected, Command3, {});
    QCOMPARE(clock.windows(aboutTitle), dialog);
}

// One property as xprop prints it ("NAME(TYPE) = value", "NAME(WINDOW):
// window id # 0x..." or "NAME(TYPE):" and lines): its value, "" if none.
QString xprop(const QString &window, const QString &name)
{
    static const QRegularExpression value(u"^[^(]*\\([^)]*\\)(?::\\s| = )(.*)$"_s,
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
        if (!clock.click(Command5) || !awaitAbouts(clock, 1, u"About"_s))
            return false;
        dialog = clock.windows(aboutTitle).value(0);
        const QStringList move{u"windowmove"_s, u"--sync"_s, dialog, u"700"_s, u"100"_s};
        return awaitTrue([&] { return xdotool(move).has_value(); }, u"the About dialog to move"_s);
    }
    // Clicks Systeminfo and waits for the probe; its process id, or 0.
    qint64 startProbe()
    {
        QFile marker(probeProgram + u".ran"_s);
        marker.remove();
        if (clock.clickAt(dialog, aboutCentre(infotessaro::cmdSysInfo)) &&
            awaitTrue([&] { return marker.exists(); }, u"the probe"_s))
            marker.open(QIODevice::ReadOnly);
        const qint64 pid = marker.readLine().split(' ').value(0).toLongLong();
        return marker.remove() && pid != clock.pid() ? pid : 0;
    }
};

const QString msinfoKey = u"HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s;

QDateTime utc(const char *moment)
{
    return QDateTime::fromString(QString::fromLatin1(moment) + u'Z', Qt::ISODate);
}

QString prefixPath(QString windowsPath)
{
    return windowsPath.replace(u"C:\\"_s, qEnvironmentVariable("WINEPREFIX") + u"/drive_c/"_s)
        .replace(u'\\', u'/');
}

// What the MSAA client prints, as a screen reader reads it.
QStringList probe(const QStringList &arguments)
{
    const auto out =
        run(u"wine"_s, QStringList{qEnvironmentVariable("TESSARO_MSAA_PROBE")} + arguments);
    // The console of wine ends lines with CR LF.
    return out.value_or(QString()).remove(u'\r').split(u'\n', Qt::SkipEmptyParts);
}

// Empty when every pixel of the runs has the colour, but those under a
// child window; else the first that has not. `beyond`: the pixels just past
// the runs across their line must not have it either (text may touch a few).
QString runsIn(const QImage &shot, const std::vector<DeviceEdges> &runs, QColor colour,
               bool beyond = false, const QRegion &covered = {})
{
    std::size_t widened = 0;
    for (const DeviceEdges &run : runs) {
        const bool horizontal = run.right - run.left > run.bottom - run.top;
        const QRect rect(run.left, run.top, run.right - run.left, run.bottom - run.top);
        const QPoint past = horizontal ? QPoint(rect.center().x(), run.bottom)
                                       : QPoint(run.right, rect.center().y());
        for (int y = run.top; y < run.bottom; ++y)
            for (int x = run.left; x < run.right; ++x)
                if (shot.pixel(x, y) != colour.rgb() && !covered.contains(QPoint(x, y)))
                    return u"%1,%2 is %3"_s.arg(x).arg(y).arg(QColor(shot.pixel(x, y)).name());
        widened += beyond && shot.pixel(past) == colour.rgb() ? 1U : 0U;
    }
    return widened * 2 > runs.size()
               ? u"wider than %1 pixels"_s.arg(runs.front().bottom - runs.front().top)
               : QString();
}

// Empty when most pixels between the runs of a patterned line are not black,
// but those under a child window (a border or text may cross a few).
QString gapsIn(const QImage &shot, const std::vector<DeviceEdges> &runs, const QRegion &covered)
{
    QRegion drawn;
    for (const DeviceEdges &r : runs)
        drawn += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    int gaps = 0, black = 0;
    for (const QRect &gap : QRegion(drawn.boundingRect()) - drawn - covered)
        for (int y = gap.top(); y <= gap.bottom(); ++y)
            for (int x = gap.left(); x <= gap.right(); ++x, ++gaps)
                black += shot.pixel(x, y) == QColor(Qt::black).rgb() ? 1 : 0;
    return black * 2 > gaps ? u"%1 of %2 pixels between the runs black"_s.arg(black).arg(gaps)
                            : QString();
}

std::vector<DeviceEdges> frameOf(const DeviceEdges &outer, int lines, double ratio)
{
    std::vector<DeviceEdges> runs;
    for (int line = 0; line < lines; ++line) {
        const auto frame = look::frameRuns(look::inset(outer, line, deviceLineWidth(ratio)),
                                           deviceLineWidth(ratio));
        runs.insert(runs.end(), frame.topLeft.begin(), frame.topLeft.end());
        runs.insert(runs.end(), frame.bottomRight.begin(), frame.bottomRight.end());
    }
    return runs;
}

// A program that runs for the rest of the test.
struct Background : QProcess {
    ~Background() override
    {
        kill();
        waitForFinished();
    }
};

// A tooltip is a small window without a title; the widths of those shown.
QList<int> tooltipWidths(const RunningClock &clock)
{
    QList<int> widths;
    for (const QString &id : clock.windows(u"^$"_s))
        if (const QSize size = windowSize(id); size.height() > 5 && size.height() < 40)
            widths.append(size.width());
    return widths;
}

} // namespace

class WindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (underWine)
            return;
        QFile::rename(probeProgram + u".away"_s, probeProgram); // if a failed run left it so
        QVERIFY2(QFileInfo::exists(probeProgram), qPrintable(probeProgram));
        // Programs the clock leaves behind come to this test.
        QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    }

    // The tests named "underWine..." are Tessaro.exe's, which
    // scripts/test-windows-window.sh runs; ctest runs the others.
    void init()
    {
        if (QByteArray(QTest::currentTestFunction()).startsWith("underWine") != underWine)
            QSKIP("a test of the other program");
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
    // program, the controls, a second "Info "); Systeminfo and OK; Exit with the
    // dialog and a program open ends only the clock, which has reaped the
    // programs that ended before. TESSARO_SESSION_SECONDS repeats the rounds for as long.
    void aSessionOfUse()
    {
        ProbeBuild build;
        QVERIFY(build.start());
        RunningClock &clock = build.clock;
        QCOMPARE(clock.awaitShot([](const QImage &shot) { return colourFault(shot); }), QString());
        QVERIFY(build.openDialog());
        {
            QFile::remove(probeProgram + u".away"_s);
            QVERIFY(QFile::rename(probeProgram, probeProgram + u".away"_s));
            const auto putBack =
                qScopeGuard([] { QFile::rename(probeProgram + u".away"_s, probeProgram); });
            missingToolShowsTheMessage(clock);
            QVERIFY(!QTest::currentTestFailed() && !QFileInfo::exists(probeProgram + u".ran"_s));
        }

        Expected expected;
        QList<qint64> probes;
        QElapsedTimer session;
        session.start();
        do {
            const qint64 probe = build.startProbe();
            QVERIFY2(probe > 0, "the program did not start");
            probes << probe;
            QVERIFY(clock.clickAt(build.dialog, aboutCentre(infotessaro::cmdOK)));
            QVERIFY(awaitAbouts(clock, 0, u"OK"_s));
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
        QFile stat(u"/proc/%1/stat"_s.arg(pid));
        QVERIFY2(stat.open(QIODevice::ReadOnly), "the program ended with the clock");
        const QByteArray fields = stat.readAll().split(')').last(); // " S PARENT ..."
        QVERIFY2(fields.startsWith(" S ") || fields.startsWith(" R "), fields.constData());
        QCOMPARE(fields.split(' ').value(2).toLongLong(), qint64(::getpid()));
        ::kill(pid_t(pid), SIGTERM);
        QCOMPARE(::waitpid(pid_t(pid), nullptr, 0), pid_t(pid));
        const QStringList reports = QDir(build.reports.path()).entryList(QDir::Files);
        build.reports.setAutoRemove(reports.isEmpty()); // else kept for reading
        QCOMPARE(reports, QStringList());
    }

    // Under a window manager (openbox), About closes by Enter and by Escape
    // while the picture has the focus, and by Alt+F4. No owner, nor kept
    // above the main window: as "Info " leaves an open dialog as it is, it
    // has a taskbar entry of its own to be found by. A fixed frame with only
    // the close box: functions resize (held by the size hints), move and
    // close; border, title and menu.
    void aboutUnderAWindowManager()
    {
        // The clock first: the window manager takes over the windows shown as it starts.
        RunningClock clock;
        QVERIFY(clock.start());
        QTemporaryDir config;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_s, config.path()); // the default configuration
        Background openbox;
        openbox.setProcessEnvironment(env);
        openbox.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        openbox.start(u"openbox"_s, {u"--sm-disable"_s});
        QVERIFY(awaitTrue([&] { return !xprop(clock.window(), u"_NET_FRAME_EXTENTS"_s).isEmpty(); },
                          u"the frame"_s));
        for (const QString &keys : {u"Tab Return"_s, u"Tab Escape"_s, u"alt+F4"_s}) {
            // Clicked again if the window manager was still placing the window.
            QVERIFY(awaitTrue(
                [&] {
                    return clock.click(Command5) &&
                           QTest::qWaitFor([&] { return !clock.windows(aboutTitle).isEmpty(); },
                                           3000);
                },
                u"the About dialog"_s));
            const QString dialog = clock.windows(aboutTitle).value(0);
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
            const QString hints = xprop(dialog, u"WM_NORMAL_HINTS"_s);
            QVERIFY2(hints.contains(u"minimum size: 294 by 323"_s) &&
                         hints.contains(u"maximum size: 294 by 323"_s),
                     qPrintable(hints));
            xdotool({u"windowactivate"_s, u"--sync"_s, dialog});
            QVERIFY(xdotool(QStringList{u"key"_s} + keys.split(u' ')));
            QVERIFY(
                awaitTrue([&] { return managedWindows() == QStringList{clock.window()}; }, keys));
        }
    }

    // The clock as a native Wayland client on a headless weston, its wall
    // clock frozen: weston's screenshot shows its client area, window green
    // and of its size, with the face read as on X.
    void aWaylandClient()
    {
        QTemporaryDir runtime; // weston's socket and screenshots, for its owner only
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(u"DISPLAY"_s);
        env.remove(u"QT_QPA_PLATFORM"_s); // the X server's, as the test runs on it
        env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        env.insert(u"WAYLAND_DISPLAY"_s, u"tessaro-test"_s);
        Background weston, clock, shooter;
        for (QProcess *process : {&weston, &clock, &shooter}) {
            process->setProcessEnvironment(env);
            process->setWorkingDirectory(runtime.path());
        }
        weston.start(u"weston"_s, {u"--backend=headless-backend.so"_s, u"--use-pixman"_s,
                                   u"--debug"_s, u"--socket=tessaro-test"_s, u"--width=800"_s,
                                   u"--height=700"_s, u"--idle-time=0"_s});
        QVERIFY(awaitTrue([&] { return QFile::exists(runtime.filePath(u"tessaro-test"_s)); },
                          u"weston"_s));
        env.insert(u"LD_PRELOAD"_s, qEnvironmentVariable("TESSARO_LIBFAKETIME"));
        env.insert(u"FAKETIME"_s, u"2026-12-06 12:34:56"_s);
        env.insert(u"FAKETIME_DONT_FAKE_MONOTONIC"_s, u"1"_s);
        env.insert(u"TZ"_s, u"UTC"_s);
        clock.setProcessEnvironment(env);
        clock.start(qEnvironmentVariable("TESSARO_BINARY"));
        const PixelRect client =
            tessaro::pixelRect({0, 0, ruzozuraWindow().clientWidth, ruzozuraWindow().clientHeight});
        QImage shot;
        QString fault;
        const bool shown = awaitTrue(
            [&] {
                shooter.start(u"weston-screenshooter"_s, QStringList{});
                shooter.waitForFinished(patienceMs);
                shot = QImage(runtime.filePath(QDir(runtime.path())
                                                   .entryList({u"*.png"_s}, QDir::Files, QDir::Time)
                                                   .value(0)));
                // The client area is the bounding box of the window green.
                const QRect green = QRegion(QBitmap::fromImage(shot.createMaskFromColor(
                                                windowGreen.rgb(), Qt::MaskOutColor)))
                                        .boundingRect();
                fault = u"window green %1x%2 "_s.arg(green.width()).arg(green.height());
                return green.size() == QSize(client.width, client.height) &&
                       readFace(shot.copy(green), fault) ==
                           u"06.12.2026 12:34:56 (11 year cells)"_s;
            },
            u"the clock on weston"_s, shot);
        QVERIFY2(shown && clock.state() == QProcess::Running,
                 qPrintable(fault + (clock.state() == QProcess::Running ? u""_s : u"(ended)"_s)));
    }

    // A fast clock, an hour a second: every screenshot reads, the faces never go
    // back and step by a few minutes (ten ticks a second), through the calendar
    // day by day. Over days into 2048 (the soak, TESSARO_SOAK) memory stays flat.
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

    // The main window at every dpi: its colours, text in its own colour; every
    // line and label border whole, as wide as on Linux; the focus ring on Exit
    // and on the check box after it; the rows around the year switch and back.
    void underWineAtEveryDpi_data()
    {
        QTest::addColumn<int>("dpi");
        for (const int dpi : {96, 120, 144, 192})
            QTest::addRow("%d dpi", dpi) << dpi;
    }

    void underWineAtEveryDpi()
    {
        QFETCH(const int, dpi);
        const double ratio = scaleOf(dpi);
        RunningClock clock;
        QVERIFY(clock.startUnderWine(utc("2026-12-07 13:37:42"), dpi));
        QString fault = clock.awaitFace(faceText(utc("2026-12-07 13:37:42")), startLit, ratio);
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        const QImage image = clock.lastShot();
        if (const QString dir = qEnvironmentVariable("TESSARO_SHOT_DIR"); QDir().mkpath(dir))
            image.save(u"%1/dpi %2.png"_s.arg(dir).arg(dpi)); // to look at
        fault = colourFault(image, ratio);
        if (const QColor cell = mainColour(image, elementRect(Frame18, ratio)); cell != dark)
            fault += u" Frame18 "_s + cell.name();
        if (!showsColour(image, elementRect(Label8, ratio), Qt::black)) // text in its own colour
            fault += u" no black text in Label8"_s;
        QVERIFY2(fault.isEmpty(), qPrintable(fault));
        for (const ElementDef &e : ruzozuraWindow().elements) {
            QRegion cells; // what lies above the element and hides it
            for (const ElementDef &above : ruzozuraWindow().elements)
                if (above.stackRank >= 0 && above.stackRank < e.stackRank &&
                    above.kind != ElementKind::Line && !(above.flags & flags::transparent) &&
                    !(above.flags & flags::hidden))
                    cells += elementRect(above.key, ratio);
            if (e.kind == ElementKind::Line) {
                const auto runs =
                    look::lineRuns(pixelLine(e.rect), e.lineStyle, ratio, look::gdiPens);
                fault = runsIn(image, runs, Qt::black, true, cells);
                if (fault.isEmpty())
                    fault = gapsIn(image, runs, cells);
            } else if (e.kind == ElementKind::Label && (e.flags & flags::border))
                fault =
                    runsIn(image, frameOf(deviceEdges(tessaro::pixelRect(e.rect), ratio), 1, ratio),
                           Qt::black, false, cells);
            QVERIFY2(fault.isEmpty(),
                     qPrintable(QString::fromStdString(describe(e.key)) + u": "_s + fault));
        }
        for (const ElementKey key : {Command1, Check1}) {
            const ElementDef &def = *findRuzozuraElement(key);
            PixelRect box = tessaro::pixelRect(def.rect);
            if (def.kind == ElementKind::CheckBox) {
                const PixelRect inside = look::checkBoxRect(box.width, box.height);
                box = {box.left + inside.left, box.top + inside.top, inside.width, inside.height};
            }
            const auto ring =
                look::focusRing(def.kind, deviceEdges(box, ratio), tessaro::pixelRect(def.rect),
                                def.backColour, deviceLineWidth(ratio));
            QVERIFY(ring);
            const QColor colour(int(redOf(ring->colour)), int(greenOf(ring->colour)),
                                int(blueOf(ring->colour)));
            fault = clock.awaitShot([&](const QImage &shot) {
                return runsIn(shot, frameOf(ring->outer, ring->lines, ratio), colour);
            });
            QVERIFY2(fault.isEmpty(),
                     qPrintable(QString::fromUtf8(key.name.data()) + u": "_s + fault));
            QVERIFY(clock.keys(u"Tab"_s));
        }
        for (const char *moment :
             {"2047-12-31 23:59:59", "2048-01-01 00:00:00", "2047-12-31 23:59:58",
              "2099-12-31 23:59:59", "2001-02-28 07:08:09"}) {
            clock.setMoment(utc(moment));
            fault = clock.awaitFace(faceText(utc(moment)), startLit, ratio);
            QVERIFY2(fault.isEmpty(), qPrintable(QString::fromLatin1(moment) + u": "_s + fault));
        }
    }

    // Resting on a button or on a windowless label shows its tooltip, sized to
    // its text. The steps the Linux window test shares (the controls, About
    // without a tool, a second "Info "). Then Systeminfo (clicked, then by its
    // access key) starts the tool the registry names, at a path with blanks and
    // also stored in quotes, never split at a blank; Exit ends the program with
    // the dialog open. (Without a window manager both windows open at the
    // screen's corner: the dialog is only clicked while it is in front.)
    void underWineASessionOfUse()
    {
        const QString tool = u"C:\\Tessaro Fenster\\System Info\\probe tool.exe"_s;
        const QString decoy = u"C:\\Tessaro Fenster\\System.exe"_s;
        QVERIFY(QDir().mkpath(QFileInfo(prefixPath(tool)).absolutePath()));
        for (const QString &copy : {tool, decoy}) {
            QFile::remove(prefixPath(copy));
            QVERIFY(QFile::copy(qEnvironmentVariable("TESSARO_WINDOWS_PROBE"), prefixPath(copy)));
        }
        for (const QString &key :
             {msinfoKey, u"HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location"_s})
            run(u"wine"_s, {u"reg"_s, u"delete"_s, key, u"/f"_s}, true);
        RunningClock clock;
        QVERIFY(clock.startUnderWine(utc("2030-03-03 03:03:03")));
        QList<int> widths;
        for (const ElementKey key : {Command1, Label14}) {
            QVERIFY(clock.hover(key));
            QVERIFY(awaitTrue([&] { return tooltipWidths(clock).size() == 1; }, u"a tooltip"_s));
            widths << tooltipWidths(clock).front();
            QVERIFY(parkPointer());
            QVERIFY(
                awaitTrue([&] { return tooltipWidths(clock).isEmpty(); }, u"the tooltip to go"_s));
        }
        // "Die aktiven Werte addieren um auf die Zeit zu kommen!" is the longer.
        QVERIFY2(widths[1] > widths[0], qPrintable(u"%1 %2"_s.arg(widths[0]).arg(widths[1])));
        Expected expected;
        useTheControls(clock, expected);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(clock.click(Command5));
        QVERIFY(awaitAbouts(clock, 1, u"About"_s));
        missingToolShowsTheMessage(clock);
        QVERIFY(!QTest::currentTestFailed());

        for (const QString &registered : {tool, u"\""_s + tool + u"\""_s}) {
            for (const QString &copy : {tool, decoy})
                QFile::remove(prefixPath(copy) + u".ran"_s);
            QVERIFY(reg({u"add"_s, msinfoKey, u"/v"_s, u"PATH"_s, u"/t"_s, u"REG_SZ"_s, u"/d"_s,
                         registered}));
            QVERIFY(registered == tool ? clock.clickAt(clock.windows(aboutTitle).value(0),
                                                       aboutCentre(infotessaro::cmdSysInfo))
                                       : clock.keys(u"alt+s"_s));
            QVERIFY(awaitTrue([&] { return QFile::exists(prefixPath(tool) + u".ran"_s); },
                              registered + u" to run"_s));
            QVERIFY2(!QFile::exists(prefixPath(decoy) + u".ran"_s), "split at a blank");
            QVERIFY(!clock.showsMessage());
        }
        secondInfoOpensNoOther(clock, expected);
        QVERIFY(!QTest::currentTestFailed());
        QVERIFY(clock.click(Command1));
        QCOMPARE(clock.awaitExit(), 0);
    }

    // What a screen reader reads through MSAA at a frozen moment: the rows'
    // values, the readouts, the check boxes; Check1's default action shows the
    // readouts; About's texts in reading order; bad child ids are refused and
    // the object of a closed window answers that it is gone; a running clock
    // tells each change once.
    void underWineAScreenReader()
    {
        RunningClock clock;
        QVERIFY(clock.startUnderWine(utc("2026-12-06 12:34:56")));
        // Of each kind of object one, as the toolkit-neutral model names them all.
        QStringList expected{
            u"text Sekunden: 56\t56\t"_s,
            u"text Sekunden hexadezimal, addiert: 38\t38\t"_s,
            u"text Sekunden, Wert 32\t1\t"_s,
            u"description 12:34:56, 06.12.2026"_s,
            u"text Jahr dezimal: 2026\t2026\tinvisible"_s,
            u"checkbox Digitale Zeitanzeige ein/aus\t\tfocusable"_s,
            u"checkbox Infos zu Bit und Byte an/aus\t\tchecked,focusable"_s,
            u"button Info\t\tfocusable"_s,
        };
        QStringList tree;
        QString fault;
        // The names carry the values from the tick after the reader first asked.
        const auto readsAll = [&](const QString &what) {
            return awaitTrue(
                [&] {
                    tree = probe({u"tree"_s, u"Tessaro"_s});
                    QStringList unread = expected;
                    unread.removeIf([&](const QString &object) { return tree.contains(object); });
                    return (fault = unread.join(u"; "_s)).isEmpty();
                },
                what);
        };
        QVERIFY2(readsAll(u"the reader's tree"_s), qPrintable(fault));
        QVERIFY2(tree.contains(u"bad\t80070057\t80070057"_s), "a bad child id was not refused");
        // All but the description, the window itself, "bad" and "walked".
        QVERIFY(tree.contains(u"walked\t%1"_s.arg(tree.size() - 4)));

        QVERIFY(!probe({u"do"_s, u"Tessaro"_s, u"Digitale Zeitanzeige ein/aus"_s}).isEmpty());
        expected.replaceInStrings(u"\tinvisible"_s, u"\t"_s);
        expected.replaceInStrings(u"ein/aus\t\tfocusable"_s, u"ein/aus\t\tchecked,focusable"_s);
        QVERIFY2(readsAll(u"the reader's tree after Check1"_s), qPrintable(fault));
        const QStringList focus =
            probe({u"focus"_s, u"Tessaro"_s, u"Hexadezimalanzeige ein/aus"_s});
        QVERIFY(focus.size() == 3);
        const QString box = focus[2].section(u'\t', 1, 1);
        QCOMPARE(focus.mid(0, 2), QStringList({u"focus\t"_s + box, u"hit\t"_s + box}));

        QVERIFY(!probe({u"do"_s, u"Tessaro"_s, u"Info"_s}).isEmpty());
        QVERIFY(awaitAbouts(clock, 1, u"About"_s));
        // About's objects in reading order, by role and the first words of the
        // name. The dialog has no description of its own: its texts are read once.
        QStringList read = probe({u"tree"_s, u"Info zu Tessaro"_s});
        for (QString &object : read)
            object = object.section(u'\t', 0, 0).section(u' ', 0, 2);
        QCOMPARE(read,
                 QStringList({u"description "_s, u"dialog Info zu"_s, u"graphic Tessaro-Bild"_s,
                              u"text Tessaro"_s, u"text Version 2.0.8"_s, u"text Freeware. Diese"_s,
                              u"grouping "_s, u"text Diese Tessaro"_s, u"button OK"_s,
                              u"button Systeminfo..."_s, u"bad"_s, u"walked"_s}));
        QVERIFY(probe({u"close"_s, u"Info zu Tessaro"_s, u"OK"_s}).contains(u"after\t80010108"_s));

        // The clock runs; Check1 hides and shows the six readouts, each told
        // once; the focus is told.
        clock.setMoment({});
        const int seconds = 10;
        QProcess listener;
        listener.start(u"wine"_s, {qEnvironmentVariable("TESSARO_MSAA_PROBE"), u"events"_s,
                                   u"Tessaro"_s, QString::number(seconds)});
        QVERIFY(
            awaitTrue([&] { return listener.peek(64).contains("listening"); }, u"the listener"_s));
        for (const QString &action : {u"do"_s, u"do"_s, u"focus"_s})
            QVERIFY(!probe({action, u"Tessaro"_s, u"Digitale Zeitanzeige ein/aus"_s}).isEmpty());
        QVERIFY(awaitTrue([&] { return listener.state() == QProcess::NotRunning; },
                          u"the listener to end"_s));
        QMap<QString, int> counts;
        for (const QString &line : QString::fromUtf8(listener.readAll()).remove(u'\r').split(u'\n'))
            counts.insert(line.section(u'\t', 0, 0), line.section(u'\t', 1).toInt());
        // Some six to ten a second (one run counted 102 in all); a
        // change told on every tick would make ten times as many.
        const int changes = counts[u"name"_s] + counts[u"value"_s];
        QVERIFY2(
            changes >= seconds && changes <= 20 * seconds && counts[u"most"_s] <= 2 * seconds + 2,
            qPrintable(
                u"%1 changes, at most %2 of one object"_s.arg(changes).arg(counts[u"most"_s])));
        QCOMPARE(std::tuple(counts[u"hide"_s], counts[u"show"_s], counts[u"focus"_s] > 0),
                 std::tuple(6, 6, true));
        // The window's description tells the moment as it changes.
        QVERIFY2(counts[u"description"_s] > 0 && counts[u"description"_s] <= 2 * seconds + 2,
                 qPrintable(u"%1 description changes"_s.arg(counts[u"description"_s])));
    }

private:
    const bool underWine = qEnvironmentVariableIsSet("TESSARO_WINDOWS_EXE");
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
