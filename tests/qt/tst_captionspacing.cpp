// SPDX-License-Identifier: GPL-3.0-or-later
// The runs of spaces in the main window's headings, measured in the face the
// Qt toolkit draws them with (Liberation Sans 11 px): each place value stands
// over its cell column, each hexadecimal word ends before its yellow digit
// cell, and the 4-bit text wraps into its three lines.
#include "convert.h"
#include "elementwidgets.h"
#include "fonts.h"
#include "headings.h"
#include "qttoolkit.h"
#include "ruzozura_window.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QTest>
#include <QTextLayout>
#include <QTextOption>

#include <cmath>
#include <memory>
#include <vector>

using namespace tessaro;

namespace
{

class InertEvents final : public WindowEvents
{
};

using KeyList = QList<QPair<QString, int>>;

ElementKey keyOf(const QByteArray &name, int index)
{
    // The table's names are string literals; find the element's own view.
    for (const ElementDef &e : ruzozuraElements()) {
        if (e.key.index == index &&
            QByteArray::fromRawData(e.key.name.data(), qsizetype(e.key.name.size())) == name)
            return e.key;
    }
    return {};
}

// One laid-out line of a label: its characters and its pixel span.
struct TextLine {
    QString text;
    qreal left = 0;
    qreal right = 0; // end of the last character that is not a space
    qreal top = 0;
    qreal bottom = 0;
};

// Lays the text out as QPainter::drawText(rect, AlignTop | AlignLeft |
// TextWordWrap, text) does: lines as wide as the rectangle, each starting on
// a whole pixel after the font's leading.
std::vector<TextLine> layOut(const QString &text, const QFont &font, const QRect &rect)
{
    QTextLayout layout(text, font);
    QTextOption option(Qt::AlignLeft | Qt::AlignTop);
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    const int leading = QFontMetrics(font).leading();
    std::vector<TextLine> lines;
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width());
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.height();
        const QString characters = text.mid(line.textStart(), line.textLength());
        lines.push_back({characters, rect.left() + line.x(),
                         rect.left() + line.x() + line.naturalTextWidth(), rect.top() + line.y(),
                         rect.top() + line.y() + line.height()});
    }
    layout.endLayout();
    return lines;
}

} // namespace

class CaptionSpacingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void placeValueStandsOverItsColumn_data();
    void placeValueStandsOverItsColumn();
    void hexWordLeavesRoomForItsDigitCell_data();
    void hexWordLeavesRoomForItsDigitCell();
    void fourBitTextSpreadsOverThreeLines();
    void captionStaysOnOneLine_data();
    void captionStaysOnOneLine();

private:
    QWidget *widget(ElementKey key) const { return qt::QtToolkit::elementWidget(*m_window, key); }
    // An element's rectangle in the window's client area, in pixels.
    QRect pixelRect(ElementKey key) const;
    // The rectangle a label lays its text out in.
    QRect textRect(ElementKey key) const;
    // Where the n-th word (counting from 0, split at spaces) of a caption
    // starts and ends when the label draws it.
    QPair<qreal, qreal> span(ElementKey label, const QString &caption, qsizetype from,
                             qsizetype length) const;

    InertEvents m_events;
    std::unique_ptr<qt::QtToolkit> m_toolkit;
    Window *m_window = nullptr;
};

QRect CaptionSpacingTest::pixelRect(ElementKey key) const
{
    const QWidget *w = widget(key);
    return w ? QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()) : QRect();
}

QRect CaptionSpacingTest::textRect(ElementKey key) const
{
    const auto *label = qobject_cast<const qt::LabelWidget *>(widget(key));
    return label ? label->textRect().translated(pixelRect(key).topLeft()) : QRect();
}

QPair<qreal, qreal> CaptionSpacingTest::span(ElementKey label, const QString &caption,
                                             qsizetype from, qsizetype length) const
{
    const QFontMetricsF metrics(widget(label)->font());
    const qreal left = textRect(label).left() + metrics.horizontalAdvance(caption.left(from));
    return {left, left + metrics.horizontalAdvance(caption.mid(from, length))};
}

void CaptionSpacingTest::initTestCase()
{
    const QFontInfo face(qt::font(FontId::Standard));
    QVERIFY2(face.family() == QStringLiteral("Liberation Sans"),
             qPrintable(QStringLiteral("the headings are spaced for Liberation Sans, but the "
                                       "standard font resolves to %1 (install fonts-liberation2)")
                            .arg(face.family())));
    m_toolkit = std::make_unique<qt::QtToolkit>();
    m_window = &m_toolkit->load(ruzozuraWindow(), m_events);
}

