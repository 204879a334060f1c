// Scenes 5-8 and 10: several people, or one at work on the room itself.

#include "figures.h"
#include "palette.h"
#include "scenes.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace artgen {

namespace {

using std::numbers::pi;

double clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}

// The back of a seated listener: shoulders and the back of the head.
void listener(QPainter& p, QPointF head, QRgb hair, QRgb jacket, double nod)
{
    fillRound(p, QRectF(head.x() - 10, head.y() + 6, 20, 24), 6, jacket);
    fillEllipse(p, QRectF(head.x() - 6, head.y() - 6.5 + nod, 12, 13), hair);
}

} // namespace

void sceneEasel(QPainter& p, const SceneClock& c)
{
    // Two colleagues draw a picture on a big easel, stroke by stroke.
    room(p, pal::wallBeige, 96);
    poster(p, QRectF(124, 12, 26, 18));
    // Easel: three legs and the board.
    line(p, QPointF(80, 20), QPointF(62, 96), 2.4, pal::woodDark);
    line(p, QPointF(80, 20), QPointF(98, 96), 2.4, pal::woodDark);
    line(p, QPointF(80, 20), QPointF(80, 92), 2.0, pal::wood);
    fillRect(p, QRectF(50, 16, 60, 48), pal::woodDark);
    fillRect(p, QRectF(52, 18, 56, 44), pal::paper);
    fillRect(p, QRectF(48, 63, 64, 3), pal::wood);

    // The drawing: a house, then a tree, the sun and a bird; a stroke or a dab of paint is
    // added at almost every frame.
    enum Kind { Line, Dab, Block };
    struct Stroke
    {
        Kind kind;
        QPointF a, b; // a line's ends, a dab's or block's corners
        QRgb colour;
    };
    const Stroke strokes[] = {
        { Line, { 62, 56 }, { 62, 40 }, pal::nearBlack },
        { Line, { 62, 40 }, { 84, 40 }, pal::nearBlack },
        { Line, { 84, 40 }, { 84, 56 }, pal::nearBlack },
        { Line, { 60, 41 }, { 73, 29 }, pal::phoneRed },
        { Line, { 73, 29 }, { 86, 41 }, pal::phoneRed },
        { Block, { 70, 47 }, { 76, 56 }, pal::woodDark },
        { Block, { 64, 43 }, { 68, 47 }, pal::screen },
        { Block, { 78, 43 }, { 82, 47 }, pal::screen },
        { Line, { 56, 57 }, { 106, 57 }, pal::leaf },
        { Line, { 98, 56 }, { 98, 44 }, pal::trunk },
        { Dab, { 92, 33 }, { 104, 45 }, pal::leaf },
        { Dab, { 94, 37 }, { 99, 41 }, pal::leafDark },
        { Line, { 79, 34 }, { 79, 28 }, pal::nearBlack },
        { Dab, { 79, 23 }, { 83, 26 }, pal::paperShade },
        { Dab, { 95, 19 }, { 103, 27 }, pal::gold },
        { Line, { 99, 17 }, { 99, 15 }, pal::gold },
        { Line, { 105, 23 }, { 107, 23 }, pal::gold },
        { Line, { 93, 23 }, { 91, 23 }, pal::gold },
        { Line, { 58, 24 }, { 61, 27 }, pal::nearBlack },
        { Line, { 61, 27 }, { 64, 24 }, pal::nearBlack },
        { Line, { 73, 57 }, { 71, 61 }, pal::orange },
    };
    const int shown
        = std::min<int>(std::size(strokes), 8 + c.frame * 13 / std::max(1, c.frames - 1));
    for (int i = 0; i < shown; ++i) {
        const Stroke& s = strokes[i];
        if (s.kind == Line)
            line(p, s.a, s.b, 1.6, s.colour);
        else if (s.kind == Dab)
            fillEllipse(p, QRectF(s.a, s.b), s.colour);
        else
            fillRect(p, QRectF(s.a, s.b), s.colour);
    }
    const Stroke& last = strokes[std::max(0, shown - 1)];
    const QPointF pen = last.kind == Line ? last.b : QRectF(last.a, last.b).center();

    // Left: the artist with a long brush at the last stroke; right: the colleague pointing.
    Person artist { QPointF(40, 76), 1.0, pal::skin, pal::hairBrown, pal::purple, pal::shirtBlue };
    artist.female = true;
    artist.facing = 1;
    artist.headTilt = 6;
    artist.armL = -20;
    const QPointF shoulder = artist.hip + QPointF(5, -16);
    reachArm(artist, false, shoulder + (pen - shoulder) * 0.45);
    drawPerson(p, artist);
    const QPointF hand = handPoint(artist, false);
    line(p, hand, pen + (hand - pen) * 0.12, 1.3, pal::woodDark);
    line(p, pen + (hand - pen) * 0.12, pen, 1.8, last.colour);

    Person colleague { QPointF(124, 76), 1.0, pal::skin, pal::hairBlack, pal::shirtGreen,
        pal::suit };
    colleague.facing = -1;
    const double wave = std::sin(2 * pi * c.t * 3);
    colleague.armL = -110 - 15 * wave;
    colleague.foreL = -10;
    colleague.armR = 10;
    colleague.mouth = c.frame % 3 == 1 ? 1 : 0;
    drawPerson(p, colleague);
}

