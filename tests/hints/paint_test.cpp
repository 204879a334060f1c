#include "hints/gdi_region.h"
#include "hints/hint_appearance.h"
#include "hints/shadow_pattern.h"
#include "hints/shaped_hint_window.h"
#include "base/colour.h"
#include "test_support.h"

#include <QLabel>
#include <QPainter>

#include <gtest/gtest.h>

using namespace hints;

namespace {

const QColor kYellow(255, 255, 0);

class PaintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetHintAppearance(Rectangle, 1, false, taCenter);
        screen.attach(window);
        window.setColor(kYellow);
    }
    void TearDown() override { SetHintAppearance(Rectangle, 1, false, taCenter); }

    QImage show(const QString& text)
    {
        screen.pointer = QPoint(400, 300);
        window.ShowHintAt(QRect(400, 332, 0, 0), text);
        return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // The same text drawn plainly at `at` on the hint colour.
    QImage reference(QSize size, const QString& text, QPoint at)
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(kYellow);
        QPainter p(&img);
        p.setFont(window.font());
        p.setPen(window.fontColor());
        p.drawText(QRect(at, QSize(1280, 100)), Qt::AlignLeft | Qt::AlignTop, text);
        return img;
    }

    test::FakeScreen screen;
    TShapedHintWindow window;
};

TEST_F(PaintTest, RectangleWithOnePixelShadow)
{
    const QSize e = test::TextExtent(window, test::kColumnHint);
    const int W = e.width();
    const int H = e.height();
    const QImage img = show(test::kColumnHint);
    ASSERT_EQ(img.size(), QSize(W + 9, H + 5));
    EXPECT_EQ(window.geometry(), QRect(400, 332, W + 9, H + 5));

    // One snapshot, of the window's place on the screen.
    ASSERT_EQ(screen.grabs.size(), 1u);
    EXPECT_EQ(screen.grabs[0], QRect(400, 332, W + 9, H + 5));

    const QRgb light = base::PlatformColor(base::SystemColor::Light3D).rgb();
    const QRgb dark = base::PlatformColor(base::SystemColor::DkShadow3D).rgb();
    const QRgb face = base::PlatformColor(base::SystemColor::BtnFace).rgb();
    const QRgb text = base::PlatformColor(base::SystemColor::WindowText).rgb();
    const QRgb snap = screen.snapshotColor.rgb();
    ASSERT_NE(face, text);

    // Raised edge around (0, 0)–(W + 8, H + 4): light top and left, dark bottom and right.
    for (int x = 0; x < W + 7; ++x)
        ASSERT_EQ(img.pixel(x, 0), light) << x;
    for (int y = 0; y < H + 3; ++y)
        ASSERT_EQ(img.pixel(0, y), light) << y;
    for (int y = 0; y < H + 4; ++y)
        ASSERT_EQ(img.pixel(W + 7, y), dark) << y;
    for (int x = 0; x < W + 8; ++x)
        ASSERT_EQ(img.pixel(x, H + 3), dark) << x;
    // Body right of the text.
    EXPECT_EQ(img.pixel(W + 6, 1), kYellow.rgb());
    EXPECT_EQ(img.pixel(W + 6, H + 2), kYellow.rgb());

    // Checkerboard shadow on column W + 8 and row H + 4, from 1 on.
    for (int y = 1; y < H + 5; ++y)
        ASSERT_EQ(img.pixel(W + 8, y), ((W + 8) % 2 == y % 2) ? text : face) << y;
    for (int x = 1; x < W + 9; ++x)
        ASSERT_EQ(img.pixel(x, H + 4), (x % 2 == (H + 4) % 2) ? text : face) << x;
    // The two corners show the screen beneath.
    EXPECT_EQ(img.pixel(W + 8, 0), snap);
    EXPECT_EQ(img.pixel(0, H + 4), snap);

    // Centred text: 3 pixels from the left, 1 below the top.
    const QImage ref = reference(img.size(), test::kColumnHint, QPoint(3, 1));
    for (int y = 1; y < H + 3; ++y)
        for (int x = 1; x < W + 7; ++x)
            ASSERT_EQ(img.pixel(x, y), ref.pixel(x, y)) << x << "," << y;
}

TEST_F(PaintTest, AmpersandShownAsItself)
{
    const QString text = QStringLiteral("A&B");
    const QSize e = test::TextExtent(window, text);
    const QImage img = show(text);
    const QImage ref = reference(img.size(), text, QPoint(3, 1));
    for (int y = 1; y < e.height() + 3; ++y)
        for (int x = 1; x < e.width() + 7; ++x)
            ASSERT_EQ(img.pixel(x, y), ref.pixel(x, y)) << x << "," << y;
}

