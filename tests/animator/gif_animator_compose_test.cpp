// Composition of the logical screen (incremental and rebuilt) and how the picture is placed.
#include "animator/gif_animator.h"
#include "gif_fixtures.h"

#include <QPainter>

#include <algorithm>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

using namespace animator;
using namespace base;
using namespace animator_test;

namespace {

class ComposingAnimator : public TGIFAnimator
{
public:
    using TGIFAnimator::TGIFAnimator;

    QImage Compose(int index)
    {
        drawn.clear();
        TColor transColor = clNone;
        return ComposeFrame(index, transColor);
    }

    std::vector<int> drawn;

protected:
    void DrawFrame(QPainter& canvas, gif::TGIFFrame& frame, int index) override
    {
        drawn.push_back(index);
        TGIFAnimator::DrawFrame(canvas, frame, index);
    }
};

QColor InkColour(Ink ink)
{
    return QColor::fromRgb(QRgb(0xFF000000 | kPalette[ink]));
}

// 6 x 4 screen; frame 1 restores to background, frame 3 restores the previous picture, frame 5
// covers the screen but has a transparent colour, so only frame 0 can start a rebuild.
const std::vector<FrameSpec> kMixedDisposals {
    { 0, 0, 6, 4, 10, 1, -1, Red },
    { 0, 0, 2, 2, 10, 2, -1, Green },
    { 2, 0, 2, 2, 10, 1, -1, Blue },
    { 4, 0, 2, 2, 10, 3, -1, Yellow },
    { 0, 2, 2, 2, 10, 1, -1, Cyan },
    { 0, 0, 6, 4, 10, 1, White, Magenta, White },
    { 2, 2, 2, 2, 10, 0, -1, Black },
};

TEST(ComposeFrame, PlayingDrawsOneFrameOnTheCacheAndMatchesARebuild)
{
    ComposingAnimator playing;
    playing.Image().ReadFormData(MakeGif(6, 4, kMixedDisposals));
    const std::vector<std::vector<int>> expectedDraws { { 0 }, { 1 }, { 2 }, { 3 },
        { 0, 2, 4 }, // after "restore previous" the picture is rebuilt from frame 0
        { 5 }, { 6 } };
    for (int k = 0; k < 7; ++k) {
        const QImage incremental = playing.Compose(k);
        EXPECT_EQ(playing.drawn, expectedDraws[std::size_t(k)]) << "frame " << k;

        ComposingAnimator jumping;
        jumping.Image().ReadFormData(MakeGif(6, 4, kMixedDisposals));
        const QImage rebuilt = jumping.Compose(k);
        EXPECT_EQ(incremental, rebuilt) << "frame " << k;
    }
    // Frame 2 as composed: frame 1's place restored to the background colour (the picture is
    // transparent, so its background colour, black), frame 2 on the red screen.
    ComposingAnimator check;
    check.Image().ReadFormData(MakeGif(6, 4, kMixedDisposals));
    const QImage frame2 = check.Compose(2);
    EXPECT_EQ(check.drawn, (std::vector<int> { 0, 2 }));
    EXPECT_EQ(frame2.pixelColor(0, 0), InkColour(Black));
    EXPECT_EQ(frame2.pixelColor(2, 0), InkColour(Blue));
    EXPECT_EQ(frame2.pixelColor(5, 3), InkColour(Red));
    // Frame 5 leaves its hole: the picture below shows through.
    const QImage frame5 = check.Compose(5);
    EXPECT_EQ(frame5.pixelColor(0, 0), InkColour(Black));
    EXPECT_EQ(frame5.pixelColor(1, 1), InkColour(Magenta));
}

TEST(ComposeFrame, RepaintAndJumpRebuildButAdvanceDoesNot)
{
    ComposingAnimator animator;
    animator.Image().ReadFormData(MakeGif(6, 4, kMixedDisposals));
    animator.Compose(0);
    animator.Compose(1);
    animator.Compose(1); // the same frame again
    EXPECT_EQ(animator.drawn, (std::vector<int> { 0, 1 }));
    animator.Compose(6); // a jump
    EXPECT_EQ(animator.drawn, (std::vector<int> { 0, 2, 4, 5, 6 }));
    animator.Compose(0); // after the last frame
    EXPECT_EQ(animator.drawn, (std::vector<int> { 0 }));
    animator.Compose(99); // limited to the last frame
    EXPECT_EQ(animator.drawn, (std::vector<int> { 0, 2, 4, 5, 6 }));
}

TEST(ComposeFrame, RebuildStartsAtTheNearestFullOpaqueOrRestoringFrame)
{
    ComposingAnimator animator;
    animator.Image().ReadFormData(MakeGif(4, 4,
        {
            { 0, 0, 4, 4, 10, 1, -1, Red },
            { 0, 0, 2, 2, 10, 1, -1, Green },
            { 0, 0, 4, 4, 10, 1, -1, Blue }, // full and opaque
            { 0, 0, 2, 2, 10, 1, -1, Cyan },
            { 0, 0, 4, 4, 10, 2, White, Yellow }, // full, transparent, restores to background
            { 2, 2, 2, 2, 10, 1, -1, Black },
        }));
    animator.Compose(3);
    EXPECT_EQ(animator.drawn, (std::vector<int> { 2, 3 }));
    animator.Compose(2);
    EXPECT_EQ(animator.drawn, (std::vector<int> { 2 }));
    const QImage frame5 = animator.Compose(5);
    EXPECT_EQ(animator.drawn, (std::vector<int> { 5 }));
    EXPECT_NE(frame5.pixelColor(0, 0), InkColour(Yellow)); // restored to the background
    EXPECT_EQ(frame5.pixelColor(3, 3), InkColour(Black));
    animator.Compose(4); // not before itself: a transparent frame cannot start its own rebuild
    EXPECT_EQ(animator.drawn, (std::vector<int> { 2, 3, 4 }));
}

TEST(ComposeFrame, NewPictureEmptiesTheCache)
{
    ComposingAnimator animator;
    animator.Image().ReadFormData(MakeGif(6, 4, kMixedDisposals));
    animator.Compose(0);
    animator.Image().ReadFormData(MakeGif(6, 4, kMixedDisposals));
    animator.Compose(1);
    EXPECT_EQ(animator.drawn, (std::vector<int> { 0, 1 }));
}

// A 21 x 3 picture whose column x has colour x.
QByteArray ColumnsGif()
{
    gif::GifWriteImage image;
    image.screenWidth = 21;
    image.screenHeight = 3;
    for (std::uint32_t i = 0; i < 32; ++i)
        image.globalPalette.push_back(i * 0x070503);
    gif::GifWriteFrame frame;
    frame.width = 21;
    frame.height = 3;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 21; ++x)
            frame.indices.push_back(std::uint8_t(x));
    image.frames.push_back(frame);
    return FormData(gif::WriteGIF(image));
}

