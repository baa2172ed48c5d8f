// SPDX-License-Identifier: GPL-3.0-or-later
// The About dialog in the real program on an X server: one dialog however
// often Info is clicked, Escape and Enter close it, its colours and picture,
// and the Systeminfo button starting a registered program or saying that
// none is there. The program under test is a build whose registry stand-in
// names a probe program at a path with blanks.
#include "infotessaro_window.h"
#include "runningclock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <functional>

using namespace tessaro;
using tessaro::guitest::RunningClock;

namespace
{

const QString dialogTitle = QStringLiteral("^Info zu Tessaro$");
const QString mainTitle = QStringLiteral("^Tessaro$");

QStringList visibleWindows(const QString &namePattern)
{
    const QString out =
        RunningClock::xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                               QStringLiteral("--name"), namePattern})
            .value_or(QString());
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(50);
    }
    return true;
}

// The centre of a dialog element in dialog pixels.
QPoint centreOf(std::string_view name)
{
    for (const ElementSpec &spec : infotessaroWindow().elements)
        if (spec.key.name == name)
            return {(spec.rect.left + spec.rect.width / 2) / twipsPerPixel,
                    (spec.rect.top + spec.rect.height / 2) / twipsPerPixel};
    return {};
}

bool clickIn(const QString &window, QPoint at)
{
    return RunningClock::xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                                  QString::number(at.x()), QString::number(at.y()),
                                  QStringLiteral("click"), QStringLiteral("1")})
        .has_value();
}

// Gives a window the keyboard focus and types keys into it as the keyboard
// does (XTEST), so that every key press is followed by its release even when
// the press closes the window. (Keys sent to a window with XSendEvent lose
// their release when the window goes, and the server's auto-repeat then
// presses the key again and again.)
void keyIn(const QString &window, const QString &keys)
{
    RunningClock::xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    RunningClock::xdotool({QStringLiteral("key"), keys});
}

QSize geometryOf(const QString &window)
{
    const QString out = RunningClock::xdotool({QStringLiteral("getwindowgeometry"),
                                               QStringLiteral("--shell"), window})
                            .value_or(QString());
    QSize size(-1, -1);
    for (const QString &line : out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("WIDTH=")))
            size.setWidth(line.mid(6).toInt());
        if (line.startsWith(QStringLiteral("HEIGHT=")))
            size.setHeight(line.mid(7).toInt());
    }
    return size;
}

QImage grab(const QString &window)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(WId(window.toULongLong()))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// What the probe left when it ran: its process id; 0 if it has not run.
qint64 probeRun(const QString &probe)
{
    QFile marker(probe + QStringLiteral(".ran"));
    if (!marker.open(QIODevice::ReadOnly))
        return 0;
    return marker.readLine().split(' ').value(0).toLongLong();
}

// The process state letter from /proc ('Z' for a zombie); empty once gone.
QString processState(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close < 0 ? QString() : QString::fromLatin1(line.mid(close + 2, 1));
}

} // namespace

class AboutDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_probe = qEnvironmentVariable("TESSARO_SYSINFO_PROBE");
        m_probeSource = qEnvironmentVariable("TESSARO_SYSINFO_PROBE_SOURCE");
        QVERIFY2(QFileInfo::exists(m_probe), qPrintable(m_probe));
        QFile::remove(m_probe + QStringLiteral(".ran"));

        RunningClock::Options options;
        // The probe inherits the clock's environment and stays this long, so
        // that it can be seen as a process of its own.
        options.environment = {QStringLiteral("TESSARO_PROBE_LINGER=2")};
        QVERIFY2(m_clock.start(options), qPrintable(m_clock.error()));
    }

    void infoOpensExactlyOneDialog()
    {
        QVERIFY(m_clock.click({"Command5"}));
        QVERIFY(waitUntil([] { return visibleWindows(dialogTitle).size() == 1; }));
        m_dialog = visibleWindows(dialogTitle).value(0);
        QCOMPARE(geometryOf(m_dialog), QSize(294, 323));
    }

    void secondInfoClickOpensNoSecondDialog()
    {
        QVERIFY(m_clock.click({"Command5"}));
        RunningClock::waitForTicks(5);
        QCOMPARE(visibleWindows(dialogTitle), QStringList{m_dialog});
    }

    void dialogShowsItsColoursAndPicture_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QColor>("colour");
        // The picture box's picture starts inside its two-pixel sunken border.
        const QPoint picture(240 / twipsPerPixel + 2, 150 / twipsPerPixel + 2);
        QTest::newRow("picture top band light blue")
            << picture + QPoint(8, 0) << QColor(128, 128, 255);
        QTest::newRow("picture bottom band light blue")
            << picture + QPoint(8, 14) << QColor(128, 128, 255);
        QTest::newRow("picture olive corner") << picture + QPoint(15, 15) << QColor(128, 128, 0);
        QTest::newRow("picture olive pair") << picture + QPoint(14, 15) << QColor(128, 128, 0);
        QTest::newRow("OK face light green") << QPoint(100, 270) << QColor(192, 255, 192);
        QTest::newRow("Systeminfo face light yellow") << QPoint(100, 300) << QColor(255, 255, 128);
    }

    void dialogShowsItsColoursAndPicture()
    {
        QFETCH(QPoint, point);
        QFETCH(QColor, colour);
        const QImage shot = grab(m_dialog);
        static const QString saved = RunningClock::save(shot, QStringLiteral("about-dialog"));
        QCOMPARE(QColor(shot.pixel(point)), colour);
        Q_UNUSED(saved);
    }

    void escapeClosesTheDialog()
    {
        keyIn(m_dialog, QStringLiteral("Escape"));
        QVERIFY(waitUntil([] { return visibleWindows(dialogTitle).isEmpty(); }));
    }

    void infoOpensItAgainAndEnterClosesIt()
    {
        QVERIFY(m_clock.click({"Command5"}));
        QVERIFY(waitUntil([] { return visibleWindows(dialogTitle).size() == 1; }));
        keyIn(visibleWindows(dialogTitle).value(0), QStringLiteral("Return"));
        QVERIFY(waitUntil([] { return visibleWindows(dialogTitle).isEmpty(); }));

        QVERIFY(m_clock.click({"Command5"}));
        QVERIFY(waitUntil([] { return visibleWindows(dialogTitle).size() == 1; }));
        m_dialog = visibleWindows(dialogTitle).value(0);
    }

    void systemInfoStartsTheRegisteredProgram()
    {
        QVERIFY(!QFileInfo::exists(m_probe + QStringLiteral(".ran")));
        QVERIFY(clickIn(m_dialog, centreOf(about::sysInfoButton)));
        expectProbeRunsAndIsReaped();
        QCOMPARE(visibleWindows(dialogTitle), QStringList{m_dialog});
    }

    void altSPressesSystemInfo()
    {
        QVERIFY(!QFileInfo::exists(m_probe + QStringLiteral(".ran")));
        keyIn(m_dialog, QStringLiteral("alt+s"));
        expectProbeRunsAndIsReaped();
    }

    void withoutAProgramTheMessageSaysSo()
    {
        QVERIFY(QFile::remove(m_probe));
        QVERIFY(clickIn(m_dialog, centreOf(about::sysInfoButton)));
        // The message box carries the program's title, as the main window does.
        QString box;
        QVERIFY(waitUntil([&] {
            for (const QString &window : visibleWindows(mainTitle))
                if (window != m_clock.windowId())
                    box = window;
            return !box.isEmpty();
        }));
        RunningClock::save(grab(box), QStringLiteral("sysinfo-message"));
        // The box gives its OK button the focus just after it appears.
        QTest::qWait(300);
        keyIn(box, QStringLiteral("Return"));
        QVERIFY(waitUntil([&] { return !visibleWindows(mainTitle).contains(box); }));
        // Enter on the box closes it and presses nothing else.
        RunningClock::waitForTicks(5);
        QCOMPARE(visibleWindows(mainTitle), QStringList{m_clock.windowId()});
        QCOMPARE(visibleWindows(dialogTitle), QStringList{m_dialog});
        QCOMPARE(probeRun(m_probe), 0);
    }

    void cleanup()
    {
        // Put the probe back for the next test and the next run.
        if (!QFileInfo::exists(m_probe))
            QVERIFY(QFile::copy(m_probeSource, m_probe));
    }

    void exitEndsTheProgramWhileTheDialogIsOpen()
    {
        QCOMPARE(visibleWindows(dialogTitle).size(), 1);
        QVERIFY(m_clock.click({"Command1"}));
        QVERIFY(m_clock.process().waitForFinished(10000));
        QCOMPARE(m_clock.process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_clock.process().exitCode(), 0);
        QVERIFY(visibleWindows(dialogTitle).isEmpty());
    }

private:
    void expectProbeRunsAndIsReaped()
    {
        qint64 pid = 0;
        QVERIFY2(waitUntil([&] { return (pid = probeRun(m_probe)) != 0; }),
                 "the probe program did not run");
        // A process of its own, still running beside the clock...
        const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid));
        QCOMPARE(exe, m_probe);
        QVERIFY(m_clock.pid() != pid);
        // ...and gone without a trace once it ends.
        QVERIFY2(waitUntil([&] { return processState(pid).isEmpty(); }, 15000),
                 qPrintable(QStringLiteral("process state %1").arg(processState(pid))));
        QFile::remove(m_probe + QStringLiteral(".ran"));
    }

    RunningClock m_clock;
    QString m_dialog;
    QString m_probe;
    QString m_probeSource;
};

QTEST_MAIN(AboutDialogTest)
#include "tst_about_dialog.moc"
