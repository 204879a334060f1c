#pragma once
// The game's built-in pictures, read from the window design's stored properties.
// Every function parses the stored form afresh on each call and throws art::ArtError
// (a std::runtime_error) with a message naming the asset when the data is damaged; only the
// backgrounds, which the window keeps for its whole life, are decoded once for each distinct
// stored picture and shared (the start and the results page show the same one).
// Every picture but the icon comes in two densities; the images returned carry a device pixel
// ratio of 1 whatever the density (the caller sets its own).

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <vector>

namespace art {

enum class Background { Start, Game, Hits };

// The pixel density of a set of pictures: the set as designed, or the one drawn at twice
// the resolution for high-density screens (each picture twice as wide and high).
enum class Density { Normal = 1, Double = 2 };

// The set for a screen of this device pixel ratio: any screen denser than the design's gets the
// pictures drawn at twice the resolution (for 1.25 or 1.5 they are still sharper than the
// design's own, and 3 loses less from them).
Density DensityFor(qreal devicePixelRatio);

// 799 x 600 (Double: 1598 x 1200), QImage::Format_RGB32, decoded from Picture.Data with our
// libjpeg reader. Thread-safe.
QImage background(Background which, Density density = Density::Normal);

// ImageList1.
struct CardPictures
{
    // 11 images 90x80 (Double: 180x160), Format_RGB32; index 0 back, 1..10 faces
    std::vector<QImage> images;
    // 11 masks of the images' size, Format_Mono; bit set (colour index 1) = transparent
    std::vector<QImage> masks;
};
// Parsed from the image-list stream.
CardPictures cardPictures(Density density = Density::Normal);

// n = 1..10: the stored Image.Data (32-bit little-endian byte count + GIF file), a logical
// screen of 518 x 389 (Double: 1036 x 778).
QByteArray animationData(int n, Density density = Density::Normal);

// 1..4 = BitBtn1..BitBtn4: the whole two-glyph bitmap, Format_RGB32, from Glyph.Data; Double:
// twice as wide and high (64 x 32 for 32 x 16).
QImage glyph(int button, Density density = Density::Normal);

// The window's and the application's icon, from Icon.Data.
QIcon icon();

} // namespace art
