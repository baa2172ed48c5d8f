// SPDX-License-Identifier: GPL-3.0-or-later
// Tessaro.exe under wine on Xvfb: its main window read cell by cell from
// screenshots at frozen moments, a session of use, and a screen reader.
#include "classiclook.h"
#include "driver.h"
#include "infotessaro_window.h"
#include "ruzozura_keys.h"
#include "ruzozura_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegion>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;
using namespace tessaro;
using namespace tessaro::screenshot;
namespace rz = tessaro::ruzozura;

namespace
{

const QString msinfoKey = u"HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"_s;
const QString msinfoLocationKey = u"HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location"_s;

QDateTime utc(const char *moment)
{
    QDateTime at = QDateTime::fromString(QString::fromLatin1(moment), u"yyyy-MM-dd HH:mm:ss"_s);
    at.setTimeZone(QTimeZone::utc());
    return at;
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

} // namespace

class TestWineWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mainWindowAtEveryDpi_data();
    void mainWindowAtEveryDpi();
    void aSessionOfUse();
    void screenReader();
};

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

// The main window at every dpi: its colours, text in its own colour; every
// line and label border whole, as wide as on Linux; the focus ring on Exit
// and on the check box after it; the rows around the year switch and back.
void TestWineWindow::mainWindowAtEveryDpi_data()
{
    QTest::addColumn<int>("dpi");
    for (const int dpi : {96, 120, 144, 192})
        QTest::addRow("%d dpi", dpi) << dpi;
}

void TestWineWindow::mainWindowAtEveryDpi()
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
    if (const QColor cell = mainColour(image, elementRect(rz::Frame18, ratio)); cell != dark)
        fault += u" Frame18 "_s + cell.name();
    if (!showsColour(image, elementRect(rz::Label8, ratio), Qt::black)) // text in its own colour
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
            const auto runs = look::lineRuns(pixelLine(e.rect), e.lineStyle, ratio, look::gdiPens);
            fault = runsIn(image, runs, Qt::black, true, cells);
            if (fault.isEmpty())
                fault = gapsIn(image, runs, cells);
        } else if (e.kind == ElementKind::Label && (e.flags & flags::border))
            fault = runsIn(image, frameOf(deviceEdges(tessaro::pixelRect(e.rect), ratio), 1, ratio),
                           Qt::black, false, cells);
        QVERIFY2(fault.isEmpty(),
                 qPrintable(QString::fromStdString(describe(e.key)) + u": "_s + fault));
    }
    // The focus starts on Exit; Tab moves it to Check1.
    for (const ElementKey key : {rz::Command1, rz::Check1}) {
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
        QVERIFY2(fault.isEmpty(), qPrintable(QString::fromUtf8(key.name.data()) + u": "_s + fault));
        QVERIFY(clock.keys(u"Tab"_s));
    }
    for (const char *moment : {"2047-12-31 23:59:59", "2048-01-01 00:00:00", "2047-12-31 23:59:58",
                               "2099-12-31 23:59:59", "2001-02-28 07:08:09"}) {
        clock.setMoment(utc(moment));
        fault = clock.awaitFace(faceText(utc(moment)), startLit, ratio);
        QVERIFY2(fault.isEmpty(), qPrintable(QString::fromLatin1(moment) + u": "_s + fault));
    }
}

// A tooltip is a small window without a title; the widths of those shown.
QList<int> tooltipWidths()
{
    QList<int> widths;
    for (const QString &id : visibleWindows(u"^$"_s))
        if (const QSize size = windowSize(id); size.height() > 5 && size.height() < 40)
            widths.append(size.width());
    return widths;
}

