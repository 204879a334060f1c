// The two card effects as the player sees them on a view that keeps the controls' state.
#include "game/card_effects.h"
#include "support/recording_view.h"

#include <QRect>

#include <gtest/gtest.h>

#include <vector>

using game::Control;

namespace {

constexpr int at(Control c)
{
    return static_cast<int>(c);
}

TEST(CardEffects, TheShutterGrowsDownOverTheCardStepByStepThenTheCardShowsItsBack)
{
    RecordingView view;
    const Control card = Control::Image19;
    const Control strip = Control::Image22;
    view.picture[at(card)] = 4;
    view.enabled[at(card)] = false;
    // What reaches the screen at each repaint of the strip, and how long each pause lasts.
    std::vector<QRect> shown;
    std::vector<long> pauses;
    view.onCall = [&](const QString& call) {
        if (call == QStringLiteral("RepaintNow(Image22)")) {
            EXPECT_TRUE(view.visible[at(strip)]);
            shown.emplace_back(
                view.lefts[at(strip)], view.tops[at(strip)], 90, view.heights[at(strip)]);
        }
    };
    std::vector<std::size_t> repaintsBeforePause;
    game::RunShutter(view, card, [&](std::chrono::milliseconds ms) {
        pauses.push_back(ms.count());
        repaintsBeforePause.push_back(shown.size());
    });

    // Six pauses of 60 ms, each followed by the strip 10 px longer, over the card's top.
    EXPECT_EQ(pauses, std::vector<long>(6, 60));
    EXPECT_EQ(repaintsBeforePause, (std::vector<std::size_t> { 0, 1, 2, 3, 4, 5 }));
    ASSERT_EQ(shown.size(), 6u);
    for (int step = 0; step < 6; ++step)
        EXPECT_EQ(shown[step], QRect(364, 395, 90, 20 + 10 * step)) << step;
    // Then the strip is gone and the card shows the back, clickable again.
    EXPECT_FALSE(view.visible[at(strip)]);
    EXPECT_EQ(view.picture[at(card)], 0);
    EXPECT_TRUE(view.enabled[at(card)]);
    EXPECT_TRUE(view.take().contains(QStringLiteral("RepaintNow(Image19)")));
}

TEST(CardEffects, ACelebrationPlaysItsOwnAnimationOverTheBoardAndStartsItsTimer)
{
    RecordingView view;
    game::RunStartCelebration(view, 7);
    const int animation = at(Control::GIFAnimator7);
    EXPECT_EQ(view.lefts[animation], 150);
    EXPECT_EQ(view.tops[animation], 94);
    EXPECT_TRUE(view.fitted[animation]);
    EXPECT_TRUE(view.visible[animation]);
    EXPECT_TRUE(view.animating[animation]);
    EXPECT_TRUE(view.timerOn[at(Control::Timer1)]);
    // Sized before it shows, so it never appears at its designed size first.
    const QStringList calls = view.take();
    EXPECT_LT(calls.indexOf(QStringLiteral("FitAnimatorToPicture(GIFAnimator7)")),
        calls.indexOf(QStringLiteral("ShowControl(GIFAnimator7)")));

    // No animation of that number: nothing at all.
    game::RunStartCelebration(view, 0);
    game::RunStartCelebration(view, 11);
    EXPECT_TRUE(view.take().isEmpty());
}

} // namespace
