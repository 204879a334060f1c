#include "figures.h"
#include "palette.h"
#include "scenes.h"

namespace artgen {

namespace {
void simple(QPainter& p, const SceneClock& c, QRgb wall)
{
    room(p, wall, 95);
    poster(p, QRectF(20, 15, 40, 28));
    Person m { QPointF(80 + 20 * c.t, 70), 1, pal::skin, pal::hairBrown, pal::shirtBlue,
        pal::suit };
    drawPerson(p, m);
}
} // namespace

void sceneTelephones(QPainter& p, const SceneClock& c)
{
    simple(p, c, pal::wallBlue);
}
void sceneSleeper(QPainter& p, const SceneClock& c)
{
    simple(p, c, pal::wallBeige);
}
void sceneMoney(QPainter& p, const SceneClock& c)
{
    simple(p, c, pal::wallGreen);
}
void sceneFeetUp(QPainter& p, const SceneClock& c)
{
    simple(p, c, pal::wallBlue);
}
void sceneEasel(QPainter& p, const SceneClock& c)
{
    simple(p, c, pal::wallPink);
}
void scenePresentation(QPainter& p, const SceneClock& c)
{
    simple(p, c, pal::wallBeige);
}
void scenePainter(QPainter& p, const SceneClock& c)
{
    simple(p, c, pal::wallGreen);
}
void sceneRestaurant(QPainter& p, const SceneClock& c)
{
    simple(p, c, pal::wallPink);
}
void sceneEmptyOffice(QPainter& p, const SceneClock& c)
{
    simple(p, c, pal::wallPink);
}
void sceneBoss(QPainter& p, const SceneClock& c)
{
    simple(p, c, pal::wallBlue);
}

} // namespace artgen
