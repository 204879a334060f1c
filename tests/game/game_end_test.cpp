#include "game_fixture.h"

#include "results/hits_file.h"
#include "results/io_error.h"

#include <QFile>

using game::Control;

class GameEnd : public GameFixture
{
protected:
    void SetUp() override
    {
        game.setNow([] { return QDateTime(QDate(2026, 12, 7), QTime(10, 46, 47)); });
        startGame();
    }

    std::vector<results::HitRecord> stored()
    {
        results::HitsFile file;
        file.OpenAtStartup(dir.filePath(QStringLiteral("hits.dat")));
        std::vector<results::HitRecord> out;
        results::HitRecord buffer;
        file.ReadAll(buffer, [&](const results::HitRecord& r) { out.push_back(r); });
        return out;
    }

    void winAll()
    {
        for (int v = 1; v <= 10; ++v) {
            const auto [a, b] = pairOf(v);
            click(a);
            click(b);
            if (v < 10)
                game.Timer1Timer();
        }
        view.take();
    }
};

TEST_F(GameEnd, WonEndRecordsTheGameDealsFaceDownAndShowsTheResults)
{
    winAll();
    s.ClockMinutes = 4;
    s.ClockSeconds = 31;
    s.ClockHundredths = 7;
    game.Timer1Timer();
    const QString date
        = game::Game::DateText(QDateTime(QDate(2026, 12, 7), QTime(10, 46, 47)), QLocale::system());
    // The last celebration is over; the clock stopped where it was.
    EXPECT_FALSE(view.visible[RecordingView::at(Control::GIFAnimator10)]);
    EXPECT_FALSE(view.animating[RecordingView::at(Control::GIFAnimator10)]);
    EXPECT_FALSE(view.timerOn[RecordingView::at(Control::Timer1)]);
    EXPECT_FALSE(view.timerOn[RecordingView::at(Control::Timer2)]);
    EXPECT_EQ(s.ClockHundredths, 7);
    // The next game dealt, face down on screen, its counters shown.
    for (int p = 1; p <= 20; ++p) {
        EXPECT_NE(s.CardValue[p], 0);
        EXPECT_EQ(view.shows(game::CardAtPosition(p)), 0) << "position " << p;
    }
    EXPECT_EQ(view.says(Control::Label3), "0");
    EXPECT_EQ(view.says(Control::Label4), "10");

    const auto records = stored();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name(), "Новый игрок");
    EXPECT_EQ(records[0].time(), "1:28:92");
    EXPECT_EQ(records[0].date(), date);
    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(
        view.rows[0].time + view.rows[0].name + view.rows[0].date, "1:28:92Новый игрок" + date);
    EXPECT_EQ(view.page, 2);
}

TEST_F(GameEnd, TimedOutEndShowsTheMessageFirstAndMarksTheName)
{
    struct Case
    {
        QString name, stored;
    };
    const Case cases[] = {
        { "Четырнадцать14", "Четырнадцать14 (истекло время)" }, // 14: the whole suffix
        { "Пятнадцать-букв", "Пятнадцать-букв (истекло время" }, // 15: loses the last character
        { QString(30, u'Ж'), QString(30, u'Ж') }, // 30: no suffix at all
    };
    std::size_t written = 0;
    int boxes = 0;
    // The box shows over the game page with the clock stopped, before anything is written.
    view.onCall = [&](const QString& call) {
        if (!call.startsWith(QStringLiteral("ShowMessageBox")))
            return;
        ++boxes;
        EXPECT_EQ(call, "ShowMessageBox(Истекло время!,Мнемира,1)");
        EXPECT_EQ(view.page, 1);
        EXPECT_FALSE(view.timerOn[RecordingView::at(Control::Timer2)]);
        EXPECT_EQ(stored().size(), written);
    };
    for (const Case& c : cases) {
        view.editText = c.name;
        game.BitBtn1Click();
        s.ClockMinutes = 0;
        s.ClockSeconds = 0;
        s.ClockHundredths = 1;
        game.Timer2Timer();
        ++written;
        EXPECT_EQ(view.page, 2);
        EXPECT_EQ(view.rows.back().name, c.stored);
        EXPECT_EQ(view.rows.back().time, "5:59:99");
    }
    view.onCall = nullptr;
    EXPECT_EQ(boxes, 3);
    const auto records = stored();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].name().size(), 30);
    EXPECT_EQ(records[2].name(), QString(30, u'Ж'));
}

TEST_F(GameEnd, TimeOutWithAnOpenCardClearsTheSelection)
{
    click(3);
    ASSERT_TRUE(s.CardOpen);
    s.ClockMinutes = 0;
    s.ClockSeconds = 0;
    s.ClockHundredths = 1;
    game.Timer2Timer();
    EXPECT_FALSE(s.CardOpen);
    // The first click of the next game turns a first card.
    game.BitBtn1Click();
    click(5);
    EXPECT_TRUE(s.CardOpen);
    EXPECT_EQ(s.FirstCardName, "Image5");
}

TEST_F(GameEnd, TwoGamesAppendTwoRecordsInFileOrder)
{
    view.editText = "Первый";
    game.BitBtn1Click();
    winAll();
    game.Timer1Timer();
    view.editText = "Второй";
    game.BitBtn1Click();
    winAll();
    game.Timer1Timer();
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0].name, "Первый");
    EXPECT_EQ(view.rows[1].name, "Второй");
}

TEST_F(GameEnd, AFailingAppendStopsTheEndBeforeTheDeal)
{
    winAll();
    game.hitsFile().Close(); // appending to a closed file fails
    const auto board = s.CardValue;
    EXPECT_THROW(game.Timer1Timer(), results::EInOutError);
    // The clock stopped; the last faces and counters stay, the game page too.
    EXPECT_FALSE(view.timerOn[RecordingView::at(Control::Timer2)]);
    EXPECT_EQ(s.CardValue, board);
    EXPECT_NE(view.shows(game::CardAtPosition(1)), 0);
    EXPECT_EQ(view.says(Control::Label3), "10");
    EXPECT_NE(view.page, 2);
}

TEST(DateText, ShortDateSpaceLongTimeWithoutZoneCutTo20)
{
    const QDateTime when(QDate(2026, 12, 7), QTime(10, 46, 47));
    EXPECT_EQ(game::Game::DateText(when, QLocale(QLocale::Russian, QLocale::Russia)),
        "07.12.2026 10:46:47");
    const QString c = game::Game::DateText(when, QLocale::c());
    EXPECT_FALSE(c.contains("UTC"));
    EXPECT_TRUE(c.endsWith("10:46:47")) << c.toStdString();
    EXPECT_LE(c.size(), 20);
    const QString us = game::Game::DateText(when, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us, "12/7/26 10:46:47 AM");
}

TEST(LeftChars, CutsByCharactersNotHalves)
{
    EXPECT_EQ(game::LeftChars(QString::fromUtf8("ab😀cd"), 3), QString::fromUtf8("ab😀"));
    EXPECT_EQ(game::LeftChars(QString::fromUtf8("ab😀cd"), 2), "ab");
    EXPECT_EQ(game::LeftChars("abc", 30), "abc");
    EXPECT_EQ(game::LeftChars("", 5), "");
}
