#include "encoders.h"

#include "base/little_endian.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <stdexcept>

namespace artgen {

namespace {

using base::appendLE16;
using base::appendLE32;

int stride(int width, int bits)
{
    return ((width * bits + 31) / 32) * 4;
}

void putFileHeader(QByteArray& out, std::uint32_t sizeField, std::uint32_t pixelOffset)
{
    out.append("BM");
    appendLE32(out, sizeField);
    appendLE32(out, 0);
    appendLE32(out, pixelOffset);
}

void putInfoHeader(QByteArray& out, int width, int height, int bits, std::uint32_t imageSize)
{
    appendLE32(out, 40);
    appendLE32(out, std::uint32_t(width));
    appendLE32(out, std::uint32_t(height));
    appendLE16(out, 1);
    appendLE16(out, bits);
    appendLE32(out, 0); // uncompressed
    appendLE32(out, imageSize);
    appendLE32(out, 0);
    appendLE32(out, 0);
    appendLE32(out, 0);
    appendLE32(out, 0);
}

void putPalette(QByteArray& out, const std::vector<QRgb>& palette)
{
    for (QRgb c : palette) {
        out.append(char(qBlue(c)));
        out.append(char(qGreen(c)));
        out.append(char(qRed(c)));
        out.append(char(0));
    }
}

int paletteIndex(QRgb colour)
{
    const auto& palette = windowsPalette16();
    for (std::size_t i = 0; i < palette.size(); ++i)
        if ((palette[i] & 0xFFFFFF) == (colour & 0xFFFFFF))
            return int(i);
    throw std::runtime_error(
        "colour " + QColor(colour).name().toStdString() + " outside the 16-colour palette");
}

// Bottom-up 4-bit rows.
void put4BitPixels(QByteArray& out, const QImage& image)
{
    const int rowBytes = stride(image.width(), 4);
    for (int y = image.height() - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < image.width(); ++x) {
            const int index = paletteIndex(image.pixel(x, y));
            row[x / 2] = char(row[x / 2] | (x % 2 ? index : index << 4));
        }
        out.append(row);
    }
}

// Qt's own conversion out of premultiplied alpha rounds an exact half (42 at alpha 252 is
// 42.5) differently by processor, since its vector code divides through an approximate
// reciprocal. Integers round the same everywhere: halves go down.
QRgb unpremultiplied(QRgb p)
{
    const int a = qAlpha(p);
    if (a == 0 || a == 255)
        return a ? p : 0;
    const auto channel = [a](int c) { return std::min(255, (c * 255 + (a - 1) / 2) / a); };
    return qRgba(channel(qRed(p)), channel(qGreen(p)), channel(qBlue(p)), a);
}

} // namespace

QByteArray writeJpeg(const QImage& source, int quality)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = TRUE;
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar*>(image.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

const std::vector<QRgb>& windowsPalette16()
{
    static const std::vector<QRgb> palette = {
        qRgb(0, 0, 0),
        qRgb(128, 0, 0),
        qRgb(0, 128, 0),
        qRgb(128, 128, 0),
        qRgb(0, 0, 128),
        qRgb(128, 0, 128),
        qRgb(0, 128, 128),
        qRgb(192, 192, 192),
        qRgb(128, 128, 128),
        qRgb(255, 0, 0),
        qRgb(0, 255, 0),
        qRgb(255, 255, 0),
        qRgb(0, 0, 255),
        qRgb(255, 0, 255),
        qRgb(0, 255, 255),
        qRgb(255, 255, 255),
    };
    return palette;
}

QByteArray writeBitmap4(const QImage& image)
{
    const std::uint32_t pixelBytes = std::uint32_t(stride(image.width(), 4) * image.height());
    const std::uint32_t offset = 14 + 40 + 16 * 4;
    QByteArray out;
    putFileHeader(out, offset + pixelBytes, offset);
    putInfoHeader(out, image.width(), image.height(), 4, pixelBytes);
    putPalette(out, windowsPalette16());
    put4BitPixels(out, image);
    return out;
}

QByteArray writeImageList(const std::vector<QImage>& images,
    const std::vector<std::vector<bool>>& masks, int perRow, int allocated, int growBy)
{
    const int w = images.front().width();
    const int h = images.front().height();
    const int stripW = w * perRow;
    const int stripH = h * ((allocated + perRow - 1) / perRow); // whole rows of cells

    QImage colours(stripW, stripH, QImage::Format_RGB32);
    colours.fill(Qt::black);
    std::vector<bool> maskBits(std::size_t(stripW) * stripH, false);
    for (std::size_t i = 0; i < images.size(); ++i) {
        const int x0 = int(i) % perRow * w, y0 = int(i) / perRow * h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool clear = masks[i][std::size_t(y * w + x)];
                // Transparent pixels are stored black, as the mask-blit expects.
                colours.setPixel(x0 + x, y0 + y, clear ? qRgb(0, 0, 0) : images[i].pixel(x, y));
                maskBits[std::size_t((y0 + y) * stripW + x0 + x)] = clear;
            }
    }

    QByteArray out;
    appendLE16(out, 0x4C49);
    appendLE16(out, 0x0101);
    appendLE16(out, int(images.size()));
    appendLE16(out, allocated);
    appendLE16(out, growBy);
    appendLE16(out, w);
    appendLE16(out, h);
    appendLE32(out, 0xFFFFFFFF); // no background colour
    appendLE16(out, 0x10FF); // device-dependent colour with mask
    for (int i = 0; i < 4; ++i)
        appendLE16(out, 0xFFFF);

    // Colour strip: the size field holds only the header length.
    putFileHeader(out, 54, 54);
    putInfoHeader(out, stripW, stripH, 32, std::uint32_t(stripW * stripH * 4));
    for (int y = stripH - 1; y >= 0; --y)
        for (int x = 0; x < stripW; ++x) {
            const QRgb c = colours.pixel(x, y);
            out.append(char(qBlue(c)));
            out.append(char(qGreen(c)));
            out.append(char(qRed(c)));
            out.append(char(0));
        }

    // Mask strip, 1 bit per pixel, bit 1 = transparent.
    const int maskStride = stride(stripW, 1);
    putFileHeader(out, 62, 62);
    putInfoHeader(out, stripW, stripH, 1, std::uint32_t(maskStride * stripH));
    putPalette(out, { qRgb(0, 0, 0), qRgb(255, 255, 255) });
    for (int y = stripH - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < stripW; ++x)
            if (maskBits[std::size_t(y * stripW + x)])
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
    out.append(QByteArray(22, '\0'));
    return out;
}

