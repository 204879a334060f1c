#pragma once
// giflib as an independent oracle: decoding and encoding GIF data in memory. Tests only.

#include <cstdint>
#include <string>
#include <vector>

namespace oracle {

struct Frame
{
    int left = 0, top = 0, width = 0, height = 0;
    bool interlace = false;
    std::vector<std::uint32_t> localPalette; // 0xRRGGBB, empty when none
    int transparentIndex = -1;
    int delayCs = 0;
    int disposal = 0;
    std::vector<std::uint8_t> indices; // top row first, in image order
};

struct Gif
{
    int width = 0, height = 0;
    std::vector<std::uint32_t> globalPalette;
    int background = 0;
    std::vector<Frame> frames;
};

// Decodes with DGifSlurp; throws std::runtime_error with giflib's error code on failure.
Gif Decode(const std::vector<std::uint8_t>& bytes);
// Encodes with giflib (GIF89a; graphic control blocks when a frame has delay, disposal or
// transparency). Frame indices are given in image order; interlaced frames are written in pass
// order.
std::vector<std::uint8_t> Encode(const Gif& gif);

} // namespace oracle
