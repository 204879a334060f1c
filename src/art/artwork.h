#pragma once
// The game's built-in pictures, read from the window design's stored properties.
// Every function parses the stored form afresh on each call and throws art::ArtError
// (a std::runtime_error) with a message naming the asset when the data is damaged; only the
// backgrounds, which the window keeps for its whole life, are decoded once for each distinct
// stored picture and shared (the start and the results page show the same one).

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <vector>

namespace art {

enum class Background { Start, Game, Hits };

// 799 x 600, QImage::Format_RGB32, decoded from Picture.Data with our libjpeg reader.
// Thread-safe.
QImage background(Background which);

// ImageList1.
struct CardPictures
{
    std::vector<QImage> images; // 11 images 90x80, Format_RGB32; index 0 back, 1..10 faces
    std::vector<QImage>
        masks; // 11 masks 90x80, Format_Mono; bit set (colour index 1) = transparent
};
// Parsed from the image-list stream.
CardPictures cardPictures();

// n = 1..10: the stored Image.Data (32-bit little-endian byte count + GIF file).
QByteArray animationData(int n);

// 1..4 = BitBtn1..BitBtn4: the whole two-glyph bitmap, Format_RGB32, from Glyph.Data.
QImage glyph(int button);

// The window's and the application's icon, from Icon.Data.
QIcon icon();

} // namespace art
