#include "figures.h"

#include "palette.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace artgen {

namespace {

constexpr double degree = 3.14159265358979323846 / 180.0;

QPointF direction(double angle)
{
    return { std::sin(angle * degree), std::cos(angle * degree) };
}

QPointF rotated(QPointF v, double angle)
{
    const double c = std::cos(angle * degree), s = std::sin(angle * degree);
    return { v.x() * c - v.y() * s, v.x() * s + v.y() * c };
}

constexpr double upperArm = 9, foreArm = 8.5;

QPointF shoulder(bool left)
{
    return { left ? -5.0 : 5.0, -16.0 };
}

QPointF elbowLocal(const Person& m, bool left)
{
    return shoulder(left) + upperArm * direction(left ? m.armL : m.armR);
}

QPointF handLocal(const Person& m, bool left)
{
    const double total = left ? m.armL + m.foreL : m.armR + m.foreR;
    return elbowLocal(m, left) + foreArm * direction(total);
}

void arm(QPainter& p, const Person& m, bool left)
{
    const QPointF s = shoulder(left), e = elbowLocal(m, left), h = handLocal(m, left);
    line(p, s, e, 3.8, m.top);
    line(p, e, h, 3.4, m.top);
    fillEllipse(p, QRectF(h - QPointF(1.9, 1.9), QSizeF(3.8, 3.8)), m.skin);
}

void head(QPainter& p, const Person& m)
{
    p.save();
    p.translate(0, -19 + m.headDrop);
    p.rotate(m.headTilt);
    const QPointF c(0, -6);
    if (m.female) // hair behind the head, down to the shoulders
        fillRound(p, QRectF(-7.2, -13.5, 14.4, 16), 6, m.hair);
    line(p, QPointF(0, 1), QPointF(0, -2), 3.5, m.skin);
    fillEllipse(p, QRectF(c.x() - 6, c.y() - 6.5, 12, 13), m.skin);
    fillEllipse(p, QRectF(c.x() - 7, c.y() - 1, 2.2, 3), m.skin);
    fillEllipse(p, QRectF(c.x() + 4.8, c.y() - 1, 2.2, 3), m.skin);
    // Hair cap.
    if (m.bald) {
        fillRound(p, QRectF(-6.4, -8, 2.2, 5), 1, m.hair);
        fillRound(p, QRectF(4.2, -8, 2.2, 5), 1, m.hair);
    } else {
        QPainterPath cap;
        cap.moveTo(-6.3, -5);
        cap.cubicTo(-7, -14.5, 7, -14.5, 6.3, -5);
        cap.cubicTo(4, -9.5, -1, -9.5, -6.3, -5);
        p.fillPath(cap, QColor(m.hair));
    }
    // Eyes, nose, mouth.
    const QColor ink(pal::nearBlack);
    if (m.eyesClosed) {
        line(p, QPointF(-3.3, -6), QPointF(-1.3, -6), 0.8, pal::nearBlack);
        line(p, QPointF(1.3, -6), QPointF(3.3, -6), 0.8, pal::nearBlack);
    } else {
        fillEllipse(p, QRectF(-3.1, -7.3, 1.8, 2.2), pal::nearBlack);
        fillEllipse(p, QRectF(1.3, -7.3, 1.8, 2.2), pal::nearBlack);
    }
    fillEllipse(p, QRectF(-1 + m.facing * 0.8, -5, 2, 1.8), pal::skinShade);
    QPen pen(ink, 0.8, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (m.mouth == 0)
        p.drawArc(QRectF(-2.2, -3.9, 4.4, 2.6), 200 * 16, 140 * 16);
    else if (m.mouth == 1)
        fillEllipse(p, QRectF(-1.3, -2.9, 2.6, 2), 0xFF8C2828);
    else
        p.drawLine(QPointF(-1.6, -2.2), QPointF(1.6, -2.2));
    p.setPen(Qt::NoPen);
    p.restore();
}

} // namespace

void scalePainter(QPainter& p, int scale)
{
    if (scale != 1)
        p.scale(scale, scale);
}

void fillRect(QPainter& p, const QRectF& r, QRgb colour)
{
    p.fillRect(r, QColor(colour));
}

void fillRound(QPainter& p, const QRectF& r, double radius, QRgb colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(colour));
    p.drawRoundedRect(r, radius, radius);
}

void fillEllipse(QPainter& p, const QRectF& r, QRgb colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(colour));
    p.drawEllipse(r);
}

