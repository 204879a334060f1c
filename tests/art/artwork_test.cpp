// The built-in assets as the window gets them, and the raw files' formats.

#include "asset_files.h"

#include "art/art_error.h"
#include "art/artwork.h"
#include "art/design_data.h"

#include <QRegion>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using arttest::assetFile;
using arttest::le16;
using arttest::le32;

// Card rectangles of the game page, row by row. Written out here rather than read from
// game/card_grid.h, which artgen draws from: they are the independent check of the pictures.
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

// The checks that hold for both sets, with every length in designed units times the density.
class Artwork : public testing::TestWithParam<art::Density>
{
protected:
    art::Density density() const { return GetParam(); }
    int scale() const { return int(GetParam()); }
    // "game.jpg" or "game@2x.jpg".
    QString file(const QString& name) const
    {
        if (density() == art::Density::Normal)
            return name;
        const qsizetype dot = name.lastIndexOf(u'.');
        return name.left(dot) + QStringLiteral("@2x") + name.mid(dot);
    }
};

TEST_P(Artwork, BackgroundsHaveTheirSizeAndHitsEqualsStart)
{
    const QImage start = art::background(art::Background::Start, density());
    const QImage game = art::background(art::Background::Game, density());
    const QImage hits = art::background(art::Background::Hits, density());
    // One decoded copy serves both pages that show the same picture.
    EXPECT_EQ(start.constBits(), hits.constBits());
    EXPECT_NE(start.constBits(), game.constBits());
    EXPECT_EQ(art::background(art::Background::Game, density()).constBits(), game.constBits());
    for (const QImage* image : { &start, &game, &hits }) {
        EXPECT_EQ(image->size(), QSize(799, 600) * scale());
        EXPECT_EQ(image->format(), QImage::Format_RGB32);
        EXPECT_EQ(image->devicePixelRatio(), 1.0);
    }
    EXPECT_EQ(hits, start);
    EXPECT_FALSE(game == start);
}

TEST_P(Artwork, BackgroundFilesAreBaselineJpegWithoutSubsampling)
{
    for (const char* name : { "start.jpg", "game.jpg" }) {
        SCOPED_TRACE(file(name).toStdString());
        const QByteArray jpeg = assetFile(file(name));
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
                EXPECT_EQ(QSize(w, h), QSize(799, 600) * scale());
                ASSERT_EQ(std::uint8_t(jpeg[at + 9]), 3);
                for (int c = 0; c < 3; ++c)
                    EXPECT_EQ(std::uint8_t(jpeg[at + 11 + 3 * c]), 0x11) << "component " << c;
            }
            at += 2 + length;
        }
        EXPECT_EQ(frames, 1);
    }
}

TEST_P(Artwork, ShuttersLieUnderEveryCardRectangle)
{
    const QImage game = art::background(art::Background::Game, density());
    const QImage start = art::background(art::Background::Start, density());
    const QImage back = art::cardPictures(density()).images[0];
    const int s = scale();
    for (const QRect& r : cardRects()) {
        SCOPED_TRACE(r.topLeft().x());
        SCOPED_TRACE(r.topLeft().y());
        // Just inside each corner of the shutter, and near the frame's corners (JPEG blurs the
        // sharp edges a little, hence the tolerance).
        for (const QPoint inset : { QPoint(8, 12), QPoint(81, 12), QPoint(8, 70), QPoint(81, 70),
                 QPoint(2, 2), QPoint(87, 2), QPoint(2, 76), QPoint(87, 76) }) {
            EXPECT_LT(distance(game.pixel((r.topLeft() + inset) * s), back.pixel(inset * s)), 40)
                << inset.x() << "," << inset.y();
        }
        // The start page's facade there is no shutter.
        EXPECT_GT(
            distance(start.pixel((r.topLeft() + QPoint(8, 40)) * s), back.pixel(8 * s, 40 * s)),
            60);
    }
}