QByteArray writeIcon16(const QImage& argb)
{
    const int w = argb.width(), h = argb.height();
    QImage colours(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = argb.pixel(x, y);
            colours.setPixel(x, y, qAlpha(c) < 128 ? qRgb(0, 0, 0) : (c | 0xFF000000u));
        }
    const int xorBytes = stride(w, 4) * h;
    const int andStride = stride(w, 1);
    const int andBytes = andStride * h;
    const int imageBytes = 40 + 16 * 4 + xorBytes + andBytes;

    QByteArray out;
    appendLE16(out, 0);
    appendLE16(out, 1); // icon
    appendLE16(out, 1); // one image
    out.append(char(w));
    out.append(char(h));
    out.append(char(16));
    out.append(char(0));
    appendLE16(out, 1);
    appendLE16(out, 4);
    appendLE32(out, std::uint32_t(imageBytes));
    appendLE32(out, 6 + 16);
    putInfoHeader(out, w, h * 2, 4, std::uint32_t(xorBytes + andBytes));
    putPalette(out, windowsPalette16());
    put4BitPixels(out, colours);
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(andStride, '\0');
        for (int x = 0; x < w; ++x)
            if (qAlpha(argb.pixel(x, y)) < 128)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
    return out;
}

namespace {

void putBig32(QByteArray& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((v >> shift) & 0xFF));
}

std::uint32_t crc32(const QByteArray& bytes)
{
    static const std::vector<std::uint32_t> table = [] {
        std::vector<std::uint32_t> t(256);
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (char b : bytes)
        c = table[(c ^ std::uint8_t(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void putChunk(QByteArray& out, const char* type, const QByteArray& data)
{
    putBig32(out, std::uint32_t(data.size()));
    const QByteArray typed = QByteArray(type) + data;
    out.append(typed);
    putBig32(out, crc32(typed));
}

int paeth(int a, int b, int c)
{
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// One filtered row: the filter of the five that gives the smallest sum of the bytes read as
// signed values, the usual heuristic; ties go to the lower filter number.
QByteArray filterRow(const QByteArray& row, const QByteArray& above)
{
    const int bpp = 4;
    QByteArray best;
    long bestSum = -1;
    for (int filter = 0; filter <= 4; ++filter) {
        QByteArray out(row.size() + 1, '\0');
        out[0] = char(filter);
        long sum = 0;
        for (int i = 0; i < row.size(); ++i) {
            const int x = std::uint8_t(row[i]);
            const int a = i >= bpp ? std::uint8_t(row[i - bpp]) : 0;
            const int b = std::uint8_t(above[i]);
            const int c = i >= bpp ? std::uint8_t(above[i - bpp]) : 0;
            const int predicted = filter == 1 ? a
                : filter == 2                 ? b
                : filter == 3                 ? (a + b) / 2
                : filter == 4                 ? paeth(a, b, c)
                                              : 0;
            const auto v = std::uint8_t(x - predicted);
            out[i + 1] = char(v);
            sum += v < 128 ? v : 256 - v;
        }
        if (bestSum < 0 || sum < bestSum) {
            bestSum = sum;
            best = out;
        }
    }
    return best;
}

} // namespace

QByteArray writePng(const QImage& image)
{
    const bool premultiplied = image.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage argb = premultiplied ? image : image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width(), h = argb.height();
    QByteArray filtered;
    QByteArray above(w * 4, '\0');
    for (int y = 0; y < h; ++y) {
        QByteArray row(w * 4, '\0');
        for (int x = 0; x < w; ++x) {
            const QRgb c = premultiplied ? unpremultiplied(argb.pixel(x, y)) : argb.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            row[4 * x] = char(qRed(c));
            row[4 * x + 1] = char(qGreen(c));
            row[4 * x + 2] = char(qBlue(c));
            row[4 * x + 3] = char(qAlpha(c));
        }
        filtered.append(filterRow(row, above));
        above = row;
    }
    QByteArray header;
    putBig32(header, std::uint32_t(w));
    putBig32(header, std::uint32_t(h));
    header.append(char(8)); // bits per sample
    header.append(char(6)); // RGBA
    header.append(3, '\0'); // deflate, adaptive filtering, not interlaced

    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    putChunk(out, "IHDR", header);
    // qCompress gives a zlib stream behind four bytes of length of its own.
    putChunk(out, "IDAT", qCompress(filtered, 9).mid(4));
    putChunk(out, "IEND", {});
    return out;
}

} // namespace artgen
