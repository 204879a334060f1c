#pragma once
// Turns rendered animation frames into the game's GIF layout: one fixed 256-colour table
// (index 215 transparent white, 216 opaque white), a first frame over the whole screen and
// later frames over the bounding box of changed pixels only, unchanged pixels inside it
// written as the transparent index.

#include <QByteArray>
#include <QImage>
#include <functional>
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

struct WrittenAnimation
{
    QByteArray gif;
    std::vector<QRect> placement; // the rectangle each frame covers, the first the whole screen
};

// One frame per delay (hundredths of a second); render(f) draws frame f, a Format_RGB32 image of
// the screen's size. With `placement` empty, each later frame covers the bounding box of its
// changes. Otherwise frame f covers exactly placement[f]: the high-density set keeps the frames
// of the set as designed, doubled. A change outside that rectangle waits for a later frame
// that covers it.
WrittenAnimation writeAnimation(QSize screen, const std::vector<int>& delaysCs,
    const std::function<QImage(int)>& render, const std::vector<QRect>& placement = {});

} // namespace artgen
