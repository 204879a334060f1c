#pragma once
// GIF-flavoured LZW compression: variable-width codes packed least-significant bit first,
// a clear code at the start and whenever the 12-bit table is full, an end code at the end.

#include <cstdint>
#include <span>
#include <vector>

namespace gif {

// Compresses colour indices (each below 2^minCodeSize) into a raw LZW code stream (not yet cut
// into sub-blocks). minCodeSize must be 2..8; throws std::invalid_argument otherwise or when an
// index does not fit. The output depends on the input only.
std::vector<std::uint8_t> EncodeLZW(std::span<const std::uint8_t> indices, int minCodeSize);

} // namespace gif
