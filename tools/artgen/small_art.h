#pragma once
// The small 16-colour pictures: button glyphs (normal and greyed side by side, olive as the
// transparent colour) and the window icon.

#include <QImage>

namespace artgen {

enum class Glyph { Start, Results, Play, Exit };

// 32 x 16 (36 x 18 for Play) times `scale`, Format_RGB32, only the classic 16 colours.
QImage renderGlyph(Glyph which, int scale);

// 32 x 32 ARGB: a yellow hard hat over a spanner; alpha 0 outside the picture.
QImage renderIcon();

} // namespace artgen
