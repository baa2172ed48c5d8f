// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the Qt toolkit builds it, offscreen: geometry, fonts,
// visibility, tooltips, focus, colours and accessible names. Run once at
// device pixel ratio 1 and once at 2 (QT_SCALE_FACTOR=2).
#include "convert.h"
#include "fonts.h"
#include "qttoolkit.h"
#include "ruzozura_window.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QImage>
#include <QLineF>
#include <QTest>
#include <QWidget>

using namespace tessaro;

namespace {

// Handlers that do nothing: the window stays in the state it opens in.
class InertEvents final : public WindowEvents
{
};

QString keyText(ElementKey key)
{
    QString text = qt::toQString(key.name);
    if (key.index >= 0)
        text += QStringLiteral("(%1)").arg(key.index);
    return text;
}

QColor rgbOf(Colour c)
{
    return QColor(int(redOf(c)), int(greenOf(c)), int(blueOf(c)));
}

} // namespace

class RuzozuraWidgetsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_window = &m_toolkit.load(ruzozuraWindow(), m_events);
        m_window->show();
        m_form = qt::QtToolkit::widgetOf(*m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        m_shot = m_form->grab().toImage();
    }

    void windowIsFixedAtItsClientSize()
    {
        QCOMPARE(m_form->size(), QSize(407, 469));
        QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Tessaro"));
        const qreal ratio = m_form->devicePixelRatioF();
        QCOMPARE(m_shot.size(), (QSizeF(407, 469) * ratio).toSize());
    }

    void elementsSitAtTheirTwipRects_data()
    {
        QTest::addColumn<int>("row");
        int row = 0;
        for (const ElementDef &def : ruzozuraElements()) {
            if (def.kind != ElementKind::Timer)
                QTest::newRow(qPrintable(keyText(def.key))) << row;
            ++row;
        }
    }

    void elementsSitAtTheirTwipRects()
    {
        QFETCH(int, row);
        const ElementDef &def = ruzozuraElements()[std::size_t(row)];
        QWidget *widget = qt::QtToolkit::elementWidget(*m_window, def.key);
        QVERIFY(widget);
        if (def.kind == ElementKind::Line) {
            const QLine line = qt::pixelLine(def.rect);
            QVERIFY(widget->geometry().contains(line.p1()));
            QVERIFY(widget->geometry().contains(line.p2()));
            QVERIFY(widget->width() == 1 || widget->height() == 1);
        } else {
            QCOMPARE(widget->geometry(), qt::pixelRect(def.rect));
        }
        QCOMPARE(widget->isVisibleTo(m_form), !(def.flags & flags::hidden));
        QCOMPARE(widget->toolTip(), qt::toQString(def.toolTip));
    }

    void labelsUseTheirFonts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("bold");
        const QString sans = QStringLiteral("Liberation Sans");
        QTest::newRow("standard") << QStringLiteral("Label18") << -1 << sans << 11 << false;
        QTest::newRow("bold") << QStringLiteral("Label11") << -1 << sans << 11 << true;
        QTest::newRow("heading") << QStringLiteral("Label4") << -1 << sans << 16 << true;
        QTest::newRow("settings heading") << QStringLiteral("Label10") << -1 << sans << 13 << true;
        QTest::newRow("exit") << QStringLiteral("Command1") << -1
                              << QStringLiteral("Liberation Serif") << 16 << true;
        QTest::newRow("time cell") << QStringLiteral("bin1") << 4 << sans << 11 << true;
    }

    void labelsUseTheirFonts()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(QString, family);
        QFETCH(int, pixelSize);
        QFETCH(bool, bold);
        const QByteArray utf8 = name.toUtf8();
        QWidget *widget = qt::QtToolkit::elementWidget(
            *m_window, ElementKey{std::string_view(utf8.constData(), std::size_t(utf8.size())), index});
        QVERIFY(widget);
        const QFontInfo info(widget->font());
        QCOMPARE(info.family(), family);
        QCOMPARE(info.pixelSize(), pixelSize);
        QCOMPARE(info.bold(), bold);
    }

    // Colours as they reach the screen, sampled away from any text.
    void coloursAreTheTablesRgb_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("window green") << QPoint(400, 460) << rgbOf(colours::windowGreen);
        QTest::newRow("day cell Frame23") << QPoint(197, 52) << rgbOf(colours::paleCellGreen);
        QTest::newRow("year cell Frame39") << QPoint(59, 100) << rgbOf(colours::paleCellGreen);
        QTest::newRow("hours cell bin1(0) corner") << QPoint(290, 203) << rgbOf(colours::paleCellGreen);
        QTest::newRow("hex cell hexa1(4) corner") << QPoint(172, 212) << rgbOf(colours::yellow);
        QTest::newRow("Command2 olive") << QPoint(122, 345) << rgbOf(colours::olive);
        QTest::newRow("Command3 red") << QPoint(141, 345) << rgbOf(colours::red);
        QTest::newRow("Command4 blue") << QPoint(162, 345) << rgbOf(colours::blue);
        QTest::newRow("Command5 yellow") << QPoint(296, 347) << rgbOf(colours::yellow);
        QTest::newRow("Command1 orange") << QPoint(296, 389) << rgbOf(colours::orange);
        QTest::newRow("Frame18 light green") << QPoint(350, 333) << rgbOf(colours::lightGreen);
    }

    void coloursAreTheTablesRgb()
    {
        QFETCH(QPoint, point);
        QFETCH(QColor, colour);
        const qreal ratio = m_shot.devicePixelRatio();
        const QPoint device = (QPointF(point) * ratio).toPoint();
        QCOMPARE(QColor(m_shot.pixel(device)), colour);
    }

    void focusStartsOnExitAndFollowsTheTabOrder()
    {
        const QStringList expected = {
            QStringLiteral("Command1"), QStringLiteral("Check1"),   QStringLiteral("Command2"),
            QStringLiteral("Command3"), QStringLiteral("Command4"), QStringLiteral("Command5"),
            QStringLiteral("Check2"),   QStringLiteral("Check3")};
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        QTRY_VERIFY(QApplication::focusWidget());
        QStringList seen;
        for (int i = 0; i < expected.size(); ++i) {
            seen << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(seen, expected);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command1"));
    }

    void checkBoxesStartAsDescribed()
    {
        QCOMPARE(m_window->value({"Check1"}), 0);
        QCOMPARE(m_window->value({"Check2"}), 1);
        QCOMPARE(m_window->value({"Check3"}), 1);
    }

    void screenReadersHearGermanNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("spoken");
        QTest::newRow("hours cell") << QStringLiteral("bin1") << 4 << QStringLiteral("Stunden, Wert 16");
        QTest::newRow("year cell") << QStringLiteral("Frame39") << -1 << QStringLiteral("Jahr, Wert 1024");
        QTest::newRow("exit button") << QStringLiteral("Command1") << -1 << QStringLiteral("Exit");
        QTest::newRow("plain label uses its text")
            << QStringLiteral("Label18") << -1 << QStringLiteral("1 Bit = eine Speicherstelle");
    }

    void screenReadersHearGermanNames()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(QString, spoken);
        const QByteArray utf8 = name.toUtf8();
        QWidget *widget = qt::QtToolkit::elementWidget(
            *m_window, ElementKey{std::string_view(utf8.constData(), std::size_t(utf8.size())), index});
        QVERIFY(widget);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible);
        QVERIFY(accessible->text(QAccessible::Name).startsWith(spoken));
    }

    void writesThatChangeNothingRepaintNothing()
    {
        QWidget *cell = qt::QtToolkit::elementWidget(*m_window, {"bin1", 0});
        m_window->setCaption({"bin1", 0}, "1");
        m_window->setBackColor({"bin1", 0}, colours::blue);
        QCoreApplication::processEvents();
        const QImage before = cell->grab().toImage();
        m_window->setCaption({"bin1", 0}, "1");
        m_window->setBackColor({"bin1", 0}, colours::blue);
        QCOMPARE(cell->grab().toImage(), before);
        QCOMPARE(QColor(before.pixel(before.width() - 1, before.height() - 1)), rgbOf(colours::blue));
    }

private:
    qt::QtToolkit m_toolkit;
    InertEvents m_events;
    Window *m_window = nullptr;
    QWidget *m_form = nullptr;
    QImage m_shot;
};

QTEST_MAIN(RuzozuraWidgetsTest)
#include "tst_ruzozurawidgets.moc"
