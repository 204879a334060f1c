// Scenes 1-4 and 9: offices with one person or none.

#include "figures.h"
#include "palette.h"
#include "scenes.h"

#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace artgen {

namespace {

using std::numbers::pi;

// Little arcs either side of something that rings.
void ringMarks(QPainter& p, QPointF c, double size, int phase)
{
    p.setPen(QPen(QColor(pal::nearBlack), 0.9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const double r = size * (1 + 0.25 * (phase % 2));
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 30 * 16, 60 * 16);
    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 90 * 16, 60 * 16);
    const double r2 = r + size * 0.5;
    p.drawArc(QRectF(c.x() - r2, c.y() - r2, 2 * r2, 2 * r2), 40 * 16, 40 * 16);
    p.drawArc(QRectF(c.x() - r2, c.y() - r2, 2 * r2, 2 * r2), 100 * 16, 40 * 16);
    p.setPen(Qt::NoPen);
}

void banknote(QPainter& p, QPointF c, double angle)
{
    p.save();
    p.translate(c);
    p.rotate(angle);
    fillRect(p, QRectF(-6, -3, 12, 6), pal::money);
    fillRect(p, QRectF(-5, -2, 10, 4), pal::moneyDark);
    fillRect(p, QRectF(-4.3, -1.3, 8.6, 2.6), pal::money);
    fillEllipse(p, QRectF(-1.3, -1.3, 2.6, 2.6), pal::moneyDark);
    p.restore();
}

void noteStack(QPainter& p, QPointF base, int count)
{
    for (int i = 0; i < count; ++i) {
        fillRect(p, QRectF(base.x() - 7, base.y() - (i + 1) * 1.3, 14, 1.3),
            i % 2 ? pal::money : pal::moneyDark);
    }
}

} // namespace

void sceneTelephones(QPainter& p, const SceneClock& c)
{
    // A receptionist at a long desk of ringing telephones; she answers one after another.
    room(p, pal::wallBlue, 92);
    poster(p, QRectF(16, 10, 38, 26));
    fillRect(p, QRectF(100, 12, 40, 24), pal::frame); // a notice board with notes
    fillRect(p, QRectF(102, 14, 36, 20), 0xFFCDA577);
    fillRect(p, QRectF(105, 17, 9, 7), pal::paper);
    fillRect(p, QRectF(117, 16, 9, 9), pal::signText);
    fillRect(p, QRectF(128, 18, 8, 8), pal::wallPink);
    fillRect(p, QRectF(108, 26, 10, 6), pal::wallGreen);

    const int k = c.frame;
    const int ringing = (k / 5) % 6; // the phone that rings now
    const double sway = std::sin(2 * pi * c.t * 3);
    Person woman { QPointF(80, 75), 1.0, pal::skin, pal::hairBlond, pal::dressRed, pal::dressRed };
    woman.female = true;
    woman.sitting = true;
    woman.mouth = k % 4 < 2 ? 1 : 0;
    // One hand keeps a handset at her ear; the other reaches for the phone that rings.
    const double xs[] = { 20, 38, 56, 104, 122, 140 };
    const bool leftSide = xs[ringing] < 80;
    const double grab = k % 5 == 4 ? 2 : 0; // a last stretch before the next phone
    reachArm(woman, leftSide, QPointF(xs[ringing], 64 - grab));
    if (leftSide) {
        woman.armR = 120; // elbow out, hand at the ear
        woman.foreR = 110;
    } else {
        woman.armL = -120;
        woman.foreL = -110;
    }
    woman.headTilt = (leftSide ? -6 : 6) + 2 * sway;
    drawPerson(p, woman);
    const QPointF ear = handPoint(woman, !leftSide);
    fillRound(p, QRectF(ear.x() - 2, ear.y() - 4, 4, 8), 1.5, pal::metal);

    desk(p, QRectF(8, 72, 144, 5), 15, pal::wood);
    const QRgb colours[]
        = { pal::phoneRed, pal::metal, pal::shirtGreen, pal::shirtBlue, pal::orange, pal::purple };
    for (int i = 0; i < 6; ++i) {
        const bool rings = i == ringing;
        const double lift = rings && k % 2 == 0 ? 2.5 : 0;
        p.save();
        if (rings) { // shake
            p.translate(xs[i], 72);
            p.rotate(k % 2 ? -6 : 6);
            p.translate(-xs[i], -72);
        }
        telephone(p, QPointF(xs[i], 72), 1.0, colours[i], lift);
        p.restore();
        if (rings)
            ringMarks(p, QPointF(xs[i], 64), 5, k);
    }
    // Cords hang over the front of the desk.
    for (int i = 0; i < 6; ++i)
        line(p, QPointF(xs[i] + 4, 72), QPointF(xs[i] + 6, 80), 0.6, pal::nearBlack);
    paperStack(p, QPointF(72, 72), 10, 3, 0.5);
}