void scenePresentation(QPainter& p, const SceneClock& c)
{
    // A speaker shows a bar chart that rises; her audience sits in front.
    room(p, pal::wallBlue, 96);
    // Chart board on a stand.
    line(p, QPointF(104, 70), QPointF(96, 96), 2, pal::metal);
    line(p, QPointF(128, 70), QPointF(136, 96), 2, pal::metal);
    fillRect(p, QRectF(74, 10, 80, 62), pal::metal);
    fillRect(p, QRectF(76, 12, 76, 58), pal::paper);
    line(p, QPointF(82, 64), QPointF(148, 64), 1, pal::nearBlack);
    line(p, QPointF(82, 64), QPointF(82, 16), 1, pal::nearBlack);
    const int k = c.frame;
    const double grow = clamp01((k + 1) / 10.0); // the bars rise over the first ten frames
    const double heights[] = { 10, 18, 27, 38, 46 };
    const QRgb colours[]
        = { pal::shirtBlue, pal::shirtGreen, pal::gold, pal::orange, pal::phoneRed };
    for (int i = 0; i < 5; ++i) {
        const double h = heights[i] * (0.3 + 0.7 * grow);
        fillRect(p, QRectF(86 + i * 12.5, 64 - h, 9, h), colours[i]);
    }
    if (k >= 11) { // the trend arrow
        const double len = clamp01((k - 10) / 4.0);
        const QPointF a(88, 50), b(148, 14);
        const QPointF tip = a + (b - a) * len;
        line(p, a, tip, 1.6, pal::phoneRed);
        if (len >= 1) {
            QPainterPath head;
            head.moveTo(b);
            head.lineTo(b + QPointF(-7, 1));
            head.lineTo(b + QPointF(-2, 6));
            head.closeSubpath();
            p.fillPath(head, QColor(pal::phoneRed));
        }
    }

    // The speaker with a pointer toward the bar she talks about.
    Person speaker { QPointF(46, 70), 1.0, pal::skin, pal::hairBlack, pal::dressRed, pal::suit };
    speaker.female = true;
    speaker.bottom = pal::dressRed;
    speaker.facing = 1;
    const int bar = k < 10 ? std::min(4, k / 2) : 4 - (k % 5);
    const QPointF target(90 + bar * 12.5, 64 - heights[bar] * (0.3 + 0.7 * grow) - 2);
    speaker.armR = 100 - bar * 5;
    speaker.foreR = -10;
    speaker.armL = -25;
    speaker.foreL = 40;
    speaker.mouth = k % 2 ? 1 : 0;
    drawPerson(p, speaker);
    line(p, handPoint(speaker, false), target, 1.0, pal::woodDark);

    // The audience, seen from behind; they nod when the arrow appears.
    const double nod = k >= 13 ? (k % 2) * 1.5 : 0;
    listener(p, QPointF(28, 98), pal::hairBrown, pal::suit, nod);
    listener(
        p, QPointF(62, 100), pal::hairBlond, pal::shirtGreen, k >= 14 ? ((k + 1) % 2) * 1.5 : 0);
    listener(p, QPointF(96, 98), pal::hairGrey, pal::suitGrey, nod);
    listener(p, QPointF(130, 100), pal::hairBlack, pal::purple, 0);
}

