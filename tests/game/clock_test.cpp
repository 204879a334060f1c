#include "game_fixture.h"

using game::Control;

class Clock : public GameFixture
{
protected:
    void SetUp() override { startGame(); }
    void set(int m, int sec, int h)
    {
        s.ClockMinutes = m;
        s.ClockSeconds = sec;
        s.ClockHundredths = h;
    }
    QString shown() const
    {
        return view.texts[RecordingView::at(Control::Label10)]
            + view.texts[RecordingView::at(Control::Label11)]
            + view.texts[RecordingView::at(Control::Label12)];
    }
};

TEST_F(Clock, TicksShowTwoDigitPartsAndRollOver)
{
    struct Case
    {
        int m, s, h;
        const char* after;
    };
    const Case cases[] = {
        { 5, 59, 99, "5:59:98" }, // the first tick after "Старт"
        { 5, 0, 0, "4:59:99" }, // both rollovers in one tick
        { 4, 10, 0, "4:09:99" },
        { 1, 0, 10, "1:00:09" },
        { 0, 0, 11, "0:00:10" },
        { 2, 30, 1, "2:30:00" },
    };
    for (const Case& c : cases) {
        set(c.m, c.s, c.h);
        view.take();
        game.Timer2Timer();
        EXPECT_EQ(shown(), c.after) << c.m << ":" << c.s << ":" << c.h;
        // Hundredths, then seconds, then minutes.
        const QStringList calls = view.take();
        ASSERT_EQ(calls.size(), 3);
        EXPECT_TRUE(calls[0].startsWith("SetLabelText(Label12"));
        EXPECT_TRUE(calls[2].startsWith("SetLabelText(Label10"));
    }
}

TEST_F(Clock, RunsOutAfter35999TicksAndShowsZeroBeforeTheMessage)
{
    int ticks = 0;
    while (view.page != 2) {
        game.Timer2Timer();
        ++ticks;
        ASSERT_LT(ticks, 40000);
    }
    EXPECT_EQ(ticks, 35999);
    EXPECT_EQ(shown(), "0:00:00");
    const QStringList calls = view.take();
    const int zero = calls.indexOf("SetLabelText(Label10,0)");
    const int box = calls.indexOf("ShowMessageBox(Истекло время!,Мнемира,1)");
    ASSERT_GE(zero, 0);
    ASSERT_GE(box, 0);
    EXPECT_LT(zero, box);
    EXPECT_EQ(calls[box - 1], "SetTimerEnabled(Timer2,off)");
}

TEST_F(Clock, ElapsedTextFromTheClock)
{
    set(4, 31, 7);
    EXPECT_EQ(game.ElapsedText(), "1:28:92");
    EXPECT_EQ(s.ElapsedSeconds, 28);
    EXPECT_EQ(s.ElapsedHundredthsText, ":92");
    set(0, 0, 0);
    EXPECT_EQ(game.ElapsedText(), "5:59:99");
    set(5, 59, 99);
    EXPECT_EQ(game.ElapsedText(), "0:00:00");
    set(5, 50, 90);
    EXPECT_EQ(game.ElapsedText(), "0:09:09");
}

TEST_F(Clock, StoppedByAMatchAndResumedByTheCelebrationEndFromTheSameValue)
{
    set(3, 12, 45);
    const auto [a, b] = pairOf(2);
    click(a);
    click(b);
    EXPECT_FALSE(view.timerOn[RecordingView::at(Control::Timer2)]);
    game.Timer1Timer();
    EXPECT_TRUE(view.timerOn[RecordingView::at(Control::Timer2)]);
    game.Timer2Timer();
    EXPECT_EQ(shown(), "3:12:44");
}
