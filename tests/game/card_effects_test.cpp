#include "game/card_effects.h"
#include "support/recording_view.h"

#include <gtest/gtest.h>

using game::Control;

TEST(CardEffects, ShutterGrowsSixStepsOverTheCardThenShowsTheBack)
{
    RecordingView view;
    game::RunShutter(view, Control::Image19, [&](std::chrono::milliseconds ms) {
        view.calls << QStringLiteral("Pause(%1)").arg(ms.count());
    });
    QStringList expected { "MoveControl(Image22,364,395)", "SetControlHeight(Image22,10)",
        "ShowControl(Image22)" };
    for (int h = 20; h <= 70; h += 10)
        expected << "Pause(60)" << QStringLiteral("SetControlHeight(Image22,%1)").arg(h)
                 << "RepaintNow(Image22)";
    expected << "HideControl(Image22)"
             << "SetCardPicture(Image19,0)"
             << "RepaintNow(Image19)"
             << "SetCardEnabled(Image19,on)";
    EXPECT_EQ(view.take(), expected);
    EXPECT_FALSE(view.visible[RecordingView::at(Control::Image22)]);
}

TEST(CardEffects, CelebrationPlacesFitsShowsStartsThenTimesIt)
{
    RecordingView view;
    game::RunStartCelebration(view, 7);
    EXPECT_EQ(view.take(),
        QStringList({ "MoveControl(GIFAnimator7,150,94)", "FitAnimatorToPicture(GIFAnimator7)",
            "ShowControl(GIFAnimator7)", "SetAnimating(GIFAnimator7,on)",
            "SetTimerEnabled(Timer1,on)" }));
    game::RunStartCelebration(view, 0);
    game::RunStartCelebration(view, 11);
    EXPECT_TRUE(view.take().isEmpty());
}
