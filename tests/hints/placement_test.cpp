#include "hints/hint_placement.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace hints;

namespace {

const QSize kScreen(1280, 1024);

struct PlaceCase
{
    const char* name;
    QPoint proposed; // window top-left before fitting (size 100 × 20)
    QPoint pointer;
    bool tail;
    QPoint expected;
};

void PrintTo(const PlaceCase& c, std::ostream* os)
{
    *os << c.name;
}

class PlaceHintTest : public ::testing::TestWithParam<PlaceCase>
{ };

TEST_P(PlaceHintTest, FitsToTheScreen)
{
    const PlaceCase& c = GetParam();
    EXPECT_EQ(PlaceHint(QRect(c.proposed, QSize(100, 20)), c.pointer, kScreen, c.tail), c.expected)
        << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, PlaceHintTest,
    ::testing::Values(
        PlaceCase { "room everywhere", { 500, 532 }, { 500, 500 }, false, { 500, 532 } },
        // Bottom edge: moved up to end at the edge; still below the pointer.
        PlaceCase { "bottom, stays below", { 500, 1030 }, { 500, 998 }, false, { 500, 1004 } },
        // Bottom edge: the moved-up hint would reach the pointer's row, so it goes above.
        PlaceCase { "bottom, goes above", { 500, 1042 }, { 500, 1010 }, false, { 500, 987 } },
        PlaceCase {
            "bottom, top equals pointer", { 500, 1036 }, { 500, 1004 }, false, { 500, 981 } },
        // Right edge likewise.
        PlaceCase { "right, stays right", { 1200, 532 }, { 1100, 500 }, false, { 1180, 532 } },
        PlaceCase { "right, goes left", { 1250, 532 }, { 1250, 500 }, false, { 1147, 532 } },
        // Left edge: clamped to 0, unless the hint then reaches the pointer's column.
        PlaceCase { "left, clamped", { -50, 532 }, { 200, 500 }, false, { 0, 532 } },
        PlaceCase { "left, partly off", { -50, 532 }, { 30, 500 }, false, { -71, 532 } },
        PlaceCase { "left, width equals x", { -50, 532 }, { 100, 500 }, false, { -1, 532 } },
        // Top edge likewise.
        PlaceCase { "top, clamped", { 500, -10 }, { 500, 40 }, false, { 500, 0 } },
        PlaceCase { "top, partly off", { 500, -10 }, { 500, 15 }, false, { 500, -6 } },
        // Bottom-right corner: above and left of the pointer.
        PlaceCase { "corner bottom-right", { 1270, 1040 }, { 1270, 1008 }, false, { 1167, 985 } },
        // With a tail: first above and right of the pointer.
        PlaceCase { "tail", { 500, 532 }, { 500, 500 }, true, { 501, 477 } },
        PlaceCase { "tail near the top keeps the proposed top", { 500, 42 }, { 500, 10 }, true,
            { 501, 42 } },
        PlaceCase { "tail at the right edge", { 1270, 532 }, { 1270, 500 }, true, { 1167, 477 } }));

struct QuadrantCase
{
    QRect placed;
    QPoint pointer;
    TQuadrant expected;
};

void PrintTo(const QuadrantCase& c, std::ostream* os)
{
    *os << "quadrant " << int(c.expected);
}

class HintQuadrantTest : public ::testing::TestWithParam<QuadrantCase>
{ };

TEST_P(HintQuadrantTest, RelativeToThePointer)
{
    EXPECT_EQ(HintQuadrant(GetParam().placed, GetParam().pointer), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, HintQuadrantTest,
    ::testing::Values(QuadrantCase { { 500, 532, 100, 20 }, { 500, 500 }, BelowRight },
        QuadrantCase { { 501, 477, 100, 20 }, { 500, 500 }, AboveRight },
        QuadrantCase { { 397, 477, 100, 20 }, { 500, 500 }, AboveLeft },
        QuadrantCase { { 397, 532, 100, 20 }, { 500, 500 }, BelowLeft },
        // Bottom edge exactly on the pointer's row is not above; right edge on its column is
        // not left.
        QuadrantCase { { 400, 480, 100, 20 }, { 500, 500 }, BelowRight }));

} // namespace
