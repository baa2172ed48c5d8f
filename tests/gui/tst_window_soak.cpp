// SPDX-License-Identifier: GPL-3.0-or-later
// Days of a fast clock: an hour a second, for 80 hours into 2048, every
// screenshot must show the faked time of a tick just past, and the clock's
// resident memory must stay flat.
#include "driver.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimeZone>

#include <algorithm>

using namespace tessaro;
using namespace tessaro::screenshot;
using namespace Qt::StringLiterals;

class SoakTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
        // The faked clock runs from the launch on; the window shows it from
        // its first paint, once the machine gets to it.
        QCOMPARE(clock.awaitShot([](const QImage &shot) {
            QString fault;
            readFace(shot, fault);
            return fault;
        }),
                 QString());
        const double shownFrom = double(real.nsecsElapsed()) / 1e9;
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
        // 80 hours of faked time from the first paint on.
        while (double(real.nsecsElapsed()) / 1e9 < shownFrom + 80) {
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
            if (warmKiB == 0 && after > shownFrom + 8)
                warmKiB = residentKiB();
            QTest::qWait(40); // a sample about every two ticks
        }
        const qint64 endKiB = residentKiB();
        QCOMPARE(days,
                 (QList<QDate>{
                     {2047, 12, 29}, {2047, 12, 30}, {2047, 12, 31}, {2048, 1, 1}, {2048, 1, 2}}));
        // The faked clock began after the launch by the smallest lag; beyond it a
        // screenshot may lag by the time it took, a tick and a late tick.
        const double origin =
            std::ranges::min(samples, {}, &std::pair<double, double>::second).second;
        QVERIFY2(origin >= -2.0 && origin <= rate * 5.0, qPrintable(QString::number(origin)));
        for (const auto &[grabSeconds, lag] : samples)
            QCOMPARE_LE((lag - origin) / rate, grabSeconds + 0.1 + 0.5);
        qInfo("resident memory after warm-up %lld KiB, at the end %lld KiB", warmKiB, endKiB);
        QVERIFY(warmKiB > 0);
        QCOMPARE_LT(endKiB - warmKiB, 1024);
    }
};

QTEST_MAIN(SoakTest)
#include "tst_window_soak.moc"