TEST_F(PaintTest, PlainRectangleTakesNoSnapshot)
{
    SetHintAppearance(Rectangle, 0, false, taLeftJustify);
    const QSize e = test::TextExtent(window, test::kColumnHint);
    const QImage img = show(test::kColumnHint);
    EXPECT_TRUE(screen.grabs.empty());
    ASSERT_EQ(img.size(), QSize(e.width() + 8, e.height() + 4));
    // The body with its edge fills the whole window, corners included.
    EXPECT_EQ(img.pixel(0, 0), base::PlatformColor(base::SystemColor::Light3D).rgb());
    EXPECT_EQ(img.pixel(e.width() + 7, 0), base::PlatformColor(base::SystemColor::DkShadow3D).rgb());
    EXPECT_EQ(img.pixel(0, e.height() + 3), base::PlatformColor(base::SystemColor::DkShadow3D).rgb());
    // Left-aligned text starts 1 + 2 pixels in as well.
    const QImage ref = reference(img.size(), test::kColumnHint, QPoint(3, 1));
    for (int y = 1; y < e.height() + 3; ++y)
        for (int x = 1; x < e.width() + 7; ++x)
            ASSERT_EQ(img.pixel(x, y), ref.pixel(x, y)) << x << "," << y;
}

TEST_F(PaintTest, EllipseWithTailIsFramedAndShowsTheScreenAround)
{
    SetHintAppearance(Ellipse, 2, true, taCenter);
    const QImage img = show(test::kColumnHint);
    ASSERT_EQ(screen.grabs.size(), 1u);
    EXPECT_EQ(screen.grabs[0].size(), img.size());
    // Pointer (400, 300): the tailed hint goes above and right of it.
    EXPECT_EQ(window.geometry().topLeft(), QPoint(401, 300 - img.height() - 3));
    EXPECT_EQ(window.Quadrant(), AboveRight);

    const QRgb snap = screen.snapshotColor.rgb();
    EXPECT_EQ(img.pixel(img.width() - 1, 0), snap);
    EXPECT_EQ(img.pixel(img.width() - 1, img.height() - 1), snap);
    // The body's centre has the hint colour; its leftmost row pixel is the frame.
    const TRect s = window.ShapeRect();
    const int cy = (s.top + s.bottom) / 2;
    EXPECT_EQ(img.pixel((s.left + s.right) / 2, s.top + 2), kYellow.rgb());
    int x = 0;
    while (x < img.width() && img.pixel(x, cy) == snap)
        ++x;
    ASSERT_LT(x, img.width());
    EXPECT_EQ(img.pixel(x, cy), window.fontColor().rgb());
    // The tail reaches the corner nearest the pointer (bottom-left).
    const QRegion body = window.BuildHintRegion(false);
    bool nearCorner = false;
    for (int y = img.height() - 8; y < img.height(); ++y)
        for (int x = 0; x < 4; ++x)
            nearCorner = nearCorner || body.contains(QPoint(x, y));
    EXPECT_TRUE(nearCorner);
    EXPECT_FALSE(body.contains(QPoint(img.width() - 1, img.height() - 1)));
}

TEST(ShadowPatternTest, OneCheckerboardPerColourPair)
{
    const QColor a(1, 2, 3), b(4, 5, 6);
    const int before = ShadowPatternCount();
    const QImage& tile = ShadowPattern(a, b);
    EXPECT_EQ(ShadowPatternCount(), before + 1);
    EXPECT_EQ(&ShadowPattern(a, b), &tile);
    EXPECT_EQ(ShadowPatternCount(), before + 1);
    ShadowPattern(b, a);
    EXPECT_EQ(ShadowPatternCount(), before + 2);
    ASSERT_EQ(tile.size(), QSize(8, 8));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(tile.pixel(x, y), (x % 2 == y % 2 ? b : a).rgb());
}

TEST(RegionTest, FrameIsTheOnePixelBorder)
{
    const QRegion rect = RectRegion({ 2, 3, 12, 9 });
    const QRegion frame = FrameRegion(rect, 1, 1);
    EXPECT_EQ(frame.boundingRect(), QRect(2, 3, 10, 6));
    EXPECT_TRUE(frame.contains(QPoint(2, 5)));
    EXPECT_TRUE(frame.contains(QPoint(11, 8)));
    EXPECT_FALSE(frame.contains(QPoint(3, 4)));
    int area = 0;
    for (const QRect& r : frame)
        area += r.width() * r.height();
    EXPECT_EQ(area, 10 * 6 - 8 * 4);
}

