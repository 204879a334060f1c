#pragma once
// The LZW decoder written step by step the way the format's reference reader works: a 260-byte
// bit buffer refilled one sub-block at a time, a stack walk per code, every pixel through the
// pixel writer, and a progress report after every code. DecodeLZW uses it while a progress
// listener is attached; tests and the fuzzer hold the fast decoder to its output.

#include "gif/lzw_decoder.h"

namespace gif::detail {

bool DecodeLZWReference(std::span<const std::uint8_t> codeStream, int width, int height,
    int bitCount, bool interlace, int pixelBits, std::uint8_t* pixels,
    const TProgressEvent* progress);

// Clamps or rejects the code size byte (shared by both decoders). Returns the code size to use.
int CheckCodeSize(int codeSize, bool& damaged);

inline constexpr unsigned kEndOfData = 0xFFFF;
inline constexpr int kMaxStack = 4096;

} // namespace gif::detail
