// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenshot_decoder.h"

#include "infotessaro_window.h"
#include "ruzozura_window.h"
#include "windowmodel.h"

#include <QHash>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace tessaro::screenshot
{

QRect elementRect(ElementKey key, double ratio)
{
    const ElementDef *def = findRuzozuraElement(key);
    if (!def)
        return {};
    const DeviceEdges e = deviceEdges(tessaro::pixelRect(def->rect), ratio);
    return {e.left, e.top, e.right - e.left, e.bottom - e.top};
}

QPoint aboutCentre(ElementKey key)
{
    for (const ElementDef &def : infotessaroWindow().elements)
        if (const PixelRect r = tessaro::pixelRect(def.rect); def.key == key)
            return QRect(r.left, r.top, r.width, r.height).center();
    return {};
}

namespace
{

// The pixels of the rectangle that lie in the screenshot, with the alpha
// channel of a 32-bit screenshot ignored.
template <typename Visit> void forEachPixel(const QImage &shot, const QRect &rect, Visit visit)
{
    const QRect inside = rect & shot.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            visit(shot.pixel(x, y) | 0xFF000000u);
}

} // namespace

QColor mainColour(const QImage &shot, const QRect &rect)
{
    QHash<QRgb, int> counts;
    forEachPixel(shot, rect.adjusted(1, 1, -1, -1), [&](QRgb pixel) { ++counts[pixel]; });
    QRgb most = 0;
    int mostCount = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > mostCount) {
            most = it.key();
            mostCount = it.value();
        }
    return mostCount > 0 ? QColor(most) : QColor();
}

bool showsColour(const QImage &shot, const QRect &rect, QColor colour)
{
    bool seen = false;
    forEachPixel(shot, rect, [&](QRgb pixel) { seen = seen || pixel == colour.rgb(); });
    return seen;
}

bool showsInk(const QImage &shot, const QRect &rect)
{
    bool seen = false;
    forEachPixel(shot, rect, [&](QRgb pixel) { seen = seen || qGray(pixel) < 110; });
    return seen;
}

QString faceText(const QDateTime &local)
{
    return local.toString(u"dd.MM.yyyy HH:mm:ss"_s) +
           (local.date().year() >= 2048 ? u" (7 year cells)"_s : u" (11 year cells)"_s);
}

namespace
{

// The rows as the window shows them, highest weight on the left: day, month,
// year, hours, minutes, seconds.
const clock::ClockLayout &layout = ruzozuraClockLayout();
const clock::BitRow faceRows[] = {layout.day.cells,         layout.month.cells,
                                  layout.year.cells,        layout.hours.row.cells,
                                  layout.minutes.row.cells, layout.seconds.row.cells};

// A cell as '1' lit, '0' dark, '-' green or '?' (none or more of these) inside
// its edge; other colours, as of the "0" or "1" on time cells, do not count.
QChar readCell(const QImage &shot, ElementKey key, QColor lit, double ratio)
{
    int seen = 0;
    forEachPixel(shot, elementRect(key, ratio).adjusted(1, 1, -1, -1), [&](QRgb pixel) {
        seen |= int(pixel == lit.rgb()) | int(pixel == dark.rgb()) << 1 |
                int(pixel == windowGreen.rgb()) << 2;
    });
    return u"?10?-???"_s.at(seen);
}

} // namespace

std::optional<QString> readFace(const QImage &shot, QString &fault, QColor lit, double ratio)
{
    QStringList cells;
    for (const clock::BitRow row : faceRows) {
        cells << QString();
        for (const clock::BitCell &cell : row)
            cells.back() += readCell(shot, cell.key, lit, ratio);
    }
    fault = u"cells "_s + cells.join(u' ');
    const bool seven = cells[2].startsWith(u"----"_s);
    int v[6] = {};
    for (int i = 0; i < 6; ++i) {
        const QString bits = i == 2 && seven ? cells[2].mid(4) : cells[i];
        if (bits.count(u'0') + bits.count(u'1') != bits.size())
            return std::nullopt;
        v[i] = bits.toInt(nullptr, 2);
    }
    const QDateTime shown(QDate(v[2] + (seven ? 2000 : 0), v[1], v[0]), QTime(v[3], v[4], v[5]),
                          QTimeZone::utc());
    if (!shown.isValid() || seven != (shown.date().year() >= 2048))
        return std::nullopt;
    fault.clear();
    return faceText(shown);
}

} // namespace tessaro::screenshot
