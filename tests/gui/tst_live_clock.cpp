// SPDX-License-Identifier: GPL-3.0-or-later
// The running clock as a user sees it: the real executable on an X server at
// a faked date and time, read back from screenshots cell by cell; clicks on
// the colour buttons and check boxes; the year row's switch at 2048 and back;
// a change to summer time.
#include "convert.h"
#include "rows.h"
#include "runningclock.h"
#include "ruzozura_window.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace tessaro;
using tessaro::guitest::RunningClock;

namespace
{

const QColor windowGreen(0, 255, 0);
const QColor yellow(255, 255, 0);
const QColor blueLit(0, 0, 192);
const QColor darkCell(128, 255, 128);

QRect rectOf(ElementKey key)
{
    const ElementDef *def = findRuzozuraElement(key);
    return def ? qt::pixelRect(def->rect) : QRect();
}

// The colour that covers most of the rectangle: a cell's background, not the
// "1" or "0" drawn on it.
QColor dominantColour(const QImage &shot, const QRect &rect)
{
    QHash<QRgb, int> counts;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x)
            ++counts[shot.pixel(x, y) & 0xFFFFFFu];
    }
    QRgb best = 0;
    int bestCount = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > bestCount) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return QColor(best);
}

// Whether anything dark (text, a border, a line) is drawn in the rectangle.
bool hasInk(const QImage &shot, const QRect &rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (qGray(shot.pixel(x, y)) < 110)
                return true;
        }
    }
    return false;
}

QString describe(const QColor &c)
{
    return QStringLiteral("RGB(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue());
}

// A bit row read back from the screen: the sum of the lit cells' weights.
// Every cell must show exactly the lit or the dark colour.
struct RowReading {
    int value = 0;
    QString problem;
};

RowReading readRow(const QImage &shot, clock::BitRow row, const QColor &lit)
{
    RowReading reading;
    for (const clock::BitCell &cell : row) {
        const QColor colour = dominantColour(shot, rectOf(cell.key));
        if (colour == lit)
            reading.value += cell.weight;
        else if (colour != darkCell)
            reading.problem += QStringLiteral("%1(%2) shows %3; ")
                                   .arg(qt::toQString(cell.key.name))
                                   .arg(cell.key.index)
                                   .arg(describe(colour));
    }
    return reading;
}

struct ScreenDateTime {
    int day = -1, month = -1, year = -1, hour = -1, minute = -1, second = -1;
    bool sevenYearCells = false;
    QString problem;

    [[nodiscard]] QString text() const
    {
        return QStringLiteral("%1.%2.%3 %4:%5:%6")
            .arg(day)
            .arg(month)
            .arg(year)
            .arg(hour)
            .arg(minute, 2, 10, QLatin1Char('0'))
            .arg(second, 2, 10, QLatin1Char('0'));
    }
};

// Reads date and time off the six bit rows. The year row counts as switched
// when its four highest cells show only the window's green.
ScreenDateTime readScreen(const QImage &shot, const QColor &lit = blueLit)
{
    ScreenDateTime screen;
    const auto take = [&](clock::BitRow row, int &into) {
        const RowReading reading = readRow(shot, row, lit);
        into = reading.value;
        screen.problem += reading.problem;
    };
    int hiddenCells = 0;
    for (const clock::BitCell &cell : clock::rows::yearHiddenCells)
        hiddenCells += dominantColour(shot, rectOf(cell.key)) == windowGreen ? 1 : 0;
    screen.sevenYearCells = hiddenCells == int(clock::rows::yearHiddenCells.size());
    if (hiddenCells != 0 && !screen.sevenYearCells)
        screen.problem += QStringLiteral("only some of the four highest year cells are hidden; ");

    take(clock::rows::day, screen.day);
    take(clock::rows::month, screen.month);
    take(screen.sevenYearCells ? clock::rows::yearSevenCells : clock::rows::year, screen.year);
    if (screen.sevenYearCells)
        screen.year += 2000;
    take(clock::rows::hours, screen.hour);
    take(clock::rows::minutes, screen.minute);
    take(clock::rows::seconds, screen.second);
    return screen;
}

// The part of the year heading over the highest cells: blank in the
// seven-place heading, numbers in the eleven-place one.
bool yearHeadingOverHighCells(const QImage &shot)
{
    const QRect heading = rectOf({"Label15"}).adjusted(2, 2, -2, -2);
    // Stop short of the byte bracket's left stroke, which crosses the heading.
    const int bracket = qt::pixels(findRuzozuraElement({"Line6"})->rect.left);
    return hasInk(shot, QRect(heading.topLeft(), QPoint(bracket - 2, heading.bottom())));
}

QString libfaketime()
{
    return qEnvironmentVariable("TESSARO_LIBFAKETIME");
}

// The clock runs with libfaketime preloaded directly rather than under the
// faketime wrapper, which forks: ending the wrapper would leave the clock and
// its window behind.
RunningClock::Options fakedClock(const QStringList &faketimeSettings,
                                 const QString &timeZone = QStringLiteral("UTC"))
{
    RunningClock::Options options;
    options.timeZone = timeZone;
    // Only the wall clock is faked: Qt's timers run on the real monotonic clock.
    options.environment = QStringList{QStringLiteral("LD_PRELOAD=") + libfaketime(),
                                      QStringLiteral("FAKETIME_DONT_FAKE_MONOTONIC=1")} +
                          faketimeSettings;
    return options;
}

// A clock standing still at the given local time.
RunningClock::Options stoppedAt(const QString &dateTime)
{
    return fakedClock({QStringLiteral("FAKETIME=") + dateTime});
}

// A clock that starts at the given local time and runs.
RunningClock::Options runningFrom(const QString &dateTime, const QString &timeZone)
{
    return fakedClock({QStringLiteral("FAKETIME=@") + dateTime}, timeZone);
}

// A clock whose faked time is read from a file on every reading, so a test
// can set the clock while it runs.
RunningClock::Options timeFromFile(const QString &path)
{
    return fakedClock(
        {QStringLiteral("FAKETIME_TIMESTAMP_FILE=") + path, QStringLiteral("FAKETIME_NO_CACHE=1")});
}

bool writeTime(const QString &path, const QString &stoppedAt)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write((stoppedAt + QLatin1Char('\n')).toUtf8()) > 0;
}