// Resting on a button or on a windowless label shows its tooltip, sized to
// its text. The steps the Linux window test shares (the controls, About
// without a tool, a second "Info "). Then Systeminfo (clicked, then by its
// access key) starts the tool the registry names, at a path with blanks and
// also stored in quotes, never split at a blank; Exit ends the program with
// the dialog open. (Without a window manager both windows open at the
// screen's corner: the dialog is only clicked while it is in front.)
void TestWineWindow::aSessionOfUse()
{
    const QString tool = u"C:\\Tessaro Fenster\\System Info\\probe tool.exe"_s;
    const QString decoy = u"C:\\Tessaro Fenster\\System.exe"_s;
    QVERIFY(QDir().mkpath(QFileInfo(prefixPath(tool)).absolutePath()));
    for (const QString &copy : {tool, decoy}) {
        QFile::remove(prefixPath(copy));
        QVERIFY(QFile::copy(qEnvironmentVariable("TESSARO_WINDOWS_PROBE"), prefixPath(copy)));
    }
    for (const QString &key : {msinfoKey, msinfoLocationKey}) // often not there
        run(u"wine"_s, {u"reg"_s, u"delete"_s, key, u"/f"_s}, true);
    RunningClock clock;
    QVERIFY(clock.startUnderWine(utc("2030-03-03 03:03:03")));
    QList<int> widths;
    for (const ElementKey key : {rz::Command1, rz::Label14}) {
        QVERIFY(clock.hover(key));
        QVERIFY(awaitTrue([&] { return tooltipWidths().size() == 1; }, u"a tooltip"_s));
        widths << tooltipWidths().front();
        QVERIFY(parkPointer());
        QVERIFY(awaitTrue([&] { return tooltipWidths().isEmpty(); }, u"the tooltip to go"_s));
    }
    // "Die aktiven Werte addieren um auf die Zeit zu kommen!" is the longer.
    QVERIFY2(widths[1] > widths[0], qPrintable(u"%1 %2"_s.arg(widths[0]).arg(widths[1])));
    Expected expected;
    useTheControls(clock, expected);
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(clock.click(rz::Command5));
    QVERIFY(awaitTrue([] { return visibleWindows(aboutTitle).size() == 1; }, u"About"_s));
    missingToolShowsTheMessage(clock);
    QVERIFY(!QTest::currentTestFailed());

    for (const QString &registered : {tool, u"\""_s + tool + u"\""_s}) {
        for (const QString &copy : {tool, decoy})
            QFile::remove(prefixPath(copy) + u".ran"_s);
        QVERIFY(reg(
            {u"add"_s, msinfoKey, u"/v"_s, u"PATH"_s, u"/t"_s, u"REG_SZ"_s, u"/d"_s, registered}));
        QVERIFY(registered == tool ? clock.clickAt(visibleWindows(aboutTitle).value(0),
                                                   aboutCentre(infotessaro::cmdSysInfo))
                                   : clock.keys(u"alt+s"_s));
        QVERIFY(awaitTrue([&] { return QFile::exists(prefixPath(tool) + u".ran"_s); },
                          registered + u" to run"_s));
        QVERIFY2(!QFile::exists(prefixPath(decoy) + u".ran"_s), "split at a blank");
        QVERIFY(!clock.showsMessage());
    }
    secondInfoOpensNoOther(clock, expected);
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(clock.click(rz::Command1));
    QCOMPARE(clock.awaitExit(), 0);
    QVERIFY(visibleWindows(aboutTitle).isEmpty());
}

