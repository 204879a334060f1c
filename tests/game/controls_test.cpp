#include "game/controls.h"

#include <gtest/gtest.h>

using game::Control;

TEST(Controls, CardPositionsSkipThePageBackground)
{
    EXPECT_EQ(game::CardAtPosition(1), Control::Image1);
    EXPECT_EQ(game::CardAtPosition(16), Control::Image16);
    EXPECT_EQ(game::CardAtPosition(17), Control::Image18);
    EXPECT_EQ(game::CardAtPosition(20), Control::Image21);
    int cards = 0;
    for (int i = 0; i < static_cast<int>(Control::Count); ++i)
        cards += game::IsCard(static_cast<Control>(i));
    EXPECT_EQ(cards, 20);
    EXPECT_FALSE(game::IsCard(Control::Image17));
    EXPECT_FALSE(game::IsCard(Control::Image22));
    EXPECT_TRUE(game::IsImage(Control::Image22));
    EXPECT_FALSE(game::IsImage(Control::Label1));
}

TEST(Controls, NamesRoundTrip)
{
    for (int i = 0; i < static_cast<int>(Control::Count); ++i) {
        const auto c = static_cast<Control>(i);
        EXPECT_EQ(game::ControlByName(QString::fromLatin1(game::ControlName(c))), c);
    }
    EXPECT_STREQ(game::ControlName(Control::GIFAnimator10), "GIFAnimator10");
    EXPECT_FALSE(game::ControlByName(u"Image99").has_value());
    EXPECT_FALSE(game::ControlByName(u"image7").has_value());
    EXPECT_EQ(game::AnimatorFor(7), Control::GIFAnimator7);
}
