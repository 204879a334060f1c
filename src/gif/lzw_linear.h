#pragma once
// The fast decoder's core: a frame's code stream expanded into colour indices in the order they
// are written (an interlaced frame's rows in pass order). DecodeLZW and DecodeLZWIndices put the
// rows in place; the results are byte for byte those of the step-by-step decoder.

#include <cstddef>
#include <cstdint>
#include <span>

namespace gif::detail {

// The buffer decodeLinear needs for `pixels` colour indices: they come first, then room the
// decoder uses for itself.
std::size_t linearBufferSize(std::size_t pixels);

// Decodes into buffer[0, pixels), which may hold anything beforehand; pixels that are not
// decoded are 0. `buffer` holds linearBufferSize(pixels) bytes. Damage handling and exceptions
// are those of DecodeLZW (lzw_decoder.h). Returns the damage flag.
bool decodeLinear(std::span<const std::uint8_t> codeStream, std::size_t pixels, int pixelBits,
    std::uint8_t* buffer);

} // namespace gif::detail
