#include "building.h"

#include "figures.h"
#include "palette.h"
#include "window_art.h"

#include "game/card_grid.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace artgen {

namespace {

constexpr int facadeLeft = 120, facadeRight = 680, facadeTop = 100, groundY = 560;

void cloud(QPainter& p, double x, double y, double s)
{
    // Puffs on a rounded base.
    fillRound(p, QRectF(x, y, 80 * s, 22 * s), 11 * s, pal::cloud);
    fillEllipse(p, QRectF(x + 12 * s, y - 14 * s, 30 * s, 30 * s), pal::cloud);
    fillEllipse(p, QRectF(x + 32 * s, y - 22 * s, 34 * s, 36 * s), pal::cloud);
    fillEllipse(p, QRectF(x + 56 * s, y - 8 * s, 20 * s, 20 * s), pal::cloud);
}

void crane(QPainter& p, double mastX, double top, double jibLeft, double jibRight, double hook)
{
    const double base = 560;
    // Lattice mast: two rails and zigzag bracing.
    line(p, QPointF(mastX - 5, base), QPointF(mastX - 5, top), 2, pal::crane);
    line(p, QPointF(mastX + 5, base), QPointF(mastX + 5, top), 2, pal::crane);
    for (double y = top; y < base; y += 20)
        line(p, QPointF(mastX - 5, y), QPointF(mastX + 5, y + 20), 1.2, pal::crane);
    line(p, QPointF(jibLeft, top), QPointF(jibRight, top), 4, pal::crane);
    line(p, QPointF(mastX, top - 22), QPointF(jibLeft, top), 1, pal::metal);
    line(p, QPointF(mastX, top - 22), QPointF(jibRight, top), 1, pal::metal);
    line(p, QPointF(mastX, top - 22), QPointF(mastX, top), 3, pal::crane);
    fillRect(p, QRectF(mastX - 9, top + 2, 18, 12), pal::crane);
    fillRect(p, QRectF(mastX - 6, top + 4, 7, 6), pal::screen);
    const double hookX = mastX < 400 ? jibLeft + (jibRight - jibLeft) * 0.25
                                     : jibLeft + (jibRight - jibLeft) * 0.8;
    line(p, QPointF(hookX, top), QPointF(hookX, top + hook), 0.8, pal::metal);
    fillRect(p, QRectF(hookX - 10, top + hook, 20, 8), pal::metal);
}

void skyline(QPainter& p)
{
    const struct
    {
        double x, w, top;
        QRgb colour;
    } blocks[] = {
        { 0, 45, 330, pal::farCity },
        { 40, 50, 280, pal::farCity },
        { 85, 40, 360, pal::farCity },
        { 690, 50, 300, pal::farCity },
        { 735, 64, 350, pal::farCity },
        { 10, 38, 410, pal::nearCity },
        { 60, 50, 380, pal::nearCity },
        { 700, 44, 400, pal::nearCity },
        { 750, 49, 430, pal::nearCity },
    };
    for (const auto& b : blocks) {
        fillRect(p, QRectF(b.x, b.top, b.w, 560 - b.top), b.colour);
        for (double y = b.top + 8; y < 540; y += 16)
            for (double x = b.x + 6; x + 6 < b.x + b.w; x += 12)
                fillRect(p, QRectF(x, y, 5, 7), b.colour == pal::farCity ? 0xFFB6CCE0 : 0xFF95B0CC);
    }
}

void tree(QPainter& p, double x, double s)
{
    fillRect(p, QRectF(x - 5 * s, 470, 10 * s, 90), pal::trunk);
    fillEllipse(p, QRectF(x - 40 * s, 420 - 30 * s, 80 * s, 70 * s), pal::leafDark);
    fillEllipse(p, QRectF(x - 34 * s, 410 - 48 * s, 60 * s, 62 * s), pal::leaf);
    fillEllipse(p, QRectF(x - 6 * s, 420 - 40 * s, 44 * s, 50 * s), pal::leaf);
}

void lamp(QPainter& p, double x, int side)
{
    line(p, QPointF(x, 562), QPointF(x, 410), 4, pal::metal);
    line(p, QPointF(x, 412), QPointF(x + side * 16, 404), 3, pal::metal);
    fillRound(p, QRectF(x + side * 16 - 9, 400, 18, 7), 3, pal::metal);
    fillEllipse(p, QRectF(x + side * 16 - 6, 405, 12, 6), pal::lampLight);
    fillRect(p, QRectF(x - 5, 554, 10, 8), pal::metal);
}

void van(QPainter& p, double x, int facing)
{
    // Box body, cab on the facing side, wheels, lettering.
    const double y = 520;
    const double cabX = facing > 0 ? x + 100 : x;
    const double boxX = facing > 0 ? x : x + 40;
    fillRound(p, QRectF(boxX, y, 100, 52), 4, pal::cloud);
    fillRect(p, QRectF(boxX, y + 38, 100, 6), pal::vanRed);
    QPainterPath cab;
    const double cx = facing > 0 ? cabX : cabX + 40;
    cab.moveTo(cx, y + 14);
    cab.lineTo(cx + facing * 24, y + 14);
    cab.lineTo(cx + facing * 38, y + 34);
    cab.lineTo(cx + facing * 40, y + 52);
    cab.lineTo(cx, y + 52);
    cab.closeSubpath();
    p.fillPath(cab, QColor(pal::vanRed));
    QPainterPath glass;
    glass.moveTo(cx + facing * 4, y + 18);
    glass.lineTo(cx + facing * 22, y + 18);
    glass.lineTo(cx + facing * 32, y + 32);
    glass.lineTo(cx + facing * 4, y + 32);
    glass.closeSubpath();
    p.fillPath(glass, QColor(pal::farCity));
    text(p, QRectF(boxX, y + 6, 100, 18), QStringLiteral("Мнемира"), 17, pal::signBoard);
    text(p, QRectF(boxX, y + 24, 100, 12), QStringLiteral("доставка"), 11, pal::vanRed, false);
    for (double wx : { boxX + 22, (facing > 0 ? cabX + 22 : cabX + 18) }) {
        fillEllipse(p, QRectF(wx - 11, y + 44, 22, 22), pal::nearBlack);
        fillEllipse(p, QRectF(wx - 5, y + 50, 10, 10), pal::pavement);
    }
}

void facade(QPainter& p, bool withWindows)
{
    fillRect(p, QRectF(facadeLeft, facadeTop, facadeRight - facadeLeft, groundY - facadeTop),
        pal::facade);
    fillRect(p, QRectF(facadeRight - 14, facadeTop, 14, groundY - facadeTop), pal::facadeLine);
    // Floor lines, in the gaps between the window rows.
    for (int y = 210; y <= 480; y += 90)
        fillRect(p, QRectF(facadeLeft, y - 2, facadeRight - facadeLeft, 4), pal::facadeLine);
    // Roof: a dark red parapet with its cornice.
    fillRect(
        p, QRectF(facadeLeft - 12, facadeTop - 20, facadeRight - facadeLeft + 24, 20), pal::roof);
    fillRect(
        p, QRectF(facadeLeft - 12, facadeTop - 4, facadeRight - facadeLeft + 24, 4), pal::roofDark);
    fillRect(p, QRectF(facadeLeft - 12, facadeTop - 24, facadeRight - facadeLeft + 24, 4),
        pal::roofDark);
    // The sign on the roof, centred over the building; its right edge stays on sky left of
    // x 522, where the game page writes the player's name.
    line(p, QPointF(300, 72), QPointF(300, 82), 5, pal::metal);
    line(p, QPointF(500, 72), QPointF(500, 82), 5, pal::metal);
    const QRectF sign(288, 20, 224, 54);
    fillRound(p, sign, 6, pal::signText);
    fillRound(p, sign.adjusted(4, 4, -4, -4), 4, pal::signBoard);
    text(p, sign.adjusted(4, 4, -4, -4), QStringLiteral("Мнемира"), 36, pal::signText);
    // Entrance with an awning.
    const QRectF entrance(366, 492, 68, 68);
    fillRect(p, entrance.adjusted(-6, -6, 6, 0), pal::facadeLine);
    fillRect(p, entrance, pal::screen);
    fillRect(
        p, QRectF(entrance.center().x() - 1.5, entrance.top(), 3, entrance.height()), pal::metal);
    QPainterPath awning;
    awning.moveTo(354, 486);
    awning.lineTo(446, 486);
    awning.lineTo(452, 476);
    awning.lineTo(348, 476);
    awning.closeSubpath();
    p.fillPath(awning, QColor(pal::roof));
    // Shop windows either side of the entrance.
    for (const double x : { 140.0, 560.0 }) {
        fillRect(p, QRectF(x - 4, 494, 108, 56), pal::facadeLine);
        fillRect(p, QRectF(x, 498, 100, 48), pal::screen);
        QPainterPath glare;
        glare.moveTo(x + 14, 546);
        glare.lineTo(x + 44, 498);
        glare.lineTo(x + 58, 498);
        glare.lineTo(x + 28, 546);
        glare.closeSubpath();
        p.fillPath(glare, QColor(pal::farCity));
        fillRect(p, QRectF(x + 49, 498, 2, 48), pal::metal);
    }
    if (withWindows)
        for (const QRect& r : cardRects())
            drawShutterWindow(p, r);
}

} // namespace

