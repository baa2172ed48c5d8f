// SPDX-License-Identifier: GPL-3.0-or-later
#include "clockface.h"

#include "convert.h"
#include "ruzozura_window.h"

#include <QTimeZone>

#include <array>
#include <span>

namespace tessaro::reliability
{
namespace
{

const QRgb litColour = qRgb(0, 0, 192);
const QRgb darkColour = qRgb(128, 255, 128);
const QRgb windowGreen = qRgb(0, 255, 0);

enum class Cell : std::uint8_t { lit, dark, hidden, unclear };

// The rows as the window shows them, leftmost (highest weight) cell first.
const std::array<ElementKey, 5> dayCells{
    {{"Frame23"}, {"Frame22"}, {"Frame21"}, {"Frame20"}, {"Frame19"}}};
const std::array<ElementKey, 4> monthCells{{{"Frame25"}, {"Frame26"}, {"Frame27"}, {"Frame28"}}};
const std::array<ElementKey, 11> yearCells{{{"Frame39"},
                                            {"Frame38"},
                                            {"Frame37"},
                                            {"Frame36"},
                                            {"Frame35"},
                                            {"Frame34"},
                                            {"Frame33"},
                                            {"Frame32"},
                                            {"Frame31"},
                                            {"Frame30"},
                                            {"Frame29"}}};
const std::array<ElementKey, 5> hourCells{
    {{"bin1", 4}, {"bin1", 3}, {"bin1", 2}, {"bin1", 1}, {"bin1", 0}}};
const std::array<ElementKey, 6> minuteCells{{{"binmin1", 5},
                                             {"binmin1", 4},
                                             {"binmin1", 3},
                                             {"binmin1", 2},
                                             {"binmin1", 1},
                                             {"binmin1", 0}}};
const std::array<ElementKey, 6> secondCells{{{"binsec1", 5},
                                             {"binsec1", 4},
                                             {"binsec1", 3},
                                             {"binsec1", 2},
                                             {"binsec1", 1},
                                             {"binsec1", 0}}};
constexpr std::size_t hiddenYearCells = 4;
constexpr int sevenCellOffset = 2000;

QString nameOf(ElementKey key)
{
    const QString name = QString::fromUtf8(key.name.data(), qsizetype(key.name.size()));
    return key.index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(key.index);
}

// A cell's state from the pixels inside its edge. Time cells carry a white
// "0" or "1", so only the three background colours are counted; a cell that
// shows more than one of them is unclear.
Cell cellState(const QImage &shot, ElementKey key)
{
    const ElementDef *def = findRuzozuraElement(key);
    if (!def)
        return Cell::unclear;
    const QRect inner = qt::pixelRect(def->rect).adjusted(1, 1, -1, -1);
    int lit = 0;
    int dark = 0;
    int green = 0;
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        for (int x = inner.left(); x <= inner.right(); ++x) {
            const QRgb pixel = shot.pixel(x, y) | 0xFF000000u;
            lit += pixel == litColour;
            dark += pixel == darkColour;
            green += pixel == windowGreen;
        }
    }
    if ((lit > 0) + (dark > 0) + (green > 0) != 1)
        return Cell::unclear;
    return lit > 0 ? Cell::lit : dark > 0 ? Cell::dark : Cell::hidden;
}

// Reads a row of visible cells as a number; leaves a fault on an unclear or
// hidden cell.
std::optional<int> rowValue(const QImage &shot, std::span<const ElementKey> cells, QString &fault)
{
    int value = 0;
    for (const ElementKey &key : cells) {
        const Cell state = cellState(shot, key);
        if (state == Cell::unclear || state == Cell::hidden) {
            fault = QStringLiteral("cell %1 is %2")
                        .arg(nameOf(key), state == Cell::hidden
                                              ? QStringLiteral("hidden")
                                              : QStringLiteral("neither lit nor dark"));
            return std::nullopt;
        }
        value = value * 2 + (state == Cell::lit ? 1 : 0);
    }
    return value;
}

// The year from the eleven cells, or from the seven right ones when the
// four left ones are hidden.
std::optional<int> yearValue(const QImage &shot, bool &sevenCells, QString &fault)
{
    int hidden = 0;
    for (std::size_t i = 0; i < hiddenYearCells; ++i)
        hidden += cellState(shot, yearCells[i]) == Cell::hidden;
    if (hidden != 0 && hidden != int(hiddenYearCells)) {
        fault = QStringLiteral("%1 of the four left year cells are hidden").arg(hidden);
        return std::nullopt;
    }
    sevenCells = hidden != 0;
    if (!sevenCells)
        return rowValue(shot, yearCells, fault);
    const std::optional<int> value =
        rowValue(shot, std::span(yearCells).subspan(hiddenYearCells), fault);
    return value ? std::optional<int>(*value + sevenCellOffset) : std::nullopt;
}

QString rangeFault(const ShownTime &t)
{
    if (!QDate(t.year, t.month, t.day).isValid())
        return QStringLiteral("no such date");
    if (t.hour > 23 || t.minute > 59 || t.second > 59)
        return QStringLiteral("no such time of day");
    if (t.sevenCellYear != (t.year >= 2048))
        return t.sevenCellYear ? QStringLiteral("seven year cells before 2048")
                               : QStringLiteral("eleven year cells from 2048 on");
    return {};
}

} // namespace

QString ShownTime::text() const
{
    return QStringLiteral("%1.%2.%3 %4:%5:%6 (%7 year cells)")
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(year)
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(minute, 2, 10, QLatin1Char('0'))
        .arg(second, 2, 10, QLatin1Char('0'))
        .arg(sevenCellYear ? 7 : 11);
}

QDateTime ShownTime::toDateTime(const QTimeZone &zone) const
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), zone);
}

FaceReading readClockFace(const QImage &shot)
{
    FaceReading reading;
    ShownTime t;
    const auto day = rowValue(shot, dayCells, reading.fault);
    const auto month = day ? rowValue(shot, monthCells, reading.fault) : std::nullopt;
    const auto year = month ? yearValue(shot, t.sevenCellYear, reading.fault) : std::nullopt;
    const auto hour = year ? rowValue(shot, hourCells, reading.fault) : std::nullopt;
    const auto minute = hour ? rowValue(shot, minuteCells, reading.fault) : std::nullopt;
    const auto second = minute ? rowValue(shot, secondCells, reading.fault) : std::nullopt;
    if (!second)
        return reading;
    t.day = *day;
    t.month = *month;
    t.year = *year;
    t.hour = *hour;
    t.minute = *minute;
    t.second = *second;
    reading.fault = rangeFault(t);
    if (reading.fault.isEmpty())
        reading.time = t;
    else
        reading.fault += QStringLiteral(": ") + t.text();
    return reading;
}

ShownTime expectedFace(const QDateTime &moment, const QTimeZone &zone)
{
    const QDateTime local = moment.toTimeZone(zone);
    const QDate date = local.date();
    const QTime time = local.time();
    return {date.day(),    date.month(),  date.year(),        time.hour(),
            time.minute(), time.second(), date.year() >= 2048};
}

} // namespace tessaro::reliability