void CaptionSpacingTest::placeValueStandsOverItsColumn_data()
{
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("word");
    QTest::addColumn<KeyList>("cells");
    QTest::addColumn<qreal>("tolerance");

    const auto keys = [](std::initializer_list<const char *> names) {
        KeyList list;
        for (const char *name : names)
            list.append({QString::fromLatin1(name), -1});
        return list;
    };
    const auto timeCells = [](int index, bool hours) {
        KeyList list{{QStringLiteral("binmin1"), index}, {QStringLiteral("binsec1"), index}};
        if (hours)
            list.append({QStringLiteral("bin1"), index});
        return list;
    };
    // Each place value within 3 px of its column's centre; the month cells
    // share the day heading.
    const QString day = qt::toQString(findRuzozuraElement({"Label14"})->caption);
    const char *dayValues[] = {"16", "8", "4", "2", "I"};
    const KeyList dayColumns[] = {keys({"Frame23"}), keys({"Frame22", "Frame25"}),
                                  keys({"Frame21", "Frame26"}), keys({"Frame20", "Frame27"}),
                                  keys({"Frame19", "Frame28"})};
    for (int i = 0; i < 5; ++i)
        QTest::addRow("day %s", dayValues[i])
            << QStringLiteral("Label14") << day << i + 1 << dayColumns[i] << 3.0;

    const char *yearCells[] = {"Frame39", "Frame38", "Frame37", "Frame36", "Frame35", "Frame34",
                               "Frame33", "Frame32", "Frame31", "Frame30", "Frame29"};
    const char *yearValues[] = {"1024", "512", "256", "128", "64", "32", "16", "8", "4", "2", "I"};
    const QString eleven = qt::toQString(clock::yearHeadingElevenPlaces);
    const QString seven = qt::toQString(clock::yearHeadingSevenPlaces);
    for (int i = 0; i < 11; ++i)
        QTest::addRow("year to 2047, %s", yearValues[i])
            << QStringLiteral("Label15") << eleven << i << keys({yearCells[i]}) << 3.0;
    for (int i = 4; i < 11; ++i)
        QTest::addRow("year from 2048, %s", yearValues[i])
            << QStringLiteral("Label15") << seven << i - 4 << keys({yearCells[i]}) << 3.0;

    // "32 16" is one segment with a single space; its two values stand 8 px
    // closer together than their columns, so each is up to 4.5 px off.
    const QString time = qt::toQString(findRuzozuraElement({"Label6"})->caption);
    QTest::addRow("time 32") << QStringLiteral("Label6") << time << 1 << timeCells(5, false) << 4.5;
    QTest::addRow("time 16") << QStringLiteral("Label6") << time << 2 << timeCells(4, true) << 4.5;
    const char *timeValues[] = {"8", "4", "2", "I"};
    for (int i = 0; i < 4; ++i)
        QTest::addRow("time %s", timeValues[i])
            << QStringLiteral("Label6") << time << i + 3 << timeCells(3 - i, true) << 3.0;
}

void CaptionSpacingTest::placeValueStandsOverItsColumn()
{
    QFETCH(QString, heading);
    QFETCH(QString, caption);
    QFETCH(int, word);
    QFETCH(KeyList, cells);
    QFETCH(qreal, tolerance);

    const ElementKey label = keyOf(heading.toLatin1(), -1);
    // Find the word: words are separated by runs of spaces.
    qsizetype at = 0;
    for (int n = 0;; ++n) {
        while (at < caption.size() && caption[at] == QLatin1Char(' '))
            ++at;
        QVERIFY2(at < caption.size(), "the caption has fewer words");
        if (n == word)
            break;
        while (at < caption.size() && caption[at] != QLatin1Char(' '))
            ++at;
    }
    qsizetype end = at;
    while (end < caption.size() && caption[end] != QLatin1Char(' '))
        ++end;
    const auto [left, right] = span(label, caption, at, end - at);
    QVERIFY2(right <= textRect(label).right() + 1, "the heading does not fit on its line");

    qreal columnCentre = 0;
    for (const auto &[name, index] : cells)
        columnCentre += QRectF(pixelRect(keyOf(name.toLatin1(), index))).center().x();
    columnCentre /= qreal(cells.size());
    const qreal offset = (left + right) / 2 - columnCentre;
    QVERIFY2(std::abs(offset) <= tolerance,
             qPrintable(QStringLiteral("\"%1\" stands %2 px off its column in \"%3\"")
                            .arg(caption.mid(at, end - at))
                            .arg(offset, 0, 'f', 2)
                            .arg(caption)));
}

void CaptionSpacingTest::hexWordLeavesRoomForItsDigitCell_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("cellBefore"); // -1: the word opens the row
    QTest::addColumn<int>("cellAfter");

    struct Row {
        const char *unit;
        int row;
        int high;
        int low;
        int both;
    };
    for (const Row &r :
         {Row{"hours", 2, 4, 5, 3}, Row{"minutes", 1, 8, 7, 6}, Row{"seconds", 0, 1, 0, 2}}) {
        QTest::addRow("%s Byte1", r.unit) << r.row << QStringLiteral("Byte1") << -1 << r.high;
        QTest::addRow("%s Byte 0", r.unit) << r.row << QStringLiteral("Byte 0") << r.high << r.low;
        QTest::addRow("%s Addiert", r.unit)
            << r.row << QStringLiteral("Addiert") << r.low << r.both;
    }
}

