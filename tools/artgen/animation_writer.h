#pragma once
// Turns rendered animation frames into the game's GIF layout: one fixed 256-colour table
// (index 215 transparent white, 216 opaque white), a first frame over the whole screen and
// later frames over the bounding box of changed pixels only, unchanged pixels inside it
// written as the transparent index.

#include <QByteArray>
#include <QImage>
#include <vector>

namespace artgen {

constexpr int transparentIndex = 215;
constexpr int whiteIndex = 216;

// The fixed table: a 6x6x6 colour cube in 0..214, white at 215 and 216, the art palette's own
// colours after that.
const std::vector<std::uint32_t>& gifPalette();

// Nearest table entry (never the transparent one), no dithering.
class Quantiser
{
public:
    std::uint8_t index(QRgb colour);

private:
    std::vector<std::pair<std::uint32_t, std::uint8_t>> m_cache; // open addressing on RGB
    std::size_t m_used = 0;
};

// frames: equal-size Format_RGB32 images; delays in hundredths of a second, one per frame.
QByteArray writeAnimation(const std::vector<QImage>& frames, const std::vector<int>& delaysCs);

} // namespace artgen
