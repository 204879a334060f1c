#pragma once
// The fast decoder's core: a frame's code stream expanded into colour indices in the order they
// are written (an interlaced frame's rows in pass order). DecodeLZW and DecodeLZWIndices put the
// rows in place; the results are byte for byte those of the step-by-step decoder.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace gif::detail {

// The buffer decodeLinear needs for `pixels` colour indices: they come first, then room the
// decoder uses for itself.
std::size_t linearBufferSize(std::size_t pixels);

// Memory a thread keeps for decoding and reuses from frame to frame, so that decoding a picture
// does not ask the allocator (and the kernel) for fresh pages each time. Only the first `limit`
// bytes are kept: a larger request is served and then given back.
class ScratchBuffer
{
public:
    explicit ScratchBuffer(std::size_t limit)
        : m_limit(limit)
    { }
    // At least `size` bytes, contents undefined; valid until the next call on this buffer.
    std::uint8_t* get(std::size_t size);

private:
    std::size_t m_limit;
    std::unique_ptr<std::uint8_t[]> m_kept, m_large;
    std::size_t m_keptSize = 0;
};

// The calling thread's buffer for a frame's linear indices (DecodeLZW, interlaced frames of
// DecodeLZWIndices).
ScratchBuffer& LinearScratch();

// Decodes into buffer[0, pixels), which may hold anything beforehand; pixels that are not
// decoded are 0. `buffer` holds linearBufferSize(pixels) bytes. Damage handling and exceptions
// are those of DecodeLZW (lzw_decoder.h). Returns the damage flag.
bool decodeLinear(std::span<const std::uint8_t> codeStream, std::size_t pixels, int pixelBits,
    std::uint8_t* buffer);

} // namespace gif::detail