QColor Column(int x)
{
    return QColor::fromRgb(QRgb(0xFF000000 | (std::uint32_t(x) * 0x070503)));
}

struct PlacementCase
{
    int controlWidth;
    bool center;
    bool stretch;
    std::vector<std::pair<int, int>> pixelShowsColumn; // control x → picture column, -1 = fill
};

void PrintTo(const PlacementCase& c, std::ostream* os)
{
    *os << "width " << c.controlWidth << (c.center ? ", centred" : "")
        << (c.stretch ? ", stretched" : "");
}

class PlacementTest : public ::testing::TestWithParam<PlacementCase>
{ };

TEST_P(PlacementTest, PictureIsPlacedAsAsked)
{
    const PlacementCase& c = GetParam();
    TGIFAnimator animator;
    animator.SetAutoSize(false);
    animator.SetColor(Qt::white);
    animator.resize(c.controlWidth, 3);
    animator.Image().ReadFormData(ColumnsGif());
    animator.SetCenter(c.center);
    animator.SetStretch(c.stretch);
    const QImage shown = animator.grab().toImage();
    for (auto [x, column] : c.pixelShowsColumn)
        EXPECT_EQ(shown.pixelColor(x, 1), column < 0 ? QColor(Qt::white) : Column(column))
            << "x " << x;
}

