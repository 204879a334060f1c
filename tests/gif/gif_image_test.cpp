#include "gif/gif_image.h"
#include "gif/gif_reader.h"
#include "gif/lzw_encoder.h"
#include "gif_bytes.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace testgif;

namespace {

std::uint32_t get32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}

gif::SharedRef<gif::TGIFItem> itemWith(int pixelBits, int count, int w, int h, const Bytes& codes)
{
    gif::SharedRef<gif::TGIFItem> item(new gif::TGIFItem);
    item->PixelBits = std::uint8_t(pixelBits);
    item->Colors.Count = count;
    for (int i = 0; i < count * 3; ++i)
        item->Colors.Entries[std::size_t(i)] = std::uint8_t(i + 1);
    item->FrameWidth = w;
    item->FrameHeight = h;
    item->CodeStream = codes;
    return item;
}

struct BitmapCase
{
    int pixelBits;
    int bitCount;
    std::size_t paletteEntries;
};

class FrameBitmapBuild : public testing::TestWithParam<BitmapCase>
{ };

TEST_P(FrameBitmapBuild, WritesTheBmpLayout)
{
    const BitmapCase c = GetParam();
    const int count = 1 << c.pixelBits;
    // 3 x 2 pixels: 1 0 1 / 0 1 1.
    const Bytes codes = CodeStream(
        2, { { 4, 3 }, { 1, 3 }, { 0, 3 }, { 1, 3 }, { 0, 4 }, { 1, 4 }, { 1, 4 }, { 5, 4 } });
    const auto item = itemWith(c.pixelBits, count, 3, 2, codes);
    bool damaged = true;
    const gif::FrameBitmapFile file = gif::BuildFrameBitmap(*item, false, damaged);
    const std::vector<std::uint8_t> bmp(file.bytes().begin(), file.bytes().end());
    EXPECT_FALSE(damaged);
    const std::size_t stride = std::size_t((c.bitCount * 3 + 31) / 32) * 4;
    const std::size_t palette = c.paletteEntries * 4;
    ASSERT_EQ(bmp.size(), 54 + palette + 2 * stride);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(get32(bmp, 2), bmp.size());
    EXPECT_EQ(get32(bmp, 6), 0u);
    EXPECT_EQ(get32(bmp, 10), 54 + palette);
    EXPECT_EQ(get32(bmp, 14), 40u);
    EXPECT_EQ(get32(bmp, 18), 3u);
    EXPECT_EQ(get32(bmp, 22), 2u);
    EXPECT_EQ(bmp[26] | bmp[27] << 8, 1);
    EXPECT_EQ(bmp[28] | bmp[29] << 8, c.bitCount);
    EXPECT_EQ(get32(bmp, 30), 0u);
    EXPECT_EQ(get32(bmp, 34), 2 * stride);
    for (std::size_t at = 38; at < 54; at += 4)
        EXPECT_EQ(get32(bmp, at), 0u);
    for (std::size_t i = 0; i < c.paletteEntries; ++i) {
        const std::uint8_t* e = &bmp[54 + i * 4];
        if (int(i) < count) {
            EXPECT_EQ(e[0], std::uint8_t(i * 3 + 3)); // blue
            EXPECT_EQ(e[1], std::uint8_t(i * 3 + 2));
            EXPECT_EQ(e[2], std::uint8_t(i * 3 + 1)); // red
            EXPECT_EQ(e[3], 0);
        } else {
            EXPECT_EQ(get32(bmp, 54 + i * 4), 0x80808080u) << "grey fill at " << i;
        }
    }
    // The bottom image row comes first.
    const std::uint8_t* bottom = &bmp[54 + palette];
    const std::uint8_t* top = bottom + stride;
    if (c.bitCount == 1) {
        EXPECT_EQ(top[0], 0xA0);
        EXPECT_EQ(bottom[0], 0x60);
    } else if (c.bitCount == 4) {
        EXPECT_EQ(top[0], 0x10);
        EXPECT_EQ(top[1], 0x10);
        EXPECT_EQ(bottom[0], 0x01);
    } else {
        EXPECT_EQ(Bytes(top, top + 3), Bytes({ 1, 0, 1 }));
        EXPECT_EQ(Bytes(bottom, bottom + 3), Bytes({ 0, 1, 1 }));
    }

    const QImage image = gif::LoadFrameBMP(bmp);
    EXPECT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.depth() == 1, c.bitCount == 1);
    EXPECT_EQ(image.pixel(0, 0), qRgb(4, 5, 6)); // index 1
    EXPECT_EQ(image.pixel(1, 0), qRgb(1, 2, 3)); // index 0
}

