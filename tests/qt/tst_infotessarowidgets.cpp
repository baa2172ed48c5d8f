// SPDX-License-Identifier: GPL-3.0-or-later
// The About dialog as the Qt toolkit builds it, offscreen: the keyboard focus
// and its marks, and what a screen reader hears of the picture.
#include "infotessaro_window.h"
#include "qttoolkit.h"
#include "windowmodel.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>

using namespace tessaro;
using namespace tessaro::infotessaro;

namespace
{

struct Clicks final : WindowEvents {
    int count = 0;
    void onClick(Window &, ElementKey) override { ++count; }
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
        QWidget *picture = qt::QtToolkit::elementWidget(window, picIcon);
        for (ElementKey key : {cmdOK, picIcon, cmdSysInfo, cmdOK}) {
            QWidget *focused = QApplication::focusWidget();
            QCOMPARE(focused, qt::QtToolkit::elementWidget(window, key));
            const QImage marked = focused->grab().toImage();
            if (focused == picture) {
                QTest::keyClick(picture, Qt::Key_Space);
                QTest::mouseClick(picture, Qt::LeftButton);
            }
            QTest::keyClick(focused, Qt::Key_Tab);
            QVERIFY2(focused->grab().toImage() != marked, qPrintable(focused->objectName()));
        }
        QCOMPARE(m_clicks.count, 0);
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
