// SPDX-License-Identifier: GPL-3.0-or-later
// The About dialog as the Qt toolkit builds it, offscreen: the keyboard focus
// and its marks, and what a screen reader hears of the picture.
#include "convert.h"
#include "infotessaro_window.h"
#include "qttoolkit.h"
#include "windowmodel.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

using namespace tessaro;

namespace
{

struct Clicks final : WindowEvents {
    QStringList seen;
    void onClick(Window &, ElementKey key) override { seen << qt::toQString(key.name); }
};

} // namespace

class InfotessaroWidgetsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Tab goes OK, picture, Systeminfo and round again; whatever has the
    // focus shows a mark that goes with it. The picture takes no input.
    void focusGoesFromOkToThePictureToSysteminfo()
    {
        Window &window = m_toolkit.load(infotessaroWindow(), m_clicks);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(qt::QtToolkit::widgetOf(window)));
        QStringList seen;
        for (int step = 0; step < 4; ++step) {
            QWidget *focused = QApplication::focusWidget();
            QVERIFY(focused);
            seen << focused->objectName();
            const QImage marked = focused->grab().toImage();
            QTest::keyClick(focused, Qt::Key_Tab);
            QVERIFY2(focused->grab().toImage() != marked, qPrintable(focused->objectName()));
        }
        QStringList expected;
        for (ElementKey key : {infotessaro::cmdOK, infotessaro::picIcon, infotessaro::cmdSysInfo,
                               infotessaro::cmdOK})
            expected << QString::fromStdString(describe(key));
        QCOMPARE(seen, expected);

        QWidget *picture = qt::QtToolkit::elementWidget(window, infotessaro::picIcon);
        QCOMPARE(QApplication::focusWidget(), picture);
        QTest::keyClick(picture, Qt::Key_Space);
        QTest::mouseClick(picture, Qt::LeftButton);
        QCOMPARE(m_clicks.seen, QStringList());
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(picture);
        QCOMPARE(spoken->role(), QAccessible::Graphic);
        QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("Tessaro-Bild"));
    }

private:
    qt::QtToolkit m_toolkit;
    Clicks m_clicks;
};

QTEST_MAIN(InfotessaroWidgetsTest)
#include "tst_infotessarowidgets.moc"
