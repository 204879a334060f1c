#include "game_fixture.h"

using game::Control;

class Selection : public GameFixture
{
protected:
    void SetUp() override { startGame(); }
};

TEST_F(Selection, FirstCardTurnsAtOnceAndIsDisabledSoItCannotBeTheSecond)
{
    const int v = s.CardValue[7];
    click(7);
    const int card = RecordingView::at(game::CardAtPosition(7));
    EXPECT_EQ(view.picture[card], v);
    EXPECT_TRUE(view.take().contains(QStringLiteral("RepaintNow(Image7)")));
    EXPECT_FALSE(view.enabled[card]);
    EXPECT_TRUE(s.CardOpen);
    EXPECT_EQ(s.OpenValue, v);
    EXPECT_TRUE(pauses.empty());
}

TEST_F(Selection, MatchShowsBothFacesCelebratesCountsAndStopsTheClock)
{
    const auto [a, b] = pairOf(4);
    const int first = RecordingView::at(game::CardAtPosition(a));
    const int second = RecordingView::at(game::CardAtPosition(b));
    view.timerOn[RecordingView::at(Control::Timer2)] = true;
    click(a);
    click(b);
    EXPECT_EQ(view.picture[first], 4);
    EXPECT_EQ(view.picture[second], 4);
    EXPECT_TRUE(view.take().contains(
        QStringLiteral("RepaintNow(%1)").arg(game::ControlName(game::CardAtPosition(b)))));
    EXPECT_EQ(view.celebration, 4);
    EXPECT_EQ(view.texts[RecordingView::at(Control::Label3)], "1");
    EXPECT_EQ(view.texts[RecordingView::at(Control::Label4)], "9");
    EXPECT_FALSE(view.timerOn[RecordingView::at(Control::Timer2)]);
    EXPECT_TRUE(pauses.empty());
    // The pair is out of play: the first card stays unclickable, the second clicks to nothing.
    EXPECT_FALSE(view.enabled[first]);
    EXPECT_TRUE(view.enabled[second]);
    EXPECT_EQ(s.CardValue[a], 0);
    EXPECT_EQ(s.CardValue[b], 0);

    // Found cards do nothing when clicked, with or without an open card.
    click(b);
    EXPECT_TRUE(view.take().isEmpty());
    int c = 1;
    while (s.CardValue[c] == 0)
        ++c;
    click(c);
    view.take();
    click(b);
    click(a);
    EXPECT_TRUE(view.take().isEmpty());
    EXPECT_TRUE(s.CardOpen);
    EXPECT_EQ(view.picture[second], 4);
}

TEST_F(Selection, AWrongPairStaysInViewThenBothCardsCloseFirstCardFirst)
{
    const auto [a, b] = pairOf(1);
    int other = 1;
    while (s.CardValue[other] == 1)
        ++other;
    const QString first = game::ControlName(game::CardAtPosition(a));
    const QString second = game::ControlName(game::CardAtPosition(other));
    click(a);
    view.take();
    click(other);

    // What the player sees, in order: the second face, a pause with both faces up, then the
    // shutter over the first card and over the second.
    QStringList seen;
    for (const QString& call : view.take()) {
        if (call.startsWith(QStringLiteral("SetCardPicture")) || call.startsWith("Pause")
            || call.startsWith(QStringLiteral("CloseCardWithShutter")))
            seen << call;
    }
    EXPECT_EQ(seen,
        QStringList({ QStringLiteral("SetCardPicture(%1,%2)").arg(second).arg(s.CardValue[other]),
            "Pause(600)", QStringLiteral("CloseCardWithShutter(%1)").arg(first),
            QStringLiteral("CloseCardWithShutter(%1)").arg(second) }));
    for (int p : { a, other }) {
        EXPECT_EQ(view.picture[RecordingView::at(game::CardAtPosition(p))], 0);
        EXPECT_TRUE(view.enabled[RecordingView::at(game::CardAtPosition(p))]);
    }
    EXPECT_FALSE(s.CardOpen);
    EXPECT_EQ(view.celebration, 0);
    EXPECT_EQ(s.PairsFound, 0);
    EXPECT_EQ(s.CardValue[a], 1);
    // The next click starts a new attempt.
    click(b);
    EXPECT_TRUE(s.CardOpen);
    EXPECT_TRUE(pauses.size() == 1);
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
}
