#include "small_art.h"

#include "figures.h"
#include "palette.h"

#include <QPainter>
#include <QPainterPath>
#include <iterator>

namespace artgen {

namespace {

using namespace classic;

void drawClock(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawEllipse(QRect(1, 1, 14, 14));
    p.setBrush(white);
    p.drawEllipse(QRect(3, 3, 10, 10));
    p.fillRect(QRect(7, 3, 2, 1), black);
    p.fillRect(QRect(7, 12, 2, 1), black);
    p.fillRect(QRect(3, 7, 1, 2), black);
    p.fillRect(QRect(12, 7, 1, 2), black);
    p.fillRect(QRect(7, 4, 2, 4), blue); // minute hand
    p.fillRect(QRect(7, 7, 4, 2), blue); // hour hand
    p.fillRect(QRect(7, 7, 2, 2), navy);
}

// A pen one unit wide puts its pixel right of and below the line at the designed size; scaled
// up, it would straddle the line, half a unit up and left. This shift keeps it where it was.
void alignThinPen(QPainter& p, int scale)
{
    if (scale != 1)
        p.translate(0.5, 0.5);
}

void drawBook(QPainter& p, int scale)
{
    // Two pages fanning out from the spine.
    QPolygon left({ QPoint(1, 4), QPoint(7, 3), QPoint(7, 13), QPoint(1, 14) });
    QPolygon right({ QPoint(8, 3), QPoint(14, 4), QPoint(14, 14), QPoint(8, 13) });
    p.save();
    alignThinPen(p, scale);
    p.setPen(navy);
    p.setBrush(white);
    p.drawPolygon(left);
    p.drawPolygon(right);
    p.setPen(grey);
    for (int y = 6; y <= 11; y += 2) {
        p.drawLine(3, y, 6, y);
        p.drawLine(9, y, 12, y);
    }
    p.restore();
    p.fillRect(QRect(7, 3, 2, 12), maroon);
    p.fillRect(QRect(1, 14, 14, 1), navy);
}

void drawRunner(QPainter& p, int scale)
{
    p.setPen(Qt::NoPen);
    p.setBrush(lime);
    p.drawEllipse(QRect(10, 0, 5, 5));
    QPen limb(green, 2, Qt::SolidLine, Qt::SquareCap);
    p.setPen(limb);
    p.drawLine(10, 6, 7, 11); // body
    p.drawLine(9, 7, 13, 9); // front arm
    p.drawLine(9, 7, 5, 7); // back arm
    p.drawLine(7, 11, 11, 14); // front leg
    p.drawLine(11, 14, 13, 16);
    p.drawLine(7, 11, 4, 13); // back leg
    p.drawLine(4, 13, 2, 13);
    alignThinPen(p, scale);
    p.setPen(lime);
    p.drawLine(10, 6, 8, 10);
}

void drawDoor(QPainter& p)
{
    p.fillRect(QRect(2, 1, 11, 15), black); // the dark opening
    p.fillRect(QRect(2, 1, 11, 1), maroon);
    p.fillRect(QRect(2, 1, 1, 15), maroon);
    p.fillRect(QRect(12, 1, 1, 15), maroon);
    QPolygon leaf({ QPoint(3, 2), QPoint(8, 4), QPoint(8, 16), QPoint(3, 15) });
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawPolygon(leaf);
    p.fillRect(QRect(6, 9, 1, 2), yellow);
    p.fillRect(QRect(0, 15, 16, 1), grey);
}

// The disabled look: the shape in grey with a white shadow one unit (`shift` pixels) below and
// to the right.
void greyCopy(QImage& image, int width, int shift)
{
    const QRgb transparent = olive.rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < width; ++x)
            if (image.pixel(x, y) != transparent) {
                if (x + shift < width && y + shift < image.height()
                    && image.pixel(x + shift, y + shift) == transparent)
                    image.setPixel(width + x + shift, y + shift, white.rgb());
            }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < width; ++x)
            if (image.pixel(x, y) != transparent)
                image.setPixel(
                    width + x, y, qGray(image.pixel(x, y)) < 200 ? grey.rgb() : silver.rgb());
}

} // namespace

QImage renderGlyph(Glyph which, int scale)
{
    const int side = (which == Glyph::Play ? 18 : 16) * scale;
    QImage image(side * 2, side, QImage::Format_RGB32);
    image.fill(olive);
    {
        QPainter p(&image);
        scalePainter(p, scale);
        p.setRenderHint(QPainter::Antialiasing, false);
        if (which == Glyph::Play)
            p.translate(1, 1);
        switch (which) {
        case Glyph::Start:
            drawClock(p);
            break;
        case Glyph::Results:
            drawBook(p, scale);
            break;
        case Glyph::Play:
            drawRunner(p, scale);
            break;
        case Glyph::Exit:
            drawDoor(p);
            break;
        }
    }
    // Nothing of the drawing may spill into the greyed half or the transparent corner.
    for (int y = 0; y < side; ++y)
        for (int x = side; x < 2 * side; ++x)
            image.setPixel(x, y, olive.rgb());
    // The bottom-left unit gives the transparent colour.
    for (int y = side - scale; y < side; ++y)
        for (int x = 0; x < scale; ++x)
            image.setPixel(x, y, olive.rgb());
    greyCopy(image, side, scale);
    return image;
}

QImage renderIcon()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // The spanner, diagonal from lower left to upper right, under the hat's brim.
    p.save();
    p.translate(16, 20);
    p.rotate(-40);
    p.setPen(black);
    p.setBrush(silver);
    p.drawRect(-13, -2, 22, 4);
    p.drawEllipse(QRect(7, -6, 11, 12));
    p.drawEllipse(QRect(-19, -5, 9, 10));
    p.setBrush(Qt::transparent);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setPen(Qt::NoPen);
    p.drawRect(12, -2, 8, 4); // jaw opening
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.restore();
    // The hard hat: dome, ridge and brim.
    p.setPen(black);
    p.setBrush(yellow);
    QPainterPath dome;
    dome.moveTo(5, 17);
    dome.cubicTo(5, 3, 27, 3, 27, 17);
    dome.closeSubpath();
    p.drawPath(dome);
    p.drawRect(2, 16, 28, 3);
    p.setPen(Qt::NoPen);
    p.fillRect(QRect(15, 5, 2, 11), olive);
    p.fillRect(QRect(8, 10, 2, 5), white);
    p.end();
    // Blending rounds some pixels one step off the palette: snap them back.
    const QColor palette[]
        = { black, maroon, green, olive, navy, grey, silver, red, lime, yellow, blue, white };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) < 128) {
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
                continue;
            }
            int best = 0, bestDistance = 1 << 30;
            for (int i = 0; i < int(std::size(palette)); ++i) {
                const int dr = qRed(c) - palette[i].red(), dg = qGreen(c) - palette[i].green(),
                          db = qBlue(c) - palette[i].blue();
                if (dr * dr + dg * dg + db * db < bestDistance) {
                    bestDistance = dr * dr + dg * dg + db * db;
                    best = i;
                }
            }
            image.setPixel(x, y, palette[best].rgb());
        }
    return image;
}

} // namespace artgen
