#pragma once
// Stretching a bitmap onto a painter or an image with one colour left out (the pixels of that
// colour show what was there before).

#include "base/colour.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QRgb>

class QPainter;

namespace base {

// Stretches the source rectangle of `bitmap` onto the destination rectangle of `canvas`, leaving
// out every source pixel of `transparentColor`:
// - a destination width or height below 1 becomes the bitmap's width or height;
// - a source width or height below 1 makes the source the whole bitmap;
// - clNone draws the bitmap opaquely; clDefault stands for the colour of the bitmap's bottom-left
//   pixel; a monochrome bitmap (Format_Mono / Format_MonoLSB) has its white pixels left out;
// - stretching picks pixels (the nearest source pixel for each destination pixel), it never blends;
// - the destination is written in one step (one drawImage), so no intermediate state shows.
// The painter's own transform and clipping apply as to any drawImage.
void StretchDrawTransparent(QPainter& canvas, int x, int y, int width, int height,
    const QRect& source, const QImage& bitmap, TColor transparentColor);
void StretchDrawTransparent(QPainter& canvas, int x, int y, int width, int height, int srcX,
    int srcY, int srcW, int srcH, const QImage& bitmap, TColor transparentColor);
// The same onto an image, written pixel by pixel (the image is the destination device).
void StretchDrawTransparent(QImage& target, int x, int y, int width, int height,
    const QRect& source, const QImage& bitmap, TColor transparentColor);

// The device-level step: per destination pixel of (dstX, dstY, dstW, dstH), the destination stays
// where the nearest source pixel of (srcX, srcY, srcW, srcH) has `maskColor` (RGB, alpha ignored),
// and takes that source pixel's colour elsewhere. Parts of either rectangle outside their image are
// clipped away. `palette`, when given, replaces the colour table of an indexed source. `dst` must
// not be an indexed or monochrome image (it is converted to Format_RGB32 first if it is).
void MaskedStretchBlt(QImage& dst, int dstX, int dstY, int dstW, int dstH, const QImage& src,
    int srcX, int srcY, int srcW, int srcH, const QList<QRgb>* palette, QRgb maskColor);

} // namespace base
