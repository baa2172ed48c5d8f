// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as the Qt toolkit builds it, offscreen, at device pixel
// ratio 1 and 2: what each element looks like and says, focus, colours, and
// the headings' runs of spaces measured in the face they are drawn with.
#include "captionfit.h"
#include "convert.h"
#include "elementwidgets.h"
#include "fonts.h"
#include "headings.h"
#include "qttoolkit.h"
#include "ruzozura_window.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QTest>

using namespace tessaro;

namespace
{

QString keyText(ElementKey key)
{
    const QString name = qt::toQString(key.name);
    return key.index < 0 ? name : name + QStringLiteral("(%1)").arg(key.index);
}

const ElementDef &def(const QString &key)
{
    const auto all = ruzozuraElements();
    return *std::find_if(all.begin(), all.end(), [&](auto &e) { return keyText(e.key) == key; });
}

QColor rgbOf(Colour c)
{
    return QColor(int(redOf(c)), int(greenOf(c)), int(blueOf(c)));
}

} // namespace

class RuzozuraWidgetsTest : public QObject
{
    Q_OBJECT

    QWidget *widget(const QString &key) const
    {
        return qt::QtToolkit::elementWidget(*m_window, def(key).key);
    }
    QRectF box(const QString &key) const
    {
        return QRectF(widget(key)->mapTo(m_form, QPoint(0, 0)), widget(key)->size());
    }
    // Where each word (split at spaces) of a caption starts and ends, in window
    // pixels, as the label draws the caption.
    QList<QPair<qreal, qreal>> wordSpans(const QString &label, std::string_view tableCaption) const
    {
        const QString caption =
            qt::toQString(qt::fitToSubstituteFace(def(label), tableCaption).text);
        const auto *w = qobject_cast<const qt::LabelWidget *>(widget(label));
        const QFontMetricsF metrics(w->font());
        const qreal origin = w->mapTo(m_form, w->textRect().topLeft()).x();
        QList<QPair<qreal, qreal>> spans;
        for (qsizetype at = 0, end = 0; at < caption.size(); at = end + 1) {
            end = caption.indexOf(u' ', at) < 0 ? caption.size() : caption.indexOf(u' ', at);
            if (end > at)
                spans.append({origin + metrics.horizontalAdvance(caption.left(at)),
                              origin + metrics.horizontalAdvance(caption.left(end))});
        }
        return spans;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QFontInfo(qt::font(FontId::Standard)).family(), QStringLiteral("Liberation Sans"));
        m_window = &m_toolkit.load(ruzozuraWindow(), m_events);
        m_window->show();
        m_form = qt::QtToolkit::widgetOf(*m_window);
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
        m_shot = m_form->grab().toImage();
        QCOMPARE(m_form->size(), QSize(407, 469));
        QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
        QCOMPARE(m_shot.size(), (QSizeF(407, 469) * m_form->devicePixelRatioF()).toSize());
    }

    void elementsAsTheTableDescribes_data()
    {
        QTest::addColumn<QString>("key");
        for (const ElementDef &e : ruzozuraElements()) {
            if (e.kind != ElementKind::Timer)
                QTest::newRow(qPrintable(keyText(e.key))) << keyText(e.key);
        }
    }
    void elementsAsTheTableDescribes()
    {
        QFETCH(QString, key);
        const ElementDef &e = def(key);
        QWidget *w = widget(key);
        if (e.kind == ElementKind::Line) {
            const QLine line = qt::toQLine(pixelLine(e.rect));
            QVERIFY(w->geometry().contains(line.p1()) && w->geometry().contains(line.p2()));
            QVERIFY(w->width() == 1 || w->height() == 1);
        } else {
            QCOMPARE(w->geometry(), qt::toQRect(pixelRect(e.rect)));
        }
        QCOMPARE(w->isVisibleTo(m_form), !(e.flags & flags::hidden));
        QCOMPARE(w->toolTip(), qt::toQString(e.toolTip));
        if (e.kind == ElementKind::Label || e.kind == ElementKind::Button) {
            const QFontInfo font(w->font());
            QCOMPARE(font.family(), fontDef(e.font).serif ? QStringLiteral("Liberation Serif")
                                                          : QStringLiteral("Liberation Sans"));
            QCOMPARE(font.pixelSize(), fontDef(e.font).pixelSize);
            QCOMPARE(font.bold(), fontDef(e.font).bold);
        }
        // Cells and controls have names of their own, other labels read their text.
        const auto spoken = qt::toQString(e.accessibleName.empty() ? e.caption : e.accessibleName);
        if (e.kind == ElementKind::Label || !e.accessibleName.empty())
            QVERIFY(QAccessible::queryAccessibleInterface(w)
                        ->text(QAccessible::Name)
                        .startsWith(spoken.simplified()));
    }

    void coloursAsTheyReachTheScreen()
    {
        // Sampled away from any text.
        const std::pair<QPoint, Colour> samples[] = {
            {{400, 460}, colours::windowGreen}, {{197, 52}, colours::paleCellGreen},
            {{172, 212}, colours::yellow},      {{122, 345}, colours::olive},
            {{296, 389}, colours::orange},      {{350, 333}, colours::lightGreen}};
        for (const auto &[point, colour] : samples) {
            const QPoint pixel = (QPointF(point) * m_shot.devicePixelRatio()).toPoint();
            QCOMPARE(QColor(m_shot.pixel(pixel)), rgbOf(colour));
        }
    }

    void focusStartsOnExitAndFollowsTheTabOrder()
    {
        QVERIFY(QTest::qWaitForWindowActive(m_form));
        QTRY_VERIFY(QApplication::focusWidget());
        QStringList seen;
        for (int i = 0; i < 9; ++i) {
            seen << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(seen.join(u' '), QStringLiteral("Command1 Check1 Command2 Command3 Command4 "
                                                 "Command5 Check2 Check3 Command1"));
        QCOMPARE(QList<int>({m_window->value({"Check1"}), m_window->value({"Check2"}),
                             m_window->value({"Check3"})}),
                 QList<int>({0, 1, 1}));
    }

    void writesThatChangeNothingRepaintNothing()
    {
        QWidget *cell = widget(QStringLiteral("bin1(0)"));
        m_window->setCaption({"bin1", 0}, "1");
        m_window->setBackColor({"bin1", 0}, colours::blue);
        QCoreApplication::processEvents();
        const QImage before = cell->grab().toImage();
        m_window->setCaption({"bin1", 0}, "1");
        m_window->setBackColor({"bin1", 0}, colours::blue);
        QCOMPARE(cell->grab().toImage(), before);
        QCOMPARE(QColor(before.pixel(before.width() - 1, before.height() - 1)),
                 rgbOf(colours::blue));
    }

    // The place values of a heading from its word `first` on, each over the
    // centre of its column; month cells share the day columns.
    void placeValuesStandOverTheirColumns()
    {
        QString time[6];
        for (int i = 0; i <= 5; ++i)
            time[5 - i] = QStringLiteral("binmin1(%1)+binsec1(%1)").arg(i) +
                          (i < 5 ? QStringLiteral("+bin1(%1)").arg(i) : QString());
        const QString year = QStringLiteral("Frame39 Frame38 Frame37 Frame36 Frame35 Frame34 "
                                            "Frame33 Frame32 Frame31 Frame30 Frame29");
        const QString day = QStringLiteral("Frame23 Frame22+Frame25 Frame21+Frame26 "
                                           "Frame20+Frame27 Frame19+Frame28");
        const std::tuple<const char *, std::string_view, int, QString, qreal> headings[] = {
            {"Label14", def(QStringLiteral("Label14")).caption, 1, day, 3.0},
            // "32 16" stands closer together than its two columns.
            {"Label6", def(QStringLiteral("Label6")).caption, 1, time[0] + u' ' + time[1], 4.5},
            {"Label6", def(QStringLiteral("Label6")).caption, 3,
             QStringList(time + 2, time + 6).join(u' '), 3.0},
            {"Label15", clock::yearHeadingElevenPlaces, 0, year, 3.0},
            {"Label15", clock::yearHeadingSevenPlaces, 0, year.mid(32), 3.0}};
        for (const auto &[label, caption, first, columns, tolerance] : headings) {
            const auto spans = wordSpans(QString::fromLatin1(label), caption);
            const QStringList cells = columns.split(u' ');
            for (qsizetype i = 0; i < cells.size(); ++i) {
                qreal centre = 0;
                for (const QString &cell : cells[i].split(u'+'))
                    centre += box(cell).center().x() / qreal(cells[i].count(u'+') + 1);
                const auto [left, right] = spans[first + i];
                QVERIFY2(std::abs((left + right) / 2 - centre) <= tolerance, qPrintable(cells[i]));
                QVERIFY(right <= box(QString::fromLatin1(label)).right());
            }
        }
    }

    // "Byte1", "Byte 0" and "Addiert" each lie between the digit cell before
    // them and their own.
    void hexWordsEndBeforeTheirDigitCells()
    {
        for (const char *row :
             {"hex1(2) hexa1(4) hexa1(5) hexa1(3)", "hex1(1) hexa1(8) hexa1(7) hexa1(6)",
              "hex1(0) hexa1(1) hexa1(0) hexa1(2)"}) {
            const QStringList keys = QString::fromLatin1(row).split(u' ');
            const auto spans = wordSpans(keys[0], def(keys[0]).caption);
            const qreal edges[] = {spans[1].first,       spans[1].second,      box(keys[1]).left(),
                                   box(keys[1]).right(), spans[2].first,       spans[3].second,
                                   box(keys[2]).left(),  box(keys[2]).right(), spans[4].first,
                                   spans[4].second,      box(keys[3]).left()};
            QVERIFY2(std::is_sorted(std::begin(edges), std::end(edges)), row);
        }
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
