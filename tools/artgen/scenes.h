#pragma once
// The ten office scenes. Each is drawn once, as a function of time, in a logical area of
// 160 x 120 units; the card face is frame 0 at 90 x 80 and the animation is every frame at
// 518 x 389, so face and animation cannot drift apart. Content that matters stays inside
// x 10..150: the card crops the sides.

#include <QImage>
#include <QPainter>
#include <vector>

namespace artgen {

constexpr double sceneWidth = 160, sceneHeight = 120;

struct SceneClock
{
    int frame = 0; // 0 .. frames-1
    int frames = 1;
    double t = 0; // share of one loop elapsed when this frame starts, 0..1
};

// Frame delays in hundredths of a second of animation n (1..10).
const std::vector<int>& animationDelays(int n);

void drawScene(int n, QPainter& p, const SceneClock& clock);

// One scene per function, in scenes_*.cpp. What each shows, in words, and the name a player
// hears for its card face: src/art/faces.cpp.
void sceneTelephones(QPainter& p, const SceneClock& c); // 1
void sceneSleeper(QPainter& p, const SceneClock& c); // 2
void sceneMoney(QPainter& p, const SceneClock& c); // 3
void sceneFeetUp(QPainter& p, const SceneClock& c); // 4
void sceneEasel(QPainter& p, const SceneClock& c); // 5
void scenePresentation(QPainter& p, const SceneClock& c); // 6
void scenePainter(QPainter& p, const SceneClock& c); // 7
void sceneRestaurant(QPainter& p, const SceneClock& c); // 8
void sceneEmptyOffice(QPainter& p, const SceneClock& c); // 9
void sceneBoss(QPainter& p, const SceneClock& c); // 10

} // namespace artgen