// What each check box governs, read from a screenshot. Probes lie where
// nothing else of the window is drawn, so ink there means the group shows.
struct Probe {
    const char *what;
    QRect rect;
};

QList<Probe> decimalReadoutBorders()
{
    QList<Probe> probes;
    for (const char *readout : {"Stunde", "z2", "se", "Tag1", "Monat", "Jahr"}) {
        const QRect r = rectOf({readout});
        probes.append({readout, QRect(r.left() - 1, r.center().y() - 2, 3, 5)});
    }
    return probes;
}

const QList<Probe> bitAndByteInfo{
    {"Label18", rectOf({"Label18"})},
    {"Label17", rectOf({"Label17"})},
    {"Label16 left of Label9", QRect(12, 120, 130, 46)},
    {"Line7", QRect(130, 26, 160, 3)},
    {"Line6", QRect(119, 35, 3, 40)},
    {"Line3(0) below the hex rows", QRect(203, 300, 3, 5)},
    {"Line3(1) below the hex rows", QRect(293, 300, 3, 5)},
};

QList<Probe> hexRowBorders()
{
    QList<Probe> probes;
    for (int index = 0; index <= 2; ++index) {
        const QRect r = rectOf({"hex1", index});
        probes.append({"hex1 row border", QRect(r.left() - 1, r.center().y() - 2, 3, 5)});
    }
    return probes;
}

// Names of probes whose ink does not match `shown`.
QStringList mismatches(const QImage &shot, const QList<Probe> &probes, bool shown)
{
    QStringList wrong;
    for (const Probe &probe : probes) {
        if (hasInk(shot, probe.rect) != shown)
            wrong << QString::fromUtf8(probe.what);
    }
    return wrong;
}

QStringList hexDigitMismatches(const QImage &shot, bool shown)
{
    QStringList wrong;
    for (int index = 0; index <= 8; ++index) {
        const QColor colour = dominantColour(shot, rectOf({"hexa1", index}).adjusted(2, 2, -2, -2));
        if (colour != (shown ? yellow : windowGreen))
            wrong << QStringLiteral("hexa1(%1) %2").arg(index).arg(describe(colour));
    }
    return wrong;
}

enum class Group { DecimalReadouts, BitAndByteInfo, HexReadout };

// Everything wrong with the group's look for the given state.
QStringList groupMismatches(const QImage &shot, Group group, bool shown)
{
    switch (group) {
    case Group::DecimalReadouts: {
        QStringList wrong = mismatches(shot, decimalReadoutBorders(), shown);
        // "Stunden" reaches into the right half of Label1, "Uhr" does not.
        const QRect title = rectOf({"Label1"});
        const QRect rightHalf(title.left() + 25, title.top() + 2, title.width() - 30,
                              title.height() - 4);
        if (hasInk(shot, rightHalf) == shown)
            wrong << QStringLiteral("Label1 reads %1")
                         .arg(shown ? QStringLiteral("Stunden") : QStringLiteral("Uhr"));
        return wrong;
    }
    case Group::BitAndByteInfo:
        return mismatches(shot, bitAndByteInfo, shown);
    case Group::HexReadout:
        return mismatches(shot, hexRowBorders(), shown) + hexDigitMismatches(shot, shown);
    }
    return {};
}