INSTANTIATE_TEST_SUITE_P(All, FrameBitmapBuild,
    testing::Values(BitmapCase { 1, 1, 2 }, BitmapCase { 2, 4, 16 }, BitmapCase { 3, 4, 16 },
        BitmapCase { 4, 4, 16 }, BitmapCase { 5, 8, 256 }, BitmapCase { 8, 8, 256 }));

TEST(FrameBitmapBuildFails, WithoutAColourTable)
{
    const auto item = itemWith(0, 0, 2, 2, SmallFrameData());
    bool damaged;
    try {
        gif::BuildFrameBitmap(*item, false, damaged);
        ADD_FAILURE() << "no exception";
    } catch (const gif::EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "Wrong number of colors; must be a power of 2");
    }
}

class GifImage : public testing::Test
{
protected:
    static Bytes twoFrames(std::uint8_t firstFlags = 0, std::uint8_t secondFlags = 0)
    {
        return Cat({ Header(4, 3), GraphicControl(firstFlags, 2, 3), Descriptor(0, 0, 2, 2),
            SmallFrameData(), GraphicControl(secondFlags, 4, 0), Descriptor(2, 1, 2, 2),
            SmallFrameData(), Trailer() });
    }
    gif::TGIFImage image;
};

TEST_F(GifImage, AssignSharesDataUntilClear)
{
    gif::LoadGIF(image, twoFrames(), true);
    gif::TGIFImage copy;
    int changes = 0;
    copy.OnChange = [&](gif::TGIFImage*) { ++changes; };
    copy.Assign(&image);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(copy.SameData(&image));
    EXPECT_TRUE(image.SameData(&copy));
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_EQ(&copy.Frames(1).Item(), &image.Frames(1).Item());
    EXPECT_EQ(copy.LogicalWidth(), 4);
    EXPECT_EQ(copy.Frames(1).Delay, 40);
    copy.Clear();
    EXPECT_FALSE(copy.SameData(&image));
    EXPECT_EQ(changes, 1); // Clear alone does not notify
    copy.Assign(&image);
    image.Clear();
    EXPECT_FALSE(copy.SameData(&image));
    EXPECT_EQ(copy.Frames(0).FrameBitmap().pixel(1, 0), qRgb(16, 8, 4));
}

TEST_F(GifImage, OwnColorsOnAssignment)
{
    gif::LoadGIF(image, twoFrames(), true);
    gif::TGIFFrame& first = image.Frames(0);
    gif::TGIFFrame& second = image.Frames(1);
    EXPECT_FALSE(first.OwnColors);
    // Within the same picture the flag is copied, whichever way it points.
    first.OwnColors = true;
    second.Assign(&first);
    EXPECT_TRUE(second.OwnColors);
    first.OwnColors = false;
    second.Assign(&first);
    EXPECT_FALSE(second.OwnColors);
    gif::TGIFImage other;
    gif::LoadGIF(other, twoFrames(), true);
    other.Frames(1).Assign(&first);
    EXPECT_TRUE(other.Frames(1).OwnColors); // another picture's frame brings its own colours
}

TEST_F(GifImage, AssigningAFrameWithoutBitmapDropsTheOldBitmap)
{
    const Bytes other = Cat({ Header(2, 2), Descriptor(0, 0, 2, 2),
        CodeStream(2, { { 4, 3 }, { 3, 3 }, { 3, 3 }, { 3, 3 }, { 3, 4 }, { 5, 4 } }), Trailer() });
    gif::TGIFImage source;
    gif::LoadGIF(source, Cat({ other, {} }), false);
    gif::LoadGIF(image, twoFrames(), true);
    ASSERT_TRUE(image.Frames(0).HasFrameBitmap());
    image.Frames(0).Assign(&source.Frames(0));
    EXPECT_EQ(image.Frames(0).FrameBitmap().pixel(0, 0), qRgb(48, 24, 12)); // index 3, not 0
}

TEST_F(GifImage, EmptyPictureQueries)
{
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.LogicalWidth(), 0);
    EXPECT_EQ(image.Width(), 0);
    EXPECT_FALSE(image.Transparent());
    EXPECT_TRUE(image.Palette().isEmpty());
    EXPECT_THROW(image.Frames(0), std::out_of_range);
    int changes = 0;
    image.OnChange = [&](gif::TGIFImage*) { ++changes; };
    EXPECT_TRUE(image.CurrentBitmap().isNull());
    EXPECT_EQ(image.Count(), 1); // a frame without data was made
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(image.FrameIndex, 0);
}

