// SPDX-License-Identifier: GPL-3.0-or-later
// The About dialog in the real program on an X server: one dialog however
// often Info is clicked, Escape and Enter close it, its colours and picture,
// and the Systeminfo button starting a registered program or saying that
// none is there. The program under test is a build whose registry stand-in
// names a probe program at a path with blanks.
#include "infotessaro_window.h"
#include "runningclock.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>

using namespace tessaro;
using tessaro::guitest::RunningClock;

namespace
{

const QString dialogTitle = QStringLiteral("^Info zu Tessaro$");
const QString mainTitle = QStringLiteral("^Tessaro$");

QStringList visibleWindows(const QString &namePattern)
{
    return RunningClock::xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                  QStringLiteral("--name"), namePattern})
        .value_or(QString())
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool clickIn(const QString &window, std::string_view element)
{
    QPoint at;
    for (const ElementDef &def : infotessaroWindow().elements)
        if (def.key.name == element)
            at =
                QPoint(def.rect.left + def.rect.width / 2, def.rect.top + def.rect.height / 2) /
                twipsPerPixel;
    return RunningClock::xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                                  QString::number(at.x()), QString::number(at.y()),
                                  QStringLiteral("click"), QStringLiteral("1")})
        .has_value();
}

// Focuses a window and types as the keyboard does (XTEST). Keys sent to the
// window itself (XSendEvent) lose their release when the press closes the
// window, and the server's auto-repeat then presses them again and again.
void keyIn(const QString &window, const QString &keys)
{
    RunningClock::xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    RunningClock::xdotool({QStringLiteral("key"), keys});
}

QImage grab(const QString &window)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(WId(window.toULongLong()))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

class AboutDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
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
        QVERIFY(QTest::qWaitFor([] { return visibleWindows(dialogTitle).size() == 1; }));
        m_dialog = visibleWindows(dialogTitle).value(0);
        QVERIFY(m_clock.click({"Command5"}));
        RunningClock::waitForTicks(5);
        QCOMPARE(visibleWindows(dialogTitle), QStringList{m_dialog});
    }

    void dialogShowsItsColoursAndPicture_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QColor>("colour");
        // The picture starts inside the picture box's two-pixel sunken border.
        const QPoint picture = QPoint(240, 150) / twipsPerPixel + QPoint(2, 2);
        const QColor lightBlue(128, 128, 255);
        QTest::newRow("picture top band") << picture + QPoint(8, 0) << lightBlue;
        QTest::newRow("picture bottom band") << picture + QPoint(8, 14) << lightBlue;
        QTest::newRow("picture olive pair") << picture + QPoint(14, 15) << QColor(128, 128, 0);
        QTest::newRow("picture olive corner") << picture + QPoint(15, 15) << QColor(128, 128, 0);
        QTest::newRow("OK face") << QPoint(100, 270) << QColor(192, 255, 192);
        QTest::newRow("Systeminfo face") << QPoint(100, 300) << QColor(255, 255, 128);
    }

    void dialogShowsItsColoursAndPicture()
    {
        QFETCH(QPoint, point);
        QFETCH(QColor, colour);
        const QImage shot = grab(m_dialog);
        QCOMPARE(shot.size(), QSize(294, 323));
        if (QTest::currentDataTag() == QByteArray("picture top band"))
            qInfo("screenshot: %s", qPrintable(RunningClock::save(shot, QStringLiteral("about"))));
        QCOMPARE(QColor(shot.pixel(point)), colour);
    }

    void escapeAndEnterCloseTheDialogAndInfoOpensItAgain()
    {
        for (const QString &key : {QStringLiteral("Escape"), QStringLiteral("Return")}) {
            keyIn(m_dialog, key);
            QVERIFY2(QTest::qWaitFor([] { return visibleWindows(dialogTitle).isEmpty(); }),
                     qPrintable(key));
            QVERIFY(m_clock.click({"Command5"}));
            QVERIFY(QTest::qWaitFor([] { return visibleWindows(dialogTitle).size() == 1; }));
            m_dialog = visibleWindows(dialogTitle).value(0);
        }
    }

    void systemInfoStartsTheRegisteredProgram()
    {
        QVERIFY(clickIn(m_dialog, about::sysInfoButton));
        expectProbeRunsAndIsReaped();
        keyIn(m_dialog, QStringLiteral("alt+s"));
        expectProbeRunsAndIsReaped();
        QCOMPARE(visibleWindows(dialogTitle), QStringList{m_dialog});
    }

    void withoutAProgramTheMessageSaysSo()
    {
        QVERIFY(QFile::remove(m_probe));
        QVERIFY(clickIn(m_dialog, about::sysInfoButton));
        // The message box carries the program's title, as the main window does.
        QString box;
        QVERIFY(QTest::qWaitFor([&] {
            QStringList others = visibleWindows(mainTitle);
            others.removeAll(m_clock.windowId());
            box = others.value(0);
            return !box.isEmpty();
        }));
        qInfo("screenshot: %s",
              qPrintable(RunningClock::save(grab(box), QStringLiteral("sysinfo-message"))));
        // The box gives its OK button the focus just after it appears.
        QTest::qWait(300);
        keyIn(box, QStringLiteral("Return"));
        QVERIFY(QTest::qWaitFor([&] { return !visibleWindows(mainTitle).contains(box); }));
        // Enter closed the box and pressed nothing else.
        RunningClock::waitForTicks(5);
        QCOMPARE(visibleWindows(mainTitle), QStringList{m_clock.windowId()});
        QCOMPARE(visibleWindows(dialogTitle), QStringList{m_dialog});
        QVERIFY(!QFileInfo::exists(m_probe + QStringLiteral(".ran")));
    }

    void cleanup()
    {
        // The probe back in place for the next test and the next run.
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
        QFile marker(m_probe + QStringLiteral(".ran"));
        // The probe renames its mark into place whole.
        QVERIFY2(QTest::qWaitFor([&] { return marker.exists(); }), "the probe did not run");
        QVERIFY(marker.open(QIODevice::ReadOnly));
        const qint64 pid = marker.readLine().split(' ').value(0).toLongLong();
        marker.close();
        marker.remove();
        // A process of its own, running beside the clock...
        QVERIFY(pid != 0 && pid != m_clock.pid());
        QCOMPARE(QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)), m_probe);
        // ...and gone without a trace, not even as a zombie, once it ends.
        const QString proc = QStringLiteral("/proc/%1").arg(pid);
        QVERIFY2(QTest::qWaitFor([&] { return !QFileInfo::exists(proc); }, 15000),
                 "the probe is not reaped");
    }

    RunningClock m_clock;
    QString m_dialog;
    const QString m_probe = qEnvironmentVariable("TESSARO_SYSINFO_PROBE");
    const QString m_probeSource = qEnvironmentVariable("TESSARO_SYSINFO_PROBE_SOURCE");
};

QTEST_MAIN(AboutDialogTest)
#include "tst_about_dialog.moc"
