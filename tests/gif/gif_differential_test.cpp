// GIFs written by giflib's encoder decode to the same colour indices with our reader as with
// giflib's decoder: interlaced frames, local tables, transparency, 2- to 256-colour tables,
// several frames and odd sizes.

#include "gif/gif_image.h"
#include "gif/gif_reader.h"
#include "giflib_oracle.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct Shape
{
    int width, height;
};

struct DiffCase
{
    int globalBits; // 0: no global table
    int localBits; // 0: no local tables
    bool interlace;
    int frames;
    Shape shape;
};

std::vector<std::uint32_t> palette(int bits, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::uint32_t> p(static_cast<std::size_t>(1 << bits));
    for (auto& c : p)
        c = rng() & 0xFFFFFF;
    return p;
}

oracle::Gif makeGif(const DiffCase& c, unsigned seed)
{
    std::mt19937 rng(seed);
    oracle::Gif gif;
    gif.width = c.shape.width + 3;
    gif.height = c.shape.height + 2;
    if (c.globalBits)
        gif.globalPalette = palette(c.globalBits, seed);
    for (int i = 0; i < c.frames; ++i) {
        oracle::Frame f;
        f.left = i % 4;
        f.top = i % 3;
        f.width = c.shape.width;
        f.height = c.shape.height;
        f.interlace = c.interlace && i % 2 == 0;
        const bool local = c.localBits && (i % 2 == 1 || !c.globalBits);
        if (local)
            f.localPalette = palette(c.localBits, seed + unsigned(i));
        const int colours = 1 << (local ? c.localBits : c.globalBits);
        f.transparentIndex = i % 3 == 0 ? int(rng() % unsigned(colours)) : -1;
        f.delayCs = i * 7;
        f.disposal = i % 4;
        f.indices.resize(std::size_t(f.width) * std::size_t(f.height));
        // Runs of varying length so that both short and long strings occur.
        std::size_t p = 0;
        while (p < f.indices.size()) {
            const std::size_t run = 1 + rng() % (i % 2 ? 40 : 3);
            const auto v = std::uint8_t(rng() % unsigned(colours));
            for (std::size_t k = 0; k < run && p < f.indices.size(); ++k)
                f.indices[p++] = v;
        }
        gif.frames.push_back(std::move(f));
    }
    return gif;
}

class GiflibDifferential : public testing::TestWithParam<DiffCase>
{ };

TEST_P(GiflibDifferential, SameIndicesAsGiflib)
{
    const DiffCase c = GetParam();
    const oracle::Gif written
        = makeGif(c, unsigned(c.globalBits * 31 + c.localBits * 7 + c.shape.width));
    const std::vector<std::uint8_t> bytes = oracle::Encode(written);
    const oracle::Gif theirs = oracle::Decode(bytes);

    gif::TGIFImage ours;
    gif::LoadGIF(ours, bytes, true);
    ASSERT_EQ(ours.Count(), int(theirs.frames.size()));
    EXPECT_EQ(ours.LogicalWidth(), theirs.width);
    for (int i = 0; i < ours.Count(); ++i) {
        SCOPED_TRACE(testing::Message() << "frame " << i);
        gif::TGIFFrame& frame = ours.Frames(i);
        const oracle::Frame& t = theirs.frames[std::size_t(i)];
        const gif::TGIFItem& item = frame.Item();
        bool damaged = true;
        const std::vector<std::uint8_t> indices = gif::DecodeLZWIndices(*item.CodeStream,
            item.FrameWidth, item.FrameHeight, frame.Interlace, item.PixelBits, damaged);
        EXPECT_FALSE(damaged);
        EXPECT_EQ(indices, t.indices);
        EXPECT_EQ(indices, written.frames[std::size_t(i)].indices);
        EXPECT_EQ(frame.Left, t.left);
        EXPECT_EQ(frame.Top, t.top);
        EXPECT_EQ(frame.Interlace, t.interlace);
        EXPECT_EQ(frame.OwnColors, !t.localPalette.empty());
        EXPECT_EQ(frame.Delay, t.delayCs * 10);
        EXPECT_EQ(frame.Disposal, t.disposal);
        const std::vector<std::uint32_t>& colours
            = t.localPalette.empty() ? theirs.globalPalette : t.localPalette;
        const auto toColor = [](std::uint32_t rgb) {
            return gif::TColor(rgb >> 16 & 0xFF) | gif::TColor(rgb >> 8 & 0xFF) << 8
                | gif::TColor(rgb & 0xFF) << 16;
        };
        EXPECT_EQ(frame.TransparentColor,
            t.transparentIndex >= 0 ? toColor(colours[std::size_t(t.transparentIndex)])
                                    : gif::clNone);
        // The bitmap shows each pixel in its table colour.
        const QImage& bitmap = frame.FrameBitmap();
        EXPECT_FALSE(frame.Damaged);
        ASSERT_EQ(bitmap.size(), QSize(t.width, t.height));
        for (int y = 0; y < t.height; y += 1 + t.height / 7) {
            for (int x = 0; x < t.width; x += 1 + t.width / 7) {
                const std::uint32_t rgb
                    = colours[t.indices[std::size_t(y) * std::size_t(t.width) + std::size_t(x)]];
                EXPECT_EQ(bitmap.pixel(x, y) & 0xFFFFFF, rgb) << x << "," << y;
            }
        }
    }
}

std::vector<DiffCase> cases()
{
    const Shape shapes[] = { { 1, 1 }, { 7, 3 }, { 33, 17 }, { 200, 1 }, { 1, 50 }, { 97, 61 } };
    std::vector<DiffCase> all;
    int k = 0;
    for (int bits = 1; bits <= 8; ++bits) {
        for (const Shape& s : shapes) {
            const int local = (bits + k) % 8 + 1;
            all.push_back({ bits, k % 3 == 0 ? 0 : local, k % 2 == 0, 1 + k % 4, s });
            ++k;
        }
    }
    all.push_back({ 0, 8, true, 3, { 64, 9 } }); // local tables only
    all.push_back({ 8, 8, false, 2, { 518, 389 } }); // the game's animation size
    return all;
}

INSTANTIATE_TEST_SUITE_P(EncodedByGiflib, GiflibDifferential, testing::ValuesIn(cases()));

} // namespace
