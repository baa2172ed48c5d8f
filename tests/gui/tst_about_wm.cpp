// SPDX-License-Identifier: GPL-3.0-or-later
// The About dialog of the real program under a real window manager
// (openbox): the keys and the close that close it, its frame, its owner.
#include "driver.h"
#include "ruzozura_keys.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace tessaro;
using namespace tessaro::screenshot;
using namespace Qt::StringLiterals;

namespace
{

// One property as xprop prints it ("NAME(TYPE) = value" or "NAME(WINDOW):
// window id # 0x..."): its value, "" if there is none.
QString xprop(const QString &window, const QString &name)
{
    static const QRegularExpression value(u"^[^(]*\\([^)]*\\)(?:: | = )(.*)$"_s,
                                          QRegularExpression::DotMatchesEverythingOption);
    const QStringList where =
        window.isEmpty() ? QStringList{u"-root"_s} : QStringList{u"-id"_s, window};
    const QString text = run(u"xprop"_s, where + QStringList{name}).value_or(QString()).trimmed();
    return value.match(text).captured(1).trimmed();
}

// The window ids of a list property of the root window, as xdotool prints them.
QStringList rootWindows(const QString &name)
{
    QStringList ids;
    for (const QString &id : xprop({}, name).split(u", "_s, Qt::SkipEmptyParts))
        ids << QString::number(id.section(u'#', -1).trimmed().toULongLong(nullptr, 16));
    return ids;
}

} // namespace

class AboutUnderAWindowManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each test gets its own window manager, clock and open dialog.
    void init()
    {
        cleanup(); // after a test whose init failed
        // The clock first: the window manager takes over the windows that are
        // shown when it starts.
        m_clock.emplace();
        QVERIFY(m_clock->start());
        m_main = m_clock->window();

        QVERIFY(m_config.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_s, m_config.path()); // the default configuration
        m_openbox.setProcessEnvironment(env);
        m_openbox.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_openbox.start(u"openbox"_s, {u"--sm-disable"_s});
        QVERIFY(m_openbox.waitForStarted(10000));
        // Framed by the window manager.
        QVERIFY(awaitTrue([&] { return !xprop(m_main, u"_NET_FRAME_EXTENTS"_s).isEmpty(); },
                          u"the frame"_s));
        openDialog();
    }

    void cleanup()
    {
        m_clock.reset();
        m_openbox.terminate(); // nothing if it has ended
        if (!m_openbox.waitForFinished(5000))
            m_openbox.kill();
        m_openbox.waitForFinished(5000);
    }

    // Enter presses OK, also while the picture has the focus, and so does
    // Escape; the window manager's close (Alt+F4, as its close box) closes it too.
    void keysAndTheCloseBoxCloseIt_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("Enter on the picture") << u"Tab Return"_s;
        QTest::newRow("Escape on the picture") << u"Tab Escape"_s;
        QTest::newRow("the window manager's close") << u"alt+F4"_s;
    }
    void keysAndTheCloseBoxCloseIt()
    {
        QFETCH(QString, keys);
        xdotool({u"windowactivate"_s, u"--sync"_s, m_dialog});
        QVERIFY(xdotool(QStringList{u"key"_s} + keys.split(u' ')));
        QVERIFY(awaitTrue([&] { return !rootWindows(u"_NET_CLIENT_LIST"_s).contains(m_dialog); },
                          u"the dialog to close"_s));
        QCOMPARE(rootWindows(u"_NET_CLIENT_LIST"_s), QStringList{m_main});
    }

    // No owner, nor kept above the main window: as "Info " leaves an open
    // dialog as it is, the dialog has a taskbar entry of its own to be found
    // by. A fixed frame with only the close box: functions resize (held by
    // the size hints), move and close; border, title and menu.
    void itBelongsToNoOtherWindowAndOnlyCloses()
    {
        QCOMPARE(xprop(m_dialog, u"WM_TRANSIENT_FOR"_s), QString());
        QCOMPARE(xprop(m_dialog, u"_NET_WM_WINDOW_TYPE"_s), u"_NET_WM_WINDOW_TYPE_NORMAL"_s);
        const QString state = xprop(m_dialog, u"_NET_WM_STATE"_s);
        QVERIFY2(!state.contains(u"SKIP_TASKBAR"_s) && !state.contains(u"ABOVE"_s),
                 qPrintable(state));
        QCOMPARE(xprop(m_dialog, u"_MOTIF_WM_HINTS"_s), u"0x3, 0x26, 0x1e, 0x0, 0x0"_s);
        const QString hints =
            run(u"xprop"_s, {u"-id"_s, m_dialog, u"WM_NORMAL_HINTS"_s}).value_or(QString());
        QVERIFY2(hints.contains(u"minimum size: 294 by 323"_s) &&
                     hints.contains(u"maximum size: 294 by 323"_s),
                 qPrintable(hints));
    }

private:
    void openDialog()
    {
        // Clicked again if the window manager was still placing the window
        // (a second click leaves an open dialog as it is).
        const auto dialogs = [] { return visibleWindows(u"^Info zu Tessaro$"_s); };
        QVERIFY(awaitTrue(
            [&] {
                return m_clock->click(ruzozura::Command5) &&
                       QTest::qWaitFor([&] { return !dialogs().isEmpty(); }, 3000);
            },
            u"the About dialog"_s));
        m_dialog = dialogs().value(0);
        // Managed once the window manager has framed it and set its actions.
        QVERIFY(awaitTrue([&] { return !xprop(m_dialog, u"_NET_WM_ALLOWED_ACTIONS"_s).isEmpty(); },
                          u"the dialog framed"_s));
    }

    QTemporaryDir m_config;
    QProcess m_openbox;
    std::optional<RunningClock> m_clock;
    QString m_main;
    QString m_dialog;
};

QTEST_MAIN(AboutUnderAWindowManager)
#include "tst_about_wm.moc"