// What a screen reader reads through MSAA at a frozen moment: the rows'
// values, the readouts, the check boxes; Check1's default action shows the
// readouts; About's texts in reading order; bad child ids are refused and
// the object of a closed window answers that it is gone; a running clock
// tells each change once.
void TestWineWindow::screenReader()
{
    RunningClock clock;
    QVERIFY(clock.startUnderWine(utc("2026-12-06 12:34:56")));
    QStringList expected{
        u"text Tag: 6\t6\t"_s,
        u"text Sekunden: 56\t56\t"_s,
        u"text Sekunden hexadezimal, addiert: 38\t38\t"_s,
        u"text Sekunden, Wert 32\t1\t"_s,
        u"description 12:34:56, 06.12.2026"_s,
        u"text Jahr dezimal: 2026\t2026\tinvisible"_s,
        u"text Sekunden dezimal: 56\t56\tinvisible"_s,
        u"checkbox Digitale Zeitanzeige ein/aus\t\tfocusable"_s,
        u"checkbox Infos zu Bit und Byte an/aus\t\tchecked,focusable"_s,
        u"checkbox Hexadezimalanzeige ein/aus\t\tchecked,focusable"_s,
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

    // Check1's default action shows the readouts.
    QVERIFY(!probe({u"do"_s, u"Tessaro"_s, u"Digitale Zeitanzeige ein/aus"_s}).isEmpty());
    expected.replaceInStrings(u"\tinvisible"_s, u"\t"_s);
    expected.replaceInStrings(u"ein/aus\t\tfocusable"_s, u"ein/aus\t\tchecked,focusable"_s);
    QVERIFY2(readsAll(u"the reader's tree after Check1"_s), qPrintable(fault));
    const QStringList focus = probe({u"focus"_s, u"Tessaro"_s, u"Hexadezimalanzeige ein/aus"_s});
    QVERIFY(focus.size() == 3);
    const QString box = focus[2].section(u'\t', 1, 1);
    QCOMPARE(focus.mid(0, 2), QStringList({u"focus\t"_s + box, u"hit\t"_s + box}));

    QVERIFY(!probe({u"do"_s, u"Tessaro"_s, u"Info"_s}).isEmpty());
    QVERIFY(awaitTrue([] { return visibleWindows(aboutTitle).size() == 1; }, u"About"_s));
    // About's objects in reading order, by role and the first words of the
    // name. The dialog has no description of its own: its texts are read once.
    QStringList read = probe({u"tree"_s, u"Info zu Tessaro"_s});
    for (QString &object : read)
        object = object.section(u'\t', 0, 0).section(u' ', 0, 2);
    QCOMPARE(read, QStringList({u"description "_s, u"dialog Info zu"_s, u"graphic Tessaro-Bild"_s,
                                u"text Tessaro"_s, u"text Version 2.0.8"_s,
                                u"text Freeware. Diese"_s, u"grouping "_s, u"text Diese Tessaro"_s,
                                u"button OK"_s, u"button Systeminfo..."_s, u"bad"_s, u"walked"_s}));
    QVERIFY(probe({u"close"_s, u"Info zu Tessaro"_s, u"OK"_s}).contains(u"after\t80010108"_s));

    // The clock runs: each changing row tells its change once, not on
    // every tick; Check1 hides and shows the six readouts, each told once;
    // the focus is told.
    clock.setMoment(u"+0"_s);
    const int seconds = 10;
    QProcess listener;
    listener.start(u"wine"_s, {qEnvironmentVariable("TESSARO_MSAA_PROBE"), u"events"_s,
                               u"Tessaro"_s, QString::number(seconds)});
    QVERIFY(awaitTrue([&] { return listener.peek(64).contains("listening"); }, u"the listener"_s));
    for (const QString &action : {u"do"_s, u"do"_s, u"focus"_s})
        QVERIFY(!probe({action, u"Tessaro"_s, u"Digitale Zeitanzeige ein/aus"_s}).isEmpty());
    QVERIFY(awaitTrue([&] { return listener.state() == QProcess::NotRunning; },
                      u"the listener to end"_s));
    QMap<QString, int> counts;
    for (const QString &line : QString::fromUtf8(listener.readAll()).remove(u'\r').split(u'\n'))
        counts.insert(line.section(u'\t', 0, 0), line.section(u'\t', 1).toInt());
    const int changes = counts[u"name"_s] + counts[u"value"_s];
    QVERIFY2(
        changes >= seconds && changes <= 10 * seconds && counts[u"most"_s] <= 2 * seconds + 2,
        qPrintable(u"%1 changes, at most %2 of one object"_s.arg(changes).arg(counts[u"most"_s])));
    QCOMPARE(std::tuple(counts[u"hide"_s], counts[u"show"_s], counts[u"focus"_s] > 0),
             std::tuple(6, 6, true));
    // The window's description tells the moment as it changes.
    QVERIFY2(counts[u"description"_s] > 0 && counts[u"description"_s] <= 2 * seconds + 2,
             qPrintable(u"%1 description changes"_s.arg(counts[u"description"_s])));
}

QTEST_MAIN(TestWineWindow)
#include "tst_wine_window.moc"
