// The bitmap reader on small hand-built files: what it accepts, and what it refuses.

#include "base/bitmap_reader.h"
#include "support/bitmap_bytes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using namespace testbmp;

constexpr base::BitmapRules kColours { base::bitCounts({ 1, 4, 32 }), 1, 16384,
    base::BitmapRules::Pixels::Colours };

QImage readFile(const QByteArray& file)
{
    base::ByteReader in(
        reinterpret_cast<const std::uint8_t*>(file.constData()), std::size_t(file.size()));
    return base::readBitmapFile(in, kColours);
}

TEST(BitmapReader, FourBitRowsAreBottomUpAndHighNibbleFirst)
{
    // 3 x 2: stored bottom row first, each row padded to 4 bytes.
    const QByteArray pixels = QByteArray::fromHex("12300000"
                                                  "45600000");
    const QImage image = readFile(bitmapFile(3, 2, 4, palette16(), pixels));
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.format(), QImage::Format_RGB32);
    auto entry = [](int i) { return qRgb(i * 16, i, 255 - i * 16); };
    EXPECT_EQ(image.pixel(0, 1), entry(1));
    EXPECT_EQ(image.pixel(2, 1), entry(3));
    EXPECT_EQ(image.pixel(0, 0), entry(4));
    EXPECT_EQ(image.pixel(1, 0), entry(5));
    EXPECT_EQ(image.pixel(2, 0), entry(6));
}

TEST(BitmapReader, ThirtyTwoBitIgnoresTheFourthByteAndTopDownHeightsWork)
{
    QByteArray pixels = QByteArray::fromHex("0a141e00"
                                            "28323c77"); // two rows of one pixel
    QByteArray body = infoHeader(1, -2, 32);
    QByteArray file("BM");
    for (const std::uint32_t field : { 0, 0, 54 })
        base::appendLE32(file, field);
    const QImage image = readFile(file + body + pixels);
    ASSERT_EQ(image.size(), QSize(1, 2));
    EXPECT_EQ(image.pixel(0, 0), qRgb(30, 20, 10)); // top-down: first stored row is the top
    EXPECT_EQ(image.pixel(0, 1), qRgb(60, 50, 40));
}

TEST(BitmapReader, OneBitKeepsTheStoredBitAsPixelIndex)
{
    const QByteArray palette = QByteArray::fromHex("00000000ffffff00");
    const QByteArray pixels = QByteArray::fromHex("a0000000"
                                                  "40000000"); // rows of 3 bits
    const QImage image = readFile(bitmapFile(3, 2, 1, palette, pixels, 62));
    ASSERT_EQ(image.format(), QImage::Format_Mono);
    EXPECT_EQ(image.pixelIndex(0, 1), 1);
    EXPECT_EQ(image.pixelIndex(1, 1), 0);
    EXPECT_EQ(image.pixelIndex(2, 1), 1);
    EXPECT_EQ(image.pixelIndex(1, 0), 1);
    EXPECT_EQ(image.pixelIndex(0, 0), 0);
}

struct BadBitmap
{
    const char* name;
    QByteArray file;
    const char* why; // what the reader reports
};

class BitmapReaderRejects : public testing::TestWithParam<BadBitmap>
{ };

TEST_P(BitmapReaderRejects, SayingWhy)
{
    try {
        readFile(GetParam().file);
        ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), GetParam().why);
    }
}

INSTANTIATE_TEST_SUITE_P(Damaged, BitmapReaderRejects,
    testing::Values(
        BadBitmap { "NotBM", "XY" + bitmapFile(1, 1, 32, {}, "1234").mid(2), "not a bitmap file" },
        BadBitmap {
            "TruncatedPixels", bitmapFile(3, 2, 4, palette16(), "1234"), "data ends early" },
        BadBitmap {
            "TruncatedHeader", bitmapFile(3, 2, 4, palette16(), {}).left(30), "data ends early" },
        BadBitmap {
            "EightBit", bitmapFile(1, 1, 8, palette16(), "1234"), "unsupported bit count 8" },
        BadBitmap { "ZeroWidth", bitmapFile(0, 1, 32, {}, "1234"), "bad bitmap size 0 x 1" },
        BadBitmap { "HugeHeight", bitmapFile(1, 1 << 30, 32, {}, "1234"),
            "bad bitmap size 1 x 1073741824" },
        BadBitmap { "IndexOutsidePalette",
            [] {
                QByteArray b = infoHeader(1, 1, 4, 2) + QByteArray::fromHex("0000000000000000");
                QByteArray f("BM");
                for (const std::uint32_t field : { 0, 0, int(14 + b.size()) })
                    base::appendLE32(f, field);
                return f + b + QByteArray::fromHex("f0000000");
            }(),
            "pixel uses colour 15 outside the palette" }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
