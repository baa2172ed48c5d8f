// SPDX-License-Identifier: GPL-3.0-or-later
// "Exit" while the About dialog is open and a system-information program
// started from it is still running, or has already ended: the clock ends
// with status 0, the program lives on on its own, and no process is left
// behind as a zombie. The clock here is a test build whose registry stand-in
// names a small stand-in program that writes down its process id.
#include "clockprocess.h"
#include "runningclock.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tessaro;
using namespace tessaro::reliability;
using tessaro::guitest::RunningClock;

namespace
{

// Only guards against waiting for ever.
constexpr int patienceMs = 10000;

// The "&Systeminfo..." button in the dialog's client area.
const QPoint sysInfoButton(93 + 43, 294 + 11);

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

// The process id the stand-in program wrote, once it has.
std::optional<qint64> waitForToolPid(const QString &pidFile)
{
    QDeadlineTimer patience(patienceMs);
    while (!patience.hasExpired()) {
        QFile file(pidFile);
        if (file.open(QIODevice::ReadOnly))
            return file.readAll().trimmed().toLongLong();
        QTest::qWait(20);
    }
    return std::nullopt;
}

// Waits until a process has gone entirely, not even left as a zombie.
bool waitUntilGone(qint64 pid)
{
    QDeadlineTimer patience(patienceMs);
    while (processState(pid) && !patience.hasExpired())
        QTest::qWait(20);
    return !processState(pid);
}

bool isRunning(qint64 pid)
{
    const std::optional<char> state = processState(pid);
    return state && *state != 'Z' && *state != 'X';
}

} // namespace

class ExitWithToolTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Programs orphaned by the clock come to this test rather than to
        // init, so the test can see that they live on and reap them.
        QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    }

    void exitEndsOnlyTheClock_data()
    {
        QTest::addColumn<int>("toolSeconds");
        QTest::newRow("program still running") << 300;
        QTest::newRow("program already ended") << 0;
    }

    void exitEndsOnlyTheClock()
    {
        QFETCH(int, toolSeconds);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString pidFile = dir.filePath(QStringLiteral("tool.pid"));

        RunningClock clock;
        QVERIFY2(
            clock.start(
                {.fakeTime = {},
                 .timeZone = QStringLiteral("UTC"),
                 .environment = {QStringLiteral("TESSARO_STANDIN_PIDFILE=") + pidFile,
                                 QStringLiteral("TESSARO_STANDIN_SECONDS=%1").arg(toolSeconds)}}),
            qPrintable(clock.error()));
        const qint64 clockPid = clock.pid();

        QVERIFY(clock.click({"Command5"}));
        const QString dialog = findDialog();
        QVERIFY2(!dialog.isEmpty(), "the dialog \"Info zu Tessaro\" did not open");
        // Out of the way of the main window's buttons.
        RunningClock::xdotool(
            {QStringLiteral("windowmove"), dialog, QStringLiteral("700"), QStringLiteral("100")});
        QVERIFY(clickInWindow(dialog, sysInfoButton));
        const std::optional<qint64> toolPid = waitForToolPid(pidFile);
        QVERIFY2(toolPid, "the system-information program did not start");

        if (toolSeconds == 0)
            QVERIFY2(waitUntilGone(*toolPid),
                     "the ended program stays behind as a zombie of the running clock");
        else
            QVERIFY(isRunning(*toolPid));

        QVERIFY(clock.click({"Command1"}));
        QVERIFY2(clock.process().waitForFinished(patienceMs), "the clock did not end");
        QCOMPARE(clock.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(clock.process().exitCode(), 0);
        QVERIFY2(!processState(clockPid), "the clock's process is still there");

        if (toolSeconds != 0) {
            QVERIFY2(isRunning(*toolPid), "the program ended with the clock");
            QCOMPARE(parentOf(*toolPid), std::optional<qint64>(::getpid()));
            ::kill(pid_t(*toolPid), SIGTERM);
            int status = 0;
            QCOMPARE(::waitpid(pid_t(*toolPid), &status, 0), pid_t(*toolPid));
        }
        QVERIFY2(!processState(*toolPid), "the program is left as a zombie");
    }
};

QTEST_MAIN(ExitWithToolTest)
#include "tst_exit_with_tool.moc"
