// SPDX-License-Identifier: GPL-3.0-or-later
// Painting a value onto a row of bit cells.

#include "recording_window.h"
#include "rows.h"
#include "ruzozura_window.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

namespace tessaro
{
namespace
{

using testing::RecordingWindow;

constexpr clock::CellColours lightsOnOff{0x0000FF, 0x80FF80};

struct NamedRow {
    const char *name;
    clock::BitRow row;
};
std::ostream &operator<<(std::ostream &out, const NamedRow &r)
{
    return out << r.name;
}

const NamedRow allRows[] = {
    {"hours", clock::rows::hours},     {"minutes", clock::rows::minutes},
    {"seconds", clock::rows::seconds}, {"day", clock::rows::day},
    {"month", clock::rows::month},     {"year", clock::rows::year},
};

int rowSum(clock::BitRow row)
{
    return std::accumulate(row.begin(), row.end(), 0,
                           [](int sum, const clock::BitCell &c) { return sum + c.weight; });
}

// Checks colour, caption and accessible name of every cell against the set
// of lit weights.
void expectCells(const RecordingWindow &window, clock::BitRow row, int litWeights)
{
    for (const clock::BitCell &cell : row) {
        SCOPED_TRACE(testing::Key(cell.key));
        const bool lit = (litWeights & cell.weight) != 0;
        EXPECT_EQ(window.backColorOf(cell.key), lit ? lightsOnOff.lit : lightsOnOff.dark);
        if (cell.textCell)
            EXPECT_EQ(window.captionOf(cell.key), lit ? "1" : "0");
        else
            EXPECT_EQ(window.captionOf(cell.key), std::nullopt) << "date cells show no text";
        EXPECT_EQ(window.accessibleNameOf(cell.key),
                  std::string(cell.accessibleBase) + (lit ? ", an" : ", aus"));
    }
}

class BitRowTest : public ::testing::TestWithParam<NamedRow>
{
};

TEST_P(BitRowTest, EveryValueInRangeLightsExactlyItsOneBits)
{
    const clock::BitRow row = GetParam().row;
    for (int value = 0; value <= rowSum(row); ++value) {
        SCOPED_TRACE(value);
        RecordingWindow window(ruzozuraElements());
        clock::PaintBitRow(value, row, window, lightsOnOff);
        expectCells(window, row, value);
    }
}

TEST_P(BitRowTest, ValuesAboveTheRowLightEveryCellAndNegativeOnesNone)
{
    const clock::BitRow row = GetParam().row;
    const int all = rowSum(row);
    for (const auto &[value, lit] :
         {std::pair{all + 1, all}, {all + 9, all}, {2 * all + 1, all}, {30000, all}, {-1, 0}}) {
        SCOPED_TRACE(value);
        RecordingWindow window(ruzozuraElements());
        clock::PaintBitRow(value, row, window, lightsOnOff);
        expectCells(window, row, lit);
    }
}

TEST_P(BitRowTest, CellsMatchTheWindowTable)
{
    for (const clock::BitCell &cell : GetParam().row) {
        SCOPED_TRACE(testing::Key(cell.key));
        const ElementDef *def = findRuzozuraElement(cell.key);
        ASSERT_NE(def, nullptr);
        EXPECT_EQ(def->kind, cell.textCell ? ElementKind::Label : ElementKind::CellFrame);
        EXPECT_EQ(def->accessibleName, cell.accessibleBase);
    }
}

INSTANTIATE_TEST_SUITE_P(AllRows, BitRowTest, ::testing::ValuesIn(allRows),
                         [](const auto &testParam) { return std::string(testParam.param.name); });

} // namespace
} // namespace tessaro
