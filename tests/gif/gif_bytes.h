#pragma once
// Building small GIF byte sequences in tests, so each test shows the bytes it feeds the reader.

#include "gif/gif_types.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

namespace testgif {

using Bytes = std::vector<std::uint8_t>;

// Sets the reader's damage switch for one test and restores its default afterwards.
struct ToleranceGuard
{
    explicit ToleranceGuard(bool value) { gif::TolerateDamage = value; }
    ~ToleranceGuard() { gif::TolerateDamage = true; }
};

// Packs (code, width) pairs least-significant bit first and cuts them into sub-blocks of at most
// `blockSize` bytes after the code size byte; ends with the terminator.
inline Bytes CodeStream(
    int codeSize, std::span<const std::pair<unsigned, int>> codes, std::size_t blockSize = 255)
{
    Bytes packed;
    std::uint32_t acc = 0;
    int bits = 0;
    for (auto [code, width] : codes) {
        acc |= code << bits;
        bits += width;
        while (bits >= 8) {
            packed.push_back(std::uint8_t(acc));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits > 0)
        packed.push_back(std::uint8_t(acc));
    Bytes out { std::uint8_t(codeSize) };
    for (std::size_t pos = 0; pos < packed.size(); pos += blockSize) {
        const std::size_t n = std::min(blockSize, packed.size() - pos);
        out.push_back(std::uint8_t(n));
        out.insert(out.end(), packed.begin() + long(pos), packed.begin() + long(pos + n));
    }
    out.push_back(0);
    return out;
}

inline Bytes CodeStream(int codeSize, std::initializer_list<std::pair<unsigned, int>> codes,
    std::size_t blockSize = 255)
{
    return CodeStream(codeSize, std::span(codes.begin(), codes.size()), blockSize);
}

inline Bytes Cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// "GIF89a", a screen of w x h with a global table of 2^bits entries (entry i = i*16, i*8, i*4).
inline Bytes Header(int w, int h, int bits = 2, std::uint8_t background = 0)
{
    Bytes out = { 'G', 'I', 'F', '8', '9', 'a', std::uint8_t(w), std::uint8_t(w >> 8),
        std::uint8_t(h), std::uint8_t(h >> 8), std::uint8_t(0x80 | (bits - 1)), background, 0 };
    for (int i = 0; i < (1 << bits); ++i) {
        out.push_back(std::uint8_t(i * 16));
        out.push_back(std::uint8_t(i * 8));
        out.push_back(std::uint8_t(i * 4));
    }
    return out;
}

inline Bytes GraphicControl(std::uint8_t flags, int delayCs, std::uint8_t transparent)
{
    return { 0x21, 0xF9, 4, flags, std::uint8_t(delayCs), std::uint8_t(delayCs >> 8), transparent,
        0 };
}

inline Bytes Descriptor(int left, int top, int w, int h, std::uint8_t packed = 0)
{
    return { 0x2C, std::uint8_t(left), std::uint8_t(left >> 8), std::uint8_t(top),
        std::uint8_t(top >> 8), std::uint8_t(w), std::uint8_t(w >> 8), std::uint8_t(h),
        std::uint8_t(h >> 8), packed };
}

// A 2 x 2 frame at (0, 0) in a 4-colour table: indices 0 1 / 2 3.
inline Bytes SmallFrameData()
{
    return CodeStream(2, { { 4, 3 }, { 0, 3 }, { 1, 3 }, { 2, 3 }, { 3, 4 }, { 5, 4 } });
}

inline Bytes Trailer()
{
    return { 0x3B };
}

} // namespace testgif