void line(QPainter& p, QPointF a, QPointF b, double width, QRgb colour)
{
    p.setPen(QPen(QColor(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(a, b);
    p.setPen(Qt::NoPen);
}

void text(QPainter& p, const QRectF& r, const QString& s, double pixelSize, QRgb colour, bool bold)
{
    // Text is drawn as a path at a fixed large size and scaled: sizes below one pixel in
    // logical units would otherwise round to whole font sizes.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(100);
    font.setBold(bold);
    // The outline is hinted as this asks, not as the machine's font settings do.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QPainterPath path;
    path.addText(0, 0, font, s);
    const QRectF box = path.boundingRect();
    const double k = pixelSize / 100.0;
    p.save();
    p.translate(r.center());
    p.scale(k, k);
    p.translate(-box.center());
    p.fillPath(path, QColor(colour));
    p.restore();
}

void drawHead(QPainter& p, const Person& m, QPointF neck)
{
    p.save();
    p.translate(neck);
    p.scale(m.scale, m.scale);
    p.translate(0, 19 - m.headDrop);
    head(p, m);
    p.restore();
}

void drawPerson(QPainter& p, const Person& m)
{
    p.save();
    p.translate(m.hip);
    p.scale(m.scale, m.scale);
    p.setPen(Qt::NoPen);
    // Legs.
    if (m.sitting) {
        const double f = m.facing;
        const QPointF thigh
            = 10 * QPointF(f * std::cos(m.thigh * degree), -std::sin(m.thigh * degree));
        const QPointF shin = 11 * QPointF(f * std::sin(m.shin * degree), std::cos(m.shin * degree));
        const QRgb shinColour = m.female ? m.skin : m.bottom;
        for (double dx : { -2.5, 2.5 }) {
            const QPointF start(dx, dx < 0 ? -1 : 0);
            const QPointF knee = start + thigh;
            line(p, start, knee, 5.2, m.bottom);
            line(p, knee, knee + shin, 4.2, shinColour);
            p.save();
            p.translate(knee + shin);
            p.rotate(-f * m.shin);
            fillRound(p, QRectF(f > 0 ? -1 : -4, -1, 5, 2.6), 1.2, pal::nearBlack);
            p.restore();
        }
    } else {
        const QPointF l = QPointF(-3, 0) + 18 * direction(-m.legSwing / 2);
        const QPointF r = QPointF(3, 0) + 18 * direction(m.legSwing / 2);
        const QRgb legColour = m.female ? m.skin : m.bottom;
        line(p, QPointF(-3, 0), l, 4.4, legColour);
        line(p, QPointF(3, 0), r, 4.4, legColour);
        fillRound(p, QRectF(l.x() - 3 + m.facing, l.y() - 0.8, 5.5, 2.8), 1.2, pal::nearBlack);
        fillRound(p, QRectF(r.x() - 2.5 + m.facing, r.y() - 0.8, 5.5, 2.8), 1.2, pal::nearBlack);
    }
    p.rotate(m.lean);
    // Torso (with a skirt for women).
    if (m.female) {
        QPainterPath skirt;
        skirt.moveTo(-5.5, -2);
        skirt.lineTo(5.5, -2);
        skirt.lineTo(m.sitting ? 6 : 7.5, m.sitting ? 4 : 9);
        skirt.lineTo(m.sitting ? -6 : -7.5, m.sitting ? 4 : 9);
        skirt.closeSubpath();
        p.fillPath(skirt, QColor(m.bottom));
    } else {
        fillRound(p, QRectF(-5.8, -3, 11.6, 4.5), 2, m.bottom);
    }
    fillRound(p, QRectF(-6.5, -18.5, 13, 17), 4, m.top);
    if (m.tie != 0) {
        QPainterPath v;
        v.moveTo(-2.2, -18.5);
        v.lineTo(2.2, -18.5);
        v.lineTo(0, -13.5);
        v.closeSubpath();
        p.fillPath(v, QColor(pal::paper));
        QPainterPath tie;
        tie.moveTo(-0.9, -17);
        tie.lineTo(0.9, -17);
        tie.lineTo(1.4, -8);
        tie.lineTo(0, -6.5);
        tie.lineTo(-1.4, -8);
        tie.closeSubpath();
        p.fillPath(tie, QColor(m.tie));
    }
    head(p, m);
    arm(p, m, true);
    arm(p, m, false);
    p.restore();
}

QPointF handPoint(const Person& m, bool left)
{
    return m.hip + m.scale * rotated(handLocal(m, left), m.lean);
}

void reachArm(Person& m, bool left, QPointF target)
{
    const QPointF local = rotated((target - m.hip) / m.scale, -m.lean);
    const QPointF d = local - shoulder(left);
    const double reach = std::hypot(d.x(), d.y());
    const double dist = std::clamp(reach, upperArm - foreArm + 0.5, upperArm + foreArm - 0.01);
    const double towards = std::atan2(d.x(), d.y()) / degree;
    const double bend
        = std::acos((upperArm * upperArm + dist * dist - foreArm * foreArm) / (2 * upperArm * dist))
        / degree;
    // Of the two elbow positions, take the lower one.
    double best = towards + bend;
    if (std::cos((towards - bend) * degree) > std::cos((towards + bend) * degree))
        best = towards - bend;
    const QPointF elbow = shoulder(left) + upperArm * direction(best);
    const QPointF hand = shoulder(left) + d * (dist / std::max(reach, 1e-6));
    const QPointF f = hand - elbow;
    const double fore = std::atan2(f.x(), f.y()) / degree - best;
    (left ? m.armL : m.armR) = best;
    (left ? m.foreL : m.foreR) = fore;
}

void room(QPainter& p, QRgb wall, double floorY)
{
    fillRect(p, QRectF(-80, -80, 320, floorY + 80), wall);
    fillRect(p, QRectF(-80, floorY, 320, 200), pal::floorWood);
    fillRect(p, QRectF(-80, floorY, 320, 1.5), pal::woodDark);
}

void poster(QPainter& p, const QRectF& r)
{
    fillRect(p, r.adjusted(-1, -1, 1, 1), pal::woodDark);
    fillRect(p, r, pal::signBoard);
    const double h = r.height();
    // A small building with a sun: the company's mark.
    fillEllipse(p, QRectF(r.right() - h * 0.42, r.top() + h * 0.1, h * 0.28, h * 0.28), pal::gold);
    fillRect(p, QRectF(r.left() + r.width() * 0.32, r.top() + h * 0.22, r.width() * 0.36, h * 0.4),
        pal::facade);
    fillRect(p, QRectF(r.left() + r.width() * 0.3, r.top() + h * 0.17, r.width() * 0.4, h * 0.07),
        pal::roof);
    text(p, QRectF(r.left(), r.top() + h * 0.66, r.width(), h * 0.3), QStringLiteral("Мнемира"),
        std::min(h * 0.24, r.width() * 0.2), pal::signText);
}

void door(QPainter& p, const QRectF& r, double open)
{
    fillRect(p, r.adjusted(-1.5, -1.5, 1.5, 0), pal::woodDark);
    fillRect(p, r, pal::nearBlack);
    const double w = r.width() * (1 - 0.75 * open);
    fillRect(p, QRectF(r.left(), r.top(), w, r.height()), pal::wood);
    fillRect(p,
        QRectF(r.left() + w * 0.15, r.top() + r.height() * 0.08, w * 0.7, r.height() * 0.35),
        0xFF8C5A34);
    fillRect(p, QRectF(r.left() + w * 0.15, r.top() + r.height() * 0.5, w * 0.7, r.height() * 0.4),
        0xFF8C5A34);
    fillEllipse(p, QRectF(r.left() + w * 0.78, r.top() + r.height() * 0.5, 2.2, 2.2), pal::gold);
}

void wallClock(QPainter& p, QPointF c, double radius, double minutes, double hours)
{
    fillEllipse(p, QRectF(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius), pal::nearBlack);
    const double inner = radius * 0.84;
    fillEllipse(p, QRectF(c.x() - inner, c.y() - inner, 2 * inner, 2 * inner), pal::paper);
    for (int i = 0; i < 12; ++i) {
        const QPointF d = rotated(QPointF(0, -inner), i * 30);
        line(p, c + d * 0.8, c + d * 0.92, radius * 0.08, pal::nearBlack);
    }
    line(p, c, c + rotated(QPointF(0, -inner * 0.5), hours * 30), radius * 0.14, pal::nearBlack);
    line(p, c, c + rotated(QPointF(0, -inner * 0.8), minutes * 6), radius * 0.09, pal::phoneRed);
}

void desk(QPainter& p, const QRectF& top, double legHeight, QRgb colour)
{
    const QRgb c = colour ? colour : pal::wood;
    fillRect(p, QRectF(top.left() + 2, top.bottom(), 3, legHeight), pal::woodDark);
    fillRect(p, QRectF(top.right() - 5, top.bottom(), 3, legHeight), pal::woodDark);
    fillRect(p, QRectF(top.left() + 3, top.bottom(), top.width() - 6, legHeight * 0.55), c);
    fillRect(p, QRectF(top.left() + 3, top.bottom() + legHeight * 0.55, top.width() - 6, 0.8),
        pal::woodDark);
    fillRect(p, top, c);
    fillRect(p, QRectF(top.left(), top.bottom() - 1, top.width(), 1), pal::woodDark);
}

void telephone(QPainter& p, QPointF b, double s, QRgb colour, double lift)
{
    // Base, dial, and the handset lying on top (or lifted by `lift` units).
    QPainterPath base;
    base.moveTo(b.x() - 5 * s, b.y());
    base.lineTo(b.x() + 5 * s, b.y());
    base.lineTo(b.x() + 3.6 * s, b.y() - 4 * s);
    base.lineTo(b.x() - 3.6 * s, b.y() - 4 * s);
    base.closeSubpath();
    p.fillPath(base, QColor(colour));
    fillEllipse(p, QRectF(b.x() - 1.6 * s, b.y() - 3.3 * s, 3.2 * s, 2.6 * s), pal::paper);
    if (lift < 0)
        return;
    const double y = b.y() - 4.2 * s - lift;
    fillRound(p, QRectF(b.x() - 5.5 * s, y - 1.4 * s, 11 * s, 2.2 * s), 1 * s, colour);
    fillRound(p, QRectF(b.x() - 6 * s, y - 2 * s, 3 * s, 3 * s), 1.2 * s, colour);
    fillRound(p, QRectF(b.x() + 3 * s, y - 2 * s, 3 * s, 3 * s), 1.2 * s, colour);
}

void plant(QPainter& p, QPointF pot, double s)
{
    for (int i = -2; i <= 2; ++i) {
        const QPointF tip = pot + QPointF(i * 3.2 * s, -12 * s + std::abs(i) * 2.5 * s);
        line(p, pot + QPointF(0, -3 * s), tip, 0.8 * s, pal::leafDark);
        fillEllipse(p, QRectF(tip.x() - 2.6 * s, tip.y() - 2 * s, 5.2 * s, 4 * s), pal::leaf);
    }
    QPainterPath vase;
    vase.moveTo(pot.x() - 4 * s, pot.y() - 6 * s);
    vase.lineTo(pot.x() + 4 * s, pot.y() - 6 * s);
    vase.lineTo(pot.x() + 3 * s, pot.y());
    vase.lineTo(pot.x() - 3 * s, pot.y());
    vase.closeSubpath();
    p.fillPath(vase, QColor(pal::orange));
}

void paperStack(QPainter& p, QPointF b, double w, int sheets, double skew)
{
    for (int i = 0; i < sheets; ++i) {
        const double shift = std::sin(i * 1.7) * skew;
        fillRect(p, QRectF(b.x() - w / 2 + shift, b.y() - (i + 1) * 1.6, w, 1.6),
            i % 2 ? pal::paper : pal::paperShade);
    }
}

void laptop(QPainter& p, QPointF b, double s, QRgb screenColour)
{
    fillRound(p, QRectF(b.x() - 8 * s, b.y() - 12 * s, 16 * s, 11 * s), 1 * s, pal::metal);
    fillRect(p, QRectF(b.x() - 6.8 * s, b.y() - 10.8 * s, 13.6 * s, 8.6 * s), screenColour);
    fillRound(p, QRectF(b.x() - 10 * s, b.y() - 1.6 * s, 20 * s, 1.8 * s), 0.6 * s, pal::suitGrey);
}

void monitor(QPainter& p, QPointF b, double s, QRgb screenColour)
{
    fillRect(p, QRectF(b.x() - 1.5 * s, b.y() - 4 * s, 3 * s, 4 * s), pal::metal);
    fillRect(p, QRectF(b.x() - 5 * s, b.y() - 1 * s, 10 * s, 1 * s), pal::metal);
    fillRound(p, QRectF(b.x() - 9 * s, b.y() - 16 * s, 18 * s, 13 * s), 1 * s, pal::metal);
    fillRect(p, QRectF(b.x() - 7.8 * s, b.y() - 14.8 * s, 15.6 * s, 10.6 * s), screenColour);
}

void chair(QPainter& p, QPointF seat, double s, int facing, QRgb colour)
{
    const double back = -facing * 7 * s;
    fillRound(
        p, QRectF(seat.x() + back - 1.8 * s, seat.y() - 16 * s, 3.6 * s, 17 * s), 1.2 * s, colour);
    fillRound(p, QRectF(seat.x() - 8 * s, seat.y() - 1 * s, 16 * s, 3 * s), 1 * s, colour);
    line(p, seat + QPointF(0, 2 * s), seat + QPointF(0, 9 * s), 1.6 * s, pal::metal);
    line(p, seat + QPointF(-6 * s, 11 * s), seat + QPointF(6 * s, 11 * s), 1.6 * s, pal::metal);
}

} // namespace artgen
