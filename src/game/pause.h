#pragma once

#include <chrono>
#include <functional>

namespace game {

// The shutter's step pause; a wrong pair stays face up ten times as long. Long enough to see,
// short enough not to bore.
inline constexpr std::chrono::milliseconds kShutterStepPause { 60 };
inline constexpr std::chrono::milliseconds kWrongPairPause = 10 * kShutterStepPause;

// Blocks the calling thread for a fixed real time without spinning the CPU. Input, paints and
// timer ticks wait meanwhile; missed ticks are not made up.
void BlockingPause(std::chrono::milliseconds length);

// How the game and the card effects pause; tests put in one that only records.
using PauseFunction = std::function<void(std::chrono::milliseconds)>;

} // namespace game
