#include "hints/shadow_pattern.h"

#include <map>
#include <utility>

namespace hints {

namespace {
std::map<std::pair<QRgb, QRgb>, QImage>& cache()
{
    static std::map<std::pair<QRgb, QRgb>, QImage> tiles;
    return tiles;
}
} // namespace

const QImage& ShadowPattern(const QColor& face, const QColor& text)
{
    const auto key = std::make_pair(face.rgb(), text.rgb());
    auto& tiles = cache();
    auto it = tiles.find(key);
    if (it != tiles.end())
        return it->second;
    QImage tile(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            tile.setPixel(x, y, (x % 2 == y % 2) ? key.second : key.first);
    return tiles.emplace(key, std::move(tile)).first->second;
}

int ShadowPatternCount()
{
    return static_cast<int>(cache().size());
}

} // namespace hints
