#pragma once

#include "hints/gdi_rect.h"

#include <QBrush>
#include <QColor>
#include <QPolygon>
#include <QRegion>

class QPainter;

namespace hints {

// Pixel sets with the meaning the hint drawing gives them; all coordinates are pixels of
// the drawing surface, right and bottom exclusive.

QRegion RectRegion(const TRect& r);
// Rectangle whose corners are quarter ellipses of cornerW × cornerH pixels.
QRegion RoundRectRegion(const TRect& r, int cornerW, int cornerH);
// The ellipse inscribed in r.
QRegion EllipseRegion(const TRect& r);
// A polygon filled with the winding rule.
QRegion PolygonRegion(const QPolygon& points);
// The pixels of region that lie within w pixels horizontally or h vertically of its border.
QRegion FrameRegion(const QRegion& region, int w, int h);

// Fills exactly the pixels of region with brush (the brush pattern is anchored at the
// surface's origin).
void PaintRegion(QPainter& p, const QRegion& region, const QBrush& brush);

// The raised outer 3-D edge on all four sides of r: one pixel, light on the top and left,
// dark shadow on the bottom and right (the dark sides own the two shared corners).
void DrawRaisedOuterEdge(QPainter& p, const TRect& r, const QColor& light, const QColor& dark);

} // namespace hints
