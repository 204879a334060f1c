#include "game/card_effects.h"

namespace game {

void RunShutter(GameView& view, Control card, const PauseFunction& pause)
{
    view.MoveControl(Control::Image22, view.ControlLeft(card), view.ControlTop(card));
    view.SetControlHeight(Control::Image22, 10);
    view.ShowControl(Control::Image22);
    for (int step = 0; step < 6; ++step) {
        pause(kShutterStepPause);
        view.SetControlHeight(Control::Image22, view.ControlHeight(Control::Image22) + 10);
        view.RepaintNow(Control::Image22);
    }
    view.HideControl(Control::Image22);
    view.SetCardPicture(card, 0);
    view.RepaintNow(card);
    view.SetCardEnabled(card, true);
}

void RunStartCelebration(GameView& view, int picture)
{
    if (picture < 1 || picture > kPictureCount)
        return;
    const Control animator = AnimatorFor(picture);
    view.MoveControl(animator, kCelebrationLeft, kCelebrationTop);
    view.FitAnimatorToPicture(animator);
    view.ShowControl(animator);
    view.SetAnimating(animator, true);
    view.SetTimerEnabled(Control::Timer1, true);
}

} // namespace game
