#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace hints {

// Hint text is wrapped at word boundaries ("\n" also breaks), shows "&" as itself and
// starts every line on a whole pixel, so that a line centred in a box lands where integer
// arithmetic puts it: left + (box width − line width) div 2. Line widths are whole pixels
// (rounded up), lines are the font's height apart.

// The extent of `text` wrapped at maxWidth: the widest line × (lines × font height).
QSize MeasureHintText(const QFont& font, const QString& text, int maxWidth, bool rightToLeft);

// Draws `text` into box with the current pen, wrapped at the box width and aligned by
// `alignment` (0 left, 1 right, 2 centre) from the box's top.
void DrawHintText(QPainter& p, const QFont& font, const QRect& box, const QString& text,
    quint8 alignment, bool rightToLeft);

} // namespace hints
