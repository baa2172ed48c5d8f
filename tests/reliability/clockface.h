// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

#include <optional>

namespace tessaro::reliability
{

// The date and time that the six bit rows of a screenshot show.
struct ShownTime {
    int day = 0;
    int month = 0;
    int year = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool sevenCellYear = false; // the four leftmost year cells are hidden

    friend bool operator==(const ShownTime &, const ShownTime &) = default;

    [[nodiscard]] QString text() const;
    // The shown time as a moment of the given zone's local time (the clock
    // shows local time; a UTC clock gives the moment itself).
    [[nodiscard]] QDateTime toDateTime(const QTimeZone &zone) const;
};

// The rows read from a screenshot of the main window, or what is wrong with
// them: a cell in a colour other than lit, dark or (for the four hidden year
// cells) the window's green; values out of range; a date that does not exist;
// or a year row whose form does not fit the year.
struct FaceReading {
    std::optional<ShownTime> time;
    QString fault;
};

FaceReading readClockFace(const QImage &shot);

// What the clock should show at a moment, in a zone's local time.
ShownTime expectedFace(const QDateTime &moment, const QTimeZone &zone);

} // namespace tessaro::reliability
