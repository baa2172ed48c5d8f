// SPDX-License-Identifier: GPL-3.0-or-later
// The real clock for days on end, in little time: its wall clock runs 3600
// times too fast, so one real second is an hour and every 100 ms tick moves
// six minutes on. Every screenshot must show the faked time of a tick that
// has just happened, across month ends, a leap day and the year 2048, and
// the clock's memory must stay flat.
#include "clockface.h"
#include "clockprocess.h"
#include "runningclock.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimeZone>

#include <vector>

using namespace tessaro;
using namespace tessaro::reliability;
using tessaro::guitest::RunningClock;

namespace
{

constexpr int rate = 3600;
constexpr double nsPerSecond = 1e9;
// A screenshot shows the last tick before it; ticks come every 100 ms, and a
// machine busy with other work may deliver one up to half a second late.
constexpr double tickSeconds = 0.1;
constexpr double lateTickSeconds = 0.5;
constexpr qint64 warmUpNs = 8'000'000'000;
constexpr qint64 allowedGrowthKiB = 1024;

struct Sample {
    qint64 beforeNs = 0; // real time, from the clock's launch
    qint64 afterNs = 0;
    ShownTime shown;
};

QDateTime utc(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate).toUTC();
}

QString fastFrom(const QDateTime &start)
{
    return QStringLiteral("@%1 x%2")
        .arg(start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        .arg(rate);
}

} // namespace

class SoakTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariableIsEmpty("TESSARO_LIBFAKETIME"),
                 "libfaketime was not found; the package faketime provides it");
    }

    void fastClockFollowsTheCalendar_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("realSeconds");
        QTest::addColumn<QList<QDate>>("mustShow");
        // 80 hours: the last days of 2047, New Year into the seven-cell year
        // row, and two days of 2048.
        QTest::newRow("new year 2048")
            << utc("2047-12-29T20:00:00Z") << 80
            << QList<QDate>{QDate(2047, 12, 31), QDate(2048, 1, 1), QDate(2048, 1, 2)};
        // 30 hours across the leap day of 2048 into March.
        QTest::newRow("leap day 2048") << utc("2048-02-28T20:00:00Z") << 30
                                       << QList<QDate>{QDate(2048, 2, 29), QDate(2048, 3, 1)};
    }

    void fastClockFollowsTheCalendar()
    {
        QFETCH(QDateTime, start);
        QFETCH(int, realSeconds);
        QFETCH(QList<QDate>, mustShow);

        QElapsedTimer real;
        real.start();
        RunningClock clock;
        QVERIFY2(clock.start({.fakeTime = fastFrom(start),
                              .timeZone = QStringLiteral("UTC"),
                              .environment = {}}),
                 qPrintable(clock.error()));

        std::vector<Sample> samples;
        std::optional<qint64> warmKiB;
        QImage shot;
        while (real.nsecsElapsed() < realSeconds * qint64(nsPerSecond)) {
            Sample sample;
            sample.beforeNs = real.nsecsElapsed();
            shot = clock.grab();
            sample.afterNs = real.nsecsElapsed();
            const FaceReading reading = readClockFace(shot);
            if (!reading.time) {
                const QString path = RunningClock::save(shot, QStringLiteral("soak-unreadable"));
                QFAIL(qPrintable(QStringLiteral("%1 (%2)").arg(reading.fault, path)));
            }
            sample.shown = *reading.time;
            if (samples.empty() || samples.back().shown.sevenCellYear != sample.shown.sevenCellYear)
                RunningClock::save(shot, QStringLiteral("soak-%1-%2")
                                             .arg(QString::fromLatin1(QTest::currentDataTag()),
                                                  QString::number(sample.shown.year)));
            samples.push_back(sample);
            if (!warmKiB && sample.afterNs > warmUpNs)
                warmKiB = residentKiB(clock.pid());
            QTest::qWait(40);
        }
        const std::optional<qint64> endKiB = residentKiB(clock.pid());
        RunningClock::save(
            shot, QStringLiteral("soak-%1-end").arg(QString::fromLatin1(QTest::currentDataTag())));

        checkShownDays(samples, mustShow);
        checkAgainstFakedClock(samples, start);
        QVERIFY(warmKiB && endKiB);
        qInfo("resident memory after warm-up %lld KiB, at the end %lld KiB", *warmKiB, *endKiB);
        QVERIFY2(*endKiB - *warmKiB < allowedGrowthKiB,
                 qPrintable(QStringLiteral("grew by %1 KiB").arg(*endKiB - *warmKiB)));
    }

private:
    static void checkShownDays(const std::vector<Sample> &samples, const QList<QDate> &mustShow)
    {
        QList<QDate> shownDays;
        for (const Sample &sample : samples) {
            const QDate day(sample.shown.year, sample.shown.month, sample.shown.day);
            if (shownDays.isEmpty() || shownDays.back() != day)
                shownDays.append(day);
        }
        qInfo("%zu screenshots over %lld days", samples.size(), qint64(shownDays.size()));
        for (const QDate &day : mustShow)
            QVERIFY2(shownDays.contains(day), qPrintable(day.toString(Qt::ISODate)));
    }

    // The faked clock reads start + rate * (real time since its process
    // began). Its beginning lies a little after the launch; the smallest lag
    // of all samples measures it. Each sample may then lag behind by the time
    // of its screenshot, one tick and a late tick, and no more.
    static void checkAgainstFakedClock(const std::vector<Sample> &samples, const QDateTime &start)
    {
        std::vector<double> lags;
        for (const Sample &sample : samples) {
            const double fakeElapsed = rate * double(sample.afterNs) / nsPerSecond;
            const double shownElapsed =
                double(start.secsTo(sample.shown.toDateTime(QTimeZone::utc())));
            lags.push_back(fakeElapsed - shownElapsed);
        }
        const double originLag = *std::min_element(lags.begin(), lags.end());
        QVERIFY2(originLag >= -2.0, "a screenshot shows a time the faked clock had not reached");
        QVERIFY2(originLag <= rate * 5.0, "the faked clock began long after the launch");

        double worstLateSeconds = 0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const Sample &sample = samples[i];
            const double grabSeconds = double(sample.afterNs - sample.beforeNs) / nsPerSecond;
            const double lateSeconds = (lags[i] - originLag) / rate;
            worstLateSeconds = std::max(worstLateSeconds, lateSeconds - grabSeconds);
            QVERIFY2(lateSeconds <= grabSeconds + tickSeconds + lateTickSeconds,
                     qPrintable(QStringLiteral("screenshot %1 shows %2, %3 s of real time old")
                                    .arg(i)
                                    .arg(sample.shown.text())
                                    .arg(lateSeconds)));
            if (i > 0)
                QVERIFY2(samples[i - 1].shown.toDateTime(QTimeZone::utc()) <=
                             sample.shown.toDateTime(QTimeZone::utc()),
                         qPrintable(QStringLiteral("went back from %1 to %2")
                                        .arg(samples[i - 1].shown.text(), sample.shown.text())));
        }
        qInfo("oldest screenshot showed a tick %.0f ms before it was taken",
              worstLateSeconds * 1000);
    }
};

QTEST_MAIN(SoakTest)
#include "tst_soak.moc"