// The band separators belong to no group and always show.
QStringList separatorMismatches(const QImage &shot)
{
    return mismatches(shot, {{"Line1", QRect(20, 113, 360, 3)}, {"Line2", QRect(20, 323, 360, 3)}},
                      true);
}

} // namespace

Q_DECLARE_METATYPE(Group)

class LiveClockTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(libfaketime()), "libfaketime not found (TESSARO_LIBFAKETIME)");
    }

    void showsTheDateAndTimeInEveryRow_data()
    {
        QTest::addColumn<QString>("fakeTime");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("sevenYearCells");
        QTest::newRow("2026") << QStringLiteral("2026-12-06 12:34:56")
                              << QStringLiteral("6.12.2026 12:34:56") << false;
        QTest::newRow("midnight") << QStringLiteral("2026-01-01 00:00:00")
                                  << QStringLiteral("1.1.2026 0:00:00") << false;
        QTest::newRow("last second of 2047") << QStringLiteral("2047-12-31 23:59:59")
                                             << QStringLiteral("31.12.2047 23:59:59") << false;
        QTest::newRow("first second of 2048")
            << QStringLiteral("2048-01-01 00:00:00") << QStringLiteral("1.1.2048 0:00:00") << true;
        QTest::newRow("2099") << QStringLiteral("2099-06-15 07:05:09")
                              << QStringLiteral("15.6.2099 7:05:09") << true;
        // 2128 - 2000 = 128 does not fit seven cells: all seven are lit, which
        // reads as 2127.
        QTest::newRow("2128") << QStringLiteral("2128-02-29 18:45:30")
                              << QStringLiteral("29.2.2127 18:45:30") << true;
    }

    void showsTheDateAndTimeInEveryRow()
    {
        QFETCH(QString, fakeTime);
        QFETCH(QString, expected);
        QFETCH(bool, sevenYearCells);

        RunningClock clock;
        QVERIFY2(clock.start(stoppedAt(fakeTime)), qPrintable(clock.error()));
        RunningClock::waitForTicks();
        const QImage shot = clock.grab();
        RunningClock::save(shot, QStringLiteral("live-") + fakeTime.left(10));

        const ScreenDateTime screen = readScreen(shot);
        QVERIFY2(screen.problem.isEmpty(), qPrintable(screen.problem));
        QCOMPARE(screen.text(), expected);
        QCOMPARE(screen.sevenYearCells, sevenYearCells);
        QCOMPARE(yearHeadingOverHighCells(shot), !sevenYearCells);
    }

    void colourButtonsRecolourTheLitCells_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QColor>("lit");
        QTest::newRow("green") << QStringLiteral("Command2") << QColor(128, 128, 0);
        QTest::newRow("red") << QStringLiteral("Command3") << QColor(255, 0, 0);
        QTest::newRow("blue") << QStringLiteral("Command4") << blueLit;
    }

    void colourButtonsRecolourTheLitCells()
    {
        QFETCH(QString, button);
        QFETCH(QColor, lit);

        RunningClock clock;
        QVERIFY2(clock.start(stoppedAt(QStringLiteral("2026-12-06 12:34:56"))),
                 qPrintable(clock.error()));
        RunningClock::waitForTicks();
        QVERIFY2(readScreen(clock.grab()).problem.isEmpty(), "not blue before the click");

        const QByteArray name = button.toUtf8();
        QVERIFY(clock.click({std::string_view(name.constData(), size_t(name.size()))}));
        RunningClock::waitForTicks();
        const QImage shot = clock.grab();
        RunningClock::save(shot, QStringLiteral("live-colour-") + button);

        // Read with the new lit colour: every cell is lit or dark, and the
        // clock still shows the same time.
        const ScreenDateTime screen = readScreen(shot, lit);
        QVERIFY2(screen.problem.isEmpty(), qPrintable(screen.problem));
        QCOMPARE(screen.text(), QStringLiteral("6.12.2026 12:34:56"));
    }

    void checkBoxesHideAndShowTheirGroups_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<Group>("group");
        QTest::addColumn<bool>("shownAtStart");
        QTest::newRow("decimal readouts")
            << QStringLiteral("Check1") << Group::DecimalReadouts << false;
        QTest::newRow("bit and byte texts")
            << QStringLiteral("Check2") << Group::BitAndByteInfo << true;
        QTest::newRow("hexadecimal readout")
            << QStringLiteral("Check3") << Group::HexReadout << true;
    }

    void checkBoxesHideAndShowTheirGroups()
    {
        QFETCH(QString, box);
        QFETCH(Group, group);
        QFETCH(bool, shownAtStart);
        const QByteArray name = box.toUtf8();
        const ElementKey key{std::string_view(name.constData(), size_t(name.size()))};

        RunningClock clock;
        QVERIFY2(clock.start(stoppedAt(QStringLiteral("2026-12-06 12:34:56"))),
                 qPrintable(clock.error()));
        RunningClock::waitForTicks();

        bool shown = shownAtStart;
        for (int click = 0; click <= 2; ++click) {
            const QImage shot = clock.grab();
            RunningClock::save(shot, QStringLiteral("live-%1-%2").arg(box).arg(click));
            const QStringList wrong = groupMismatches(shot, group, shown);
            QVERIFY2(wrong.isEmpty(),
                     qPrintable(QStringLiteral("after %1 clicks, %2: %3")
                                    .arg(click)
                                    .arg(shown ? QStringLiteral("shown") : QStringLiteral("hidden"))
                                    .arg(wrong.join(QStringLiteral(", ")))));
            QVERIFY2(separatorMismatches(shot).isEmpty(), "a band separator vanished");
            const ScreenDateTime screen = readScreen(shot);
            QVERIFY2(screen.problem.isEmpty(), qPrintable(screen.problem));
            if (click < 2) {
                QVERIFY(clock.click(key));
                RunningClock::waitForTicks(2);
                shown = !shown;
            }
        }
    }

    void yearRowSwitchesAt2048AndBackWhenTheClockIsSetBack()
    {
        QTemporaryDir dir;
        const QString timeFile = dir.filePath(QStringLiteral("faketime"));
        QVERIFY(writeTime(timeFile, QStringLiteral("2047-12-31 23:59:59")));

        RunningClock clock;
        QVERIFY2(clock.start(timeFromFile(timeFile)), qPrintable(clock.error()));

        struct Step {
            const char *setTo;
            const char *expected;
            bool sevenCells;
        };
        const Step steps[] = {
            {"2047-12-31 23:59:59", "31.12.2047 23:59:59", false},
            {"2048-01-01 00:00:00", "1.1.2048 0:00:00", true},
            {"2026-12-06 12:34:56", "6.12.2026 12:34:56", false},
        };
        for (const Step &step : steps) {
            QVERIFY(writeTime(timeFile, QString::fromUtf8(step.setTo)));
            RunningClock::waitForTicks();
            const QImage shot = clock.grab();
            RunningClock::save(shot, QStringLiteral("live-switch-") +
                                         QString::fromUtf8(step.setTo).left(4));
            const ScreenDateTime screen = readScreen(shot);
            QVERIFY2(screen.problem.isEmpty(), qPrintable(screen.problem));
            QCOMPARE(screen.text(), QString::fromUtf8(step.expected));
            QCOMPARE(screen.sevenYearCells, step.sevenCells);
            QCOMPARE(yearHeadingOverHighCells(shot), !step.sevenCells);
        }
    }

    void summerTimeShowsTheNewLocalHour()
    {
        // Clocks in Berlin go from 01:59:59 CET straight to 03:00:00 CEST.
        RunningClock clock;
        QVERIFY2(clock.start(runningFrom(QStringLiteral("2026-03-29 01:59:55"),
                                         QStringLiteral("Europe/Berlin"))),
                 qPrintable(clock.error()));

        QStringList seen;
        std::optional<ScreenDateTime> lastBefore;
        std::optional<ScreenDateTime> firstAfter;
        QElapsedTimer waited;
        waited.start();
        while (!firstAfter && waited.elapsed() < 20000) {
            const QImage shot = clock.grab();
            const ScreenDateTime screen = readScreen(shot);
            QVERIFY2(screen.problem.isEmpty(), qPrintable(screen.problem));
            if (seen.isEmpty() || seen.last() != screen.text())
                seen << screen.text();
            if (screen.hour == 1)
                lastBefore = screen;
            else {
                firstAfter = screen;
                RunningClock::save(shot, QStringLiteral("live-summer-time"));
            }
            QTest::qWait(150);
        }
        const QString history = seen.join(QStringLiteral(" → "));
        QVERIFY2(lastBefore && firstAfter, qPrintable(history));
        QCOMPARE(lastBefore->text(), QStringLiteral("29.3.2026 1:59:59"));
        QVERIFY2(firstAfter->text() == QStringLiteral("29.3.2026 3:00:00") ||
                     firstAfter->text() == QStringLiteral("29.3.2026 3:00:01"),
                 qPrintable(history));
    }
};

QTEST_MAIN(LiveClockTest)
#include "tst_live_clock.moc"
