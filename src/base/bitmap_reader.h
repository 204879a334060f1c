#pragma once
// The one reader of uncompressed Windows bitmaps: the files of the buttons' glyphs, the strips of
// an image list and the images inside an icon (the artwork), and the BMP bytes a GIF frame is
// built through. Rows are bottom-up, or top-down when the height is negative, and padded to whole
// 32-bit words. Qt's image plugins are not used.
//
// Every failure goes through the ByteReader: fail(why) for what the rules refuse, overrun() for
// data that ends early, noMemory(why) for a picture that cannot be allocated. So each user
// throws its own error with its own message.

#include "base/little_endian.h"

#include <QImage>
#include <QList>

#include <initializer_list>

namespace base {

// The bit counts a user accepts, as a set: bit n stands for n bits per pixel.
constexpr std::uint64_t bitCounts(std::initializer_list<int> counts)
{
    std::uint64_t set = 0;
    for (int n : counts)
        set |= std::uint64_t(1) << n;
    return set;
}

// What a user accepts, and the image it wants back. Bit counts 1, 4, 8 and 32 can be read.
struct BitmapRules
{
    enum class Pixels {
        // 1 bit: Format_Mono with the palette (pixelIndex() is the stored bit); 4 and 8 bits:
        // Format_RGB32 through the palette; 32 bits: Format_RGB32, the fourth byte ignored.
        Colours,
        // As Colours, but 4 and 8 bits give Format_Indexed8: the stored indices, the palette as
        // colour table.
        Indices,
    };
    std::uint64_t bitCounts = 0;
    int minSide = 1; // 0: a bitmap without pixels reads as a null image
    int maxSide = 0;
    Pixels pixels = Pixels::Colours;
};

struct DibHeader
{
    int width = 0;
    int height = 0; // rows, always positive
    bool topDown = false;
    int bitCount = 0;
    int paletteSize = 0; // entries that follow the header
};

// Reads a 40-byte (or longer) BITMAPINFOHEADER. Refuses more than one plane, compression, bit
// counts outside the rules, sides outside them and palettes larger than the bit count allows.
DibHeader readDibHeader(ByteReader& in, const BitmapRules& rules);

// Reads paletteSize entries of blue, green, red, reserved.
QList<QRgb> readPalette(ByteReader& in, int paletteSize);

// Bytes per stored row.
qsizetype dibStride(int width, int bitCount);

// Reads the pixel rows into the image the rules' Pixels names. A 1-bit palette is completed to
// two entries with black; any other pixel outside the palette is refused.
QImage readDibPixels(ByteReader& in, const DibHeader& header, const QList<QRgb>& palette,
    BitmapRules::Pixels pixels);

// A whole bitmap file: 14-byte file header ("BM"), info header, palette, pixels at the header's
// pixel offset. The file header's size field is not trusted (an image list's strips store only
// the header length there): the pixel length follows from width, height and bit count. Leaves
// the reader just after the pixel data.
QImage readBitmapFile(ByteReader& in, const BitmapRules& rules);

} // namespace base
