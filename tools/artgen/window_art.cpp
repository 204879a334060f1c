#include "window_art.h"

#include "figures.h"
#include "palette.h"
#include "scenes.h"

#include <algorithm>

namespace artgen {

namespace {

int frameWidth(const QRect& r)
{
    return std::max(4, r.width() / 22);
}

} // namespace

QRect windowInterior(const QRect& r)
{
    const int f = frameWidth(r);
    return r.adjusted(f, f, -f, -(f + std::max(1, f / 4)));
}

void drawWindowFrame(QPainter& p, const QRect& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect in = windowInterior(r);
    const int f = frameWidth(r);
    QRegion ring = QRegion(r).subtracted(QRegion(in));
    p.setClipRegion(ring);
    p.fillRect(r, QColor(pal::frame));
    // A shade line along the inner edge gives the frame depth.
    const int s = std::max(1, f / 4);
    p.fillRect(QRect(in.left() - s, in.top() - s, in.width() + 2 * s, s), QColor(pal::frameShade));
    p.fillRect(QRect(in.left() - s, in.top(), s, in.height()), QColor(pal::frameShade));
    // The sill's lower edge, its last row near-black.
    p.fillRect(QRect(r.left(), r.bottom() - s, r.width(), s), QColor(pal::frameShade));
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), QColor(pal::nearBlack));
    p.restore();
}

void drawShutterWindow(QPainter& p, const QRect& r)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    const QRect in = windowInterior(r);
    p.fillRect(in, QColor(pal::shutter));
    const int slat = std::max(4, in.height() / 11);
    // The roller box on top, then slats with a light upper and a dark lower edge.
    const QRect box(in.left(), in.top(), in.width(), slat + 2);
    p.fillRect(box, QColor(pal::shutterDark));
    // The seams between the slats are hairlines, one pixel at any density: drawn for a
    // high-density screen, the slats get finer edges rather than doubled rows.
    const qreal hair = 1 / p.deviceTransform().m22();
    for (int y = box.bottom() + 1; y <= in.bottom(); y += slat) {
        p.fillRect(QRectF(in.left(), y, in.width(), hair), QColor(pal::shutterLight));
        p.fillRect(QRectF(in.left(), y + slat - hair, in.width(), hair), QColor(pal::shutterDark));
    }
    // Guide rails at the sides, the bottom rail and its lock.
    const int rail = std::max(1, in.width() / 40);
    p.fillRect(QRect(in.left(), box.bottom(), rail, in.bottom() - box.bottom() + 1),
        QColor(pal::shutterDark));
    p.fillRect(QRect(in.right() - rail + 1, box.bottom(), rail, in.bottom() - box.bottom() + 1),
        QColor(pal::shutterDark));
    const int bar = std::max(2, slat / 2);
    p.fillRect(QRect(in.left(), in.bottom() - bar + 1, in.width(), bar), QColor(pal::metal));
    p.fillRect(QRect(in.center().x() - bar, in.bottom() - 2 * bar, 2 * bar + 1, bar + 1),
        QColor(pal::metal));
    p.restore();
    drawWindowFrame(p, r);
}

QImage renderBack(QSize size, int scale)
{
    QImage image(size * scale, QImage::Format_RGB32);
    QPainter p(&image);
    scalePainter(p, scale);
    drawShutterWindow(p, QRect(QPoint(0, 0), size));
    return image;
}

QImage renderWindow(int n, QSize size, int frame, int scale)
{
    QImage image(size * scale, QImage::Format_RGB32);
    image.fill(pal::frame);
    const QRect whole(QPoint(0, 0), size);
    const QRect in = windowInterior(whole);
    const auto& delays = animationDelays(n);
    int before = 0, total = 0;
    for (std::size_t i = 0; i < delays.size(); ++i) {
        total += delays[i];
        if (int(i) < frame)
            before += delays[i];
    }
    SceneClock clock { frame, int(delays.size()), double(before) / total };
    {
        QPainter p(&image);
        scalePainter(p, scale);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setClipRect(in);
        // Cover the interior with the scene, centred: a narrow window crops the sides.
        const double scale = std::max(in.width() / sceneWidth, in.height() / sceneHeight);
        p.translate(in.center().x() + 0.5, in.center().y() + 0.5);
        p.scale(scale, scale);
        p.translate(-sceneWidth / 2, -sceneHeight / 2);
        p.setPen(Qt::NoPen);
        drawScene(n, p, clock);
    }
    QPainter p(&image);
    scalePainter(p, scale);
    drawWindowFrame(p, whole);
    return image;
}

} // namespace artgen
