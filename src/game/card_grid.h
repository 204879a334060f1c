#pragma once
// Where the twenty cards lie on the game page: the one table of their places. The window puts
// the cards there, artgen draws the office's windows around them, and the benchmarks read this
// file itself (bench/), so each place stays written as "{ left, top }".

#include "game/controls.h"

namespace game {

inline constexpr int kCardWidth = 90;
inline constexpr int kCardHeight = 80;

struct CardPlace
{
    int left;
    int top;
};

// By position 1 … 20 (kCardPlaces[position - 1]): rows of five, 102 pixels apart, top row first,
// rows 90 pixels apart; the bottom row lies one pixel further left.
// clang-format off
inline constexpr CardPlace kCardPlaces[kCardCount] = {
    { 161, 125 }, { 263, 125 }, { 365, 125 }, { 467, 125 }, { 569, 125 },
    { 161, 215 }, { 263, 215 }, { 365, 215 }, { 467, 215 }, { 569, 215 },
    { 161, 305 }, { 263, 305 }, { 365, 305 }, { 467, 305 }, { 569, 305 },
    { 160, 395 }, { 262, 395 }, { 364, 395 }, { 466, 395 }, { 568, 395 },
};
// clang-format on

} // namespace game