TEST_F(GifImage, TransparentNeedsAFrameWithATransparentColour)
{
    gif::LoadGIF(image, twoFrames(), true);
    EXPECT_TRUE(image.TransparentFlag);
    EXPECT_FALSE(image.Transparent());
    gif::LoadGIF(image, twoFrames(0, 1), true);
    EXPECT_TRUE(image.Transparent());
    image.TransparentFlag = false;
    EXPECT_FALSE(image.Transparent());
}

TEST_F(GifImage, SizeCannotBeSet)
{
    gif::LoadGIF(image, twoFrames(), true);
    for (auto set : { &gif::TGIFImage::SetWidth, &gif::TGIFImage::SetHeight }) {
        try {
            (image.*set)(7);
            ADD_FAILURE() << "no exception";
        } catch (const gif::EInvalidGraphicOperation& e) {
            EXPECT_STREQ(e.what(), "Cannot change the Size of a GIF image");
        }
    }
    EXPECT_EQ(image.Width(), 2);
    EXPECT_EQ(image.Height(), 2);
}

TEST_F(GifImage, FrameWithoutColoursFailsEveryTime)
{
    // No global table; the second frame has none either, the first one has a local table.
    const Bytes local = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 };
    const Bytes bytes
        = Cat({ { 'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0 }, Descriptor(0, 0, 2, 2, 0x81),
            local, SmallFrameData(), Descriptor(0, 0, 2, 2), SmallFrameData(), Trailer() });
    gif::LoadGIF(image, bytes, true);
    ASSERT_EQ(image.Count(), 2);
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_THROW(image.Frames(1).Width(), gif::EInvalidGraphicOperation);
    EXPECT_TRUE(image.Frames(1).HasFrameBitmap());
}

TEST_F(GifImage, DrawLeavesTheTransparentColourOut)
{
    gif::LoadGIF(image, twoFrames(0x01), true); // frame 0: index 3 transparent
    QImage canvas(4, 4, QImage::Format_RGB32);
    canvas.fill(qRgb(200, 100, 50));
    {
        QPainter painter(&canvas);
        image.Draw(painter, QRect(0, 0, 4, 4)); // 2 x 2 stretched to 4 x 4
    }
    EXPECT_EQ(canvas.pixel(0, 0), qRgb(0, 0, 0)); // index 0
    EXPECT_EQ(canvas.pixel(3, 0), qRgb(16, 8, 4)); // index 1
    EXPECT_EQ(canvas.pixel(0, 3), qRgb(32, 16, 8)); // index 2
    EXPECT_EQ(canvas.pixel(3, 3), qRgb(200, 100, 50)); // index 3: left out
    image.TransparentFlag = false;
    {
        QPainter painter(&canvas);
        image.Draw(painter, QRect(0, 0, 4, 4));
    }
    EXPECT_EQ(canvas.pixel(3, 3), qRgb(48, 24, 12));
}

TEST_F(GifImage, AssignedBitmapBecomesAFrame)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    picture.setPixel(0, 1, qRgb(9, 8, 7));
    int changes = 0;
    image.OnChange = [&](gif::TGIFImage*) { ++changes; };
    image.Assign(gif::TBitmap { picture, true, gif::clDefault });
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(image.Count(), 1);
    EXPECT_EQ(image.FormatVersion, 1);
    EXPECT_EQ(image.Frames(0).TransparentColor, 0x070809u); // bottom-left pixel
    EXPECT_EQ(image.LogicalWidth(), 3);
    EXPECT_EQ(image.Width(), 3);
    gif::TBitmap back;
    image.CopyTo(back);
    EXPECT_EQ(back.Image, picture);
    EXPECT_TRUE(back.Transparent);
    EXPECT_EQ(back.TransparentColor, 0x070809u);
}

TEST_F(GifImage, AssigningOwnFrameKeepsIt)
{
    gif::LoadGIF(image, twoFrames(0, 1), true);
    image.Assign(image.Frames(1));
    ASSERT_EQ(image.Count(), 1);
    EXPECT_EQ(image.Frames(0).Left, 2);
    EXPECT_EQ(image.Frames(0).Delay, 40);
    EXPECT_EQ(image.Frames(0).FrameBitmap().pixel(0, 0), qRgb(0, 0, 0));
}

TEST_F(GifImage, ProgressReachesTheListener)
{
    std::vector<gif::TProgressStage> stages;
    image.OnProgress = [&](gif::TGIFImage* sender, gif::TProgressStage stage, int, const QString&) {
        EXPECT_EQ(sender, &image);
        stages.push_back(stage);
    };
    gif::LoadGIF(image, twoFrames(), true);
    ASSERT_GE(stages.size(), 2u);
    EXPECT_EQ(stages.front(), gif::TProgressStage::psStarting);
    EXPECT_EQ(stages.back(), gif::TProgressStage::psEnding);
}