void sceneSleeper(QPainter& p, const SceneClock& c)
{
    // A clerk asleep on a desk buried in paper while the wall clock races.
    room(p, pal::wallBeige, 94);
    poster(p, QRectF(14, 12, 36, 24));
    const double turn = c.t * 60; // one turn of the minute hand per loop
    wallClock(p, QPointF(124, 24), 13, turn, 2);

    const double breath = std::sin(2 * pi * c.t * 2);
    Person man { QPointF(80, 84 + breath * 0.5), 1.0, pal::skin, pal::hairBrown, pal::shirtBlue,
        pal::suit };
    man.tie = pal::phoneRed;
    man.sitting = true;
    man.armL = 0;
    man.armR = 0;
    drawPerson(p, man);
    desk(p, QRectF(10, 66, 140, 5), 23, pal::wood);
    // His back, bent over the desk; folded arms and the head resting on them.
    fillEllipse(p, QRectF(67, 50 + breath * 0.6, 30, 20), pal::shirtBlue);
    fillRound(p, QRectF(62, 59.5 + breath * 0.3, 36, 7), 3.5, pal::shirtBlue);
    fillEllipse(p, QRectF(60, 60 + breath * 0.3, 5, 5), pal::skin);
    fillEllipse(p, QRectF(95, 60 + breath * 0.3, 5, 5), pal::skin);
    Person head = man;
    head.eyesClosed = true;
    head.mouth = 1;
    head.headTilt = 70;
    head.scale = 1.15;
    drawHead(p, head, QPointF(71, 57 + breath * 0.6));

    // Piles of paper on both sides, the tallest leaning.
    paperStack(p, QPointF(24, 66), 18, 14, 1.2);
    paperStack(p, QPointF(44, 66), 16, 9, 0.8);
    paperStack(p, QPointF(118, 66), 18, 16, 1.4);
    paperStack(p, QPointF(138, 66), 14, 11, 0.7);
    fillRect(p, QRectF(100, 63.5, 10, 2.5), pal::paper);

    // Three Z's rise from the sleeper and start again.
    for (int i = 0; i < 3; ++i) {
        double phase = std::fmod(c.t * 2 + i / 3.0, 1.0);
        const QPointF at(80 + phase * 22 + i * 2, 50 - phase * 34);
        text(p, QRectF(at.x() - 5, at.y() - 5, 10, 10), QStringLiteral("Z"), 4 + phase * 6,
            pal::shirtBlue);
    }
}

