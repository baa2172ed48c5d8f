// SPDX-License-Identifier: GPL-3.0-or-later
// The computer's clock set while Tessaro runs: forward, back, out of the
// seven-cell years and across the changes to and from summer time. The test
// holds the clock's time in a file that libfaketime reads on every call, so
// each jump is one rename. Every screenshot after a jump must show either
// the whole old time or the whole new one, never rows of both, until the new
// one appears.
#include "clockface.h"
#include "clockprocess.h"
#include "runningclock.h"

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace tessaro;
using namespace tessaro::reliability;
using tessaro::guitest::RunningClock;

namespace
{

// Only a guard against a clock that never shows the new time.
constexpr int patienceMs = 10000;

qint64 epoch(const char *utcText)
{
    return QDateTime::fromString(QString::fromLatin1(utcText), Qt::ISODate).toSecsSinceEpoch();
}

ShownTime faceAt(qint64 seconds, const QByteArray &zone)
{
    return expectedFace(QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc()), QTimeZone(zone));
}

} // namespace

class ClockJumpTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("TESSARO_LIBFAKETIME"),
                 "libfaketime was not found; the package faketime provides it");
        QVERIFY2(QTimeZone(QByteArrayLiteral("Europe/Berlin")).isValid(),
                 "the time zone data lack Europe/Berlin");
    }

    void nextTickShowsTheNewTimeWhole_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QList<qint64>>("moments");
        const QByteArray utc("UTC");
        const QByteArray berlin("Europe/Berlin");
        QTest::newRow("a day forward")
            << utc << QList<qint64>{epoch("2026-03-10T08:15:30Z"), epoch("2026-03-11T08:15:30Z")};
        QTest::newRow("a year back")
            << utc << QList<qint64>{epoch("2026-03-11T08:15:30Z"), epoch("2025-03-11T08:15:30Z")};
        QTest::newRow("every row at once into 2048")
            << utc << QList<qint64>{epoch("2047-12-31T23:59:59Z"), epoch("2048-01-01T00:00:00Z")};
        QTest::newRow("from 2049 back to 2026 and on to 2048")
            << utc
            << QList<qint64>{epoch("2049-06-15T12:00:00Z"), epoch("2026-06-15T12:00:00Z"),
                             epoch("2048-01-01T00:00:00Z")};
        // 01:59:59 winter time, then 03:00:00 summer time.
        QTest::newRow("summer time begins in Berlin")
            << berlin
            << QList<qint64>{epoch("2026-03-29T00:59:59Z"), epoch("2026-03-29T01:00:00Z")};
        // 02:59:59 summer time, then 02:00:00 winter time.
        QTest::newRow("summer time ends in Berlin")
            << berlin
            << QList<qint64>{epoch("2026-10-25T00:59:59Z"), epoch("2026-10-25T01:00:00Z")};
    }

    void nextTickShowsTheNewTimeWhole()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QList<qint64>, moments);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString timeFile = dir.filePath(QStringLiteral("now"));
        QVERIFY(replaceFile(timeFile, QByteArray::number(moments.first())));
        RunningClock clock;
        QVERIFY2(clock.start({.fakeTime = {},
                              .timeZone = QString::fromLatin1(zone),
                              .environment = fakedWallClock({
                                  QStringLiteral("FAKETIME_TIMESTAMP_FILE=") + timeFile,
                                  QStringLiteral("FAKETIME_NO_CACHE=1"),
                                  QStringLiteral("FAKETIME_FMT=%s"),
                              })}),
                 qPrintable(clock.error()));

        ShownTime shown = faceAt(moments.first(), zone);
        QVERIFY2(waitForFirstFace(clock, shown), qPrintable(shown.text()));
        for (qsizetype i = 1; i < moments.size(); ++i) {
            const ShownTime next = faceAt(moments[i], zone);
            QVERIFY(replaceFile(timeFile, QByteArray::number(moments[i])));
            QVERIFY(waitForJump(clock, shown, next));
            shown = next;
        }
    }

private:
    // Until the first tick the cells are in their starting colours.
    static bool waitForFirstFace(const RunningClock &clock, const ShownTime &expected)
    {
        QDeadlineTimer patience(patienceMs);
        FaceReading reading;
        while (!patience.hasExpired()) {
            reading = readClockFace(clock.grab());
            if (reading.time == expected)
                return true;
            QTest::qWait(20);
        }
        qWarning("still not showing %s: %s", qPrintable(expected.text()),
                 reading.time ? qPrintable(reading.time->text()) : qPrintable(reading.fault));
        return false;
    }

    static bool waitForJump(const RunningClock &clock, const ShownTime &before,
                            const ShownTime &after)
    {
        QDeadlineTimer patience(patienceMs);
        while (!patience.hasExpired()) {
            const QImage shot = clock.grab();
            const FaceReading reading = readClockFace(shot);
            if (reading.time == after) {
                RunningClock::save(shot, QStringLiteral("jump-%1-%2")
                                             .arg(QString::fromLatin1(QTest::currentDataTag()),
                                                  QString::number(after.year)));
                return true;
            }
            if (reading.time != before) {
                const QString path = RunningClock::save(shot, QStringLiteral("jump-mixed"));
                qWarning("between %s and %s the window showed %s (%s)", qPrintable(before.text()),
                         qPrintable(after.text()),
                         reading.time ? qPrintable(reading.time->text())
                                      : qPrintable(reading.fault),
                         qPrintable(path));
                return false;
            }
            QTest::qWait(10);
        }
        qWarning("after the jump the window still showed %s", qPrintable(before.text()));
        return false;
    }
};

QTEST_MAIN(ClockJumpTest)
#include "tst_clock_jumps.moc"
