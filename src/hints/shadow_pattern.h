#pragma once

#include <QColor>
#include <QImage>

namespace hints {

// The 8 × 8 dithered shadow tile: every pixel whose x and y are both even or both odd is
// `text`, the others `face`. One tile is made per colour pair and kept for the rest of the
// program; the returned reference stays valid.
const QImage& ShadowPattern(const QColor& face, const QColor& text);

// How many tiles have been made so far.
int ShadowPatternCount();

} // namespace hints
