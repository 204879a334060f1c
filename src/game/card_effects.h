#pragma once

#include "game/pause.h"
#include "game/view.h"

namespace game {

inline constexpr int kCelebrationLeft = 150;
inline constexpr int kCelebrationTop = 94;

// The shutter: the strip Image22, showing the top rows of the back, grows down over the card in
// six steps of 10 px with a pause before each, then the card itself shows the back again.
void RunShutter(GameView& view, Control card, const PauseFunction& pause);

// Places animation N over the board, fits it to its picture, shows and starts it (it resumes
// where it last stopped) and starts the celebration timer.
void RunStartCelebration(GameView& view, int picture);

} // namespace game
