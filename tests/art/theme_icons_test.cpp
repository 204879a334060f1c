// The icon theme's pictures installed with the game: every size there, each a plain PNG of its
// size showing the window icon's hard hat, the small ones as crisp as the window icon.

#include "asset_files.h"

#include "art/artwork.h"

#include <QIcon>
#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

using arttest::assetFile;

QByteArray iconFile(int size)
{
    return assetFile(QStringLiteral("icons/%1x%1.png").arg(size));
}

std::uint32_t be32(const QByteArray& b, qsizetype at)
{
    return std::uint32_t(std::uint8_t(b[at])) << 24 | std::uint8_t(b[at + 1]) << 16
        | std::uint8_t(b[at + 2]) << 8 | std::uint8_t(b[at + 3]);
}

class ThemeIcon : public testing::TestWithParam<int>
{
protected:
    QImage picture() const
    {
        return QImage::fromData(iconFile(GetParam()), "PNG").convertToFormat(QImage::Format_ARGB32);
    }
};

TEST_P(ThemeIcon, IsAPngWithoutChunksThatCouldVary)
{
    const QByteArray file = iconFile(GetParam());
    ASSERT_GT(file.size(), 8) << "icons/" << GetParam() << " missing";
    ASSERT_EQ(file.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    QStringList chunks;
    for (qsizetype at = 8; at + 8 <= file.size(); at += 12 + be32(file, at))
        chunks << QString::fromLatin1(file.mid(at + 4, 4));
    // No time, text, gamma or resolution: the bytes follow from the pixels alone.
    EXPECT_EQ(chunks, QStringList({ "IHDR", "IDAT", "IEND" }));
    EXPECT_EQ(be32(file, 16), std::uint32_t(GetParam()));
    EXPECT_EQ(be32(file, 20), std::uint32_t(GetParam()));
}

TEST_P(ThemeIcon, ShowsTheHardHatOverTheSpannerWithRoomAroundIt)
{
    const int size = GetParam();
    const QImage image = picture();
    ASSERT_EQ(image.size(), QSize(size, size));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(size - 1, 0)), 0);
    int yellow = 0, transparent = 0, widestYellow = 0;
    long yellowRows = 0;
    for (int y = 0; y < size; ++y) {
        int run = 0;
        for (int x = 0; x < size; ++x) {
            const bool isYellow = image.pixel(x, y) == qRgb(255, 255, 0);
            yellow += isYellow;
            yellowRows += isYellow ? y : 0;
            run = isYellow ? run + 1 : 0;
            widestYellow = std::max(widestYellow, run);
            transparent += qAlpha(image.pixel(x, y)) == 0;
        }
    }
    // The hat's yellow fills a sixth of the window icon; every size keeps about that share.
    EXPECT_GT(yellow, size * size / 12);
    EXPECT_LT(yellow, size * size / 4);
    EXPECT_GT(transparent, size * size / 4);
    // The brim reaches across most of the picture, and the hat sits in its upper half.
    EXPECT_GE(widestYellow, size * 6 / 10);
    EXPECT_LT(yellowRows / yellow, size / 2);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ThemeIcon, testing::Values(16, 22, 24, 32, 48, 64, 128, 256),
    [](const auto& info) { return std::to_string(info.param) + "px"; });

// The sizes up to the window icon's are drawn on the pixel grid; larger ones are smooth.
using SmallThemeIcon = ThemeIcon;

TEST_P(SmallThemeIcon, IsCrispInTheWindowIconsColours)
{
    const int size = GetParam();
    const QImage image = picture();
    const QList<QRgb> palette = { qRgb(0, 0, 0), qRgb(128, 128, 0), qRgb(192, 192, 192),
        qRgb(255, 255, 0), qRgb(255, 255, 255) };
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const QRgb c = image.pixel(x, y);
            if (qAlpha(c) == 0)
                continue;
            ASSERT_EQ(qAlpha(c), 255) << x << "," << y;
            ASSERT_TRUE(palette.contains(c)) << x << "," << y << " " << std::hex << c;
        }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SmallThemeIcon, testing::Values(16, 22, 24, 32),
    [](const auto& info) { return std::to_string(info.param) + "px"; });

TEST(ThemeIcons, ThirtyTwoPixelsIsTheWindowIconItself)
{
    const QImage window
        = art::icon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage theme
        = QImage::fromData(iconFile(32), "PNG").convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(theme.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb a = window.pixel(x, y), b = theme.pixel(x, y);
            if (qAlpha(a) == 0 && qAlpha(b) == 0)
                continue;
            ASSERT_EQ(a, b) << x << "," << y;
        }
}

} // namespace
