// The ten animations' GIF layout in both sets, walked block by block here and decoded by giflib
// (an independent decoder, used only as a test oracle).

#include "asset_files.h"
#include "gif_memory.h"

#include "art/artwork.h"
#include "gif/gif_image.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

struct FrameInfo
{
    int left = 0, top = 0, width = 0, height = 0;
    int controls = 0; // graphic control extensions before this frame
    int disposal = -1, delay = -1, transparent = -1;
    bool userInput = false, localTable = false, interlaced = false;
    int codeSize = 0;
};

struct GifInfo
{
    QByteArray version;
    int width = 0, height = 0;
    int packed = 0, background = -1, aspect = -1;
    std::vector<std::uint32_t> palette;
    int netscapeBlocks = 0, loopCount = -1, otherExtensions = 0;
    std::vector<FrameInfo> frames;
    qsizetype bytesAfterTrailer = -1;
};

// Walks the block structure; fails the test (and returns what it has) on a malformed stream.
GifInfo walk(const QByteArray& g)
{
    GifInfo info;
    auto byte = [&](qsizetype at) { return at < g.size() ? int(std::uint8_t(g[at])) : -1; };
    if (g.size() < 13) {
        ADD_FAILURE() << "too short";
        return info;
    }
    info.version = g.left(6);
    info.width = int(arttest::le16(g, 6));
    info.height = int(arttest::le16(g, 8));
    info.packed = byte(10);
    info.background = byte(11);
    info.aspect = byte(12);
    qsizetype at = 13;
    if (info.packed & 0x80) {
        const int entries = 2 << (info.packed & 7);
        for (int i = 0; i < entries; ++i, at += 3)
            info.palette.push_back(
                std::uint32_t(byte(at)) << 16 | byte(at + 1) << 8 | byte(at + 2));
    }
    auto skipSubBlocks = [&] {
        while (at < g.size() && byte(at) != 0)
            at += 1 + byte(at);
        ++at;
    };
    FrameInfo pending;
    while (at < g.size()) {
        const int kind = byte(at++);
        if (kind == 0x3B) {
            info.bytesAfterTrailer = g.size() - at;
            return info;
        }
        if (kind == 0x21) {
            const int label = byte(at++);
            if (label == 0xF9 && byte(at) == 4) {
                ++pending.controls;
                const int flags = byte(at + 1);
                pending.disposal = flags >> 2 & 7;
                pending.userInput = flags & 2;
                pending.transparent = (flags & 1) ? byte(at + 4) : -1;
                pending.delay = int(arttest::le16(g, at + 2));
                at += 5;
                skipSubBlocks();
            } else if (label == 0xFF && byte(at) == 11 && g.mid(at + 1, 11) == "NETSCAPE2.0") {
                ++info.netscapeBlocks;
                at += 12;
                if (byte(at) == 3 && byte(at + 1) == 1)
                    info.loopCount = int(arttest::le16(g, at + 2));
                skipSubBlocks();
            } else {
                ++info.otherExtensions;
                skipSubBlocks();
            }
        } else if (kind == 0x2C) {
            FrameInfo f = pending;
            pending = {};
            f.left = int(arttest::le16(g, at));
            f.top = int(arttest::le16(g, at + 2));
            f.width = int(arttest::le16(g, at + 4));
            f.height = int(arttest::le16(g, at + 6));
            const int flags = byte(at + 8);
            f.localTable = flags & 0x80;
            f.interlaced = flags & 0x40;
            at += 9;
            if (f.localTable)
                at += 3 * (2 << (flags & 7));
            f.codeSize = byte(at++);
            skipSubBlocks();
            info.frames.push_back(f);
        } else {
            ADD_FAILURE() << "unknown block 0x" << std::hex << kind << " at " << std::dec << at - 1;
            return info;
        }
    }
    ADD_FAILURE() << "no trailer";
    return info;
}

const std::vector<std::vector<int>>& expectedDelays()
{
    static const std::vector<std::vector<int>> delays = [] {
        std::vector<std::vector<int>> d = {
            std::vector<int>(31, 8),
            std::vector<int>(44, 8),
            { 16, 136, 16, 144, 24, 24, 120 },
            { 16, 8, 8, 8, 24, 24, 8, 8, 72, 136, 24, 88, 48, 48, 48, 8, 104, 24 },
            { 8, 56, 8, 8, 24, 88, 8, 56, 8, 8, 8, 16, 32, 8, 8, 8, 8, 8, 8, 112, 8 },
            std::vector<int>(10, 8),
            { 40, 16, 16, 24, 48, 16, 56, 136 },
            std::vector<int>(49, 8),
            std::vector<int>(32, 8),
            { 40, 152, 80, 160, 8, 224, 152 },
        };
        for (int x : { 56, 8, 24, 8, 24, 40, 32, 40, 48 })
            d[5].push_back(x);
        d[8].push_back(96);
        return d;
    }();
    return delays;
}