INSTANTIATE_TEST_SUITE_P(Placements, PlacementTest,
    ::testing::Values(
        // Smaller and centred: clipped equally on both sides (5 columns each).
        PlacementCase { 11, true, false, { { 0, 5 }, { 10, 15 } } },
        // An odd difference: the half is truncated toward zero.
        PlacementCase { 10, true, false, { { 0, 5 }, { 9, 14 } } },
        // Larger and centred: 2 pixels of fill on the left.
        PlacementCase { 25, true, false, { { 1, -1 }, { 2, 0 }, { 22, 20 }, { 23, -1 } } },
        // Top-left without centring.
        PlacementCase { 25, false, false, { { 0, 0 }, { 20, 20 }, { 21, -1 } } },
        // Stretch wins over Center.
        PlacementCase { 42, true, true, { { 0, 0 }, { 1, 0 }, { 41, 20 } } }));

struct BackgroundCase
{
    const char* name;
    std::vector<FrameSpec> frames;
    int backgroundIndex;
    QColor expected; // invalid: the window background colour
};

// Named by its case in the test list, not by its bytes.
void PrintTo(const BackgroundCase& c, std::ostream* os)
{
    *os << c.name;
}

class BackgroundTest : public ::testing::TestWithParam<BackgroundCase>
{ };

TEST_P(BackgroundTest, WithTransparentOffUncoveredAndTransparentPixelsShowTheChosenBackground)
{
    const BackgroundCase& c = GetParam();
    TGIFAnimator animator;
    animator.SetTransparent(false);
    animator.Image().ReadFormData(MakeGif(4, 4, c.frames, c.backgroundIndex));
    ASSERT_EQ(animator.size(), QSize(4, 4));
    const QColor expected
        = c.expected.isValid() ? c.expected : QColor::fromRgb(ColorToRGB(clWindow));
    const QImage shown = animator.grab().toImage();
    EXPECT_EQ(shown.pixelColor(3, 3), expected); // not covered by frame 0
    EXPECT_EQ(shown.pixelColor(1, 1), InkColour(Red));
}

INSTANTIATE_TEST_SUITE_P(Backgrounds, BackgroundTest,
    ::testing::Values(
        BackgroundCase { "frame transparent colour",
            { { 0, 0, 2, 2, 10, 1, Magenta, Red, Magenta } }, Cyan, InkColour(Magenta) },
        BackgroundCase { "picture background colour",
            { { 0, 0, 2, 2, 10, 1, -1, Red }, { 0, 0, 1, 1, 10, 1, Magenta, Red } }, Cyan,
            InkColour(Cyan) },
        BackgroundCase { "window colour", { { 0, 0, 2, 2, 10, 1, -1, Red } }, Cyan, QColor() }),
    [](const auto& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST(DrawPicture, TransparentPixelsShowWhatLiesBeneathOnlyWhenTransparentIsOn)
{
    QWidget page;
    QPalette p = page.palette();
    p.setColor(QPalette::Window, QColor(10, 20, 30));
    page.setPalette(p);
    page.setAutoFillBackground(true);
    page.resize(50, 50);
    TGIFAnimator animator(&page);
    animator.move(10, 10);
    animator.Image().ReadFormData(MakeGif(4, 4, { { 0, 0, 4, 4, 10, 1, Magenta, Red, Magenta } }));
    QImage shown = animator.grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(10, 20, 30));
    EXPECT_EQ(shown.pixelColor(2, 2), InkColour(Red));

    animator.SetTransparent(false);
    shown = animator.grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), InkColour(Magenta));
}

} // namespace
