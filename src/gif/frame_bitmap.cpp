// Building a frame's bitmap: the decoded frame as a BMP file, and loading that file into a QImage;
// or the decoded rows put straight into the QImage that loading would give.

#include "base/bitmap_reader.h"
#include "gif/gif_frame.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace gif {

namespace {

void put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

void put32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}

int bitCountFor(int pixelBits)
{
    switch (pixelBits) {
    case 1:
        return 1;
    case 2:
    case 3:
    case 4:
        return 4;
    case 5:
    case 6:
    case 7:
    case 8:
        return 8;
    default:
        throw EInvalidGraphicOperation(SWrongColorCount);
    }
}

constexpr std::size_t kHeaders = 54;

// 256 BMP palette entries (blue, green, red, 0) from the colour table; entries beyond the table
// stay grey 128 in all four bytes, so a short table never shows black.
void ExpandPalette(const TGIFRGBTable& colors, std::uint8_t* palette)
{
    std::memset(palette, 128, 256 * 4);
    const int count = std::min(colors.Count, 256);
    for (int i = 0; i < count; ++i) {
        palette[i * 4] = colors.Entries[std::size_t(i) * 3 + 2];
        palette[i * 4 + 1] = colors.Entries[std::size_t(i) * 3 + 1];
        palette[i * 4 + 2] = colors.Entries[std::size_t(i) * 3];
        palette[i * 4 + 3] = 0;
    }
}

// The frame's own BMP bytes: whatever they hold that the loader does not accept is the one
// failure a frame's bitmap reports.
class FrameFileReader final : public base::ByteReader
{
public:
    using base::ByteReader::ByteReader;
    [[noreturn]] void fail(const std::string&) const override
    {
        throw EInvalidGraphicOperation(SWrongColorCount);
    }
};

// Sides come from 16-bit fields: no limit of the reader's own is needed.
constexpr base::BitmapRules kFrameBitmaps { base::bitCounts({ 1, 4, 8 }), 0,
    std::numeric_limits<int>::max(), base::BitmapRules::Pixels::Indices };

} // namespace

std::vector<std::uint8_t> BuildFrameBitmap(
    const TGIFItem& item, bool interlace, bool& damaged, const TProgressEvent* progress)
{
    const int bitCount = bitCountFor(item.PixelBits);
    const int width = item.FrameWidth, height = item.FrameHeight;
    const std::size_t stride = std::size_t((bitCount * width + 31) / 32) * 4;
    const std::size_t imageSize = stride * std::size_t(height);
    const std::size_t paletteSize = (std::size_t(1) << bitCount) * 4;

    std::vector<std::uint8_t> bmp(kHeaders + paletteSize + imageSize, 0);
    std::uint8_t* h = bmp.data();
    h[0] = 'B';
    h[1] = 'M';
    put32(h + 2, std::uint32_t(imageSize + paletteSize + kHeaders));
    put32(h + 10, std::uint32_t(paletteSize + kHeaders));
    put32(h + 14, 40);
    put32(h + 18, std::uint32_t(width));
    put32(h + 22, std::uint32_t(height));
    put16(h + 26, 1);
    put16(h + 28, std::uint32_t(bitCount));
    put32(h + 34, std::uint32_t(imageSize));

    std::uint8_t palette[256 * 4];
    ExpandPalette(item.Colors, palette);
    std::memcpy(h + kHeaders, palette, paletteSize);

    static const std::vector<std::uint8_t> none;
    const std::vector<std::uint8_t>& codes = item.CodeStream ? *item.CodeStream : none;
    damaged = DecodeLZW(codes, width, height, bitCount, interlace, item.PixelBits,
        h + kHeaders + paletteSize, progress);
    return bmp;
}

QImage DecodeFrameImage(const TGIFItem& item, bool interlace, bool& damaged)
{
    const int bitCount = bitCountFor(item.PixelBits);
    const int width = item.FrameWidth, height = item.FrameHeight;
    if (width <= 0 || height <= 0)
        return LoadFrameBMP(BuildFrameBitmap(item, interlace, damaged));
    static const std::vector<std::uint8_t> none;
    const std::vector<std::uint8_t>& codes = item.CodeStream ? *item.CodeStream : none;
    const std::uint8_t* rows = DecodeLZWLinear(codes, width, height, item.PixelBits, damaged);

    QImage image(width, height, bitCount == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
    if (image.isNull())
        throw std::bad_alloc();
    std::uint8_t palette[256 * 4];
    ExpandPalette(item.Colors, palette);
    QList<QRgb> colours(1 << bitCount);
    for (int i = 0; i < colours.size(); ++i)
        colours[i] = qRgb(palette[i * 4 + 2], palette[i * 4 + 1], palette[i * 4]);
    image.setColorTable(colours);
    // Each row as the file's rows would hold it and loading would read it back.
    int pass = 0;
    for (int y = 0; y < height; y = interlace ? NextInterlacedRow(y, height, pass) : y + 1) {
        const std::uint8_t* src = rows;
        rows += width;
        std::uint8_t* dst = image.scanLine(y);
        if (bitCount == 8) {
            std::memcpy(dst, src, std::size_t(width));
        } else if (bitCount == 1) {
            for (int x = 0; x < width; x += 8) {
                std::uint8_t b = std::uint8_t(src[x] << 7);
                for (int k = 1; k < 8 && x + k < width; ++k)
                    b |= std::uint8_t(src[x + k] << (7 - k));
                dst[x / 8] = b;
            }
        } else {
            // Two pixels share a byte of the file (the first in the high nibble, the second
            // ORed in whole): what the file's nibbles read back as.
            for (int x = 0; x < width; x += 2) {
                const int next = x + 1 < width ? src[x + 1] : 0;
                dst[x] = std::uint8_t((src[x] & 0x0F) | next >> 4);
                if (x + 1 < width)
                    dst[x + 1] = std::uint8_t(next & 0x0F);
            }
        }
    }
    return image;
}

QImage LoadFrameBMP(const std::vector<std::uint8_t>& bmp)
{
    FrameFileReader in(bmp.data(), bmp.size());
    return base::readBitmapFile(in, kFrameBitmaps);
}

} // namespace gif
