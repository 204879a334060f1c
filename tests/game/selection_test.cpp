#include "game_fixture.h"

using game::Control;

class Selection : public GameFixture
{
protected:
    void SetUp() override { startGame(); }
};

TEST_F(Selection, FirstCardTurnsAndIsDisabled)
{
    const int v = s.CardValue[7];
    click(7);
    EXPECT_EQ(view.take(),
        QStringList({ QStringLiteral("SetCardPicture(Image7,%1)").arg(v), "RepaintNow(Image7)",
            "SetCardEnabled(Image7,off)" }));
    EXPECT_TRUE(s.CardOpen);
    EXPECT_EQ(s.OpenValue, v);
    EXPECT_EQ(s.FirstCardName, "Image7");
}

TEST_F(Selection, MatchCelebratesRemovesThePairAndStopsTheClock)
{
    const auto [a, b] = pairOf(4);
    click(a);
    view.take();
    const QString second = game::ControlName(game::CardAtPosition(b));
    click(b);
    EXPECT_EQ(view.take(),
        QStringList({ QStringLiteral("SetCardPicture(%1,4)").arg(second),
            QStringLiteral("RepaintNow(%1)").arg(second),
            QStringLiteral("SetCardEnabled(%1,on)").arg(second), "StartCelebration(4)",
            QStringLiteral("FindCard(%1)").arg(game::ControlName(game::CardAtPosition(a))),
            "SetLabelText(Label3,1)", "SetLabelText(Label4,9)", "SetTimerEnabled(Timer2,off)" }));
    EXPECT_EQ(s.CardValue[a], 0);
    EXPECT_EQ(s.CardValue[b], 0);
    EXPECT_FALSE(s.CardOpen);
    EXPECT_EQ(s.PairsRemaining, 9);
    EXPECT_EQ(s.PairsFound + s.PairsLeft, 10);
    EXPECT_FALSE(view.enabled[RecordingView::at(game::CardAtPosition(a))]);
    EXPECT_TRUE(view.enabled[RecordingView::at(game::CardAtPosition(b))]);

    // Found cards do nothing when clicked, with or without an open card.
    click(b);
    EXPECT_TRUE(view.take().isEmpty());
    const auto [c, d] = pairOf(s.CardValue[1] != 0 ? s.CardValue[1] : s.CardValue[2]);
    click(c);
    view.take();
    click(b);
    click(a);
    EXPECT_TRUE(view.take().isEmpty());
    EXPECT_TRUE(s.CardOpen);
    (void)d;
}

TEST_F(Selection, WrongPairPausesThenShuttersBothCardsFirstCardFirst)
{
    const auto [a, b] = pairOf(1);
    int other = 1;
    while (s.CardValue[other] == 1)
        ++other;
    click(a);
    view.take();
    const QString first = game::ControlName(game::CardAtPosition(a));
    const QString second = game::ControlName(game::CardAtPosition(other));
    click(other);
    EXPECT_EQ(view.take(),
        QStringList({ QStringLiteral("SetCardPicture(%1,%2)").arg(second).arg(s.CardValue[other]),
            QStringLiteral("RepaintNow(%1)").arg(second), "Pause(600)",
            QStringLiteral("FindCard(%1)").arg(first),
            QStringLiteral("CloseCardWithShutter(%1)").arg(first),
            QStringLiteral("FindCard(%1)").arg(second),
            QStringLiteral("CloseCardWithShutter(%1)").arg(second) }));
    EXPECT_FALSE(s.CardOpen);
    EXPECT_EQ(s.SecondCardName, second);
    EXPECT_EQ(s.PairsFound, 0);
    EXPECT_EQ(s.CardValue[a], 1);
    // The next click starts a new attempt.
    click(b);
    EXPECT_TRUE(s.CardOpen);
    EXPECT_EQ(s.FirstCardName, game::ControlName(game::CardAtPosition(b)));
}

TEST_F(Selection, ClicksFromNonCardsOrUntaggedImagesAreIgnored)
{
    game.Image1Click(Control::Label3);
    game.Image1Click(Control::Image17); // the page background carries tag 0
    game.Image1Click(Control::Image22);
    EXPECT_TRUE(view.take().isEmpty());
    EXPECT_FALSE(s.CardOpen);
}

TEST_F(Selection, CountersAlwaysAddUpToTenOverAWholeGame)
{
    for (int v = 1; v <= 10; ++v) {
        const auto [a, b] = pairOf(v);
        click(a);
        click(b);
        EXPECT_EQ(s.PairsFound + s.PairsLeft, 10);
        EXPECT_EQ(view.texts[RecordingView::at(Control::Label3)].toInt(), v);
        EXPECT_EQ(view.texts[RecordingView::at(Control::Label4)].toInt(), 10 - v);
    }
    EXPECT_EQ(s.PairsRemaining, 0);
}
