#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace hints {

// Where a shaped hint lies relative to the mouse pointer.
enum TQuadrant : quint8 { AboveRight = 0, AboveLeft = 1, BelowRight = 2, BelowLeft = 3 };

// Final top-left of a hint window whose bounds are `window` (already at the proposed
// position, with its measured size), for the pointer at `pointer` on a screen of `screen`
// size (the whole primary screen). With a tail the hint first goes above and right of the
// pointer. Then it is fitted to the screen: bottom, right, left and top edge in this order;
// a hint pushed back onto the pointer jumps to the pointer's other side, even when that
// leaves it partly off the screen.
QPoint PlaceHint(const QRect& window, const QPoint& pointer, const QSize& screen, bool hasTail);

// The quadrant of a placed hint relative to the pointer.
TQuadrant HintQuadrant(const QRect& placed, const QPoint& pointer);

} // namespace hints
