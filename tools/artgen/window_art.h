#pragma once
// Pictures framed as a window of the office building: the closed shutter (card back, and the
// openings on the game page) and a scene seen through the window (card faces, animations).

#include <QImage>
#include <QPainter>

namespace artgen {

// The light window frame with the near-black bottom row, drawn over the whole rectangle's edge.
void drawWindowFrame(QPainter& p, const QRect& r);
// The inside of the frame of a window of rectangle r.
QRect windowInterior(const QRect& r);
// A closed grey roller shutter in its frame, filling r.
void drawShutterWindow(QPainter& p, const QRect& r);

// The card back, `size` in designed units; the image is size * scale pixels.
QImage renderBack(QSize size, int scale);
// Scene n (1..10) at animation frame `frame`, through the window, at `size` designed units
// (size * scale pixels).
QImage renderWindow(int n, QSize size, int frame, int scale);

} // namespace artgen
