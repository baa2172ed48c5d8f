// SPDX-License-Identifier: GPL-3.0-or-later
// The real main window on an X server: its size and, in a screenshot, the
// exact colours of background, buttons, boxes and cells.
#include "runningclock.h"

#include <QTest>

using namespace tessaro;
using tessaro::guitest::RunningClock;

class MainWindowScreenTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // A stopped clock, so the screenshot shows one known time.
        RunningClock::Options options;
        options.fakeTime = QStringLiteral("2026-12-06 12:34:56");
        QVERIFY2(m_clock.start(options),
                 qPrintable(m_clock.error()));
        RunningClock::waitForTicks();
        m_shot = m_clock.grab();
        qInfo("screenshot: %s", qPrintable(RunningClock::save(m_shot, QStringLiteral("mainwindow"))));
    }

    void clientAreaIs407By469()
    {
        QCOMPARE(m_clock.windowSize(), QSize(407, 469));
        QCOMPARE(m_shot.size(), QSize(407, 469));
    }

    void coloursAreExact_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QColor>("colour");
        const QColor windowGreen(0, 255, 0);
        const QColor lit(0, 0, 192);
        const QColor dark(128, 255, 128);
        const QColor yellow(255, 255, 0);
        QTest::newRow("background top right") << QPoint(400, 5) << windowGreen;
        QTest::newRow("background bottom right") << QPoint(400, 460) << windowGreen;
        QTest::newRow("Command2 olive") << QPoint(122, 345) << QColor(128, 128, 0);
        QTest::newRow("Command3 red") << QPoint(141, 345) << QColor(255, 0, 0);
        QTest::newRow("Command4 blue") << QPoint(162, 345) << QColor(0, 0, 192);
        QTest::newRow("Command5 yellow") << QPoint(296, 347) << yellow;
        QTest::newRow("Command1 orange") << QPoint(296, 389) << QColor(255, 128, 0);
        QTest::newRow("Frame18 light green") << QPoint(350, 333) << QColor(128, 255, 128);
        QTest::newRow("hexa1(4) yellow") << QPoint(172, 212) << yellow;
        QTest::newRow("hexa1(0) yellow") << QPoint(263, 287) << yellow;
        // 06.12.2026 12:34:56: day 6 = 4 + 2, hour 12 = 8 + 4, second 56 = 32 + 16 + 8.
        QTest::newRow("day 16 dark") << RunningClock::centreOf({"Frame23"}) << dark;
        QTest::newRow("day 4 lit") << RunningClock::centreOf({"Frame21"}) << lit;
        QTest::newRow("month 8 lit") << RunningClock::centreOf({"Frame25"}) << lit;
        QTest::newRow("year 1024 lit") << RunningClock::centreOf({"Frame39"}) << lit;
        QTest::newRow("year 1 dark") << RunningClock::centreOf({"Frame29"}) << dark;
        QTest::newRow("hour 8 lit") << QPoint(218, 203) << lit;
        QTest::newRow("hour 16 dark") << QPoint(194, 203) << dark;
        QTest::newRow("second 1 dark") << QPoint(288, 275) << dark;
    }

    void coloursAreExact()
    {
        QFETCH(QPoint, point);
        QFETCH(QColor, colour);
        QCOMPARE(RunningClock::colourAt(m_shot, point), colour);
    }

    void exitButtonEndsTheClock()
    {
        QVERIFY(m_clock.click({"Command1"}));
        QVERIFY(m_clock.process().waitForFinished(10000));
        QCOMPARE(m_clock.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_clock.process().exitCode(), 0);
    }

private:
    RunningClock m_clock;
    QImage m_shot;
};

QTEST_MAIN(MainWindowScreenTest)
#include "tst_mainwindow_screen.moc"
