#include "results/results_table.h"

#include "results/io_error.h"
#include "support/recording_view.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using results::HitRecord;
using results::HitsFile;
using results::ListView1ColumnClick;
using results::ListView1Compare;
using results::SortState;

namespace {

class ResultsTableTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        file.OpenAtStartup(dir.filePath(QStringLiteral("hits.dat")));
        view.compare
            = [this](const QString& a, const QString& b) { return ListView1Compare(state, a, b); };
    }
    void append(const QString& time, const QString& name)
    {
        HitRecord r;
        r.setName(name);
        r.setTime(time);
        r.setDate(QStringLiteral("08.12.2026 14:08:09"));
        file.Append(r);
    }
    void click(int column)
    {
        view.calls.clear();
        ListView1ColumnClick(view, state, column);
        EXPECT_EQ(view.calls, QStringList { "SortResultRows()" });
    }

    QTemporaryDir dir;
    HitsFile file;
    HitRecord buffer;
    SortState state;
    RecordingView view;
};

} // namespace

TEST_F(ResultsTableTest, FillListsEveryRecordInFileOrderThenShowsTheHitsPage)
{
    append(QStringLiteral("1:28:92"), QStringLiteral("Анна"));
    append(QStringLiteral("5:59:99"), QStringLiteral("Борис (истекло время)"));
    view.rows.push_back({ "old", "row", "gone" });

    results::FillResultsTable(view, file, buffer);

    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.calls,
        QStringList({ "ClearResultRows()",
            QStringLiteral("AddResultRow(1:28:92,Анна,%1)").arg(view.rows[0].date),
            QStringLiteral("AddResultRow(5:59:99,Борис (истекло время),%1)").arg(view.rows[1].date),
            "ShowPage(2)" }));
    EXPECT_EQ(view.rows[0].time, QStringLiteral("1:28:92"));
    EXPECT_EQ(view.rows[0].name, QStringLiteral("Анна"));
    EXPECT_EQ(view.rows[0].date, QStringLiteral("08.12.2026 14:08:09"));
    EXPECT_EQ(view.rows[1].name, QStringLiteral("Борис (истекло время)"));
}

TEST_F(ResultsTableTest, AnEmptyFileGivesAnEmptyList)
{
    results::FillResultsTable(view, file, buffer);
    EXPECT_EQ(view.calls, QStringList({ "ClearResultRows()", "ShowPage(2)" }));
    EXPECT_TRUE(view.rows.empty());
}

TEST_F(ResultsTableTest, AFailedFillLeavesThePageAlone)
{
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("hits.dat"))));
    EXPECT_THROW(results::FillResultsTable(view, file, buffer), results::EInOutError);
    EXPECT_EQ(view.calls, QStringList { "ClearResultRows()" });
}

TEST_F(ResultsTableTest, HeaderClicksSortByTimeAndARefillIsUnsortedAgain)
{
    append(QStringLiteral("1:28:92"), QStringLiteral("Анна"));
    append(QStringLiteral("5:59:99"), QStringLiteral("Борис"));
    append(QStringLiteral("0:45:07"), QStringLiteral("Вера"));
    append(QStringLiteral("2:00:00"), QStringLiteral("Глеб"));
    results::FillResultsTable(view, file, buffer);
    const QStringList fileOrder { "1:28:92", "5:59:99", "0:45:07", "2:00:00" };
    const QStringList longestFirst { "5:59:99", "2:00:00", "1:28:92", "0:45:07" };
    const QStringList shortestFirst { "0:45:07", "1:28:92", "2:00:00", "5:59:99" };
    ASSERT_EQ(view.captions(), fileOrder);

    click(1); // "Имя"
    EXPECT_EQ(view.captions(), longestFirst);
    EXPECT_EQ(state.SortColumn, 1);
    EXPECT_FALSE(state.SortAscending);
    click(1); // "Имя" again
    EXPECT_EQ(view.captions(), shortestFirst);
    EXPECT_TRUE(state.SortAscending);
    click(2); // "Дата"
    EXPECT_EQ(view.captions(), longestFirst);
    EXPECT_EQ(state.SortColumn, 2);
    // The names travel with their times.
    EXPECT_EQ(view.rows[0].name, QStringLiteral("Борис"));

    // A new game's refill shows file order; the next click goes on from the remembered state.
    append(QStringLiteral("0:10:00"), QStringLiteral("Дина"));
    results::FillResultsTable(view, file, buffer);
    EXPECT_EQ(view.captions(), fileOrder + QStringList { "0:10:00" });
    click(2);
    EXPECT_EQ(view.captions(), QStringList({ "0:10:00" }) + shortestFirst);
}

TEST_F(ResultsTableTest, AFirstClickOnTheTimeColumnSortsShortestFirst)
{
    append(QStringLiteral("5:59:99"), QStringLiteral("Борис"));
    append(QStringLiteral("1:28:92"), QStringLiteral("Анна"));
    results::FillResultsTable(view, file, buffer);
    click(0);
    EXPECT_TRUE(state.SortAscending);
    EXPECT_EQ(view.captions(), QStringList({ "1:28:92", "5:59:99" }));
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
