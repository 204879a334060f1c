#include "base/transparent_draw.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace base;

namespace {

constexpr QRgb kBack = 0xFF102030;
constexpr QRgb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

// 2 x 2: red green / blue white; bottom-left is blue.
QImage source()
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, kRed);
    image.setPixel(1, 0, kGreen);
    image.setPixel(0, 1, kBlue);
    image.setPixel(1, 1, kWhite);
    return image;
}

QImage canvas(int w = 6, int h = 6)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kBack);
    return image;
}

// Draws straight into the image, through a painter that writes the image in place, and through
// one whose clip makes it blend a layer; all three must give the same pixels.
enum class Way { Image, Painter, ClippedPainter };

class StretchDraw : public testing::TestWithParam<Way>
{
protected:
    QImage draw(int x, int y, int w, int h, const QRect& src, const QImage& bitmap, TColor colour)
    {
        QImage target = canvas();
        if (GetParam() == Way::Image) {
            StretchDrawTransparent(target, x, y, w, h, src, bitmap, colour);
            return target;
        }
        QPainter painter(&target);
        if (GetParam() == Way::ClippedPainter)
            painter.setClipRect(target.rect());
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        StretchDrawTransparent(painter, x, y, w, h, src, bitmap, colour);
        EXPECT_TRUE(painter.testRenderHint(QPainter::SmoothPixmapTransform));
        return target;
    }
};

TEST_P(StretchDraw, NoneDrawsOpaqueAndStretchesByPickingPixels)
{
    const QImage out = draw(1, 1, 4, 4, QRect(), source(), clNone);
    EXPECT_EQ(out.pixel(0, 0), kBack);
    EXPECT_EQ(out.pixel(1, 1), kRed);
    EXPECT_EQ(out.pixel(2, 2), kRed);
    EXPECT_EQ(out.pixel(3, 2), kGreen);
    EXPECT_EQ(out.pixel(2, 3), kBlue);
    EXPECT_EQ(out.pixel(4, 4), kWhite);
    EXPECT_EQ(out.pixel(5, 5), kBack);
}

TEST_P(StretchDraw, ExplicitColourIsLeftOut)
{
    const QImage out = draw(0, 0, 2, 2, QRect(), source(), 0x00FF00); // green, red lowest
    EXPECT_EQ(out.pixel(0, 0), kRed);
    EXPECT_EQ(out.pixel(1, 0), kBack);
    EXPECT_EQ(out.pixel(0, 1), kBlue);
}

TEST_P(StretchDraw, DefaultTakesTheBottomLeftColour)
{
    const QImage out = draw(0, 0, 4, 4, QRect(), source(), clDefault);
    EXPECT_EQ(out.pixel(0, 3), kBack); // blue left out
    EXPECT_EQ(out.pixel(1, 2), kBack);
    EXPECT_EQ(out.pixel(0, 0), kRed);
    EXPECT_EQ(out.pixel(3, 3), kWhite);
}

TEST_P(StretchDraw, MonochromeBitmapHasWhiteTransparent)
{
    QImage mono(2, 1, QImage::Format_Mono);
    mono.setColorTable({ 0xFF000000, kWhite });
    mono.setPixel(0, 0, 0);
    mono.setPixel(1, 0, 1);
    const QImage out = draw(0, 0, 0, 0, QRect(), mono, 0x0000FF);
    EXPECT_EQ(out.pixel(0, 0), 0xFF000000);
    EXPECT_EQ(out.pixel(1, 0), kBack);
}

TEST_P(StretchDraw, ZeroDestinationSizeUsesTheBitmapSize)
{
    const QImage out = draw(2, 3, 0, -1, QRect(), source(), clNone);
    EXPECT_EQ(out.pixel(2, 3), kRed);
    EXPECT_EQ(out.pixel(3, 4), kWhite);
    EXPECT_EQ(out.pixel(4, 3), kBack);
    EXPECT_EQ(out.pixel(2, 5), kBack);
}

TEST_P(StretchDraw, SourceRectangleSelectsPartOfTheBitmap)
{
    const QImage out = draw(0, 0, 2, 1, QRect(1, 0, 1, 2), source(), clNone);
    EXPECT_EQ(out.pixel(0, 0), kGreen);
    EXPECT_EQ(out.pixel(1, 0), kGreen);
    EXPECT_EQ(out.pixel(0, 1), kBack);
}

TEST_P(StretchDraw, DestinationPartlyOutsideIsClipped)
{
    const QImage out = draw(-1, 5, 2, 2, QRect(), source(), 0xFF0000); // blue transparent
    EXPECT_EQ(out.pixel(0, 5), kGreen);
    EXPECT_EQ(out.pixel(1, 5), kBack);
}

INSTANTIATE_TEST_SUITE_P(ImageAndPainters, StretchDraw,
    testing::Values(Way::Image, Way::Painter, Way::ClippedPainter), [](const auto& info) {
        return std::string(info.param == Way::Image ? "Image"
                : info.param == Way::Painter        ? "Painter"
                                                    : "ClippedPainter");
    });

TEST(MaskedStretchBlt, DestinationWhereTheSourceHasTheMaskColour)
{
    QImage target = canvas(4, 2);
    MaskedStretchBlt(target, 0, 0, 4, 2, source(), 0, 0, 2, 2, nullptr, 0xFFFFFF);
    EXPECT_EQ(target.pixel(0, 0), kRed);
    EXPECT_EQ(target.pixel(3, 0), kGreen);
    EXPECT_EQ(target.pixel(0, 1), kBlue);
    EXPECT_EQ(target.pixel(3, 1), kBack);
}

TEST(MaskedStretchBlt, PaletteReplacesTheColourTable)
{
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({ kRed, kGreen });
    indexed.setPixel(0, 0, 0);
    indexed.setPixel(1, 0, 1);
    const QList<QRgb> palette = { kBlue, kWhite };
    QImage target = canvas(2, 1);
    MaskedStretchBlt(target, 0, 0, 2, 1, indexed, 0, 0, 2, 1, &palette, 0xFFFFFF);
    EXPECT_EQ(target.pixel(0, 0), kBlue);
    EXPECT_EQ(target.pixel(1, 0), kBack);
}

TEST(Colours, ConversionsKeepRedLowest)
{
    EXPECT_EQ(ColorToRGB(0x0000FF), kRed);
    EXPECT_EQ(ColorToRGB(0x02FF0000), kBlue); // palette-relative flag ignored
    EXPECT_EQ(ColorToRGB(clWindow), kWhite);
    EXPECT_EQ(RGBToColor(kGreen), 0x00FF00u);
    EXPECT_EQ(RGBToColor(qRgb(1, 2, 3)), 0x030201u);
}

} // namespace
