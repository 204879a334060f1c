#pragma once
// What the artwork fuzzer does with one input, shared with the replay test of the ordinary
// suite. The first byte picks the reader, the rest is what it reads:
//   0 a bitmap file          3 a JPEG file
//   1 an icon file           4 a Picture.Data form, its JPEG decoded as a background is
//   2 an image-list stream   5 a Glyph.Data form, its bitmap read as a glyph is
// (the selector is taken modulo 6). A reader may refuse the bytes only with art::ArtError; any
// other exception escapes to the fuzzer. What it returns must hold to what the reader promises;
// a broken promise aborts with a line on stderr.

#include "art/art_error.h"
#include "art/byte_reader.h"
#include "art/icon_reader.h"
#include "art/image_list_reader.h"
#include "art/jpeg_decoder.h"
#include "art/stored_forms.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace art_exercise {

enum Reader { Bitmap, Icon, ImageList, Jpeg, PictureData, GlyphData, ReaderCount };

[[noreturn]] inline void fail(const char* what)
{
    std::fprintf(stderr, "artwork exercise: %s\n", what);
    std::abort();
}

inline void check(bool ok, const char* what)
{
    if (!ok)
        fail(what);
}

inline void checkSize(const QImage& image, int maxHeight = art::kMaxPictureSide)
{
    check(!image.isNull(), "a null picture returned");
    check(image.width() >= 1 && image.width() <= art::kMaxPictureSide && image.height() >= 1
            && image.height() <= maxHeight,
        "a picture outside the readers' size limit");
}

// Format_RGB32 promises an alpha of 0xFF in every pixel.
inline void checkOpaque(const QImage& image)
{
    check(image.format() == QImage::Format_RGB32, "a colour picture not in Format_RGB32");
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            check(qAlpha(line[x]) == 0xFF, "a colour pixel that is not opaque");
    }
}

inline void readBitmap(const QByteArray& bytes)
{
    art::ByteReader in(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
        std::size_t(bytes.size()), "bitmap");
    const QImage image = base::readBitmapFile(in, art::kAssetBitmaps);
    check(in.position() <= std::size_t(bytes.size()), "the reader ran past its bytes");
    checkSize(image);
    // Every stored pixel row was there: the headers, then stride x height bytes of pixels.
    const int bits = image.format() == QImage::Format_Mono ? 1 : 4;
    check(std::size_t(14 + 40) + std::size_t(base::dibStride(image.width(), bits)) * image.height()
            <= in.position(),
        "a picture larger than the pixel data read");
    if (image.format() == QImage::Format_Mono)
        check(image.colorCount() >= 2, "a one-bit picture without two colours");
    else
        checkOpaque(image);
}

inline void readIcon(const QByteArray& bytes)
{
    const QImage icon = art::readIcon(bytes);
    checkSize(icon, art::kMaxPictureSide / 2);
    check(icon.format() == QImage::Format_ARGB32, "an icon not in Format_ARGB32");
    for (int y = 0; y < icon.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(icon.constScanLine(y));
        for (int x = 0; x < icon.width(); ++x)
            check(qAlpha(line[x]) == 0xFF || line[x] == 0,
                "an icon pixel neither opaque nor fully transparent black");
    }
}

inline void readImageList(const QByteArray& bytes)
{
    const art::CardPictures list = art::readImageList(bytes);
    // The header's image count and size: bytes 4 and 10, 12 (the reader has checked them).
    const auto u16 = [&bytes](int at) {
        return int(std::uint8_t(bytes[at])) | int(std::uint8_t(bytes[at + 1])) << 8;
    };
    const QSize cell(u16(10), u16(12));
    check(list.images.size() == std::size_t(u16(4)), "not the stated number of pictures");
    check(list.masks.size() == list.images.size(), "not one mask per picture");
    for (std::size_t i = 0; i < list.images.size(); ++i) {
        check(list.images[i].size() == cell, "a picture not of the stated size");
        check(list.masks[i].size() == cell, "a mask not of the stated size");
        checkOpaque(list.images[i]);
        check(list.masks[i].format() == QImage::Format_Mono, "a mask not one bit deep");
        check(list.masks[i].colorTable() == QList<QRgb>({ qRgb(0, 0, 0), qRgb(255, 255, 255) }),
            "a mask whose index 1 is not transparent white");
    }
}

inline void decodeJpeg(const QByteArray& bytes)
{
    const QImage image = art::decodeJpeg(bytes);
    checkSize(image);
    checkOpaque(image);
}

// The stored forms hand on exactly the bytes after their header, as a copy that outlives them.
inline void readPictureData(const QByteArray& bytes)
{
    const QByteArray jpeg = art::jpegFromPictureData(bytes, "Picture.Data");
    check(!bytes.isEmpty() && jpeg == bytes.mid(1 + std::uint8_t(bytes[0]) + 4),
        "Picture.Data handed on other bytes than the file it holds");
    decodeJpeg(jpeg);
}

inline void readGlyphData(const QByteArray& bytes)
{
    const QByteArray file = art::fileFromCountedData(bytes, "Glyph.Data");
    check(file == bytes.mid(4), "Glyph.Data handed on other bytes than the file it holds");
    readBitmap(file);
}

} // namespace art_exercise

inline void ExerciseArt(const std::uint8_t* data, std::size_t size)
{
    using namespace art_exercise;
    if (size == 0)
        return;
    // No copy: a read past the end is a read past the fuzzer's own buffer.
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    try {
        switch (data[0] % ReaderCount) {
        case Bitmap:
            readBitmap(bytes);
            break;
        case Icon:
            readIcon(bytes);
            break;
        case ImageList:
            readImageList(bytes);
            break;
        case Jpeg:
            decodeJpeg(bytes);
            break;
        case PictureData:
            readPictureData(bytes);
            break;
        case GlyphData:
            readGlyphData(bytes);
            break;
        }
    } catch (const art::ArtError&) {
        // The documented refusal of damaged data.
    }
}