void sceneMoney(QPainter& p, const SceneClock& c)
{
    // A man counts banknotes from one pile to another at a round table under a lamp.
    room(p, pal::wallGreen, 94);
    poster(p, QRectF(14, 12, 36, 24));
    // Climbing plant: a pot on the floor and a vine up the right wall.
    plant(p, QPointF(140, 94), 1.0);
    QPainterPath vine;
    vine.moveTo(140, 84);
    vine.cubicTo(150, 60, 128, 40, 146, 10);
    p.setPen(QPen(QColor(pal::leafDark), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(vine);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        const QPointF leaf = vine.pointAtPercent(0.08 + i * 0.105);
        const double side = i % 2 ? 3 : -3;
        fillEllipse(p, QRectF(leaf.x() + side - 2.5, leaf.y() - 2, 5, 4),
            i % 3 ? pal::leaf : pal::leafDark);
    }
    // Hanging lamp.
    line(p, QPointF(80, -10), QPointF(80, 14), 0.8, pal::nearBlack);
    QPainterPath shade;
    shade.moveTo(73, 22);
    shade.lineTo(87, 22);
    shade.lineTo(83, 14);
    shade.lineTo(77, 14);
    shade.closeSubpath();
    p.fillPath(shade, QColor(pal::phoneRed));
    fillEllipse(p, QRectF(77, 20, 6, 4), pal::lampLight);

    const int k = c.frame;
    // Frames: pick up, hold up to the light, lay down, hold the next, flick, flick, done.
    const double handUp[] = { 0, 1, 0.2, 1, 0.5, 0.5, 0.3 };
    Person man { QPointF(80, 74), 1.0, pal::skin, pal::hairBlack, pal::shirtGreen, pal::suit };
    man.sitting = true;
    man.bald = true;
    man.hair = pal::hairGrey;
    man.armL = -40;
    man.foreL = 90;
    const double up = handUp[k];
    man.armR = 50 + 90 * up;
    man.foreR = -20 - 60 * up;
    man.mouth = k == 6 ? 0 : (k % 2 ? 1 : 2);
    man.headTilt = up > 0.8 ? 8 : 0;
    drawPerson(p, man);

    // Round table.
    fillRect(p, QRectF(77, 72, 6, 22), pal::woodDark);
    fillEllipse(p, QRectF(60, 90, 40, 6), pal::woodDark);
    fillEllipse(p, QRectF(36, 66, 88, 12), pal::woodDark);
    fillEllipse(p, QRectF(36, 64.5, 88, 12), pal::wood);
    const int counted = 2 + k; // the right pile grows
    noteStack(p, QPointF(56, 70), 9 - k);
    noteStack(p, QPointF(104, 70), counted);
    banknote(p, QPointF(62, 64), -10);
    // The note in his hand.
    banknote(p, handPoint(man, false) + QPointF(0, -3), -20 + 30 * up);
    // Gold coins.
    for (int i = 0; i < 3; ++i)
        fillEllipse(p, QRectF(72 + i * 5, 68, 4, 2), pal::gold);
}

void sceneFeetUp(QPainter& p, const SceneClock& c)
{
    // A man leans back in an armchair, feet on the desk, chatting on the phone.
    room(p, pal::wallBlue, 94);
    const int k = c.frame;
    const double doorOpen = (k >= 9 && k <= 12) ? 0.5 : 0.0; // someone looks in, then leaves
    door(p, QRectF(122, 30, 26, 64), doorOpen);
    if (doorOpen > 0) { // a colleague's face in the gap
        fillEllipse(p, QRectF(140, 47, 8, 9), pal::skin);
        fillRound(p, QRectF(140, 45.5, 8, 3.5), 1.5, pal::hairBlack);
        fillEllipse(p, QRectF(141.5, 50, 1.5, 1.8), pal::nearBlack);
    }

    // Armchair.
    fillRound(p, QRectF(12, 42, 16, 46), 5, pal::purple);
    fillRound(p, QRectF(16, 70, 30, 16), 4, pal::purple);
    fillRect(p, QRectF(18, 86, 3, 8), pal::woodDark);
    fillRect(p, QRectF(40, 86, 3, 8), pal::woodDark);

    // Desk with the computer and the telephone.
    desk(p, QRectF(48, 68, 82, 4), 22, pal::wood);
    const QRgb screens[] = { pal::screen, pal::shirtGreen, pal::orange, pal::purple };
    monitor(p, QPointF(112, 68), 1.0, screens[(k / 3) % 4]);
    fillRect(p, QRectF(100, 66, 16, 2), pal::paper);
    telephone(p, QPointF(86, 68), 0.9, pal::phoneRed, -1); // the handset is at his ear

    const double rock = std::sin(2 * pi * c.t * 2);
    Person man { QPointF(32, 69), 1.0, pal::skin, pal::hairBrown, pal::paper, pal::suitGrey };
    man.tie = pal::shirtBlue;
    man.sitting = true;
    man.lean = -18 + 4 * rock;
    man.thigh = 20;
    man.shin = 80; // feet up on the desk
    man.facing = 1;
    man.armL = -120; // handset at the ear
    man.foreL = -110;
    const double gesture[] = { 30, 45, 60, 45 };
    man.armR = gesture[k % 4];
    man.foreR = 70 - 20 * (k % 3);
    man.mouth = (k % 3 == 0) ? 0 : 1;
    drawPerson(p, man);
    const QPointF ear = handPoint(man, true);
    fillRound(p, QRectF(ear.x() - 2, ear.y() - 4, 4, 8), 1.5, pal::phoneRed);
    // Coffee mug beside his feet.
    fillRound(p, QRectF(72, 61, 5, 7), 1, pal::paper);
}

void sceneEmptyOffice(QPainter& p, const SceneClock& c)
{
    // Nobody in: a telephone rings and rings beside a laptop; at last it falls silent.
    room(p, pal::wallPink, 94);
    poster(p, QRectF(16, 12, 40, 27));
    door(p, QRectF(118, 28, 28, 66), 0);
    const int k = c.frame;
    const bool ringing = k < c.frames - 1;

    desk(p, QRectF(30, 66, 80, 4), 24, pal::woodDark);
    fillRect(p, QRectF(36, 70, 24, 14), pal::wood); // drawers
    fillRect(p, QRectF(46, 74, 4, 1.5), pal::gold);
    fillRect(p, QRectF(46, 79, 4, 1.5), pal::gold);
    // The laptop's screen saver: a little sun that moves across its screen.
    laptop(p, QPointF(56, 66), 1.1, pal::screen);
    const double x = 49 + 13 * std::fabs(std::sin(pi * c.t * 2));
    const double y = 56 + 6 * std::fabs(std::cos(pi * c.t * 3));
    fillEllipse(p, QRectF(x - 2, y - 2, 4, 4), pal::gold);
    // Phone, cup, a pen.
    p.save();
    if (ringing) {
        p.translate(90, 66);
        p.rotate(k % 2 ? -7 : 7);
        p.translate(-90, -66);
    }
    telephone(p, QPointF(90, 66), 1.1, pal::metal, ringing && k % 2 == 0 ? 2.5 : 0);
    p.restore();
    if (ringing)
        ringMarks(p, QPointF(90, 57), 6, k);
    fillRound(p, QRectF(100, 60, 5, 6), 1, pal::paper);
    line(p, QPointF(72, 64.5), QPointF(78, 63.5), 0.8, pal::shirtBlue);
    // An empty office chair turned aside, a plant, a calendar.
    chair(p, QPointF(72, 80), 1.0, -1, pal::metal);
    plant(p, QPointF(24, 94), 1.2);
    fillRect(p, QRectF(70, 14, 18, 20), pal::paper);
    fillRect(p, QRectF(70, 14, 18, 5), pal::phoneRed);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            fillRect(p, QRectF(72 + col * 4, 21 + row * 4, 2.5, 2.5), pal::paperShade);
}

} // namespace artgen
