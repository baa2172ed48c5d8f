// SPDX-License-Identifier: GPL-3.0-or-later
// The main window and the About dialog offscreen, at several device pixel ratios.
#include "classiclook.h"
#include "convert.h"
#include "elementwidgets.h"
#include "fonts.h"
#include "infotessaro_window.h"
#include "qttoolkit.h"
#include "ruzozura_headings.h"
#include "ruzozura_keys.h"
#include "ruzozura_window.h"
#include "windowmodel.h"

#include <QAccessible>
#include <QApplication>
#include <QBitmap>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <array>
#include <vector>

using namespace tessaro;
using namespace tessaro::ruzozura;

namespace
{

Colour colourAt(const QImage &shot, QPoint at)
{
    return qt::toColour(shot.pixelColor(at));
}

// Whether every pixel of the device rectangles has the colour.
template <typename Runs> bool allOf(const QImage &shot, const Runs &runs, QRgb colour)
{
    for (const DeviceEdges &run : runs)
        for (int y = run.top; y < run.bottom; ++y)
            for (int x = run.left; x < run.right; ++x)
                if ((shot.pixel(x, y) | 0xFF000000u) != (colour | 0xFF000000u))
                    return false;
    return true;
}

// Whether the frame inside `e` is `light` above and left, `dark` below and right.
bool framed(const QImage &shot, const DeviceEdges &e, int width, QRgb light, QRgb dark)
{
    auto [top, left] = look::frameRuns(e, width).topLeft;
    top.right -= width; // bottom and right own the corners
    left.bottom -= width;
    return allOf(shot, std::array{top, left}, light) &&
           allOf(shot, look::frameRuns(e, width).bottomRight, dark);
}

// Whether the black pixels of the shot are exactly those of the runs.
bool onlyBlack(const QImage &shot, const std::vector<DeviceEdges> &runs)
{
    QRegion expected;
    for (const DeviceEdges &r : runs)
        expected += QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    const QImage black = shot.createMaskFromColor(qRgb(0, 0, 0), Qt::MaskOutColor);
    return (QRegion(QBitmap::fromImage(black)) ^ expected).isEmpty();
}

} // namespace

class RuzozuraWidgetsTest : public QObject
{
    Q_OBJECT

