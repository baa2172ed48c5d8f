// SPDX-License-Identifier: GPL-3.0-or-later
// Half a minute of use: the colour buttons, the three check boxes, the About
// dialog opened and closed, the system-information program started, while
// the clock ticks; then "Exit". In the sanitizer build every memory fault,
// undefined behaviour or leak of the clock lands in a report file, and there
// must be none; in every build the clock must end with status 0.
#include "runningclock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

using namespace tessaro;
using tessaro::guitest::RunningClock;

namespace
{

constexpr int patienceMs = 10000;
const QPoint okButton(93 + 43, 264 + 11);
const QPoint sysInfoButton(93 + 43, 294 + 11);

int sessionSeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("TESSARO_SESSION_SECONDS", &ok);
    return ok && seconds > 0 ? seconds : 30;
}

// Sanitizer reports of the clock go to files in reportDir, not to its stderr.
QStringList sanitizerSettings(const QString &reportDir)
{
    QString leakOptions = QStringLiteral("LSAN_OPTIONS=print_suppressions=0");
    const QString suppressions = qEnvironmentVariable("TESSARO_LSAN_SUPPRESSIONS");
    if (!suppressions.isEmpty())
        leakOptions += QStringLiteral(":suppressions=") + suppressions;
    return {
        QStringLiteral("ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:log_path=%1/asan")
            .arg(reportDir),
        QStringLiteral("UBSAN_OPTIONS=print_stacktrace=1:log_path=%1/ubsan").arg(reportDir),
        leakOptions,
        QStringLiteral("TESSARO_STANDIN_SECONDS=0"),
    };
}

QString findDialog()
{
    return RunningClock::xdotool({QStringLiteral("search"), QStringLiteral("--sync"),
                                  QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                  QStringLiteral("^Info zu Tessaro$")},
                                 patienceMs)
        .value_or(QString())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
        .value(0);
}

bool clickInWindow(const QString &window, QPoint at)
{
    return RunningClock::xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                                  QString::number(at.x()), QString::number(at.y()),
                                  QStringLiteral("click"), QStringLiteral("1")})
        .has_value();
}

QString reportsIn(const QString &dir)
{
    QString text;
    for (const QFileInfo &file : QDir(dir).entryInfoList(QDir::Files)) {
        QFile report(file.filePath());
        if (report.open(QIODevice::ReadOnly))
            text += file.fileName() + QStringLiteral(":\n") + QString::fromUtf8(report.readAll());
    }
    return text;
}

} // namespace

class SessionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void halfAMinuteOfUseEndsCleanly()
    {
        QTemporaryDir reports;
        QVERIFY(reports.isValid());
        RunningClock clock;
        QVERIFY2(clock.start({.fakeTime = {},
                              .timeZone = QStringLiteral("Europe/Berlin"),
                              .environment = sanitizerSettings(reports.path())}),
                 qPrintable(clock.error()));

        QElapsedTimer session;
        session.start();
        int rounds = 0;
        while (session.elapsed() < sessionSeconds() * 1000) {
            useOnce(clock);
            if (QTest::currentTestFailed())
                return;
            ++rounds;
        }
        qInfo("%d rounds of clicks in %lld ms", rounds, session.elapsed());
        RunningClock::save(clock.grab(), QStringLiteral("session-end"));

        QVERIFY(clock.click({"Command1"}));
        QVERIFY2(clock.process().waitForFinished(patienceMs), "the clock did not end");
        const QString found = reportsIn(reports.path());
        QVERIFY2(found.isEmpty(), qPrintable(found));
        QCOMPARE(clock.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(clock.process().exitCode(), 0);
    }

private:
    static void useOnce(RunningClock &clock)
    {
        for (const char *name : {"Command3", "Check1", "Command4", "Check2", "Check3", "Command2",
                                 "Check1", "Check2", "Check3"}) {
            QVERIFY(clock.click({name}));
            RunningClock::waitForTicks(1);
        }
        QVERIFY(clock.click({"Command5"}));
        const QString dialog = findDialog();
        QVERIFY2(!dialog.isEmpty(), "the dialog \"Info zu Tessaro\" did not open");
        RunningClock::xdotool(
            {QStringLiteral("windowmove"), dialog, QStringLiteral("700"), QStringLiteral("100")});
        QVERIFY(clickInWindow(dialog, sysInfoButton));
        RunningClock::waitForTicks(2);
        QVERIFY(clickInWindow(dialog, okButton));
        RunningClock::waitForTicks(2);
    }
};

QTEST_MAIN(SessionTest)
#include "tst_session.moc"
