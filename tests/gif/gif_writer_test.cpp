#include "gif/gif_writer.h"
#include "gif/lzw_encoder.h"
#include "giflib_oracle.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace {

std::vector<std::uint8_t> noisyIndices(int count, int colours, unsigned seed, int runLength = 1)
{
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> v(static_cast<std::size_t>(count));
    std::uint8_t current = 0;
    for (int i = 0; i < count; ++i) {
        if (i % runLength == 0)
            current = std::uint8_t(rng() % unsigned(colours));
        v[std::size_t(i)] = current;
    }
    return v;
}

std::vector<std::uint32_t> palette(int size)
{
    std::vector<std::uint32_t> p(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        p[std::size_t(i)] = std::uint32_t(i * 0x010203 + 0x102030) & 0xFFFFFF;
    return p;
}

TEST(GifWriter, WritesTheFixedLayout)
{
    gif::GifWriteImage image;
    image.screenWidth = 3;
    image.screenHeight = 2;
    image.globalPalette = { 0xFF0000, 0x00FF00 };
    image.backgroundIndex = 1;
    image.loopCount = 0;
    image.frames.push_back({ 0, 0, 3, 2, 7, 2, 1, { 0, 1, 0, 1, 0, 1 } });
    const std::vector<std::uint8_t> bytes = gif::WriteGIF(image);

    const std::vector<std::uint8_t> head
        = { 'G', 'I', 'F', '8', '9', 'a', 3, 0, 2, 0, 0xF0, 1, 0, 0xFF, 0, 0, 0, 0xFF, 0, // palette
              0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0,
              0x21, 0xF9, 4, 0x09, 7, 0, 1, 0, // disposal 2, transparent, delay 7, index 1
              0x2C, 0, 0, 0, 0, 3, 0, 2, 0, 0, 2 }; // descriptor, code size 2
    ASSERT_GT(bytes.size(), head.size());
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + long(head.size())), head);
    EXPECT_EQ(bytes.back(), 0x3B);
    EXPECT_EQ(bytes[bytes.size() - 2], 0); // block terminator right before the trailer
    EXPECT_EQ(gif::WriteGIF(image), bytes);
}

TEST(GifWriter, OmitsTheLoopBlockWhenAsked)
{
    gif::GifWriteImage image { 1, 1, { 0, 0xFFFFFF }, 0, -1, { { 0, 0, 1, 1, 0, 1, -1, { 1 } } } };
    const std::vector<std::uint8_t> bytes = gif::WriteGIF(image);
    EXPECT_EQ(bytes[13 + 6], 0x21);
    EXPECT_EQ(bytes[13 + 6 + 1], 0xF9);
}

struct BadInput
{
    const char* name;
    void (*spoil)(gif::GifWriteImage&);
};

class GifWriterRejects : public testing::TestWithParam<BadInput>
{ };

TEST_P(GifWriterRejects, BadInput)
{
    gif::GifWriteImage image { 4, 4, palette(4), 0, -1,
        { { 1, 1, 2, 2, 0, 1, -1, { 0, 1, 2, 3 } } } };
    EXPECT_NO_THROW(gif::WriteGIF(image));
    GetParam().spoil(image);
    EXPECT_THROW(gif::WriteGIF(image), std::invalid_argument);
}

INSTANTIATE_TEST_SUITE_P(All, GifWriterRejects,
    testing::Values(
        BadInput { "OutsideRight", [](gif::GifWriteImage& i) { i.frames[0].left = 3; } },
        BadInput { "OutsideBottom", [](gif::GifWriteImage& i) { i.frames[0].top = 3; } },
        BadInput { "NegativeLeft", [](gif::GifWriteImage& i) { i.frames[0].left = -1; } },
        BadInput { "TooFewIndices", [](gif::GifWriteImage& i) { i.frames[0].indices.pop_back(); } },
        BadInput { "PaletteOf3", [](gif::GifWriteImage& i) { i.globalPalette.resize(3); } },
        BadInput { "PaletteOf1", [](gif::GifWriteImage& i) { i.globalPalette.resize(1); } },
        BadInput { "PaletteOf512", [](gif::GifWriteImage& i) { i.globalPalette.resize(512); } },
        BadInput {
            "IndexBeyondPalette", [](gif::GifWriteImage& i) { i.frames[0].indices[2] = 4; } },
        BadInput {
            "TransparentBeyond", [](gif::GifWriteImage& i) { i.frames[0].transparentIndex = 4; } },
        BadInput { "Disposal8", [](gif::GifWriteImage& i) { i.frames[0].disposal = 8; } }),
    [](const auto& info) { return std::string(info.param.name); });

// Round trip through giflib's decoder, over palette sizes, long runs (deep LZW strings) and noise
// (a table that fills up and is cleared many times).
TEST(GifWriter, GiflibReadsBackWhatWasWritten)
{
    for (int bits = 1; bits <= 8; ++bits) {
        for (int run : { 1, 7, 5000 }) {
            const int colours = 1 << bits;
            gif::GifWriteImage image { 97, 61, palette(colours), colours - 1, 3, {} };
            image.frames.push_back(
                { 0, 0, 97, 61, 10, 1, -1, noisyIndices(97 * 61, colours, unsigned(bits), run) });
            image.frames.push_back({ 5, 9, 13, 2, 0, 2, 0, noisyIndices(26, colours, 99) });
            const oracle::Gif back = oracle::Decode(gif::WriteGIF(image));
            SCOPED_TRACE(testing::Message() << "bits " << bits << " run " << run);
            EXPECT_EQ(back.width, 97);
            EXPECT_EQ(back.globalPalette, image.globalPalette);
            ASSERT_EQ(back.frames.size(), 2u);
            for (std::size_t i = 0; i < 2; ++i) {
                EXPECT_EQ(back.frames[i].indices, image.frames[i].indices);
                EXPECT_EQ(back.frames[i].left, image.frames[i].left);
                EXPECT_EQ(back.frames[i].delayCs, image.frames[i].delayCs);
                EXPECT_EQ(back.frames[i].disposal, image.frames[i].disposal);
                EXPECT_EQ(back.frames[i].transparentIndex, image.frames[i].transparentIndex);
            }
        }
    }
}

TEST(LzwEncoder, RejectsIndicesThatDoNotFitTheCodeSize)
{
    const std::vector<std::uint8_t> v = { 0, 4 };
    EXPECT_THROW(gif::EncodeLZW(v, 2), std::invalid_argument);
    EXPECT_THROW(gif::EncodeLZW(v, 9), std::invalid_argument);
    EXPECT_NO_THROW(gif::EncodeLZW(v, 3));
}

} // namespace
