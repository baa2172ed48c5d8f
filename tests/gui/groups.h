// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

namespace tessaro::guitest
{

// The groups of elements that the three check boxes show and hide.
enum class Group {
    DecimalReadouts, // Check1, hidden at start
    Explanations,    // Check2, shown at start
    Hexadecimal,     // Check3, shown at start
};

// Where a screenshot shows the group otherwise than shown or hidden, as
// "(x,y)" of each place; empty if it shows it as expected.
QString groupMismatch(const QImage &shot, Group group, bool shown);

} // namespace tessaro::guitest
