#pragma once
// The fast decoder's string table and its inner loop (the design is described in
// lzw_linear.cpp). Each entry says where its string already sits in the linear buffer, so a code
// is expanded by copying that earlier occurrence instead of walking the table.

#include "gif/lzw_reference.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace gif::detail {

inline constexpr unsigned kTableSize = 4096;
// Copies move 16 bytes at a time: they may write up to 15 bytes past a string's end (bytes that
// later strings replace), so the linear buffer needs that much room after the last pixel.
inline constexpr std::size_t kChunk = 16;
// The length of a string that is not known to sit in the buffer. It is larger than any room
// left in a buffer whose offsets fit in 32 bits, so one comparison rejects both.
inline constexpr std::uint32_t kUnknown = 0xFFFFFFFFu;

// Where an entry's string sits in the linear buffer, looked up once per code.
struct LzwEntry
{
    std::uint32_t offset;
    std::uint32_t length; // kUnknown: the string takes the table walk
};

// The table as the walk needs it besides: prefixes for every entry, suffixes only for entries
// whose string is not known (a known string ends with its suffix).
struct LzwTables
{
    LzwEntry entry[kTableSize];
    std::uint16_t prefix[kTableSize];
    std::uint8_t suffix[kTableSize];
    std::uint16_t stack[kMaxStack + 4];
};

inline void copyChunk(std::uint8_t* dst, const std::uint8_t* src)
{
    std::uint8_t chunk[kChunk];
    std::memcpy(chunk, src, kChunk);
    std::memcpy(dst, chunk, kChunk);
}

void copyLongString(std::uint8_t* dst, const std::uint8_t* src, std::size_t length);

// Copies `length` bytes that lie wholly before `dst`, a chunk at a time (at least one). A chunk
// may overlap its own destination: the bytes it carries past `length` are garbage, the ones
// before are final because the source string ends before `dst`.
inline void copyString(std::uint8_t* dst, const std::uint8_t* src, std::size_t length)
{
    if (length <= kChunk) [[likely]]
        copyChunk(dst, src);
    else
        copyLongString(dst, src, length);
}

// What the inner loop carries from code to code: the bit position in the joined data, the next
// free code, the previous code, where the next string goes in the linear buffer and where the
// previous one starts.
struct FastCursor
{
    std::uint64_t bitPos;
    std::size_t freeCode, old, pos, prevStart;
};

// Decodes codes of `width` bits into `lin` until bit `stop`, the previous string being known, as
// long as each code is a known string, or the code being defined, that ends before pixel
// `total`. Defines an entry per code unless `Full`. Returns false, with the code unread, at the
// first code that is anything else; the caller checks that `bytes` holds every code up to
// `stop` and that the width does not change before it.
template <bool Full>
bool fastCodes(const std::uint8_t* bytes, std::uint8_t* lin, LzwTables& t, std::size_t total,
    unsigned width, unsigned mask, std::uint64_t stop, FastCursor& cursor);

extern template bool fastCodes<false>(const std::uint8_t*, std::uint8_t*, LzwTables&, std::size_t,
    unsigned, unsigned, std::uint64_t, FastCursor&);
extern template bool fastCodes<true>(const std::uint8_t*, std::uint8_t*, LzwTables&, std::size_t,
    unsigned, unsigned, std::uint64_t, FastCursor&);

} // namespace gif::detail