    QWidget *widget(ElementKey key) const { return qt::QtToolkit::elementWidget(*m_window, key); }
    QRectF box(ElementKey key) const { return widget(key)->geometry(); }
    double ratio() const { return m_shot.devicePixelRatio(); }
    DeviceEdges deviceBox(QWidget *w, QRect local) const
    {
        return deviceEdges(qt::toPixelRect(local.translated(w->mapTo(m_form, QPoint()))), ratio());
    }
    // Each word of a caption, where the label shows it once given it, in window pixels.
    struct Word {
        QString text;
        qreal left, right;
    };
    QList<Word> words(ElementKey label, std::string_view tableCaption) const
    {
        m_window->setCaption(label, tableCaption);
        const auto *w = qobject_cast<const qt::LabelWidget *>(widget(label));
        const QString caption = w->caption();
        const QFontMetricsF metrics(w->font());
        const qreal origin = w->mapTo(m_form, w->textRect().topLeft()).x();
        const auto x = [&](qsizetype at) {
            return origin + metrics.horizontalAdvance(caption.left(at));
        };
        QList<Word> words;
        for (const auto &word : QRegularExpression(QStringLiteral("\\S+")).globalMatch(caption))
            words.append({word.captured(), x(word.capturedStart()), x(word.capturedEnd())});
        return words;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_window = &m_toolkit.load(ruzozuraWindow(), m_events);
        m_window->show();
        m_form = qt::QtToolkit::widgetOf(*m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        m_shot = m_form->grab().toImage();
        QCOMPARE(m_form->size(), QSize(407, 469));
        QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
    }

    // The focus starts on Exit; Tab leads through the eight controls (their
    // order: the window tests). Unfocused, buttons keep their white and black
    // edges and check boxes their whole 13-pixel box (only Check1 clear, green
    // around it); focused, each shows a ring at least 3 : 1 against both sides.
    void controlsAndTheirFocusInTabOrder()
    {
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        QTRY_COMPARE(QApplication::focusWidget(), widget(Command1));
        const int width = deviceLineWidth(ratio());
        const QRgb white = qRgb(255, 255, 255);
        for (int step = 0; step < 8; ++step) {
            QWidget *w = QApplication::focusWidget();
            auto *box = qobject_cast<qt::CheckBoxWidget *>(w);
            // Check boxes: the box's edge; buttons: a ring three lines in.
            const DeviceEdges outer = deviceBox(w, box ? box->boxRect() : w->rect());
            QVERIFY2(box ? framed(m_shot, outer, width, qRgb(128, 128, 128), white)
                         : framed(m_shot, outer, width, white, qRgb(0, 0, 0)),
                     qPrintable(w->objectName()));
            if (box) {
                QCOMPARE(box->boxRect().size(), QSize(13, 13));
                const bool check1 = w->objectName() == u"Check1";
                QCOMPARE(allOf(m_shot, std::array{look::inset(outer, 2, width)}, white), check1);
                const DeviceEdges all = deviceBox(w, w->rect()); // Check1's larger than its box
                QCOMPARE(colourAt(m_shot, {all.right - 1, all.top}) == colours::windowGreen,
                         check1);
            }
            const QImage shot = m_form->grab().toImage();
            const int in = box ? 0 : 3 * width;
            const QPoint ring(outer.left + in + width * 3, outer.top + in);
            for (const int dy : {-1, (box ? 2 : 1) * width})
                if (!box || dy > 0 || w->height() > 13)
                    QVERIFY2(look::contrastRatio(colourAt(shot, ring),
                                                 colourAt(shot, ring + QPoint(0, dy))) >= 3.0,
                             qPrintable(w->objectName() + QStringLiteral(" dy %1").arg(dy)));
            QTest::keyClick(w, Qt::Key_Tab);
        }
    }

    void elementsAsTheTableDescribes_data()
    {
        QTest::addColumn<ElementKey>("key");
        for (const ElementDef &e : ruzozuraElements())
            if (e.kind != ElementKind::Timer)
                QTest::newRow(describe(e.key).c_str()) << e.key;
    }
    void elementsAsTheTableDescribes()
    {
        QFETCH(ElementKey, key);
        const ElementDef &e = *findRuzozuraElement(key);
        QWidget *w = widget(key);
        QCOMPARE(w->toolTip(), qt::toQString(e.toolTip));
        if (e.kind != ElementKind::Line)
            QCOMPARE(w->geometry(), qt::toQRect(pixelRect(e.rect)));
        if (e.kind == ElementKind::Label || e.kind == ElementKind::Button) {
            const QFontInfo font(w->font());
            const FontDef f = fontDef(e.font);
            QCOMPARE(font.family(),
                     qt::toQString(f.serif ? "Liberation Serif" : "Liberation Sans"));
            QCOMPARE(std::pair(font.pixelSize(), font.bold()), std::pair(f.pixelSize, f.bold));
        }
        // Lines and bordered labels, alone on the green: black exactly on the
        // device pixels of the classic look at this scale.
        if (e.kind != ElementKind::Line && !(e.flags & flags::border))
            return;
        auto *label = qobject_cast<qt::LabelWidget *>(w);
        const auto [topLeft, bottomRight] =
            look::frameRuns(deviceBox(w, w->rect()), deviceLineWidth(ratio()));
        const auto runs =
            label ? std::vector{topLeft[0], topLeft[1], bottomRight[0], bottomRight[1]}
                  : look::lineRuns(pixelLine(e.rect), e.lineStyle, ratio(), look::qtPens);
        QImage shot = m_shot.copy(); // of the window's size and ratio
        shot.fill(qt::toQColor(colours::windowGreen));
        // Of a label all but its caption's rectangle.
        const QRegion drawn = label ? QRegion(w->rect()) - label->textRect() : QRegion();
        w->render(&shot, w->mapTo(m_form, QPoint()), drawn, QWidget::DrawChildren);
        QVERIFY(onlyBlack(shot, runs));
    }

    // Each place value stands over the centre of its cells (month cells share
    // the day columns; the year row from 2048 on has seven). "Byte1", "Byte 0"
    // and "Addiert" each end close before their own digit cell.
    void headingsStandOverTheirCells()
    {
        const clock::ClockLayout &c = ruzozuraClockLayout();
        const clock::BitRow sevenPlaces = c.year.cells.subspan(clock::yearCellsHiddenFrom2048);
        using Rows = std::vector<clock::BitRow>; // the first one has a cell for each place value
        const std::tuple<ElementKey, std::string_view, Rows> headings[] = {
            {Label14, findRuzozuraElement(Label14)->caption, {c.day.cells, c.month.cells}},
            {Label6,
             findRuzozuraElement(Label6)->caption,
             {c.minutes.row.cells, c.seconds.row.cells, c.hours.row.cells}},
            {Label15, yearHeadingElevenPlaces, {c.year.cells}},
            {Label15, yearHeadingSevenPlaces, {sevenPlaces}}};
        for (const auto &[label, caption, rows] : headings) {
            QList<int> weights, expected;
            for (const clock::BitCell &cell : rows[0])
                expected << cell.weight;
            for (const Word &word : words(label, caption)) {
                const int weight = word.text == u"I" ? 1 : word.text.toInt();
                if (weight == 0)
                    continue; // "Dezimalwert"
                weights << weight;
                qreal centre = 0, cells = 0;
                for (const clock::BitRow &row : rows)
                    for (const clock::BitCell &cell : row)
                        if (cell.weight == weight)
                            centre += box(cell.key).center().x(), ++cells;
                // "32 16" stands closer together than its two columns.
                const qreal tolerance = label == Label6 && weight >= 16 ? 4.5 : 3.0;
                QVERIFY2(std::abs((word.left + word.right) / 2 - centre / cells) <= tolerance,
                         qPrintable(word.text));
                QVERIFY(word.right <= box(label).right());
            }
            QCOMPARE(weights, expected);
        }
        for (const auto &[label, hex] : {std::pair{hex1[2], c.hours.hex},
                                         {hex1[1], c.minutes.hex},
                                         {hex1[0], c.seconds.hex}}) {
            const auto span = words(label, findRuzozuraElement(label)->caption);
            const qreal edges[] = {
                span[1].left, span[1].right, box(hex.high).left(),    box(hex.high).right(),
                span[2].left, span[3].right, box(hex.low).left(),     box(hex.low).right(),
                span[4].left, span[4].right, box(hex.combined).left()};
            QVERIFY2(std::is_sorted(std::begin(edges), std::end(edges)), describe(label).c_str());
            for (const std::size_t end : {1U, 5U, 9U})
                QVERIFY2(edges[end + 1] - edges[end] < 9, describe(label).c_str());
        }
    }

    // Tab goes round the dialog (in the order the window tests check), each
    // control marked while focused; the picture takes no input and says what it shows.
    void aboutFocusGoesFromOkToThePictureToSysteminfo()
    {
        struct Clicks final : WindowEvents {
            int count = 0;
            void onClick(Window &, ElementKey) override { ++count; }
        } clicks;
        Window &about = m_toolkit.load(infotessaroWindow(), clicks);
        about.show();
        QVERIFY(QTest::qWaitForWindowActive(qt::QtToolkit::widgetOf(about)));
        QWidget *picture = qt::QtToolkit::elementWidget(about, infotessaro::picIcon);
        for (int step = 0; step < 4; ++step) { // OK, the picture, Systeminfo and OK again
            QWidget *focused = QApplication::focusWidget();
            const QImage marked = focused->grab().toImage();
            if (focused == picture) {
                QTest::keyClick(picture, Qt::Key_Space);
                QTest::mouseClick(picture, Qt::LeftButton);
            }
            QTest::keyClick(focused, Qt::Key_Tab);
            QVERIFY2(focused->grab().toImage() != marked, qPrintable(focused->objectName()));
        }
        QCOMPARE(clicks.count, 0);
        QAccessibleInterface *spoken = QAccessible::queryAccessibleInterface(picture);
        QCOMPARE(spoken->role(), QAccessible::Graphic);
        QCOMPARE(spoken->text(QAccessible::Name), QStringLiteral("Tessaro-Bild"));
    }

private:
    qt::QtToolkit m_toolkit;
    WindowEvents m_events; // handlers that do nothing
    Window *m_window = nullptr;
    QWidget *m_form = nullptr;
    QImage m_shot;
};

QTEST_MAIN(RuzozuraWidgetsTest)
#include "tst_ruzozurawidgets.moc"
