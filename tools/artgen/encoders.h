#pragma once
// File writers for the plain asset files: baseline JPEG through libjpeg, Windows bitmaps,
// the image-list stream, the icon file and the PNG files of the icon theme. Every writer is
// deterministic: the same image gives the same bytes.

#include <QByteArray>
#include <QImage>
#include <vector>

namespace artgen {

// Baseline JPEG, 8 bits, three components, no chroma subsampling (1x1 sampling everywhere).
QByteArray writeJpeg(const QImage& image, int quality);

// The sixteen colours of the classic Windows palette; glyphs and the icon use exactly these.
const std::vector<QRgb>& windowsPalette16();

// 4-bit Windows bitmap file; every pixel must be one of windowsPalette16().
QByteArray writeBitmap4(const QImage& image);

// The image-list stream: 28-byte header, 32-bit colour strip and 1-bit mask strip with
// `perRow` cells per row and enough rows for `allocated` cells (unused cells black), then
// 22 zero bytes. masks[i] is true where the
// picture is transparent.
QByteArray writeImageList(const std::vector<QImage>& images,
    const std::vector<std::vector<bool>>& masks, int perRow, int allocated, int growBy);

// Icon file with one 4-bit image; pixels with alpha below 128 are transparent (mask bit 1,
// colour black).
QByteArray writeIcon16(const QImage& argb);

// PNG, 8-bit RGBA, not interlaced, with no ancillary chunk (no time, gamma, resolution or
// text), so the bytes follow from the pixels alone. Fully transparent pixels are stored black.
QByteArray writePng(const QImage& image);

} // namespace artgen
