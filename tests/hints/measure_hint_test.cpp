#include "hints/hint_appearance.h"
#include "hints/hint_text.h"
#include "hints/shaped_hint_window.h"
#include "hints/system_look.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <ostream>

using namespace hints;

namespace {


struct RoundCase
{
    double value;
    int expected;
};

void PrintTo(const RoundCase& c, std::ostream* os)
{
    *os << c.value;
}

class RoundHalfEvenTest : public ::testing::TestWithParam<RoundCase>
{ };

TEST_P(RoundHalfEvenTest, RoundsHalvesToEven)
{
    EXPECT_EQ(RoundHalfEven(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, RoundHalfEvenTest,
    ::testing::Values(RoundCase { 0.5, 0 }, RoundCase { 1.5, 2 }, RoundCase { 2.5, 2 },
        RoundCase { 3.5, 4 }, RoundCase { 2.49, 2 }, RoundCase { 2.51, 3 }, RoundCase { 7, 7 },
        RoundCase { 4.5, 4 }, RoundCase { 5.5, 6 }));

struct GrowthCase
{
    int w, h;
    QPoint growth;
};

void PrintTo(const GrowthCase& c, std::ostream* os)
{
    *os << c.w << "x" << c.h;
}

class EllipseGrowthTest : public ::testing::TestWithParam<GrowthCase>
{ };

// Worked by hand from a = w/2, b = h/2, c = round(b/3),
// dx = round(sqrt(a²(b+c)² / ((b+c)² − b²))) − round(a).
TEST_P(EllipseGrowthTest, GrowsThroughTheCorners)
{
    const GrowthCase& c = GetParam();
    EXPECT_EQ(EllipseGrowth(c.w, c.h), c.growth) << c.w << "x" << c.h;
}

INSTANTIATE_TEST_SUITE_P(Boxes, EllipseGrowthTest,
    ::testing::Values(GrowthCase { 100, 20, { 28, 3 } }, // c = round(3.33) = 3
        GrowthCase { 11, 15, { 3, 2 } }, // c = round(2.5) = 2, round(5.5) = 6
        GrowthCase { 9, 9, { 2, 2 } }, // c = round(1.5) = 2, round(4.5) = 4
        GrowthCase { 0, 20, { 0, 0 } }, GrowthCase { 20, 0, { 0, 0 } }));

class MeasureHintTest : public ::testing::Test
{
protected:
    void TearDown() override { SetHintAppearance(Rectangle, 1, false, taCenter); }
    TShapedHintWindow window;
};

TEST_F(MeasureHintTest, ThisProgramsSettingsAddNineByFive)
{
    SetHintAppearance(Rectangle, 1, false, taCenter);
    const QSize e = test::TextExtent(window, test::kColumnHint);
    const QRect r = window.MeasureHint(1280, test::kColumnHint);
    EXPECT_EQ(r.size(), QSize(e.width() + 9, e.height() + 5));
    EXPECT_EQ(window.ShapeRect(), (TRect { 0, 0, e.width() + 8, e.height() + 4 }));
    EXPECT_EQ(window.TextRect(), (TRect { 0, 1, e.width() + 6, e.height() + 3 }));
    EXPECT_EQ(window.CornerSize(), std::max(6, std::min(e.width() + 8, e.height() + 4) / 4));
    EXPECT_EQ(window.TailDX(), 0);
    EXPECT_EQ(window.TailDY(), 0);
}

TEST_F(MeasureHintTest, TextRectFollowsTheAlignment)
{
    const QSize e = test::TextExtent(window, test::kColumnHint);
    SetHintAppearance(Rectangle, 0, false, taLeftJustify);
    window.MeasureHint(1280, test::kColumnHint);
    EXPECT_EQ(window.TextRect(), (TRect { 1, 1, e.width() + 7, e.height() + 3 }));
    SetHintAppearance(Rectangle, 0, false, taRightJustify);
    const QRect r = window.MeasureHint(1280, test::kColumnHint);
    EXPECT_EQ(window.TextRect(), (TRect { -3, 1, e.width() + 3, e.height() + 3 }));
    EXPECT_EQ(r.size(), QSize(e.width() + 8, e.height() + 4));
}

TEST_F(MeasureHintTest, RoundedRectangleGrowsByAQuarterCorner)
{
    SetHintAppearance(RoundedRectangle, 3, false, taLeftJustify);
    const QSize e = test::TextExtent(window, test::kColumnHint);
    const int corner = std::max(6, std::min(e.width() + 8, e.height() + 4) / 4);
    const int g = corner / 4;
    const QRect r = window.MeasureHint(1280, test::kColumnHint);
    EXPECT_EQ(r.topLeft(), QPoint(-g, -g));
    EXPECT_EQ(r.size(), QSize(e.width() + 8 + 2 * g + 3, e.height() + 4 + 2 * g + 3));
    EXPECT_EQ(window.ShapeRect(), (TRect { 0, 0, e.width() + 8 + 2 * g, e.height() + 4 + 2 * g }));
    EXPECT_EQ(window.TextRect(), (TRect { 1 + g, 1 + g, e.width() + 7 + g, e.height() + 3 + g }));
}

TEST_F(MeasureHintTest, EllipseWithTailAndShadow)
{
    SetHintAppearance(Ellipse, 2, true, taCenter);
    // Wrapped into several lines, so that the tail is more than its minimum of 14.
    const QString text = QStringLiteral("one two three four five six seven eight nine ten");
    const QSize e = test::TextExtent(window, text, 60);
    ASSERT_GT(e.height(), 40);
    const QPoint grow = EllipseGrowth(e.width() + 8, e.height() + 4);
    const QRect r = window.MeasureHint(60, text);
    const TRect textRect = window.TextRect();
    EXPECT_EQ(textRect.width(), e.width() + 6);
    EXPECT_EQ(textRect.height(), e.height() + 2);
    EXPECT_EQ(textRect.left, grow.x());
    EXPECT_EQ(textRect.top, 1 + grow.y());
    const int t = std::max(14, std::min(textRect.width(), textRect.height()) / 2);
    EXPECT_GT(t, 14);
    EXPECT_EQ(window.TailDY(), t);
    EXPECT_EQ(window.TailDX(), t - 8);
    EXPECT_EQ(r.width(), e.width() + 8 + 2 * grow.x() + 2 + t - 8);
    EXPECT_EQ(r.height(), e.height() + 4 + 2 * grow.y() + 2 + t);
}

TEST_F(MeasureHintTest, ShortTextGetsTheMinimumTail)
{
    SetHintAppearance(Rectangle, 0, true, taLeftJustify);
    const QSize e = test::TextExtent(window, test::kColumnHint);
    const QRect r = window.MeasureHint(1280, test::kColumnHint);
    EXPECT_EQ(window.TailDY(), 14);
    EXPECT_EQ(window.TailDX(), 6);
    EXPECT_EQ(r.size(), QSize(e.width() + 8 + 6, e.height() + 4 + 14));
}

TEST_F(MeasureHintTest, WideTextWrapsAtWordsToTheWidth)
{
    SetHintAppearance(Rectangle, 1, false, taCenter);
    const QString text = QStringLiteral("слово ").repeated(40).trimmed();
    const int oneLine = QFontMetrics(window.font()).height();
    const QRect r = window.MeasureHint(200, text);
    EXPECT_LE(r.width(), 200 + 9);
    EXPECT_GE(r.height(), 3 * oneLine + 5);
}

TEST_F(MeasureHintTest, AmpersandIsMeasuredAsItself)
{
    SetHintAppearance(Rectangle, 1, false, taCenter);
    const QFontMetrics fm(window.font());
    const QRect r = window.MeasureHint(1280, QStringLiteral("A&B"));
    EXPECT_EQ(r.width(), fm.horizontalAdvance(QStringLiteral("A&B")) + 9);
    EXPECT_GT(r.width(), fm.horizontalAdvance(QStringLiteral("AB")) + 9);
}

TEST(HintFontTest, FallbackIsLiberationSansElevenPixels)
{
    const QFont f = FallbackHintFont();
    EXPECT_EQ(f.family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(f.pixelSize(), 11);
    // Without a status-bar font of the platform (offscreen has none) the fallback is used.
    EXPECT_EQ(HintFont(), f);
}

} // namespace

namespace {

class HintTextTest : public ::testing::Test
{
protected:
    QFont font = FallbackHintFont();
};

TEST_F(HintTextTest, OneLineIsItsAdvanceByTheFontHeight)
{
    const QFontMetricsF fm(font);
    const QString text = QStringLiteral("Щелкните колонку");
    const QSize e = MeasureHintText(font, text, 1000, false);
    EXPECT_EQ(e.width(), int(std::ceil(fm.horizontalAdvance(text) - 1e-6)));
    EXPECT_EQ(e.height(), QFontMetrics(font).height());
}

TEST_F(HintTextTest, LineBreaksAndWrapping)
{
    const int h = QFontMetrics(font).height();
    EXPECT_EQ(MeasureHintText(font, QStringLiteral("a\nb"), 1000, false).height(), 2 * h);
    const QSize e = MeasureHintText(font, QStringLiteral("aaaa bbbb cccc"), 1, false);
    EXPECT_EQ(e.height(), 3 * h); // words are never broken, each gets its line
    EXPECT_GT(e.width(), 1);
}

// A centred line whose room is odd starts on the whole pixel integer division gives.
TEST_F(HintTextTest, CentredLinesStartOnWholePixels)
{
    const QString first = QStringLiteral("Щелкните колонку");
    const QString second = QStringLiteral("(Время)!");
    const QString text = first + QLatin1Char('\n') + second;
    const QSize e = MeasureHintText(font, text, 1000, false);
    const int w1 = MeasureHintText(font, first, 1000, false).width();
    const int w2 = MeasureHintText(font, second, 1000, false).width();
    ASSERT_EQ(e.width(), std::max(w1, w2));
    const int box = e.width() + 7;

    QImage got(box, e.height(), QImage::Format_RGB32);
    got.fill(Qt::white);
    {
        QPainter p(&got);
        p.setPen(Qt::black);
        DrawHintText(p, font, QRect(0, 0, box, e.height()), text, taCenter, false);
    }
    QImage want(got.size(), QImage::Format_RGB32);
    want.fill(Qt::white);
    {
        QPainter p(&want);
        p.setFont(font);
        p.setPen(Qt::black);
        const int h = QFontMetrics(font).height();
        p.drawText(QRect((box - w1) / 2, 0, 1000, h), Qt::AlignLeft | Qt::AlignTop, first);
        p.drawText(QRect((box - w2) / 2, h, 1000, h), Qt::AlignLeft | Qt::AlignTop, second);
    }
    EXPECT_EQ(got, want);
}

} // namespace
