// The set for high-density screens is drawn at twice the resolution, not enlarged from the set
// as designed: every picture has edges and detail inside its 2 x 2 pixel blocks that a doubled
// picture cannot have, and reduced 2:1 it is still the designed picture.

#include "gif_memory.h"

#include "art/artwork.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using art::Density;

// The largest difference within the 2 x 2 block at (x, y), over the three channels.
int blockSpread(const QImage& image, int x, int y)
{
    int low[3] = { 255, 255, 255 }, high[3] = { 0, 0, 0 };
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
            const QRgb c = image.pixel(x + dx, y + dy);
            const int v[3] = { qRed(c), qGreen(c), qBlue(c) };
            for (int k = 0; k < 3; ++k) {
                low[k] = std::min(low[k], v[k]);
                high[k] = std::max(high[k], v[k]);
            }
        }
    return std::max({ high[0] - low[0], high[1] - low[1], high[2] - low[2] });
}

// The share of the blocks at even coordinates whose pixels differ by more than `tolerance`.
double mixedBlockShare(const QImage& image, int tolerance)
{
    long blocks = 0, mixed = 0;
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            ++blocks;
            mixed += blockSpread(image, x, y) > tolerance;
        }
    return double(mixed) / double(blocks);
}

// Each pixel the rounded mean of its 2 x 2 block.
QImage halved(const QImage& image)
{
    QImage out(image.width() / 2, image.height() / 2, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            int sum[3] = { 0, 0, 0 };
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const QRgb c = image.pixel(2 * x + dx, 2 * y + dy);
                    sum[0] += qRed(c);
                    sum[1] += qGreen(c);
                    sum[2] += qBlue(c);
                }
            out.setPixel(x, y, qRgb((sum[0] + 2) / 4, (sum[1] + 2) / 4, (sum[2] + 2) / 4));
        }
    return out;
}

// Mean absolute difference per channel of two pictures of one size.
double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// The first frame of an animation (it covers the whole screen), decoded by giflib.
QImage firstFrame(const QByteArray& imageData)
{
    int error = 0;
    const arttest::GifFile file = arttest::slurpGif(imageData.mid(4), error);
    if (!file || file->ImageCount == 0 || !file->SColorMap) {
        ADD_FAILURE() << "giflib cannot read the animation: " << GifErrorString(error);
        return {};
    }
    const SavedImage& frame = file->SavedImages[0];
    const int w = frame.ImageDesc.Width, h = frame.ImageDesc.Height;
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const GifColorType c = file->SColorMap->Colors[frame.RasterBits[y * w + x]];
            image.setPixel(x, y, qRgb(c.Red, c.Green, c.Blue));
        }
    return image;
}

// What each kind of picture must show, from the values the built-in pictures measure (in the
// comments: the lowest share and the highest difference among them). A picture doubled pixel
// for pixel has no mixed block at all in the lossless formats. JPEG blurs a doubled picture's
// blocks too, but by at most 32 levels: a doubled background re-encoded the same way has 0.02 %
// of its blocks beyond that. A picture of the wrong drawing differs by 14 or more.
struct Expectation
{
    int tolerance; // a block is mixed when its pixels differ by more than this
    double minMixedShare;
    double maxMeanDifference; // halved picture against the designed one, per channel
};

const Expectation jpegBackground { 32, 0.005, 4.0 }; // 1.27 % (start), 2.04 (game)
const Expectation cardPicture { 0, 0.05, 5.0 }; // 12.1 % (face 7), 3.34 (back: finer seams)
// Glyphs are sixteen colours without blending, so every edge block halves to a mix of two.
const Expectation glyphPicture { 0, 0.005, 10.0 }; // 0.78 % (exit, mostly rectangles), 7.73
const Expectation animationFrame { 0, 0.01, 1.0 }; // 1.95 % (animation 4), 0.38

struct Pair
{
    std::string name;
    QImage normal, dense;
    Expectation expect;
};

std::vector<Pair> pictures()
{
    std::vector<Pair> pairs;
    pairs.push_back({ "start background", art::background(art::Background::Start),
        art::background(art::Background::Start, Density::Double), jpegBackground });
    pairs.push_back({ "game background", art::background(art::Background::Game),
        art::background(art::Background::Game, Density::Double), jpegBackground });
    const art::CardPictures normal = art::cardPictures();
    const art::CardPictures dense = art::cardPictures(Density::Double);
    for (std::size_t i = 0; i < normal.images.size() && i < dense.images.size(); ++i)
        pairs.push_back({ "card picture " + std::to_string(i), normal.images[i], dense.images[i],
            cardPicture });
    for (int button = 1; button <= 4; ++button)
        pairs.push_back({ "glyph of button " + std::to_string(button), art::glyph(button),
            art::glyph(button, Density::Double), glyphPicture });
    for (int n = 1; n <= 10; ++n)
        pairs.push_back(
            { "animation " + std::to_string(n) + ", first frame", firstFrame(art::animationData(n)),
                firstFrame(art::animationData(n, Density::Double)), animationFrame });
    return pairs;
}

TEST(DoubleDensity, EveryPictureIsDrawnAtTwiceTheResolution)
{
    const std::vector<Pair> pairs = pictures();
    EXPECT_EQ(pairs.size(), 2u + 11u + 4u + 10u);
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.name);
        ASSERT_EQ(pair.dense.size(), pair.normal.size() * 2);
        const double share = mixedBlockShare(pair.dense, pair.expect.tolerance);
        EXPECT_GE(share, pair.expect.minMixedShare) << "looks enlarged: too few 2 x 2 blocks hold "
                                                       "an edge or detail";
        const double difference = meanDifference(halved(pair.dense), pair.normal);
        EXPECT_LE(difference, pair.expect.maxMeanDifference)
            << "reduced 2:1, it no longer shows the designed picture";
    }
}

} // namespace
