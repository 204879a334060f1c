#pragma once
// Building small Windows bitmaps in tests, so each test shows the bytes it feeds a reader.

#include "base/little_endian.h"

#include <QByteArray>

namespace testbmp {

// A 40-byte information header, uncompressed.
inline QByteArray infoHeader(int w, int h, int bits, int colours = 0)
{
    QByteArray b;
    for (const std::uint32_t field : { 40, w, h })
        base::appendLE32(b, field);
    base::appendLE16(b, 1);
    base::appendLE16(b, std::uint16_t(bits));
    for (const std::uint32_t field : { 0, 0, 0, 0, colours, 0 })
        base::appendLE32(b, field);
    return b;
}

// A bitmap file; `sizeField` 0 writes the true length.
inline QByteArray bitmapFile(
    int w, int h, int bits, const QByteArray& palette, const QByteArray& pixels, int sizeField = 0)
{
    const QByteArray body = infoHeader(w, h, bits) + palette;
    QByteArray b("BM");
    base::appendLE32(b, std::uint32_t(sizeField ? sizeField : 14 + body.size() + pixels.size()));
    base::appendLE32(b, 0);
    base::appendLE32(b, std::uint32_t(14 + body.size()));
    return b + body + pixels;
}

// Sixteen entries (blue, green, red, 0): entry i is qRgb(i * 16, i, 255 - i * 16).
inline QByteArray palette16()
{
    QByteArray p;
    for (int i = 0; i < 16; ++i) {
        p.append(char(255 - i * 16));
        p.append(char(i));
        p.append(char(i * 16));
        p.append(char(0));
    }
    return p;
}

} // namespace testbmp
