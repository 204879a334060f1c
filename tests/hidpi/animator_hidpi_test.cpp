// The animation control and the hint at the device pixel ratio CTest runs this program with
// (QT_SCALE_FACTOR): layout and input in logical pixels, pictures and shadows in the screen's.
#include "animator/gif_animator.h"
#include "animator/gif_fixtures.h"
#include "hints/hint_appearance.h"
#include "hints/shaped_hint_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace animator_test;

qreal screenRatio()
{
    return QGuiApplication::primaryScreen()->devicePixelRatio();
}

// A picture drawn for two device pixels a layout pixel (8 × 6 logical): red, then a green
// square whose edges lie on odd pixels, which a picture shown pixel-doubled cannot have. The
// second frame has a transparent colour, so a transparent control draws it through the
// transparent stretch, an opaque one plainly.
QByteArray DensePicture()
{
    const std::vector<FrameSpec> frames { { 0, 0, 16, 12, 10, 1, -1, Red },
        { 3, 3, 4, 4, 10, 1, Magenta, Green } };
    return MakeGif(16, 12, frames);
}

class DenseAnimator : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        page.setGeometry(0, 0, 100, 80);
        animation = new animator::TGIFAnimator(&page);
        animation->move(10, 20);
        animation->SetTransparent(GetParam());
        animation->Image().SetDevicePixelRatio(2);
        animation->Image().ReadFormData(DensePicture());
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }
    QWidget page;
    animator::TGIFAnimator* animation = nullptr;
};

TEST_P(DenseAnimator, TakesItsLogicalSizeAndPlaceAndAnswersClicksThere)
{
    // Sized, placed and hit in the layout's pixels, whatever the screen's ratio.
    EXPECT_EQ(animation->size(), QSize(8, 6));
    EXPECT_EQ(animation->geometry(), QRect(10, 20, 8, 6));
    int clicks = 0;
    animation->SetOnClick([&](QObject*) { ++clicks; });
    QTest::mouseClick(page.windowHandle(), Qt::LeftButton, {}, QPoint(17, 25)); // inside
    QTest::mouseClick(page.windowHandle(), Qt::LeftButton, {}, QPoint(18, 26)); // just outside
    EXPECT_EQ(clicks, 1);
    // Centred and stretched within a larger control, in logical units too.
    animation->SetAutoSize(false);
    animation->resize(12, 10);
    animation->SetCenter(true);
    EXPECT_EQ(animation->grab().deviceIndependentSize().toSize(), QSize(12, 10));
}

TEST_P(DenseAnimator, ShowsEveryPixelOfTheDensePictureOnADenseScreen)
{
    const qreal ratio = screenRatio();
    const QImage shot = animation->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), (QSizeF(8, 6) * ratio).toSize());
    if (ratio != 2.0)
        GTEST_SKIP() << "pixel for pixel only where the screen has the picture's own density";
    animation->SetFrameIndex(1);
    const QImage next = animation->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool green = x >= 3 && x < 7 && y >= 3 && y < 7;
            EXPECT_EQ(next.pixel(x, y), green ? qRgb(0, 255, 0) : qRgb(255, 0, 0)) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(OpaqueAndTransparent, DenseAnimator, ::testing::Bool());

TEST(DenseHint, TheShadowAlternatesDevicePixels)
{
    using namespace hints;
    SetHintAppearance(Rectangle, 4, false, taCenter);
    TShapedHintWindow hint;
    hint.setScreenSize([] { return QSize(1280, 1024); });
    hint.setPointerPos([] { return QPoint(400, 300); });
    hint.setScreenGrab([](const QRect& r) {
        QImage img(r.size(), QImage::Format_RGB32);
        img.fill(Qt::green);
        return img;
    });
    hint.ShowHintAt(QRect(400, 332, 0, 0), QStringLiteral("Щелкните колонку  (Время)!"));
    hint.ComposeDrawBuffer();
    const QImage buffer = hint.DrawBuffer();
    const qreal ratio = screenRatio();
    EXPECT_EQ(buffer.devicePixelRatio(), ratio);
    EXPECT_EQ(buffer.size(), (QSizeF(hint.size()) * ratio).toSize());
    // The shadow's strip right of the body: neighbouring device pixels differ.
    const int x = buffer.width() - 2;
    const int y = buffer.height() / 2;
    EXPECT_NE(buffer.pixel(x, y), buffer.pixel(x - 1, y));
    EXPECT_NE(buffer.pixel(x, y), buffer.pixel(x, y + 1));
    EXPECT_EQ(buffer.pixel(x, y), buffer.pixel(x - 1, y + 1));
    SetHintAppearance(Rectangle, 1, false, taCenter);
}

} // namespace
