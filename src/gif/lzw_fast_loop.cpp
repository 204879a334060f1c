#include "gif/lzw_fast_loop.h"

namespace gif::detail {

void copyLongString(std::uint8_t* dst, const std::uint8_t* src, std::size_t length)
{
    for (std::size_t i = 0; i < length; i += kChunk)
        copyChunk(dst + i, src + i);
}

// The state lives in locals for the whole run: byte stores could alias anything else. A known
// string is never longer than the codes defined in its clear cycle plus one (each entry extends
// an earlier one by a byte), so lengths need no runaway guard here. Known entries get no suffix.
template <bool Full>
bool fastCodes(const std::uint8_t* bytes, std::uint8_t* lin, LzwTables& t, std::size_t total,
    unsigned width, unsigned mask, std::uint64_t stop, FastCursor& cursor)
{
    std::uint64_t bitPos = cursor.bitPos;
    std::size_t freeCode = cursor.freeCode, old = cursor.old, pos = cursor.pos,
                prevStart = cursor.prevStart;
    bool usual = true;
    do {
        std::uint32_t bits;
        std::memcpy(&bits, bytes + (bitPos >> 3), 4);
        const std::size_t code = (bits >> (bitPos & 7)) & mask;
        std::size_t next;
        if (Full || code < freeCode) {
            const LzwEntry e = t.entry[code];
            next = pos + e.length;
            if (next >= total) [[unlikely]] {
                usual = false;
                break;
            }
            copyString(lin + pos, lin + e.offset, e.length);
        } else {
            // The code being defined: the previous string and its first byte.
            const std::size_t prevLength = pos - prevStart;
            next = pos + prevLength + 1;
            if (code != freeCode || next >= total) {
                usual = false;
                break;
            }
            copyString(lin + pos, lin + prevStart, prevLength);
            lin[next - 1] = lin[prevStart];
        }
        if (!Full) {
            t.entry[freeCode] = { std::uint32_t(prevStart), std::uint32_t(pos - prevStart + 1) };
            t.prefix[freeCode] = std::uint16_t(old);
            ++freeCode;
        }
        old = code;
        prevStart = pos;
        pos = next;
        bitPos += width;
    } while (bitPos < stop);
    cursor = { bitPos, freeCode, old, pos, prevStart };
    return usual;
}

template bool fastCodes<false>(const std::uint8_t*, std::uint8_t*, LzwTables&, std::size_t,
    unsigned, unsigned, std::uint64_t, FastCursor&);
template bool fastCodes<true>(const std::uint8_t*, std::uint8_t*, LzwTables&, std::size_t, unsigned,
    unsigned, std::uint64_t, FastCursor&);

} // namespace gif::detail