// Animation n in either set: the set drawn at twice the resolution has the same layout on a
// screen twice as wide and high.
class Animation : public testing::TestWithParam<std::tuple<int, art::Density>>
{
protected:
    int number() const { return std::get<0>(GetParam()); }
    int scale() const { return int(std::get<1>(GetParam())); }
    QByteArray gifBytes() const
    {
        return art::animationData(number(), std::get<1>(GetParam())).mid(4);
    }
};

TEST_P(Animation, HasTheGameLayout)
{
    const GifInfo gif = walk(gifBytes());
    const int width = 518 * scale(), height = 389 * scale();
    EXPECT_EQ(gif.version, "GIF89a");
    EXPECT_EQ(gif.width, width);
    EXPECT_EQ(gif.height, height);
    EXPECT_EQ(gif.packed, 0xF7) << "global table of 256, resolution 8, unsorted";
    EXPECT_EQ(gif.background, 215);
    EXPECT_EQ(gif.aspect, 0);
    ASSERT_EQ(gif.palette.size(), 256u);
    EXPECT_EQ(gif.palette[215], 0xFFFFFFu);
    EXPECT_EQ(gif.palette[216], 0xFFFFFFu);
    EXPECT_EQ(gif.netscapeBlocks, 1);
    EXPECT_EQ(gif.loopCount, 0);
    EXPECT_EQ(gif.otherExtensions, 0);
    EXPECT_EQ(gif.bytesAfterTrailer, 0);

    const std::vector<int>& delays = expectedDelays()[std::size_t(number() - 1)];
    ASSERT_EQ(gif.frames.size(), delays.size());
    for (std::size_t i = 0; i < delays.size(); ++i) {
        SCOPED_TRACE(i);
        const FrameInfo& f = gif.frames[i];
        EXPECT_EQ(f.controls, 1);
        EXPECT_EQ(f.delay, delays[i]);
        EXPECT_EQ(f.disposal, 1);
        EXPECT_EQ(f.transparent, 215);
        EXPECT_FALSE(f.userInput);
        EXPECT_FALSE(f.localTable);
        EXPECT_FALSE(f.interlaced);
        EXPECT_EQ(f.codeSize, 8);
        EXPECT_GT(f.width, 0);
        EXPECT_GT(f.height, 0);
        EXPECT_LE(f.left + f.width, width);
        EXPECT_LE(f.top + f.height, height);
    }
    EXPECT_EQ(gif.frames[0].left, 0);
    EXPECT_EQ(gif.frames[0].top, 0);
    EXPECT_EQ(gif.frames[0].width, width);
    EXPECT_EQ(gif.frames[0].height, height);
}

TEST_P(Animation, FirstFrameIsOpaque)
{
    int error = 0;
    const arttest::GifFile file = arttest::slurpGif(gifBytes(), error);
    ASSERT_NE(file, nullptr) << GifErrorString(error);
    ASSERT_GT(file->ImageCount, 1);
    // White is written as 216, never as the see-through 215.
    const SavedImage& first = file->SavedImages[0];
    const auto firstPixels = first.ImageDesc.Width * first.ImageDesc.Height;
    EXPECT_EQ(firstPixels, 518 * 389 * scale() * scale());
    EXPECT_EQ(std::count(first.RasterBits, first.RasterBits + firstPixels, 215), 0);
}

TEST_P(Animation, LoadsIntoTheGameImageObject)
{
    gif::TGIFImage image;
    image.ReadFormData(art::animationData(number(), std::get<1>(GetParam())));
    const std::vector<int>& delays = expectedDelays()[std::size_t(number() - 1)];
    ASSERT_EQ(image.Count(), int(delays.size()));
    EXPECT_EQ(image.LogicalWidth(), 518 * scale());
    EXPECT_EQ(image.LogicalHeight(), 389 * scale());
    for (int i = 0; i < image.Count(); ++i) {
        const gif::TGIFFrame& frame = image.Frames(i);
        EXPECT_EQ(frame.Delay, delays[std::size_t(i)] * 10) << i;
        EXPECT_EQ(frame.Disposal, 1) << i;
        EXPECT_EQ(frame.TransparentColor, 0xFFFFFFu) << i; // white, red in the low byte
    }
}