// Where the window's design writes on each page, the background is plain sky (its gradient
// from 5FA8E6 at the top to 7EC0EE at the ground, y 560) or plain wall (F2E4C4), so every
// letter stays readable. The places are the design's; a name of thirty of the widest letters
// (twenty pixels each and more) runs to the page's right edge; the counters hold "10". JPEG
// carries a little of an edge just outside a place into it (the roof's below the captions).
TEST_P(Artwork, TextsLieOnPlainSkyOrWall)
{
    using art::Background;
    const std::pair<Background, QRect> texts[] = {
        { Background::Start, { 329, 359, 154, 29 } }, // the caption
        { Background::Start, { 320, 404, 177, 21 } }, // the name box
        { Background::Game, { 522, 7, 277, 22 } }, // the player's name
        { Background::Game, { 618, 29, 161, 46 } }, // the counters and their captions
        { Background::Game, { 24, 26, 105, 25 } }, // the clock panel
        { Background::Hits, { 304, 120, 225, 37 } }, // the results page's two captions
    };
    const int s = scale();
    for (const auto& [page, place] : texts) {
        const QImage image = art::background(page, density());
        const QRect r(place.topLeft() * s, place.size() * s);
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const double t = (y + 0.5) / (560.0 * s); // 0 at the top, 1 at the ground
            const QRgb sky = qRgb(0x5F + t * 0x1F, 0xA8 + t * 0x18, 0xE6 + t * 0x08);
            for (int x = r.left(); x <= r.right(); ++x) {
                const QRgb c = image.pixel(x, y);
                ASSERT_LE(std::min(distance(c, sky), distance(c, qRgb(0xF2, 0xE4, 0xC4))), 32)
                    << "page " << int(page) << " at " << x / s << "," << y / s;
            }
        }
    }
}

TEST_P(Artwork, ElevenCardPicturesWithTheirMasks)
{
    const art::CardPictures cards = art::cardPictures(density());
    const int s = scale();
    const QSize size = QSize(90, 80) * s;
    ASSERT_EQ(cards.images.size(), 11u);
    ASSERT_EQ(cards.masks.size(), 11u);
    for (int i = 0; i < 11; ++i) {
        SCOPED_TRACE(i);
        const QImage& image = cards.images[i];
        const QImage& mask = cards.masks[i];
        EXPECT_EQ(image.size(), size);
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        EXPECT_EQ(image.devicePixelRatio(), 1.0);
        EXPECT_EQ(mask.size(), size);
        EXPECT_EQ(mask.format(), QImage::Format_Mono);
        // The back has no transparent pixel; a face exactly its bottom-left unit (one pixel, or
        // the 2 x 2 block at twice the resolution), stored black.
        QRegion transparent;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                if (mask.pixelIndex(x, y) == 1)
                    transparent += QRect(x, y, 1, 1);
        const QRect corner(0, size.height() - s, s, s);
        EXPECT_EQ(transparent, i == 0 ? QRegion() : QRegion(corner));
        if (i > 0) {
            for (int y = corner.top(); y <= corner.bottom(); ++y)
                for (int x = corner.left(); x <= corner.right(); ++x)
                    EXPECT_EQ(image.pixel(x, y), qRgb(0, 0, 0)) << x << "," << y;
        }
        // The light frame round the edge, the near-black bottom row (a unit high).
        EXPECT_GT(qGray(image.pixel(45 * s, 0)), 200);
        EXPECT_GT(qGray(image.pixel(0, 40 * s)), 200);
        EXPECT_GT(qGray(image.pixel(size.width() - 1, 40 * s)), 200);
        for (int y = size.height() - s; y < size.height(); ++y)
            for (int x = s; x < size.width(); ++x)
                ASSERT_LT(qGray(image.pixel(x, y)), 40) << x << "," << y;
    }
    // Every face is a different picture.
    for (int i = 1; i < 11; ++i)
        for (int j = i + 1; j < 11; ++j)
            EXPECT_FALSE(cards.images[i] == cards.images[j]) << i << " " << j;
}

TEST_P(Artwork, AnimationDataIsACountFollowedByAGif)
{
    for (int n = 1; n <= 10; ++n) {
        const QByteArray data = art::animationData(n, density());
        ASSERT_GT(data.size(), 10);
        EXPECT_EQ(le32(data, 0), std::uint32_t(data.size() - 4));
        EXPECT_EQ(data.mid(4, 6), "GIF89a");
        EXPECT_EQ(le16(data, 4 + 6), 518u * scale());
        EXPECT_EQ(le16(data, 4 + 8), 389u * scale());
        EXPECT_TRUE(data.mid(4) == assetFile(file(QString::asprintf("anim%02d.gif", n)))) << n;
    }
    EXPECT_THROW(art::animationData(0, density()), art::ArtError);
    EXPECT_THROW(art::animationData(11, density()), art::ArtError);
}

