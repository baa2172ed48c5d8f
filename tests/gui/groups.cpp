// SPDX-License-Identifier: GPL-3.0-or-later
#include "groups.h"

#include "ruzozura_keys.h"
#include "screenshot_decoder.h"

#include <QList>
#include <QRect>

using namespace Qt::StringLiterals;

namespace tessaro::guitest
{

namespace
{

// Ink (text, a border, a line) that shows only while the group shows, or
// only while it is hidden, or yellow that shows only while it shows.
enum Mark { inkWhileShown, inkWhileHidden, yellowWhileShown };
using Probes = QList<std::pair<Mark, QRect>>;

using screenshot::elementRect;
using namespace ruzozura;

// Where a right-aligned readout's border crosses its row.
QRect leftEdge(ElementKey key)
{
    const QRect r = elementRect(key);
    return {r.left() - 1, r.center().y() - 2, 3, 5};
}

Probes probes(Group group)
{
    Probes found;
    switch (group) {
    case Group::DecimalReadouts:
        // The title reads "Uhr" beside the decimal readouts, else "Stunden".
        found.append({inkWhileHidden, elementRect(Label1).adjusted(25, 2, -5, -2)});
        for (ElementKey readout : {Stunde, z2, se, Tag1, Monat, Jahr})
            found.append({inkWhileShown, leftEdge(readout)});
        break;
    case Group::Explanations:
        // Two texts, the first lines of the 4-bit text, the byte bracket's top
        // and left strokes, and the foot of the 4-bit bracket's left stroke.
        for (const QRect &r :
             {elementRect(Label18), elementRect(Label17), QRect(12, 120, 130, 46),
              QRect(130, 26, 160, 3), QRect(119, 35, 3, 40), QRect(203, 300, 3, 5)})
            found.append({inkWhileShown, r});
        break;
    case Group::Hexadecimal:
        found.append({inkWhileShown, leftEdge(hex1[0])});
        found.append({inkWhileShown, leftEdge(hex1[2])});
        for (int index = 0; index <= 8; ++index)
            found.append({yellowWhileShown, elementRect(hexa1[index])});
        break;
    }
    return found;
}

} // namespace

QString groupMismatch(const QImage &shot, Group group, bool shown)
{
    QString wrong;
    for (const auto &[mark, r] : probes(group)) {
        const bool marked = mark == yellowWhileShown ? screenshot::showsColour(shot, r, Qt::yellow)
                                                     : screenshot::showsInk(shot, r);
        if (marked != (shown == (mark != inkWhileHidden)))
            wrong += u" (%1,%2)"_s.arg(r.x()).arg(r.y());
    }
    return wrong;
}

} // namespace tessaro::guitest