std::vector<QRect> cardRects()
{
    std::vector<QRect> rects;
    for (const game::CardPlace& place : game::kCardPlaces)
        rects.emplace_back(place.left, place.top, game::kCardWidth, game::kCardHeight);
    return rects;
}

QImage renderBackground(bool withWindows, int scale)
{
    QImage image(799 * scale, 600 * scale, QImage::Format_RGB32);
    QPainter p(&image);
    scalePainter(p, scale);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    QLinearGradient skyFill(0, 0, 0, 560);
    skyFill.setColorAt(0, QColor(pal::skyHigh));
    skyFill.setColorAt(1, QColor(pal::sky));
    p.fillRect(QRect(0, 0, 799, 560), skyFill);
    // Clouds stay clear of the top right, where the game page writes its counters.
    cloud(p, 140, 40, 0.8);
    cloud(p, 8, 112, 0.9);
    cloud(p, 690, 118, 0.8);
    skyline(p);
    crane(p, 70, 170, 10, 150, 70);
    crane(p, 742, 190, 690, 795, 110);
    tree(p, 52, 1.0);
    tree(p, 752, 0.95);
    facade(p, withWindows);
    fillRect(p, QRectF(0, 560, 799, 16), pal::pavement);
    fillRect(p, QRectF(0, 560, 799, 2), pal::facadeLine);
    fillRect(p, QRectF(0, 576, 799, 24), pal::asphalt);
    for (double x = 20; x < 799; x += 80)
        fillRect(p, QRectF(x, 589, 40, 3), pal::paper);
    lamp(p, 104, 1);
    lamp(p, 696, -1);
    van(p, 4, 1);
    van(p, 655, -1);
    return image;
}

} // namespace artgen
