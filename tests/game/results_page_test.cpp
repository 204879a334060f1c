// The results page: filled from hits.dat in file order, sorted by header clicks.
#include "game_fixture.h"

#include "results/io_error.h"

#include <QFile>

namespace {

class ResultsPage : public GameFixture
{
protected:
    void SetUp() override
    {
        game.FormCreate();
        view.take();
    }
    void append(const QString& time, const QString& name)
    {
        results::HitRecord r;
        r.setName(name);
        r.setTime(time);
        r.setDate(QStringLiteral("08.12.2026 14:08:09"));
        game.hitsFile().Append(r);
    }
    QStringList names() const
    {
        QStringList out;
        for (const auto& row : view.rows)
            out << row.name;
        return out;
    }
};

} // namespace

TEST_F(ResultsPage, ListsEveryRecordInFileOrderThenShowsTheResults)
{
    append(QStringLiteral("1:28:92"), QStringLiteral("Анна"));
    append(QStringLiteral("5:59:99"), QStringLiteral("Борис (истекло время)"));
    view.rows.push_back({ "old", "row", "gone" });

    game.BitBtn4Click();

    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.captions(), QStringList({ "1:28:92", "5:59:99" }));
    EXPECT_EQ(names(), QStringList({ "Анна", "Борис (истекло время)" }));
    EXPECT_EQ(view.rows[0].date, QStringLiteral("08.12.2026 14:08:09"));
    EXPECT_EQ(view.page, 2);
}

TEST_F(ResultsPage, AnEmptyFileGivesAnEmptyList)
{
    view.page = 0;
    game.BitBtn4Click();
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.page, 2);
}

TEST_F(ResultsPage, AFailedFillKeepsTheRowsReadSoFarAndThePage)
{
    append(QStringLiteral("1:28:92"), QStringLiteral("Анна"));
    append(QStringLiteral("5:59:99"), QStringLiteral("Борис"));
    view.page = 0;
    // The file shrinks while it is read: the first record arrives, the second no longer does.
    int added = 0;
    view.onCall = [&](const QString& call) {
        if (call.startsWith(QStringLiteral("AddResultRow")) && ++added == 1)
            QFile::resize(dir.filePath(QStringLiteral("hits.dat")), 100);
    };
    EXPECT_THROW(game.BitBtn4Click(), results::EInOutError);
    EXPECT_EQ(names(), QStringList({ "Анна" }));
    EXPECT_EQ(view.page, 0);

    // A missing file fails at once and leaves an empty list on the same page.
    view.onCall = nullptr;
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("hits.dat"))));
    EXPECT_THROW(game.BitBtn4Click(), results::EInOutError);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_EQ(view.page, 0);
}

TEST_F(ResultsPage, HeaderClicksSortByTimeAndARefillIsUnsortedAgain)
{
    append(QStringLiteral("1:28:92"), QStringLiteral("Анна"));
    append(QStringLiteral("5:59:99"), QStringLiteral("Борис"));
    append(QStringLiteral("0:45:07"), QStringLiteral("Вера"));
    append(QStringLiteral("2:00:00"), QStringLiteral("Глеб"));
    game.BitBtn4Click();
    const QStringList fileOrder { "1:28:92", "5:59:99", "0:45:07", "2:00:00" };
    const QStringList longestFirst { "5:59:99", "2:00:00", "1:28:92", "0:45:07" };
    const QStringList shortestFirst { "0:45:07", "1:28:92", "2:00:00", "5:59:99" };
    ASSERT_EQ(view.captions(), fileOrder);

    game.ListView1ColumnClick(1); // "Имя"
    EXPECT_EQ(view.captions(), longestFirst);
    game.ListView1ColumnClick(1); // "Имя" again
    EXPECT_EQ(view.captions(), shortestFirst);
    game.ListView1ColumnClick(2); // "Дата"
    EXPECT_EQ(view.captions(), longestFirst);
    // The names travel with their times.
    EXPECT_EQ(names(), QStringList({ "Борис", "Глеб", "Анна", "Вера" }));

    // A new game's refill shows file order; the next click goes on from the remembered state.
    append(QStringLiteral("0:10:00"), QStringLiteral("Дина"));
    game.BitBtn4Click();
    EXPECT_EQ(view.captions(), fileOrder + QStringList { "0:10:00" });
    game.ListView1ColumnClick(2);
    EXPECT_EQ(view.captions(), QStringList({ "0:10:00" }) + shortestFirst);
}

TEST_F(ResultsPage, AFirstClickOnTheTimeColumnSortsShortestFirst)
{
    append(QStringLiteral("5:59:99"), QStringLiteral("Борис"));
    append(QStringLiteral("1:28:92"), QStringLiteral("Анна"));
    game.BitBtn4Click();
    game.ListView1ColumnClick(0);
    EXPECT_EQ(view.captions(), QStringList({ "1:28:92", "5:59:99" }));
}