void scenePainter(QPainter& p, const SceneClock& c)
{
    // A decorator on a stepladder rolls new paint across the wall.
    room(p, pal::wallBeige, 96);
    const int k = c.frame;
    const double edge = 52 + k * 5; // the painted part grows to the right
    fillRect(p, QRectF(-80, -80, edge + 80, 176), pal::wallGreen);
    // Drips along the wet edge.
    for (int i = 0; i < 5; ++i)
        fillRound(
            p, QRectF(edge - 0.5, 10 + i * 16 + (i * 7 + k * 3) % 9, 2.4, 6), 1.2, pal::wallGreen);
    fillRect(p, QRectF(-80, 96, 320, 2), pal::woodDark);

    // Stepladder.
    const double lx = 100;
    line(p, QPointF(lx - 12, 96), QPointF(lx - 2, 40), 2.2, pal::metal);
    line(p, QPointF(lx + 12, 96), QPointF(lx + 2, 40), 2.2, pal::metal);
    for (int i = 1; i <= 4; ++i) {
        const double y = 96 - i * 12;
        const double half = 12 - i * 2.1;
        line(p, QPointF(lx - half, y), QPointF(lx + half, y), 1.4, pal::metal);
    }
    // The painter standing on the third step, reaching to the wall's edge with the roller.
    Person painter { QPointF(lx, 42), 0.9, pal::skin, pal::hairBrown, pal::paper, pal::shirtBlue };
    painter.facing = -1;
    const double strokeUp = (k % 2) ? 1 : 0;
    painter.armL = -120 - 30 * strokeUp;
    painter.foreL = -10;
    painter.armR = 20;
    painter.foreR = 30;
    painter.mouth = 0;
    drawPerson(p, painter);
    // Paper hat.
    QPainterPath hat;
    hat.moveTo(lx - 6, 42 - 0.9 * 30);
    hat.lineTo(lx + 6, 42 - 0.9 * 30);
    hat.lineTo(lx, 42 - 0.9 * 39);
    hat.closeSubpath();
    p.fillPath(hat, QColor(pal::paper));
    const QPointF hand = handPoint(painter, true);
    const QPointF roller(edge - 3, strokeUp ? 14 : 38); // up and down the wet edge
    line(p, hand, roller, 1.2, pal::metal);
    fillRound(p, QRectF(roller.x() - 2.5, roller.y() - 7, 5, 14), 2, pal::shirtGreen);
    // A paint tray on the ladder top.
    fillRect(p, QRectF(lx - 6, 37, 12, 3), pal::metal);

    // Paint cans on the floor.
    for (int i = 0; i < 3; ++i) {
        const double x = 26 + i * 13;
        fillRect(p, QRectF(x, 84, 10, 12), pal::suitGrey);
        fillEllipse(p, QRectF(x, 82, 10, 4), i == 0 ? pal::shirtGreen : pal::metal);
        fillRect(p, QRectF(x + 1, 88, 8, 4), i == 2 ? pal::orange : pal::shirtGreen);
    }
    // Wallpaper rolls leaning at the right.
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(130 + i * 7, 96);
        p.rotate(-8 + i * 4);
        fillRound(p, QRectF(-3, -30, 6, 30), 2, i % 2 ? pal::wallPink : pal::paper);
        fillRect(p, QRectF(-3, -22, 6, 1.5), pal::purple);
        fillRect(p, QRectF(-3, -12, 6, 1.5), pal::purple);
        p.restore();
    }
}

