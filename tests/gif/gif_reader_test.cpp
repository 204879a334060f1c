#include "gif/gif_image.h"
#include "gif/gif_reader.h"
#include "gif_bytes.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace testgif;

namespace {

class GifReader : public testing::Test
{
protected:
    void SetUp() override
    {
        image.OnChange = [this](gif::TGIFImage* sender) {
            EXPECT_EQ(sender, &image);
            ++changes;
        };
    }
    void load(const Bytes& bytes, bool decodeFirst = true)
    {
        gif::LoadGIF(image, bytes, decodeFirst);
    }
    template <class E> std::string failure(const Bytes& bytes)
    {
        try {
            load(bytes);
        } catch (const E& e) {
            return e.what();
        }
        return "no failure";
    }
    // A one-frame GIF with the given blocks between the screen and the frame.
    static Bytes withBlocks(const Bytes& blocks)
    {
        return Cat({ Header(2, 2), blocks, Descriptor(0, 0, 2, 2), SmallFrameData(), Trailer() });
    }

    gif::TGIFImage image;
    int changes = 0;
};

struct VersionCase
{
    const char* bytes;
    int version; // 0: rejected
};

class GifVersion : public GifReader, public testing::WithParamInterface<VersionCase>
{ };

TEST_P(GifVersion, SignatureAndVersionIgnoreAsciiCase)
{
    Bytes bytes = Cat({ Header(2, 2), Trailer() });
    std::copy(GetParam().bytes, GetParam().bytes + 6, bytes.begin());
    if (GetParam().version == 0) {
        EXPECT_EQ(failure<gif::EInvalidGraphicOperation>(bytes), "Unknown GIF version");
        EXPECT_EQ(changes, 0);
    } else {
        load(bytes);
        EXPECT_EQ(image.FormatVersion, GetParam().version);
    }
}

INSTANTIATE_TEST_SUITE_P(All, GifVersion,
    testing::Values(VersionCase { "gif87A", 1 }, VersionCase { "GIF89a", 2 },
        VersionCase { "gif89A", 2 }, VersionCase { "GiF87a", 1 }, VersionCase { "GIF88a", 0 },
        VersionCase { "JIF89a", 0 }, VersionCase { "GIF8\0a", 0 }));

TEST_F(GifReader, ScreenAndTableOnlyGiveNoFramesButAChange)
{
    load(Cat({ Header(300, 200, 3, 2), Trailer() }));
    EXPECT_EQ(image.Count(), 0);
    EXPECT_EQ(image.FrameIndex, -1);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(image.PaletteModified);
    EXPECT_EQ(image.LogicalWidth(), 0); // empty
    EXPECT_EQ(image.StoredLogicalWidth(), 300);
    EXPECT_EQ(image.BackColor(), 0x081020u); // entry 2: 32, 16, 8, red lowest
    EXPECT_EQ(image.SharedData().GlobalBits, 3);
    EXPECT_EQ(image.SharedData().GlobalColors.Count, 8);
}

TEST_F(GifReader, BackgroundIndexBeyondTheTableGivesNoColour)
{
    load(Cat({ Header(2, 2, 1, 5), Trailer() }));
    EXPECT_EQ(image.BackColor(), gif::clNone);
}

struct LoopCase
{
    const char* name;
    Bytes block;
    bool has;
    int count;
};

class GifLoop : public GifReader, public testing::WithParamInterface<LoopCase>
{ };

TEST_P(GifLoop, ApplicationBlocks)
{
    load(withBlocks(GetParam().block));
    EXPECT_EQ(image.HasLoopCount, GetParam().has);
    EXPECT_EQ(image.LoopCount, GetParam().count);
    ASSERT_EQ(image.Count(), 1);
    EXPECT_TRUE(image.Frames(0).ExtensionBlocks.empty()); // application blocks are not kept
}

Bytes app(const char* id, Bytes sub, std::uint8_t size = 11)
{
    Bytes b = { 0x21, 0xFF, size };
    b.insert(b.end(), id, id + 11);
    b.push_back(std::uint8_t(sub.size()));
    b.insert(b.end(), sub.begin(), sub.end());
    b.push_back(0);
    return b;
}

INSTANTIATE_TEST_SUITE_P(All, GifLoop,
    testing::Values(LoopCase { "Netscape1000", app("NETSCAPE2.0", { 1, 0xE8, 3 }), true, 1000 },
        LoopCase { "Capped", app("NETSCAPE2.0", { 1, 0xFF, 0xFF }), true, 30000 },
        LoopCase { "Forever", app("NETSCAPE2.0", { 1, 0, 0 }), true, 0 },
        LoopCase { "Animexts", app("ANIMEXTS1.0", { 1, 5, 0 }), true, 5 },
        LoopCase { "OtherId", app("XMP DataXMP", { 1, 5, 0 }), false, 1 },
        LoopCase { "NotSubBlockOne", app("NETSCAPE2.0", { 2, 5, 0 }), false, 1 },
        LoopCase { "ShortSubBlock", app("NETSCAPE2.0", { 1, 5 }), false, 1 },
        LoopCase { "SizeZeroMatchesAnyId", app("XXXXXXXXXXX", { 1, 7, 0 }, 0), true, 7 },
        LoopCase { "SizeFourComparesFour", app("NETSXXXXXXX", { 1, 9, 0 }, 4), true, 9 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GifReader, TwoGraphicControlsLongestDelayLastFlagsWin)
{
    load(withBlocks(Cat({ GraphicControl(0x05, 5, 1), GraphicControl(0x09, 3, 2) })));
    const gif::TGIFFrame& f = image.Frames(0);
    EXPECT_EQ(f.Delay, 50);
    EXPECT_EQ(f.Disposal, 2);
    EXPECT_EQ(f.TransparentColor, 0x081020u); // entry 2: 32, 16, 8 as red lowest
    ASSERT_EQ(f.ExtensionBlocks.size(), 2u);
}

TEST_F(GifReader, ClearedTransparencyFlagRemovesAnEarlierColour)
{
    load(withBlocks(Cat({ GraphicControl(0x01, 0, 1), GraphicControl(0x04, 0, 1) })));
    EXPECT_EQ(image.Frames(0).TransparentColor, gif::clNone);
    EXPECT_EQ(image.Frames(0).Disposal, 1);
}

TEST_F(GifReader, TransparentIndexBeyondTheTableGivesNoColour)
{
    load(withBlocks(GraphicControl(0x01, 0, 4)));
    EXPECT_EQ(image.Frames(0).TransparentColor, gif::clNone);
    EXPECT_FALSE(image.Transparent());
}

TEST_F(GifReader, PlainTextBlockWipesTheRun)
{
    const Bytes plain = { 0x21, 0x01, 12, 0, 0, 0, 0, 4, 0, 4, 0, 1, 1, 0, 1, 2, 'h', 'i', 0 };
    load(withBlocks(Cat({ GraphicControl(0x09, 7, 1), plain })));
    const gif::TGIFFrame& f = image.Frames(0);
    EXPECT_EQ(f.TransparentColor, gif::clNone);
    EXPECT_EQ(f.Delay, 0);
    EXPECT_EQ(f.Disposal, 0);
    EXPECT_TRUE(f.ExtensionBlocks.empty());
}

TEST_F(GifReader, HugeDelaySaturates)
{
    load(withBlocks(GraphicControl(0, 7000, 0)));
    EXPECT_EQ(image.Frames(0).Delay, 65535);
}

TEST_F(GifReader, ZeroDescriptorSizeTakesTheLogicalSize)
{
    load(Cat({ Header(2, 2), Descriptor(0, 0, 0, 0), SmallFrameData(), Trailer() }));
    EXPECT_EQ(image.Frames(0).Width(), 2);
    EXPECT_EQ(image.Frames(0).Height(), 2);
}

TEST_F(GifReader, ThreeFramesBuildOnlyTheFirstBitmap)
{
    const Bytes frame = Cat({ Descriptor(0, 0, 2, 2), SmallFrameData() });
    load(Cat({ Header(2, 2), frame, frame, { 0, 0, 0 }, frame, Trailer() }));
    ASSERT_EQ(image.Count(), 3);
    EXPECT_EQ(image.FrameIndex, 0);
    EXPECT_TRUE(image.Frames(0).HasFrameBitmap());
    EXPECT_FALSE(image.Frames(1).HasFrameBitmap());
    EXPECT_FALSE(image.Frames(2).HasFrameBitmap());
    EXPECT_EQ(changes, 1);
    const QImage& bitmap = image.Frames(2).FrameBitmap();
    EXPECT_EQ(bitmap.pixel(1, 1), qRgb(48, 24, 12)); // index 3
}

TEST_F(GifReader, CutSubBlockLeavesADamagedFrameWithTheWholeBlocksBefore)
{
    // Two sub-blocks of 2 and 3 bytes, the second cut after one byte.
    const Bytes codes = { 2, 2, 0x44, 0x0A, 3, 0x01 };
    load(Cat({ Header(2, 2), Descriptor(0, 0, 2, 2), codes }));
    ASSERT_EQ(image.Count(), 1);
    EXPECT_TRUE(image.Frames(0).Damaged);
    EXPECT_EQ(*image.Frames(0).Item().CodeStream, Bytes({ 2, 2, 0x44, 0x0A }));

    ToleranceGuard strict(false);
    EXPECT_EQ(failure<gif::EInvalidGraphicOperation>(
                  Cat({ Header(2, 2), Descriptor(0, 0, 2, 2), codes })),
        "Stream read error");
    EXPECT_EQ(image.Count(), 0);
}

TEST_F(GifReader, CodeStreamWithoutTerminatorAtTheEndIsNotDamaged)
{
    Bytes data = SmallFrameData();
    data.pop_back();
    load(Cat({ Header(2, 2), Descriptor(0, 0, 2, 2), data }));
    EXPECT_FALSE(image.Frames(0).Damaged);
    EXPECT_EQ(*image.Frames(0).Item().CodeStream, data);
}

TEST_F(GifReader, TrailingCommentsBecomeTheCommentText)
{
    const Bytes c1 = { 0x21, 0xFE, 3, 'o', 'n', 'e', 2, 'u', 'p', 0 };
    const Bytes c2 = { 0x21, 0xFE, 3, 't', 'w', 'o', 0 };
    load(Cat({ Header(2, 2), Descriptor(0, 0, 2, 2), SmallFrameData(), c1, c2, Trailer() }));
    EXPECT_EQ(image.SharedData().CommentText, QByteArrayList({ "one", "up", "\r\n\r\n", "two" }));
}

TEST_F(GifReader, CommentsBeforeAFrameStayWithTheFrame)
{
    const Bytes c = { 0x21, 0xFE, 2, 'h', 'i', 0 };
    load(withBlocks(c));
    ASSERT_NE(image.Frames(0).CommentLines(), nullptr);
    EXPECT_EQ(*image.Frames(0).CommentLines(), QByteArrayList({ "hi" }));
    EXPECT_TRUE(image.SharedData().CommentText.isEmpty());
}

struct LabelCase
{
    std::uint8_t label;
    const char* message;
};

class GifLabel : public GifReader, public testing::WithParamInterface<LabelCase>
{ };

TEST_P(GifLabel, UnknownExtensionLabels)
{
    EXPECT_EQ(failure<gif::EInvalidGraphicOperation>(withBlocks({ 0x21, GetParam().label, 0 })),
        GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(All, GifLabel,
    testing::Values(LabelCase { 0x00, "Unrecognized extension block: 00" },
        LabelCase { 0x3A, "Unrecognized extension block: 3A" },
        LabelCase { 0xFA, "Unrecognized extension block: FA" }));

TEST_F(GifReader, StrayByteBeforeAnyFrameIsAReadError)
{
    EXPECT_EQ(failure<gif::EInvalidGraphicOperation>(Cat({ Header(2, 2), { 'x' }, Trailer() })),
        "Stream read error");
    EXPECT_EQ(failure<gif::EInvalidGraphicOperation>(
                  withBlocks(Cat({ GraphicControl(0, 1, 0), { 'x' } }))),
        "Stream read error");
}

TEST_F(GifReader, StrayByteAfterAFrameEndsTheLoadQuietly)
{
    const Bytes frame = Cat({ Descriptor(0, 0, 2, 2), SmallFrameData() });
    load(Cat({ Header(2, 2), frame, { 'x' }, frame, Trailer() }));
    EXPECT_EQ(image.Count(), 1);
}

TEST_F(GifReader, DataEndingInFixedPartsReadsZeros)
{
    // Screen descriptor cut after the width: height, flags and the rest read as zero.
    load({ 'G', 'I', 'F', '8', '9', 'a', 5, 0 });
    EXPECT_EQ(image.StoredLogicalWidth(), 5);
    EXPECT_EQ(image.StoredLogicalHeight(), 0);
    EXPECT_EQ(image.SharedData().GlobalColors.Count, 0);
}

TEST_F(GifReader, DataEndingInsideADescriptorOrLocalTableIsAStreamError)
{
    const Bytes start = Header(2, 2);
    EXPECT_EQ(failure<gif::EReadError>(Cat({ start, { 0x2C, 0, 0, 0, 0, 2, 0 }, { 0 } })),
        "Stream read error");
    EXPECT_EQ(failure<gif::EReadError>(
                  Cat({ start, Descriptor(0, 0, 2, 2, 0x81), { 1, 2, 3, 4, 5, 6, 7 } })),
        "Stream read error");
    EXPECT_EQ(
        failure<gif::EReadError>(Cat({ start, Descriptor(0, 0, 2, 2) })), "Stream read error");
}

TEST_F(GifReader, LocalTableReplacesTheGlobalOne)
{
    const Bytes local = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 };
    load(Cat({ Header(2, 2, 3), GraphicControl(1, 0, 3), Descriptor(0, 0, 2, 2, 0x81), local,
        SmallFrameData(), Trailer() }));
    const gif::TGIFFrame& f = image.Frames(0);
    EXPECT_TRUE(f.OwnColors);
    EXPECT_EQ(f.Item().PixelBits, 2);
    EXPECT_EQ(f.TransparentColor, 0x0C0B0Au);
}

TEST_F(GifReader, FrameWithoutAnyColourTableFailsAndIsRemoved)
{
    Bytes bytes = Cat({ Header(2, 2), Descriptor(0, 0, 2, 2), SmallFrameData(), Trailer() });
    bytes[10] = 0; // no global table: its 12 bytes now read as blocks... so rebuild without them
    bytes = Cat({ Bytes(bytes.begin(), bytes.begin() + 13), Descriptor(0, 0, 2, 2),
        SmallFrameData(), Trailer() });
    EXPECT_EQ(failure<gif::EInvalidGraphicOperation>(bytes),
        "Wrong number of colors; must be a power of 2");
    EXPECT_EQ(image.Count(), 0);
    EXPECT_EQ(changes, 0);
}

TEST_F(GifReader, ShortStreamIsAReadErrorAndTheImageStaysCleared)
{
    load(withBlocks({}));
    ASSERT_EQ(image.Count(), 1);
    const Bytes gif = withBlocks({});
    QByteArray data(reinterpret_cast<const char*>(gif.data()), qsizetype(gif.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_THROW(gif::LoadGIF(image, qint64(gif.size()) + 1, buffer, true), gif::EReadError);
    EXPECT_EQ(image.Count(), 0);
    buffer.seek(0);
    EXPECT_THROW(gif::LoadGIF(image, -1, buffer, true), gif::EReadError);
}

TEST_F(GifReader, FormDataIsACountAndTheGif)
{
    const Bytes gif = withBlocks({});
    QByteArray data;
    const quint32 n = quint32(gif.size());
    data.append(char(n & 0xFF)).append(char(n >> 8 & 0xFF)).append(char(0)).append(char(0));
    data.append(reinterpret_cast<const char*>(gif.data()), qsizetype(gif.size()));
    data.append("trailing bytes that belong to the next property");
    image.ReadFormData(data);
    EXPECT_EQ(image.Count(), 1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(image.Width(), 2);

    QByteArray tooLong = data;
    tooLong[1] = char(0x7F);
    EXPECT_THROW(image.ReadFormData(tooLong), gif::EReadError);
}

TEST_F(GifReader, EmptyDataGivesAnEmptyPictureWithAChange)
{
    load({});
    EXPECT_EQ(image.Count(), 0);
    EXPECT_EQ(changes, 1);
}

} // namespace
