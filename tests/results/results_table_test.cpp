// The sort rule of the results list.
#include "results/results_table.h"

#include <gtest/gtest.h>

using results::ColumnClicked;
using results::ListView1Compare;
using results::SortState;

namespace {

TEST(ColumnClickTest, TheSameColumnFlipsTheDirectionAnotherStartsLongestFirst)
{
    SortState state;
    ColumnClicked(state, 0); // the time column, clicked first: it was the remembered column
    EXPECT_EQ(state.SortColumn, 0);
    EXPECT_TRUE(state.SortAscending);
    ColumnClicked(state, 0);
    EXPECT_FALSE(state.SortAscending);
    ColumnClicked(state, 0);
    EXPECT_TRUE(state.SortAscending);
    ColumnClicked(state, 2);
    EXPECT_EQ(state.SortColumn, 2);
    EXPECT_FALSE(state.SortAscending);
    ColumnClicked(state, 1);
    EXPECT_EQ(state.SortColumn, 1);
    EXPECT_FALSE(state.SortAscending);
    ColumnClicked(state, 1);
    EXPECT_TRUE(state.SortAscending);
}

struct CompareCase
{
    const char* first;
    const char* second;
    int ascending; // the result with SortAscending true; false gives its negation
};

class CompareTest : public testing::TestWithParam<CompareCase>
{ };

TEST_P(CompareTest, DigitsJoinedAndComparedAsNumbers)
{
    const CompareCase c = GetParam();
    const QString a = QString::fromUtf8(c.first), b = QString::fromUtf8(c.second);
    EXPECT_EQ(ListView1Compare(SortState { 0, true }, a, b), c.ascending);
    EXPECT_EQ(ListView1Compare(SortState { 0, false }, a, b), -c.ascending);
}

INSTANTIATE_TEST_SUITE_P(Captions, CompareTest,
    testing::Values(CompareCase { "1:28:92", "5:59:99", -1 },
        CompareCase { "5:59:99", "1:28:92", 1 }, CompareCase { "1:28:92", "1:28:92", 0 },
        CompareCase { "0:59:99", "1:00:00", -1 }, // 5999 < 10000
        CompareCase { "0:00:05", "5", 0 }, // leading zeros do not count
        CompareCase { "", "0:00:00", 0 }, // no digits reads as 0
        CompareCase { "время", "0:00:01", -1 }, CompareCase { "1a2b3", "123", 0 },
        // Far beyond 64 bits: still ordered exactly, nothing overflows.
        CompareCase { "99999999999999999999999", "5:59:99", 1 },
        CompareCase { "99999999999999999999998", "99999999999999999999999", -1 },
        CompareCase { "9223372036854775807", "9223372036854775808", -1 },
        // Only ASCII digits count (Arabic-Indic ٣ is dropped).
        CompareCase { "\u0663", "", 0 }));

} // namespace