void sceneRestaurant(QPainter& p, const SceneClock& c)
{
    // A waitress brings a dish to a hungry guest.
    room(p, pal::wallPink, 96);
    // A framed picture and a wall lamp.
    fillRect(p, QRectF(20, 14, 30, 22), pal::gold);
    fillRect(p, QRectF(22, 16, 26, 18), pal::sky);
    fillEllipse(p, QRectF(26, 20, 8, 8), pal::gold);
    fillRect(p, QRectF(22, 28, 26, 6), pal::leaf);
    fillRound(p, QRectF(74, 16, 10, 8), 3, pal::lampLight);
    fillRect(p, QRectF(78, 24, 2, 4), pal::gold);

    const int k = c.frame;
    const double walk = clamp01(k / 20.0); // walks in over 20 frames
    const double lower = clamp01((k - 20) / 8.0); // then sets the dish down
    const bool served = k >= 28;

    // Guest at a table on the left.
    Person guest { QPointF(40, 78), 1.0, pal::skin, pal::hairBrown, pal::shirtBlue, pal::suit };
    guest.sitting = true;
    guest.facing = 1;
    guest.tie = pal::gold;
    const double bite = served ? std::fabs(std::sin(pi * (k - 28) / 5.0)) : 0;
    guest.armR = served ? 40 + 60 * bite : 35;
    guest.foreR = served ? -100 * bite : 40;
    guest.armL = -20;
    guest.mouth = served ? (bite > 0.6 ? 1 : 0) : 2;
    chair(p, QPointF(38, 80), 1.0, 1, pal::woodDark);
    drawPerson(p, guest);
    if (served) {
        const QPointF fork = handPoint(guest, false);
        line(p, fork, fork + QPointF(2, -6), 0.9, pal::suitGrey);
    }
    // Table with a checked cloth.
    fillRect(p, QRectF(64, 74, 3, 22), pal::woodDark);
    fillRect(p, QRectF(30, 68, 58, 8), pal::paper);
    for (int i = 0; i < 7; ++i)
        fillRect(p, QRectF(31 + i * 8, 69, 4, 3), pal::phoneRed);
    fillRect(p, QRectF(30, 68, 58, 1), pal::paperShade);
    // Candle and glass.
    fillRect(p, QRectF(76, 60, 2.5, 8), pal::paper);
    fillEllipse(p, QRectF(75.8, 56.5 - (k % 2) * 0.6, 3, 4), pal::orange);
    fillRect(p, QRectF(69, 62, 3.5, 6), pal::farCity);

    // The waitress: black dress, white apron, a tray with a covered dish.
    const double x = 140 - 40 * walk;
    Person waitress { QPointF(x, 76), 1.0, pal::skin, pal::hairBlond, pal::nearBlack,
        pal::nearBlack };
    waitress.female = true;
    waitress.facing = -1;
    waitress.legSwing = walk < 1 ? 18 * std::sin(pi * k / 2.5) : 0;
    waitress.armL = -70 + 20 * lower;
    waitress.foreL = -40 + 30 * lower;
    waitress.armR = 10;
    waitress.mouth = served ? 0 : 2;
    drawPerson(p, waitress);
    fillRect(p, QRectF(x - 4.5, 64, 9, 12), pal::paper);
    const QPointF trayHand = handPoint(waitress, true);
    const QPointF dish = served ? QPointF(58, 68) : trayHand + QPointF(-4, -2 + 4 * lower);
    if (!served)
        fillRect(p, QRectF(dish.x() - 9, dish.y() - 1, 18, 1.8), pal::suitGrey);
    fillEllipse(p, QRectF(dish.x() - 7, dish.y() - 2.2, 14, 3), pal::paper);
    if (served) { // steaming food
        fillEllipse(p, QRectF(dish.x() - 4.5, dish.y() - 3.5, 9, 3), pal::orange);
        fillEllipse(p, QRectF(dish.x() - 2, dish.y() - 4.5, 4, 2), pal::leaf);
        for (int i = 0; i < 2; ++i) {
            const double rise = std::fmod((k - 28) * 0.15 + i * 0.5, 1.0);
            fillEllipse(
                p, QRectF(dish.x() - 3 + i * 4, dish.y() - 8 - rise * 10, 2.5, 3), pal::paperShade);
        }
    } else {
        QPainterPath cover;
        cover.moveTo(dish.x() - 6, dish.y() - 1.5);
        cover.cubicTo(
            dish.x() - 6, dish.y() - 10, dish.x() + 6, dish.y() - 10, dish.x() + 6, dish.y() - 1.5);
        cover.closeSubpath();
        p.fillPath(cover, QColor(pal::shutterLight));
        fillEllipse(p, QRectF(dish.x() - 1, dish.y() - 10, 2, 2), pal::suitGrey);
    }
}

