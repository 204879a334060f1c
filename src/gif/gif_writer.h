#pragma once
// Writes palettised frames as a GIF89a file. Used by the artwork generator and by tests that need
// well-formed GIF data; the game itself only reads GIF.

#include <cstdint>
#include <vector>

namespace gif {

struct GifWriteFrame
{
    int left = 0, top = 0, width = 0, height = 0;
    int delayCs = 0; // delay in hundredths of a second
    int disposal = 1; // disposal method 0..7
    int transparentIndex = -1; // -1: no transparency flag
    std::vector<std::uint8_t> indices; // width*height colour indices, top row first
};

struct GifWriteImage
{
    int screenWidth = 0, screenHeight = 0;
    std::vector<std::uint32_t> globalPalette; // 0xRRGGBB entries; size a power of two, 2..256
    int backgroundIndex = 0;
    int loopCount = -1; // -1: no NETSCAPE2.0 block; 0: loop forever; n: n
    std::vector<GifWriteFrame> frames;
};

// GIF89a; global table with colour resolution 8, unsorted; no aspect ratio; NETSCAPE2.0 block
// when loopCount >= 0; a graphic control extension before every frame (no user-input flag); no
// local tables, no interlace; LZW minimum code size = max(2, bits of the palette size); nothing
// after the trailer. Deterministic: the same input gives the same bytes.
// Throws std::invalid_argument on bad input (frame outside the screen, index count mismatch,
// palette size not a power of two, index >= palette size, values that do not fit their fields).
std::vector<std::uint8_t> WriteGIF(const GifWriteImage& image);

} // namespace gif