TEST_P(Animation, StaysSmall)
{
    EXPECT_LT(gifBytes().size(), 300 * 1024);
}

INSTANTIATE_TEST_SUITE_P(AllTen, Animation,
    testing::Combine(
        testing::Range(1, 11), testing::Values(art::Density::Normal, art::Density::Double)),
    [](const testing::TestParamInfo<std::tuple<int, art::Density>>& info) {
        return (std::get<1>(info.param) == art::Density::Normal ? "Normal" : "Double")
            + std::to_string(std::get<0>(info.param));
    });

// The animations as designed: every later frame is the bounding box of what it changes.
class DesignedAnimation : public testing::TestWithParam<int>
{ };

TEST_P(DesignedAnimation, LaterFramesCoverOnlyWhatChanges)
{
    int error = 0;
    const arttest::GifFile file = arttest::slurpGif(art::animationData(GetParam()).mid(4), error);
    ASSERT_NE(file, nullptr) << GifErrorString(error);
    ASSERT_GT(file->ImageCount, 1);
    for (int i = 1; i < file->ImageCount; ++i) {
        SCOPED_TRACE(i);
        const SavedImage& frame = file->SavedImages[i];
        const int w = frame.ImageDesc.Width, h = frame.ImageDesc.Height;
        auto at = [&](int x, int y) { return frame.RasterBits[y * w + x]; };
        if (w == 1 && h == 1)
            continue; // a frame that changes nothing
        // The rectangle is the bounding box of the changes: each edge holds a changed pixel.
        bool top = false, bottom = false, left = false, right = false;
        for (int x = 0; x < w; ++x) {
            top = top || at(x, 0) != 215;
            bottom = bottom || at(x, h - 1) != 215;
        }
        for (int y = 0; y < h; ++y) {
            left = left || at(0, y) != 215;
            right = right || at(w - 1, y) != 215;
        }
        EXPECT_TRUE(top && bottom && left && right);
    }
}

INSTANTIATE_TEST_SUITE_P(AllTen, DesignedAnimation, testing::Range(1, 11));

// The animations drawn at twice the resolution play exactly as the designed ones: the same
// table, frames and timing, each frame over the designed frame's rectangle doubled, so the
// animator composes both sets alike.
TEST(DenseAnimation, KeepsTheDesignedFramesWithTheirPlacesDoubled)
{
    for (int n = 1; n <= 10; ++n) {
        SCOPED_TRACE(n);
        const GifInfo normal = walk(art::animationData(n).mid(4));
        const GifInfo dense = walk(art::animationData(n, art::Density::Double).mid(4));
        EXPECT_EQ(dense.width, 2 * normal.width);
        EXPECT_EQ(dense.height, 2 * normal.height);
        EXPECT_EQ(dense.packed, normal.packed);
        EXPECT_EQ(dense.background, normal.background);
        EXPECT_EQ(dense.palette, normal.palette);
        EXPECT_EQ(dense.loopCount, normal.loopCount);
        ASSERT_EQ(dense.frames.size(), normal.frames.size());
        for (std::size_t i = 0; i < normal.frames.size(); ++i) {
            SCOPED_TRACE(i);
            const FrameInfo& a = normal.frames[i];
            const FrameInfo& b = dense.frames[i];
            EXPECT_EQ(b.delay, a.delay);
            EXPECT_EQ(b.disposal, a.disposal);
            EXPECT_EQ(b.transparent, a.transparent);
            // Left, top, width and height.
            EXPECT_EQ(std::tuple(b.left, b.top, b.width, b.height),
                std::tuple(2 * a.left, 2 * a.top, 2 * a.width, 2 * a.height));
        }
    }
}

TEST(AnimationTimings, LoopsLastAsLongAsTheCelebrationAllows)
{
    // In the built-in pictures, animations 4 and 10 do not finish a loop within the 7-second
    // celebration; the rest do, so those play from where they last stopped.
    for (int n = 1; n <= 10; ++n) {
        const GifInfo gif = walk(art::animationData(n).mid(4));
        int loopMs = 0;
        for (const FrameInfo& f : gif.frames)
            loopMs += 10 * f.delay;
        EXPECT_EQ(loopMs > 7000, n == 4 || n == 10) << n << ": " << loopMs << " ms";
    }
}

} // namespace