void sceneBoss(QPainter& p, const SceneClock& c)
{
    // The boss at his desk, the city behind him, lays down the law to three employees.
    room(p, pal::wallBeige, 96);
    // Window onto the city.
    fillRect(p, QRectF(70, 6, 76, 50), pal::frame);
    fillRect(p, QRectF(73, 9, 70, 44), pal::sky);
    const double towers[][3] = { { 74, 30, 10 }, { 85, 20, 9 }, { 95, 34, 12 }, { 108, 16, 10 },
        { 119, 26, 8 }, { 128, 22, 13 } };
    for (const auto& t : towers) {
        fillRect(p, QRectF(t[0], t[1], t[2], 53 - t[1]), pal::nearCity);
        for (double y = t[1] + 3; y < 50; y += 5)
            fillRect(p, QRectF(t[0] + 2, y, t[2] - 4, 1.6), 0xFFB6CCE0);
    }
    line(p, QPointF(108, 9), QPointF(108, 53), 1.5, pal::frame);

    const int k = c.frame;
    // Frames: talks, points, they bow, he bangs the desk, papers jump, raised hands, smiles.
    Person boss { QPointF(108, 73), 1.1, pal::skin, pal::hairGrey, pal::suit, pal::suit };
    boss.tie = pal::phoneRed;
    boss.sitting = true;
    boss.facing = -1;
    boss.bald = true;
    boss.mouth = (k == 6) ? 0 : 1;
    // Frame 3 raises the fist, frame 4 brings it down on the desk.
    boss.armL = k == 1 ? -95 : (k == 3 ? -150 : (k == 4 ? -45 : -30));
    boss.foreL = k == 1 ? 0 : (k == 3 ? -20 : (k == 4 ? 30 : 60));
    boss.armR = k == 5 ? 120 : 25;
    boss.foreR = k == 5 ? 20 : -40;
    drawPerson(p, boss);
    desk(p, QRectF(76, 70, 64, 5), 21, pal::woodDark);
    fillRect(p, QRectF(80, 75, 56, 14), pal::wood);
    const double jump = k == 4 ? 3 : 0;
    fillRect(p, QRectF(118, 67 - jump, 12, 2), pal::paper);
    fillRect(p, QRectF(120, 64.5 - jump * 1.5, 10, 2), pal::paperShade);
    fillRect(p, QRectF(84, 64, 2, 6), pal::gold); // pen stand
    if (k == 4) { // the bang
        p.setPen(QPen(QColor(pal::phoneRed), 0.9));
        const QPointF fist = handPoint(boss, true);
        for (int i = 0; i < 5; ++i) {
            const double a = (200 + i * 35) * pi / 180;
            p.drawLine(fist + QPointF(std::cos(a) * 4, std::sin(a) * 4),
                fist + QPointF(std::cos(a) * 8, std::sin(a) * 8));
        }
        p.setPen(Qt::NoPen);
    }

    // Three men in suits stand before him.
    const QRgb hair[] = { pal::hairBrown, pal::hairBlack, pal::hairBlond };
    const QRgb ties[] = { pal::shirtBlue, pal::shirtGreen, pal::gold };
    for (int i = 0; i < 3; ++i) {
        Person man { QPointF(20 + i * 20, 78), 1.0, pal::skin, hair[i], pal::suitGrey, pal::suit };
        if (i == 1)
            man.top = pal::suit;
        man.tie = ties[i];
        man.facing = 1;
        const bool bow = k == 2 || k == 3 || k == 4;
        man.headDrop = bow ? 3 : 0;
        man.lean = bow ? 8 : 0;
        man.mouth = k == 6 ? 0 : 2;
        man.eyesClosed = k == 4;
        if (k == 5) { // hands up: "we will!"
            man.armL = -160;
            man.armR = 160;
            man.foreL = man.foreR = 0;
        } else {
            man.armL = -8;
            man.armR = 8;
        }
        drawPerson(p, man);
    }
}

} // namespace artgen
