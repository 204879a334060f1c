#include "hints/gdi_region.h"

#include <QPainter>
#include <QPainterPath>

namespace hints {

QRegion RectRegion(const TRect& r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return {};
    return QRegion(r.toQRect());
}

QRegion RoundRectRegion(const TRect& r, int cornerW, int cornerH)
{
    if (r.width() <= 0 || r.height() <= 0)
        return {};
    QPainterPath path;
    path.addRoundedRect(QRectF(r.left, r.top, r.width(), r.height()), cornerW / 2.0, cornerH / 2.0);
    return QRegion(path.toFillPolygon().toPolygon(), Qt::WindingFill);
}

QRegion EllipseRegion(const TRect& r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return {};
    return QRegion(r.toQRect(), QRegion::Ellipse);
}

QRegion PolygonRegion(const QPolygon& points)
{
    return QRegion(points, Qt::WindingFill);
}

QRegion FrameRegion(const QRegion& region, int w, int h)
{
    // Erode the region by w horizontally and h vertically; what the erosion removes is the frame.
    QRegion inner = region;
    for (int dx = 1; dx <= w; ++dx)
        inner = inner.intersected(region.translated(dx, 0)).intersected(region.translated(-dx, 0));
    for (int dy = 1; dy <= h; ++dy)
        inner = inner.intersected(region.translated(0, dy)).intersected(region.translated(0, -dy));
    return region.subtracted(inner);
}

void PaintRegion(QPainter& p, const QRegion& region, const QBrush& brush)
{
    for (const QRect& r : region)
        p.fillRect(r, brush);
}

void DrawRaisedOuterEdge(QPainter& p, const TRect& r, const QColor& light, const QColor& dark)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(QRect(r.left, r.top, r.width(), 1), light);
    p.fillRect(QRect(r.left, r.top, 1, r.height()), light);
    p.fillRect(QRect(r.right - 1, r.top, 1, r.height()), dark);
    p.fillRect(QRect(r.left, r.bottom - 1, r.width(), 1), dark);
}

} // namespace hints
