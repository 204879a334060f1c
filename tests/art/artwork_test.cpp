// The built-in assets as the window gets them, and the raw files' formats.

#include "asset_files.h"

#include "art/art_error.h"
#include "art/artwork.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

using arttest::assetFile;
using arttest::le16;
using arttest::le32;

// Card rectangles of the game page, row by row.
std::vector<QRect> cardRects()
{
    std::vector<QRect> rects;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 5; ++col)
            rects.emplace_back((row == 3 ? 160 : 161) + col * 102, 125 + row * 90, 90, 80);
    return rects;
}

int distance(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
        + std::abs(qBlue(a) - qBlue(b));
}

class Artwork : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "art_tests";
        static char* argv[] = { name, nullptr };
        if (!QGuiApplication::instance())
            new QGuiApplication(argc, argv); // QIcon needs it
        cards = new art::CardPictures(art::cardPictures());
    }
    static art::CardPictures* cards;
};
art::CardPictures* Artwork::cards = nullptr;

TEST_F(Artwork, BackgroundsAre799By600AndHitsEqualsStart)
{
    const QImage start = art::background(art::Background::Start);
    const QImage game = art::background(art::Background::Game);
    const QImage hits = art::background(art::Background::Hits);
    // One decoded copy serves both pages that show the same picture.
    EXPECT_EQ(start.constBits(), hits.constBits());
    EXPECT_NE(start.constBits(), game.constBits());
    for (const QImage* image : { &start, &game, &hits }) {
        EXPECT_EQ(image->size(), QSize(799, 600));
        EXPECT_EQ(image->format(), QImage::Format_RGB32);
    }
    EXPECT_EQ(hits, start);
    EXPECT_FALSE(game == start);
}

TEST_F(Artwork, BackgroundFilesAreBaselineJpegWithoutSubsampling)
{
    for (const char* name : { "start.jpg", "game.jpg" }) {
        SCOPED_TRACE(name);
        const QByteArray jpeg = assetFile(name);
        ASSERT_GT(jpeg.size(), 4);
        // Walk the markers up to the start of the scan; exactly one frame header, SOF0.
        qsizetype at = 2;
        int frames = 0;
        while (at + 4 <= jpeg.size() && std::uint8_t(jpeg[at + 1]) != 0xDA) {
            const int marker = std::uint8_t(jpeg[at + 1]);
            const int length = std::uint8_t(jpeg[at + 2]) << 8 | std::uint8_t(jpeg[at + 3]);
            if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8
                && marker != 0xCC) {
                ++frames;
                EXPECT_EQ(marker, 0xC0) << "not a baseline frame";
                EXPECT_EQ(std::uint8_t(jpeg[at + 4]), 8); // bits per sample
                const int h = std::uint8_t(jpeg[at + 5]) << 8 | std::uint8_t(jpeg[at + 6]);
                const int w = std::uint8_t(jpeg[at + 7]) << 8 | std::uint8_t(jpeg[at + 8]);
                EXPECT_EQ(QSize(w, h), QSize(799, 600));
                ASSERT_EQ(std::uint8_t(jpeg[at + 9]), 3);
                for (int c = 0; c < 3; ++c)
                    EXPECT_EQ(std::uint8_t(jpeg[at + 11 + 3 * c]), 0x11) << "component " << c;
            }
            at += 2 + length;
        }
        EXPECT_EQ(frames, 1);
    }
}

TEST_F(Artwork, ShuttersLieUnderEveryCardRectangle)
{
    const QImage game = art::background(art::Background::Game);
    const QImage start = art::background(art::Background::Start);
    const QImage& back = cards->images[0];
    for (const QRect& r : cardRects()) {
        SCOPED_TRACE(r.topLeft().x());
        SCOPED_TRACE(r.topLeft().y());
        // Just inside each corner of the shutter, and near the frame's corners (JPEG blurs the
        // sharp edges a little, hence the tolerance).
        for (const QPoint inset : { QPoint(8, 12), QPoint(81, 12), QPoint(8, 70), QPoint(81, 70),
                 QPoint(2, 2), QPoint(87, 2), QPoint(2, 76), QPoint(87, 76) }) {
            EXPECT_LT(distance(game.pixel(r.topLeft() + inset), back.pixel(inset)), 40)
                << inset.x() << "," << inset.y();
        }
        // The start page's facade there is no shutter.
        EXPECT_GT(distance(start.pixel(r.topLeft() + QPoint(8, 40)), back.pixel(8, 40)), 60);
    }
}

TEST_F(Artwork, ElevenCardPicturesWithTheirMasks)
{
    ASSERT_EQ(cards->images.size(), 11u);
    ASSERT_EQ(cards->masks.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        const QImage& image = cards->images[i];
        const QImage& mask = cards->masks[i];
        EXPECT_EQ(image.size(), QSize(90, 80));
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        EXPECT_EQ(mask.size(), QSize(90, 80));
        EXPECT_EQ(mask.format(), QImage::Format_Mono);
        int transparent = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 90; ++x)
                transparent += mask.pixelIndex(x, y);
        EXPECT_EQ(transparent, i == 0 ? 0 : 1);
        if (i > 0) {
            EXPECT_EQ(mask.pixelIndex(0, 79), 1);
            EXPECT_EQ(image.pixel(0, 79), qRgb(0, 0, 0)); // stored black
        }
        // The light frame round the edge, the near-black bottom row.
        EXPECT_GT(qGray(image.pixel(45, 0)), 200);
        EXPECT_GT(qGray(image.pixel(0, 40)), 200);
        EXPECT_GT(qGray(image.pixel(89, 40)), 200);
        for (int x = 1; x < 90; ++x)
            ASSERT_LT(qGray(image.pixel(x, 79)), 40) << x;
    }
    // Every face is a different picture.
    for (int i = 1; i < 11; ++i)
        for (int j = i + 1; j < 11; ++j)
            EXPECT_FALSE(cards->images[i] == cards->images[j]) << i << " " << j;
}

