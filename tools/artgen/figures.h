#pragma once
// Flat cartoon building blocks shared by the scenes: people and office furniture, drawn in the
// scenes' logical units with the current painter transform.

#include <QPainter>
#include <QString>

namespace artgen {

// A person seen from the front. Angles are in degrees; an arm at 0 hangs down, positive
// angles swing it toward +x. The forearm angle adds to the upper arm's.
struct Person
{
    QPointF hip; // centre of the hips
    double scale = 1.0; // 1: about 48 units tall when standing
    QRgb skin = 0, hair = 0, top = 0, bottom = 0;
    QRgb tie = 0; // 0: no tie
    bool female = false;
    bool sitting = false; // thighs toward `facing`, shins down
    int facing = 1; // +1 right, -1 left (sitting legs, nose)
    double armL = -12, foreL = 0; // the arm on the -x side
    double armR = 12, foreR = 0; // the arm on the +x side
    double lean = 0; // torso lean
    double headTilt = 0;
    double headDrop = 0; // sinks the head (slumped, bowing)
    int mouth = 0; // 0 smile, 1 open, 2 straight
    bool eyesClosed = false;
    bool bald = false;
    double legSwing = 0; // walking: legs apart by this angle
    double thigh = 0; // sitting: thighs raised by this angle
    double shin = 0; // sitting: shins turned from hanging (0) toward `facing` (90: feet up)
};

void drawPerson(QPainter& p, const Person& person);
// The person's head alone, its neck at `neck` (for heads resting on a desk and the like).
void drawHead(QPainter& p, const Person& person, QPointF neck);
// Where a hand of the person ends (left = the -x arm).
QPointF handPoint(const Person& person, bool left);
// Bends an arm so that its hand lands on `target` (in scene units), elbow down; a target out of
// reach gets the arm stretched toward it.
void reachArm(Person& person, bool left, QPointF target);

// Every picture is drawn in the units of the set as designed. Scale 2 draws the same picture
// for high-density screens, twice as wide and high: the painter is scaled, so edges, text and
// the scenes gain detail instead of repeating pixels.
void scalePainter(QPainter& p, int scale);

void fillRect(QPainter& p, const QRectF& r, QRgb colour);
void fillRound(QPainter& p, const QRectF& r, double radius, QRgb colour);
void fillEllipse(QPainter& p, const QRectF& r, QRgb colour);
void line(QPainter& p, QPointF a, QPointF b, double width, QRgb colour);
void text(QPainter& p, const QRectF& r, const QString& s, double pixelSize, QRgb colour,
    bool bold = true);

// Room parts.
void room(QPainter& p, QRgb wall, double floorY); // wall over the whole scene, floor below
void poster(QPainter& p, const QRectF& r); // the company poster with the title
void door(QPainter& p, const QRectF& r, double open = 0); // open 0..1
void wallClock(QPainter& p, QPointF centre, double radius, double minutes, double hours);
void desk(QPainter& p, const QRectF& top, double legHeight, QRgb colour = 0);
// liftHandset < 0: the handset is away (only the base is drawn).
void telephone(QPainter& p, QPointF base, double size, QRgb colour, double liftHandset = 0);
void plant(QPainter& p, QPointF pot, double size);
void paperStack(QPainter& p, QPointF base, double width, int sheets, double skew);
void laptop(QPainter& p, QPointF base, double size, QRgb screenColour);
void monitor(QPainter& p, QPointF base, double size, QRgb screenColour);
void chair(QPainter& p, QPointF seat, double size, int facing, QRgb colour);

} // namespace artgen
