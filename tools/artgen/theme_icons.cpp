#include "theme_icons.h"

#include "palette.h"
#include "small_art.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace artgen {

namespace {

using namespace classic;

// The picture in the window icon's 32-unit square, as outlined shapes.
QPainterPath spanner()
{
    QPainterPath handle, head, ring;
    handle.addRect(-13, -2, 22, 4);
    head.addEllipse(QRectF(7, -6, 11, 12));
    ring.addEllipse(QRectF(-19, -5, 9, 10));
    const QPainterPath body = handle.united(head).united(ring);
    QPainterPath jaw;
    jaw.addRect(12, -2, 8, 4);
    QTransform t;
    t.translate(16, 20);
    t.rotate(-40);
    return t.map(body.subtracted(jaw));
}

QPainterPath dome()
{
    QPainterPath p;
    p.moveTo(5, 17);
    p.cubicTo(5, 3, 27, 3, 27, 17);
    p.closeSubpath();
    return p;
}

void drawSmooth(QImage& image, int size)
{
    const QPainterPath tool = spanner();
    const QPainterPath hat = dome();
    const QRectF brim(2, 16, 28, 3);
    // The window icon lets the spanner run off its edges; here the whole picture fits, with a
    // margin of a 32nd of the size all round.
    const QRectF picture = tool.boundingRect().united(hat.boundingRect()).united(brim);
    const qreal margin = size / 32.0;
    const qreal scale = (size - 2 * margin) / std::max(picture.width(), picture.height());
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.translate(size / 2.0, size / 2.0);
    p.scale(scale, scale);
    p.translate(-picture.center());
    // Outlines thin out relative to the picture as it grows, but never below 1.5 pixels.
    const QPen outline(
        black, std::max(1.5 / scale, 0.6), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(outline);
    p.setBrush(silver);
    p.drawPath(tool);
    p.setBrush(yellow);
    p.drawPath(hat);
    p.setPen(Qt::NoPen);
    p.save();
    p.setClipPath(hat);
    p.fillRect(QRectF(15, 4, 2, 12.5), olive);
    p.restore();
    p.setBrush(white);
    p.drawRoundedRect(QRectF(8, 10, 2, 5), 1, 1);
    p.setPen(outline);
    p.setBrush(yellow);
    p.drawRoundedRect(brim, 0.5, 0.5);
}

// The small sizes on the pixel grid, one pixel of outline, no blending: every edge stays sharp.
// Where each part lies is chosen for the size (see the table), so the hat keeps a brim of its own
// and the spanner still shows its ring and its open jaw.
struct PixelLayout
{
    int size;
    QRect brim; // outline included
    QRect dome; // the ellipse whose upper half is the dome, outline included
    QRect ridge, highlight;
    QPoint ring, head; // centres of the spanner's two ends
    int ringRadius, headRadius, handleWidth, jawWidth;
};

const PixelLayout pixelLayouts[] = {
    { 16, QRect(0, 8, 16, 3), QRect(2, 3, 12, 12), QRect(7, 4, 2, 4), QRect(4, 5, 1, 2),
        QPoint(2, 13), QPoint(13, 5), 2, 2, 2, 1 },
    { 22, QRect(1, 11, 20, 4), QRect(3, 4, 16, 16), QRect(10, 5, 2, 6), QRect(5, 7, 2, 3),
        QPoint(3, 18), QPoint(18, 7), 3, 3, 2, 2 },
    { 24, QRect(1, 12, 22, 4), QRect(3, 4, 18, 18), QRect(11, 5, 2, 7), QRect(6, 7, 2, 4),
        QPoint(4, 20), QPoint(20, 8), 3, 3, 2, 2 },
};

void drawPixels(QImage& image, const PixelLayout& l)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    // The spanner: black one pixel larger all round, then silver, so its parts share one outline.
    const QPointF ring = QPointF(l.ring) + QPointF(0.5, 0.5);
    const QPointF head = QPointF(l.head) + QPointF(0.5, 0.5);
    for (int grow : { 1, 0 }) {
        const QColor colour = grow ? black : silver;
        p.setBrush(colour);
        p.setPen(QPen(colour, l.handleWidth + 2 * grow, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(ring, head);
        p.setPen(Qt::NoPen);
        p.drawEllipse(ring, l.ringRadius + grow - 0.5, l.ringRadius + grow - 0.5);
        p.drawEllipse(head, l.headRadius + grow - 0.5, l.headRadius + grow - 0.5);
    }
    // The jaw opens away from the handle.
    const QPointF along = (head - ring) / std::hypot(head.x() - ring.x(), head.y() - ring.y());
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setPen(QPen(Qt::transparent, l.jawWidth, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(head, head + along * (l.headRadius + 2));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    // The hat: the dome's outline, then the brim over its lower edge.
    p.setPen(black);
    p.setBrush(yellow);
    const QRect d = l.dome.adjusted(0, 0, -1, -1);
    p.drawChord(d, 0, 180 * 16);
    p.setPen(Qt::NoPen);
    p.fillRect(l.ridge, olive);
    p.fillRect(l.highlight, white);
    p.fillRect(l.brim, black);
    p.fillRect(l.brim.adjusted(1, 1, -1, -1), yellow);
}

} // namespace

const std::vector<int>& themeIconSizes()
{
    static const std::vector<int> sizes { 16, 22, 24, 32, 48, 64, 128, 256 };
    return sizes;
}

QImage renderThemeIcon(int size)
{
    if (size == 32)
        return renderIcon();
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (size < 32) {
        for (const PixelLayout& layout : pixelLayouts)
            if (layout.size == size)
                drawPixels(image, layout);
    } else
        drawSmooth(image, size);
    return image;
}

} // namespace artgen