TEST(RegionTest, EmptyRectanglesGiveEmptyRegions)
{
    EXPECT_TRUE(RectRegion({ 5, 5, 5, 9 }).isEmpty());
    EXPECT_TRUE(EllipseRegion({ 5, 5, 9, 5 }).isEmpty());
    EXPECT_TRUE(RoundRectRegion({ 5, 5, 4, 9 }, 6, 6).isEmpty());
}

TEST(RegionTest, RoundedCornersAreCut)
{
    const QRegion r = RoundRectRegion({ 0, 0, 40, 20 }, 12, 12);
    EXPECT_FALSE(r.contains(QPoint(0, 0)));
    EXPECT_FALSE(r.contains(QPoint(39, 19)));
    EXPECT_TRUE(r.contains(QPoint(20, 0)));
    EXPECT_TRUE(r.contains(QPoint(0, 10)));
    EXPECT_TRUE(r.contains(QPoint(20, 10)));
}

} // namespace

namespace {

TEST_F(PaintTest, OverOurOwnWindowShowsItsPixelsWhereTheScreenReadsBlack)
{
    // An X11 program under XWayland reads the screen back as black.
    screen.snapshotColor = Qt::black;
    QImage pattern(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < pattern.height(); ++y)
        for (int x = 0; x < pattern.width(); ++x)
            pattern.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    QLabel form;
    form.setPixmap(QPixmap::fromImage(pattern));
    form.setGeometry(300, 200, 400, 300);
    form.show();
    SetHintAppearance(Ellipse, 2, true, taCenter);
    const QImage img = show(test::kColumnHint);
    EXPECT_TRUE(screen.grabs.empty());
    const QRegion painted = window.BuildHintRegion(false) + window.BuildHintRegion(true);
    const QPoint offset = window.pos() - form.mapToGlobal(QPoint(0, 0));
    int seen = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (painted.contains(QPoint(x, y)))
                continue;
            ++seen;
            ASSERT_EQ(img.pixel(x, y), pattern.pixel(QPoint(x, y) + offset)) << x << "," << y;
        }
    EXPECT_GT(seen, 100);
}


// ShowHintAt with the game's settings on a known screen: placement, and the snapshot only of
// the part of the window that is on the screen.
class ShowHintAtTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetHintAppearance(Rectangle, 1, false, taCenter);
        screen.attach(window);
        size = window.MeasureHint(1280, test::kColumnHint).size();
    }
    test::FakeScreen screen;
    TShapedHintWindow window;
    QSize size;
};

TEST_F(ShowHintAtTest, NearTheBottomRightCornerGoesAboveAndLeft)
{
    screen.pointer = QPoint(1270, 1010);
    window.ShowHintAt(QRect(1270, 1042, 0, 0), test::kColumnHint);
    EXPECT_EQ(window.geometry(),
        QRect(1270 - size.width() - 3, 1010 - size.height() - 3, size.width(), size.height()));
    EXPECT_EQ(window.Quadrant(), AboveLeft);
    ASSERT_EQ(screen.grabs.size(), 1u);
    EXPECT_EQ(screen.grabs[0], window.geometry());
}

TEST_F(ShowHintAtTest, NarrowScreenLeavesItPartlyOffAndSnapsOnlyTheVisiblePart)
{
    screen.size = QSize(size.width() + 40, 600);
    screen.pointer = QPoint(size.width() - 10, 100);
    window.ShowHintAt(QRect(screen.pointer.x(), 132, 0, 0), test::kColumnHint);
    // Right edge: pushed back onto the pointer, so left of it; then off the left edge and
    // still reaching the pointer's column: pointer x − width − 1.
    const int left = screen.pointer.x() - size.width() - 1;
    EXPECT_EQ(window.geometry(), QRect(left, 132, size.width(), size.height()));
    ASSERT_EQ(screen.grabs.size(), 1u);
    EXPECT_EQ(screen.grabs[0], QRect(0, 132, size.width() + left, size.height()));
    // The snapshot covers the whole window; the visible part holds the screen's pixels.
    EXPECT_EQ(window.ScreenSnapshot().size(), size);
    EXPECT_EQ(window.ScreenSnapshot().pixel(size.width() - 1, 0), screen.snapshotColor.rgb());
}

} // namespace