TEST_P(Artwork, GlyphsHoldTwoGlyphsWithOliveTransparency)
{
    const QSize sizes[] = { { 32, 16 }, { 36, 18 }, { 32, 16 }, { 32, 16 } }; // BitBtn1..4
    const char* files[]
        = { "glyph_start.bmp", "glyph_play.bmp", "glyph_exit.bmp", "glyph_results.bmp" };
    const int s = scale();
    for (int button = 1; button <= 4; ++button) {
        SCOPED_TRACE(button);
        const QImage glyph = art::glyph(button, density());
        ASSERT_EQ(glyph.size(), sizes[button - 1] * s);
        EXPECT_EQ(glyph.format(), QImage::Format_RGB32);
        EXPECT_EQ(glyph.devicePixelRatio(), 1.0);
        // The bottom-left pixel names the transparent colour; at twice the resolution its whole
        // unit is olive, so no edge of the drawing touches that corner.
        const QRgb olive = qRgb(128, 128, 0);
        for (int y = glyph.height() - s; y < glyph.height(); ++y)
            for (int x = 0; x < s; ++x)
                EXPECT_EQ(glyph.pixel(x, y), olive) << x << "," << y;
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
        EXPECT_GT(normal, 20 * s * s);
        EXPECT_GT(greyed, 20 * s * s);
        const QByteArray bitmap = assetFile(file(files[button - 1]));
        ASSERT_GT(bitmap.size(), 54);
        EXPECT_EQ(le16(bitmap, 28), 4u) << "bits per pixel";
        EXPECT_EQ(le32(bitmap, 46), 0u) << "colours used: all sixteen";
        EXPECT_EQ(le32(bitmap, 2), std::uint32_t(bitmap.size()));
    }
    EXPECT_THROW(art::glyph(5, density()), art::ArtError);
}

TEST_P(Artwork, ImageListStreamHasTheStoredLayout)
{
    const QByteArray il = assetFile(file("cards.il"));
    // Four cells a row, four rows for the fourteen allocated.
    const int w = 90 * scale(), h = 80 * scale(), stripW = 4 * w, stripH = 4 * h;
    const int maskStride = (stripW + 31) / 32 * 4;
    ASSERT_EQ(il.size(), 28 + 54 + stripW * stripH * 4 + 62 + maskStride * stripH + 22);
    const std::uint32_t header[]
        = { 0x4C49, 0x0101, 11, 14, 4, std::uint32_t(w), std::uint32_t(h) };
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(le16(il, 2 * i), header[i]) << "field " << i;
    EXPECT_EQ(le32(il, 14), 0xFFFFFFFFu);
    EXPECT_EQ(le16(il, 18), 0x10FFu);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(le16(il, 20 + 2 * i), 0xFFFFu);
    EXPECT_EQ(il.mid(28, 2), "BM");
    EXPECT_EQ(le32(il, 30), 54u);
    EXPECT_EQ(le32(il, 28 + 18), std::uint32_t(stripW));
    EXPECT_EQ(le32(il, 28 + 22), std::uint32_t(stripH));
    EXPECT_EQ(le16(il, 28 + 28), 32u);
    const qsizetype mask = 28 + 54 + qsizetype(stripW) * stripH * 4;
    EXPECT_EQ(il.mid(mask, 2), "BM");
    EXPECT_EQ(le32(il, mask + 2), 62u);
    EXPECT_EQ(le16(il, mask + 28), 1u);
    EXPECT_EQ(il.right(22), QByteArray(22, '\0'));
    // The empty slots 11..15 are black: sample the middle of slot 15 (bottom-right cell,
    // stored first since rows run bottom-up).
    const qsizetype pixel = 28 + 54 + (qsizetype(h / 2) * stripW + 3 * w + w / 2) * 4;
    EXPECT_EQ(il.mid(pixel, 4), QByteArray(4, '\0'));
}

INSTANTIATE_TEST_SUITE_P(BothDensities, Artwork,
    testing::Values(art::Density::Normal, art::Density::Double),
    [](const testing::TestParamInfo<art::Density>& info) {
        return info.param == art::Density::Normal ? "Normal" : "Double";
    });

TEST(ArtworkIcon, IsOnlyDrawnAsDesigned)
{
    EXPECT_NO_THROW(art::designProperty("Form1.Icon.Data"));
    EXPECT_THROW(art::designProperty("Form1.Icon.Data", art::Density::Double), art::ArtError);
}

TEST(ArtworkIcon, Is32By32With16ColoursAndAMask)
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

} // namespace