TEST_F(Artwork, AnimationDataIsACountFollowedByAGif)
{
    for (int n = 1; n <= 10; ++n) {
        const QByteArray data = art::animationData(n);
        ASSERT_GT(data.size(), 10);
        EXPECT_EQ(le32(data, 0), std::uint32_t(data.size() - 4));
        EXPECT_EQ(data.mid(4, 6), "GIF89a");
        EXPECT_TRUE(data.mid(4) == assetFile(QString::asprintf("anim%02d.gif", n))) << n;
    }
    EXPECT_THROW(art::animationData(0), art::ArtError);
    EXPECT_THROW(art::animationData(11), art::ArtError);
}

TEST_F(Artwork, GlyphsHoldTwoGlyphsWithOliveTransparency)
{
    const QSize sizes[] = { { 32, 16 }, { 36, 18 }, { 32, 16 }, { 32, 16 } }; // BitBtn1..4
    const char* files[]
        = { "glyph_start.bmp", "glyph_play.bmp", "glyph_exit.bmp", "glyph_results.bmp" };
    for (int button = 1; button <= 4; ++button) {
        SCOPED_TRACE(button);
        const QImage glyph = art::glyph(button);
        ASSERT_EQ(glyph.size(), sizes[button - 1]);
        EXPECT_EQ(glyph.format(), QImage::Format_RGB32);
        const QRgb olive = qRgb(128, 128, 0);
        EXPECT_EQ(glyph.pixel(0, glyph.height() - 1), olive);
        // Both halves draw something, and the greyed half only in greys and white.
        const int half = glyph.width() / 2;
        int normal = 0, greyed = 0;
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < half; ++x) {
                normal += glyph.pixel(x, y) != olive;
                const QRgb g = glyph.pixel(half + x, y);
                if (g != olive) {
                    ++greyed;
                    EXPECT_TRUE(qRed(g) == qGreen(g) && qGreen(g) == qBlue(g));
                }
            }
        EXPECT_GT(normal, 20);
        EXPECT_GT(greyed, 20);
        const QByteArray file = assetFile(files[button - 1]);
        ASSERT_GT(file.size(), 54);
        EXPECT_EQ(le16(file, 28), 4u) << "bits per pixel";
        EXPECT_EQ(le32(file, 2), std::uint32_t(file.size()));
    }
    EXPECT_THROW(art::glyph(5), art::ArtError);
}

TEST_F(Artwork, IconIs32By32With16ColoursAndAMask)
{
    const QByteArray file = assetFile("icon.ico");
    ASSERT_GE(file.size(), 22);
    EXPECT_EQ(le16(file, 4), 1u); // one image
    EXPECT_EQ(std::uint8_t(file[6]), 32);
    EXPECT_EQ(std::uint8_t(file[7]), 32);
    EXPECT_EQ(std::uint8_t(file[8]), 16);
    const QIcon icon = art::icon();
    ASSERT_FALSE(icon.isNull());
    const QImage image = icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32));
    int transparent = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            transparent += qAlpha(image.pixel(x, y)) == 0;
    EXPECT_GT(transparent, 100);
    EXPECT_LT(transparent, 900);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(16, 17)), 255);
}

TEST_F(Artwork, ImageListStreamHasTheStoredLayout)
{
    const QByteArray il = assetFile("cards.il");
    ASSERT_EQ(il.size(), 28 + 54 + 360 * 320 * 4 + 62 + 48 * 320 + 22);
    const std::uint32_t header[] = { 0x4C49, 0x0101, 11, 14, 4, 90, 80 };
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(le16(il, 2 * i), header[i]) << "field " << i;
    EXPECT_EQ(le32(il, 14), 0xFFFFFFFFu);
    EXPECT_EQ(le16(il, 18), 0x10FFu);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(le16(il, 20 + 2 * i), 0xFFFFu);
    EXPECT_EQ(il.mid(28, 2), "BM");
    EXPECT_EQ(le32(il, 30), 54u);
    EXPECT_EQ(le16(il, 28 + 28), 32u);
    const qsizetype mask = 28 + 54 + 360 * 320 * 4;
    EXPECT_EQ(il.mid(mask, 2), "BM");
    EXPECT_EQ(le32(il, mask + 2), 62u);
    EXPECT_EQ(le16(il, mask + 28), 1u);
    EXPECT_EQ(il.right(22), QByteArray(22, '\0'));
    // The empty slots 11..15 are black: sample the middle of slot 15 (bottom-right cell,
    // stored first since rows run bottom-up).
    const qsizetype pixel = 28 + 54 + (40 * 360 + 315) * 4;
    EXPECT_EQ(il.mid(pixel, 4), QByteArray(4, '\0'));
}

} // namespace
