#pragma once
// Small GIF pictures for the animator tests, written with the game's own GIF writer, and the form
// data (32-bit little-endian count + GIF file) a control reads its picture from.

#include "gif/gif_writer.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace animator_test {

// Colour indexes of the fixtures' palette.
enum Ink : std::uint8_t { Red, Green, Blue, White, Black, Magenta, Cyan, Yellow };
inline const std::vector<std::uint32_t> kPalette { 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000,
    0xFF00FF, 0x00FFFF, 0xFFFF00 };

struct FrameSpec
{
    int left = 0, top = 0, width = 0, height = 0;
    int delayCs = 10;
    int disposal = 1;
    int transparentIndex = -1;
    std::uint8_t ink = Red; // every pixel
    int transparentHole = -1; // when >= 0: pixel 0 of the frame takes this index instead
};

inline QByteArray FormData(const std::vector<std::uint8_t>& gifBytes)
{
    QByteArray data;
    const auto n = static_cast<std::uint32_t>(gifBytes.size());
    for (int shift = 0; shift < 32; shift += 8)
        data.append(static_cast<char>((n >> shift) & 0xFF));
    data.append(reinterpret_cast<const char*>(gifBytes.data()), qsizetype(gifBytes.size()));
    return data;
}

// loopCount: the picture's own NETSCAPE2.0 loop count (0 loops forever).
inline QByteArray MakeGif(int screenWidth, int screenHeight, const std::vector<FrameSpec>& frames,
    int backgroundIndex = Black, std::vector<std::uint32_t> palette = kPalette, int loopCount = 0)
{
    gif::GifWriteImage image;
    image.screenWidth = screenWidth;
    image.screenHeight = screenHeight;
    image.globalPalette = std::move(palette);
    image.backgroundIndex = backgroundIndex;
    image.loopCount = loopCount;
    for (const FrameSpec& wanted : frames) {
        gif::GifWriteFrame frame;
        frame.left = wanted.left;
        frame.top = wanted.top;
        frame.width = wanted.width;
        frame.height = wanted.height;
        frame.delayCs = wanted.delayCs;
        frame.disposal = wanted.disposal;
        frame.transparentIndex = wanted.transparentIndex;
        frame.indices.assign(std::size_t(wanted.width) * std::size_t(wanted.height), wanted.ink);
        if (wanted.transparentHole >= 0)
            frame.indices[0] = std::uint8_t(wanted.transparentHole);
        image.frames.push_back(std::move(frame));
    }
    return FormData(gif::WriteGIF(image));
}

// A picture of `count` full-screen frames of `width` x `height` with the given delays.
inline QByteArray MakeTimedGif(
    const std::vector<int>& delaysCs, int width = 4, int height = 4, int loopCount = 0)
{
    std::vector<FrameSpec> frames;
    for (std::size_t i = 0; i < delaysCs.size(); ++i)
        frames.push_back({ 0, 0, width, height, delaysCs[i], 1, -1, std::uint8_t(i % 8) });
    return MakeGif(width, height, frames, Black, kPalette, loopCount);
}

} // namespace animator_test
