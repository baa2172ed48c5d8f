// SPDX-License-Identifier: GPL-3.0-or-later
// Half a minute of use of the test build whose registry names the probe
// program: the About dialog opened, Systeminfo and OK clicked, the colour
// buttons and check boxes clicked in turn, each step waited for until it
// shows. Under the sanitizers (scripts/test-asan.sh) it must end without a
// report. TESSARO_SESSION_SECONDS sets another length.
#include "groups.h"
#include "infotessaro_window.h"
#include "probebuild.h"
#include "runningclock.h"
#include "ruzozura_keys.h"
#include "windowmodel.h"

#include <QElapsedTimer>
#include <QTest>

#include <array>
#include <string_view>
#include <sys/prctl.h>

using namespace tessaro;
using namespace tessaro::guitest;
using namespace tessaro::ruzozura;
using namespace Qt::StringLiterals;

namespace
{

// What the main window shows as the user clicks: the lit colour, and which of
// the check boxes' groups show.
struct Expected {
    QColor lit = screenshot::startLit;
    std::array<bool, 3> shown{false, true, true};

    void click(ElementKey key)
    {
        static const std::pair<ElementKey, QColor> buttons[] = {{Command2, QColor(128, 128, 0)},
                                                                {Command3, QColor(255, 0, 0)},
                                                                {Command4, QColor(0, 0, 192)}};
        static const std::pair<ElementKey, Group> boxes[] = {{Check1, Group::DecimalReadouts},
                                                             {Check2, Group::Explanations},
                                                             {Check3, Group::Hexadecimal}};
        for (const auto &[button, colour] : buttons)
            if (button == key)
                lit = colour;
        for (const auto &[box, group] : boxes)
            if (box == key)
                shown[size_t(group)] = !shown[size_t(group)];
    }

    // What the screenshot shows otherwise; empty if nothing.
    [[nodiscard]] QString mismatch(const QImage &shot) const
    {
        QString fault;
        QString wrong = screenshot::readFace(shot, fault, lit) ? QString() : fault;
        for (const Group group : {Group::DecimalReadouts, Group::Explanations, Group::Hexadecimal})
            wrong += groupMismatch(shot, group, shown[size_t(group)]);
        return wrong;
    }
};

} // namespace

class SessionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Probes still lingering when the clock ends come to this test.
        QCOMPARE(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    }

    void halfAMinuteOfUse()
    {
        const int seconds = qEnvironmentVariableIntValue("TESSARO_SESSION_SECONDS");
        ProbeBuild build;
        QVERIFY(build.start());
        RunningClock &clock = build.clock();
        Expected expected;
        const auto check = [&](const QImage &shot) { return expected.mismatch(shot); };
        QCOMPARE(clock.awaitShot(check), QString());
        QVERIFY(build.openDialog());
        QList<qint64> probes;
        QElapsedTimer session;
        session.start();
        while (session.elapsed() < (seconds > 0 ? seconds : 30) * 1000) {
            const qint64 probe = build.startProbe();
            QVERIFY2(probe > 0, "the program did not start");
            probes << probe;
            QVERIFY(build.clickInDialog(infotessaro::cmdOK));
            QVERIFY(awaitTrue([&] { return build.dialogClosed(); }, patienceMs));
            for (ElementKey key :
                 {Command3, Check1, Command4, Check2, Check3, Command2, Check1, Check2, Check3}) {
                QVERIFY(clock.click(key));
                expected.click(key);
                const QString wrong = clock.awaitShot(check);
                QVERIFY2(wrong.isEmpty(), qPrintable(u"after %1:%2"_s.arg(
                                              QString::fromStdString(describe(key)), wrong)));
            }
            QVERIFY(build.openDialog());
        }
        // The clock reaps the programs it started once they end.
        for (const qint64 probe : probes)
            QVERIFY2(awaitTrue([&] { return processGone(probe); }, patienceMs),
                     qPrintable(QString::number(probe)));
        QCOMPARE(clock.exitByButton(), 0);
        QCOMPARE(build.reports(), QStringList());
    }
};

QTEST_MAIN(SessionTest)
#include "tst_window_session.moc"