// The bitmaps' files share the thread's buffer: a listener that builds another frame while one
// decodes must leave each frame its own size and pixels.
TEST_F(GifImage, AListenerMayBuildAnotherFrameWhileOneDecodes)
{
    const Bytes large = { 3, 2, 1, 0, 0, 1, 2, 3, 3, 3, 0, 0 }; // 4 x 3
    const std::vector<std::uint8_t> packed = gif::EncodeLZW(large, 2);
    Bytes codes { 2, std::uint8_t(packed.size()) };
    codes.insert(codes.end(), packed.begin(), packed.end());
    codes.push_back(0);
    gif::LoadGIF(image,
        Cat({ Header(4, 3), Descriptor(0, 0, 4, 3), codes, Descriptor(0, 0, 2, 2), SmallFrameData(),
            Trailer() }),
        false);
    image.OnProgress = [&](gif::TGIFImage*, gif::TProgressStage, int, const QString&) {
        if (!image.Frames(1).HasFrameBitmap())
            image.Frames(1).FrameBitmap();
    };
    const QImage first = image.Frames(0).FrameBitmap();
    ASSERT_TRUE(image.Frames(1).HasFrameBitmap());
    ASSERT_EQ(first.size(), QSize(4, 3));
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(first.pixelIndex(i % 4, i / 4), large[std::size_t(i)]) << i;
    const QImage& second = image.Frames(1).FrameBitmap();
    ASSERT_EQ(second.size(), QSize(2, 2));
    EXPECT_EQ(second.pixelIndex(1, 1), 3);
    EXPECT_EQ(second.pixelIndex(0, 1), 2);
}

} // namespace

namespace {

TEST_F(GifImage, WrittenDataReadsBackTheSame)
{
    const Bytes comment = { 0x21, 0xFE, 2, 'h', 'i', 0 };
    const Bytes bytes = Cat({ Header(4, 3),
        { 0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 7, 0, 0 },
        GraphicControl(0x09, 2, 3), Descriptor(0, 0, 2, 2), SmallFrameData(), comment,
        GraphicControl(0x04, 40, 0), Descriptor(2, 1, 2, 2, 0x40), SmallFrameData(), comment,
        Trailer() });
    gif::LoadGIF(image, bytes, true);
    gif::TGIFImage back;
    back.ReadFormData(image.WriteFormData());
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.LoopCount, 7);
    EXPECT_EQ(back.LogicalWidth(), 4);
    EXPECT_EQ(back.SharedData().CommentText, QByteArrayList({ "hi" }));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(back.Frames(i).Left, image.Frames(i).Left);
        EXPECT_EQ(back.Frames(i).Delay, image.Frames(i).Delay);
        EXPECT_EQ(back.Frames(i).Disposal, image.Frames(i).Disposal);
        EXPECT_EQ(back.Frames(i).Interlace, image.Frames(i).Interlace);
        EXPECT_EQ(back.Frames(i).TransparentColor, image.Frames(i).TransparentColor);
        EXPECT_EQ(back.Frames(i).FrameBitmap(), image.Frames(i).FrameBitmap());
    }
}

TEST_F(GifImage, IndexedBitmapsAreEncodedOthersAreNot)
{
    QImage indexed(5, 3, QImage::Format_Indexed8);
    indexed.setColorTable({ qRgb(1, 2, 3), qRgb(4, 5, 6), qRgb(7, 8, 9) });
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            indexed.setPixel(x, y, uint((x + y) % 3));
    image.Assign(gif::TBitmap { indexed, false, gif::clDefault });
    gif::TGIFImage back;
    back.ReadFormData(image.WriteFormData());
    ASSERT_EQ(back.Count(), 1);
    // The same colours at every pixel (the table read back has the written table's 4 entries).
    EXPECT_EQ(back.Frames(0).FrameBitmap().convertToFormat(QImage::Format_RGB32),
        indexed.convertToFormat(QImage::Format_RGB32));

    image.Assign(
        gif::TBitmap { indexed.convertToFormat(QImage::Format_RGB32), false, gif::clDefault });
    try {
        image.WriteStream();
        ADD_FAILURE() << "no exception";
    } catch (const gif::EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "GIF image encoding error");
    }
    image.Clear();
    try {
        image.WriteStream();
        ADD_FAILURE() << "no exception";
    } catch (const gif::EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "No GIF Data to write");
    }
}

} // namespace
