#pragma once
// The page backgrounds: the office building under a blue sky, 799 x 600.

#include <QImage>
#include <QRect>
#include <vector>

namespace artgen {

// The card rectangles of the game page, row by row (game/card_grid.h, where the window places
// the cards); the game background has a shuttered window opening under each.
std::vector<QRect> cardRects();

// withWindows false: the start (and results) page, a blank facade with floor lines;
// true: the game page with twenty shuttered windows. `scale` 2: the high-density picture,
// 1598 x 1200.
QImage renderBackground(bool withWindows, int scale);

} // namespace artgen
