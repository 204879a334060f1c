#include "game_fixture.h"

#include "results/io_error.h"

#include <QDir>
#include <QFile>

using game::Control;

class PageFlow : public GameFixture
{ };

TEST_F(PageFlow, FormCreateInOrderCreatesHitsFileAndShowsTheStartPage)
{
    const QString path = dir.filePath("hits.dat");
    ASSERT_FALSE(QFile::exists(path));
    game.FormCreate();
    const QStringList calls = view.take();
    ASSERT_GE(calls.size(), 4);
    EXPECT_EQ(calls[0], "SetHintAppearance(0,1,off,2)");
    EXPECT_EQ(calls[1], "ShowPage(0)");
    EXPECT_EQ(calls[2], "ClearResultRows()");
    EXPECT_EQ(calls.last(), "RepaintNow(Form1)"); // the deal ends the visible steps
    EXPECT_EQ(s.ClockHundredths, 100);
    EXPECT_EQ(s.PairsLeft, 10);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile(path).size(), 0);
    EXPECT_TRUE(game.hitsFile().isOpen());
    EXPECT_FALSE(view.timerOn[RecordingView::at(Control::Timer1)]);
    EXPECT_FALSE(view.timerOn[RecordingView::at(Control::Timer2)]);
}

TEST_F(PageFlow, StartTakesTheFirst30CharactersAndStartsTheClock)
{
    game.FormCreate();
    const auto board = s.CardValue;
    view.editText = QString(40, u'Щ');
    view.take();
    game.BitBtn1Click();
    const QStringList calls = view.take();
    ASSERT_EQ(calls.size(), 2 + 20 + 2);
    EXPECT_EQ(calls[0], "GetEditText(Edit4)");
    EXPECT_EQ(calls[1], QStringLiteral("SetLabelText(Label6,%1)").arg(QString(30, u'Щ')));
    EXPECT_EQ(calls[2], "SetCardEnabled(Image1,on)");
    EXPECT_EQ(calls[22], "ShowPage(1)");
    EXPECT_EQ(calls[23], "SetTimerEnabled(Timer2,on)");
    EXPECT_EQ(s.PlayerName.size(), 30);
    EXPECT_EQ(s.ClockHundredths, 99);
    EXPECT_EQ(s.CardValue, board); // not dealt again

    view.editText.clear();
    game.BitBtn1Click();
    EXPECT_EQ(s.PlayerName, "");
}

TEST_F(PageFlow, ResultsPlayAndExitButtons)
{
    game.FormCreate();
    view.take();
    game.BitBtn4Click();
    EXPECT_EQ(view.take(), QStringList({ "ClearResultRows()", "ShowPage(2)" }));
    game.BitBtn2Click();
    EXPECT_EQ(view.take(), QStringList({ "ShowPage(0)" }));
    game.BitBtn3Click();
    EXPECT_EQ(view.take(), QStringList({ "CloseWindow()" }));
    game.FormClose();
    EXPECT_FALSE(game.hitsFile().isOpen());
}

TEST_F(PageFlow, StartUpFailureLeavesTheFileClosedAndLaterStepsReportErrors)
{
    // A folder named hits.dat cannot be opened as the results file.
    ASSERT_TRUE(QDir(dir.path()).mkdir("hits.dat"));
    EXPECT_THROW(game.FormCreate(), results::EInOutError);
    EXPECT_FALSE(game.hitsFile().isOpen());
    EXPECT_THROW(game.FormClose(), results::EInOutError);
    EXPECT_THROW(game.BitBtn4Click(), results::EInOutError);
}

TEST_F(PageFlow, HeaderClicksSortByTimeWhicheverColumn)
{
    view.rows = { { "1:28:92", "a", "" }, { "5:59:99", "b", "" }, { "0:07:00", "c", "" } };
    auto names = [this] {
        QString out;
        for (const auto& r : view.rows)
            out += r.name;
        return out;
    };
    game.ListView1ColumnClick(1); // "Имя": longest first
    EXPECT_EQ(names(), "bac");
    game.ListView1ColumnClick(1); // again: shortest first
    EXPECT_EQ(names(), "cab");
    game.ListView1ColumnClick(2); // "Дата": longest first again
    EXPECT_EQ(names(), "bac");
    EXPECT_EQ(s.Sort.SortColumn, 2);
}
