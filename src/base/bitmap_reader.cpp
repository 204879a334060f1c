#include "base/bitmap_reader.h"

#include <cstring>
#include <limits>

namespace base {

namespace {

constexpr std::uint64_t kReadable = bitCounts({ 1, 4, 8, 32 });

} // namespace

DibHeader readDibHeader(ByteReader& in, const BitmapRules& rules)
{
    const std::size_t start = in.position();
    const std::uint32_t headerSize = in.u32();
    if (headerSize < 40)
        in.fail("unsupported bitmap header size " + std::to_string(headerSize));
    DibHeader h;
    h.width = in.i32();
    const std::int32_t height = in.i32();
    const int planes = in.u16();
    h.bitCount = in.u16();
    const std::uint32_t compression = in.u32();
    in.skip(12); // image size, resolution
    const std::uint32_t colorsUsed = in.u32();
    in.skip(4); // important colours
    in.skip(headerSize - (in.position() - start));

    if (planes != 1)
        in.fail("bitmap has " + std::to_string(planes) + " planes");
    if (compression != 0)
        in.fail("compressed bitmaps are not supported");
    if (h.bitCount >= 64 || !((rules.bitCounts & kReadable) >> h.bitCount & 1))
        in.fail("unsupported bit count " + std::to_string(h.bitCount));
    if (height == std::numeric_limits<std::int32_t>::min())
        in.fail("bad bitmap height");
    h.topDown = height < 0;
    h.height = height < 0 ? -height : height;
    if (h.width < rules.minSide || h.height < rules.minSide || h.width > rules.maxSide
        || h.height > rules.maxSide)
        in.fail("bad bitmap size " + std::to_string(h.width) + " x " + std::to_string(height));
    if (h.bitCount == 32) {
        h.paletteSize = 0;
    } else {
        const std::uint32_t full = 1u << h.bitCount;
        if (colorsUsed > full)
            in.fail("palette of " + std::to_string(colorsUsed) + " colours is too large");
        h.paletteSize = colorsUsed == 0 ? int(full) : int(colorsUsed);
    }
    return h;
}

QList<QRgb> readPalette(ByteReader& in, int paletteSize)
{
    const std::size_t bytes = std::size_t(paletteSize) * 4;
    in.need(bytes);
    const std::uint8_t* entry = in.here();
    QList<QRgb> palette(paletteSize);
    for (QRgb& colour : palette) {
        colour = qRgb(entry[2], entry[1], entry[0]);
        entry += 4;
    }
    in.skip(bytes);
    return palette;
}

qsizetype dibStride(int width, int bitCount)
{
    return ((qsizetype(width) * bitCount + 31) / 32) * 4;
}

QImage readDibPixels(
    ByteReader& in, const DibHeader& h, const QList<QRgb>& palette, BitmapRules::Pixels pixels)
{
    const std::size_t stride = std::size_t(dibStride(h.width, h.bitCount));
    const std::size_t rows = std::size_t(h.height);
    if (rows != 0 && stride > in.remaining() / rows)
        in.overrun();
    if (h.width == 0 || h.height == 0)
        return QImage();
    const bool colours = pixels == BitmapRules::Pixels::Colours;
    const QImage::Format format = h.bitCount == 1 ? QImage::Format_Mono
        : h.bitCount == 32 || colours             ? QImage::Format_RGB32
                                                  : QImage::Format_Indexed8;
    QImage image(h.width, h.height, format);
    if (image.isNull())
        in.noMemory("out of memory for the bitmap");
    if (h.bitCount == 1) {
        QList<QRgb> table = palette;
        while (table.size() < 2)
            table.append(qRgb(0, 0, 0));
        image.setColorTable(table);
    } else if (format == QImage::Format_Indexed8) {
        image.setColorTable(palette);
    }
    // With a full palette every index has a colour; only a short one needs looking at.
    const bool checkIndex = h.bitCount != 32 && palette.size() < (qsizetype(1) << h.bitCount);
    const auto put = [&](std::uint8_t* dst, int x, int index) {
        if (checkIndex && index >= palette.size())
            in.fail("pixel uses colour " + std::to_string(index) + " outside the palette");
        if (colours)
            reinterpret_cast<QRgb*>(dst)[x] = palette[index];
        else
            dst[x] = std::uint8_t(index);
    };
    std::uint8_t* const bits = image.bits();
    const std::size_t bytesPerLine = std::size_t(image.bytesPerLine());
    for (int row = 0; row < h.height; ++row) {
        const std::uint8_t* src = in.here() + stride * std::size_t(row);
        std::uint8_t* dst = bits + bytesPerLine * std::size_t(h.topDown ? row : h.height - 1 - row);
        if (h.bitCount == 1) {
            // Format_Mono is most-significant bit first, as the rows are stored.
            std::memcpy(dst, src, std::size_t((h.width + 7) / 8));
        } else if (h.bitCount == 32) {
            auto* line = reinterpret_cast<QRgb*>(dst);
            for (int x = 0; x < h.width; ++x)
                line[x] = qRgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]);
        } else if (h.bitCount == 8 && !colours && !checkIndex) {
            std::memcpy(dst, src, std::size_t(h.width));
        } else if (!colours && !checkIndex) {
            for (int x = 0; x < h.width; ++x)
                dst[x] = (x & 1) ? (src[x / 2] & 0x0F) : (src[x / 2] >> 4);
        } else if (h.bitCount == 8) {
            for (int x = 0; x < h.width; ++x)
                put(dst, x, src[x]);
        } else {
            for (int x = 0; x < h.width; ++x)
                put(dst, x, (x & 1) ? (src[x / 2] & 0x0F) : (src[x / 2] >> 4));
        }
    }
    in.skip(stride * rows);
    return image;
}

QImage readBitmapFile(ByteReader& in, const BitmapRules& rules)
{
    const std::size_t start = in.position();
    if (in.u8() != 'B' || in.u8() != 'M')
        in.fail("not a bitmap file");
    in.skip(8); // file size (not trusted), reserved
    const std::uint32_t pixelOffset = in.u32();
    const DibHeader header = readDibHeader(in, rules);
    const QList<QRgb> palette = readPalette(in, header.paletteSize);
    const std::size_t used = in.position() - start;
    if (pixelOffset < used)
        in.fail("pixel data overlaps the headers");
    in.skip(pixelOffset - used);
    return readDibPixels(in, header, palette, rules.pixels);
}

} // namespace base