void CaptionSpacingTest::hexWordLeavesRoomForItsDigitCell()
{
    QFETCH(int, row);
    QFETCH(QString, word);
    QFETCH(int, cellBefore);
    QFETCH(int, cellAfter);

    const ElementKey heading = keyOf("hex1", row);
    const QString caption = qt::toQString(findRuzozuraElement(heading)->caption);
    const qsizetype at = caption.indexOf(word);
    QVERIFY(at >= 0);
    const auto [left, right] = span(heading, caption, at, word.size());
    if (cellBefore >= 0) {
        const QRect before = pixelRect(keyOf("hexa1", cellBefore));
        QVERIFY2(left >= before.left() + before.width(),
                 qPrintable(QStringLiteral("\"%1\" starts %2 px under the cell before it")
                                .arg(word)
                                .arg(before.left() + before.width() - left, 0, 'f', 2)));
    }
    const QRect after = pixelRect(keyOf("hexa1", cellAfter));
    QVERIFY2(right <= after.left(),
             qPrintable(QStringLiteral("\"%1\" ends %2 px under its digit cell")
                            .arg(word)
                            .arg(right - after.left(), 0, 'f', 2)));
}

void CaptionSpacingTest::fourBitTextSpreadsOverThreeLines()
{
    const ElementKey label{"Label16"};
    const QRect rect = textRect(label);
    const std::vector<TextLine> lines =
        layOut(qt::toQString(findRuzozuraElement(label)->caption), widget(label)->font(), rect);

    QCOMPARE(int(lines.size()), 3);
    QVERIFY2(lines.back().bottom <= rect.bottom() + 1, "the third line is cut off");
    QCOMPARE(lines[0].text.trimmed(), QStringLiteral("4 Bit System"));
    QVERIFY(lines[1].text.trimmed().startsWith(QStringLiteral("0 bis 15 =16  Stellen")));
    QCOMPARE(lines[2].text.trimmed(), QStringLiteral("danach übertrag in  das nächste Byete"));

    // "4 Bit = 1 Byte" ends the second line, between the strokes of the
    // 4-bit bracket, which start in that line.
    const QString nibble = QStringLiteral("4 Bit = 1 Byte");
    QVERIFY(lines[1].text.trimmed().endsWith(nibble));
    const qreal nibbleRight = lines[1].right;
    const qreal nibbleLeft =
        nibbleRight - QFontMetricsF(widget(label)->font()).horizontalAdvance(nibble);
    const int leftStroke = qt::pixelLine(findRuzozuraElement({"Line3", 0})->rect).x1();
    const int rightStroke = qt::pixelLine(findRuzozuraElement({"Line3", 1})->rect).x1();
    const int strokeTop = qt::pixelLine(findRuzozuraElement({"Line3", 0})->rect).y1();
    QVERIFY(strokeTop >= lines[1].top && strokeTop < lines[1].bottom);
    QVERIFY2(leftStroke < nibbleLeft && nibbleRight < rightStroke,
             qPrintable(QStringLiteral("\"4 Bit = 1 Byte\" spans %1..%2 px, the bracket %3..%4")
                            .arg(nibbleLeft)
                            .arg(nibbleRight)
                            .arg(leftStroke)
                            .arg(rightStroke)));
    // The strokes pass right of the third line.
    QVERIFY(lines[2].right < leftStroke);
    // "Uhrzeit:" lies above the text; it must not cover any of it.
    const QRect heading = pixelRect({"Label9"});
    for (const TextLine &line : lines) {
        const bool sameRows = line.top < heading.bottom() + 1 && heading.top() < line.bottom;
        QVERIFY2(!sameRows || line.right <= heading.left() || heading.right() + 1 <= line.left,
                 qPrintable(line.text.trimmed()));
    }
}

void CaptionSpacingTest::captionStaysOnOneLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index");
    for (const ElementDef &e : ruzozuraElements()) {
        const bool wraps = e.key.name == "Label16" || e.key.name == "Label17";
        if (e.kind != ElementKind::Label || wraps)
            continue;
        const QString name = qt::toQString(e.key.name);
        QTest::newRow(qPrintable(e.key.index < 0 ? name : name + QString::number(e.key.index)))
            << name << e.key.index;
    }
}

// A label that wrapped would lose its second line below its bottom edge.
void CaptionSpacingTest::captionStaysOnOneLine()
{
    QFETCH(QString, name);
    QFETCH(int, index);
    const ElementKey key = keyOf(name.toLatin1(), index);
    const auto *label = qobject_cast<const qt::LabelWidget *>(widget(key));
    QVERIFY(label != nullptr);
    const std::vector<TextLine> lines = layOut(label->caption(), label->font(), textRect(key));
    QVERIFY2(
        lines.size() == 1,
        qPrintable(
            QStringLiteral("\"%1\" wraps onto %2 lines").arg(label->caption()).arg(lines.size())));
}

QTEST_MAIN(CaptionSpacingTest)
#include "tst_captionspacing.moc"
