#pragma once
// Our own reader for the uncompressed Windows bitmaps the game ships: 1, 4 and 32 bits per
// pixel, rows bottom-up (or top-down when the height is negative). Qt's image plugins are
// not used for the game's assets.

#include "art/byte_reader.h"

#include <QImage>
#include <QList>

namespace art {

struct DibHeader
{
    int width = 0;
    int height = 0; // rows, always positive
    bool topDown = false;
    int bitCount = 0;
    int paletteSize = 0; // entries that follow the header
};

// Reads a 40-byte (or longer) BITMAPINFOHEADER; throws for compression, zero or huge sizes and
// bit counts other than 1, 4 and 32.
DibHeader readDibHeader(ByteReader& in);

// Reads paletteSize entries of blue, green, red, reserved.
QList<QRgb> readPalette(ByteReader& in, int paletteSize);

// Bytes per stored row: rows are padded to whole 32-bit words.
qsizetype dibStride(int width, int bitCount);

// Reads the pixel rows. 1-bit data becomes Format_Mono carrying the palette (so pixelIndex()
// is the stored bit); 4- and 32-bit data becomes Format_RGB32 (the fourth byte is ignored).
QImage readDibPixels(ByteReader& in, const DibHeader& header, const QList<QRgb>& palette);

// A whole bitmap file: 14-byte file header ("BM"), info header, palette, pixels at the
// header's pixel offset. The file header's size field is not trusted: the image-list strips
// store only the header length there, so the pixel length follows from width, height and
// bit count. Leaves the reader just after the pixel data.
QImage readBitmapFile(ByteReader& in);

} // namespace art
