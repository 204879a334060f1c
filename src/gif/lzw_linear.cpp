#include "gif/lzw_linear.h"

#include "gif/gif_types.h"
#include "gif/lzw_fast_loop.h"
#include "gif/lzw_reference.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

// The fast decoder's core. It produces exactly what the step-by-step decoder (lzw_reference.cpp)
// produces, but
// - the sub-blocks are joined first, so a code is one unaligned load;
// - pixels go into a linear buffer in the order they are written, and a table entry whose string
//   is known to sit in that buffer (it was built from such a string in the current clear cycle)
//   is expanded by copying its earlier occurrence instead of walking the table. The roots' one-
//   byte strings sit behind the pixels, so a root is copied like any other string. Anything else
//   (strings built on codes that were never entries, stale entries, roots after a clear that are
//   not colour indices) takes the table walk, with its runaway guard, exactly as written;
// - codes go through a fast loop (lzw_fast_loop.cpp) while nothing unusual can happen; clears,
//   ends, walks and the last codes of the data or of the frame take one careful step each.

namespace gif::detail {

namespace {

constexpr int kMaxWidth = 12;
constexpr std::size_t kSlack = kChunk;
// After the slack: the 256 one-byte strings of the roots, and room for a chunk read at the last.
constexpr std::size_t kRootBytes = 256 + kChunk;

// Kept per thread: frames up to 1600 x 1200 pixels (and their code streams) decode without
// allocating.
constexpr std::size_t kKeptScratch = std::size_t(4) << 20;

// The code stream's sub-blocks joined, followed by zero padding for unaligned loads.
struct JoinedData
{
    const std::uint8_t* bytes = nullptr;
    std::uint64_t bitCount = 0;
    bool truncated = false; // a sub-block promised more bytes than the stream holds
};

// Joins the sub-blocks into `buffer` (the stream's size plus 8 bytes at most).
JoinedData joinSubBlocks(std::span<const std::uint8_t> codeStream, std::uint8_t* buffer)
{
    JoinedData joined;
    joined.bytes = buffer;
    std::size_t p = 1, size = 0;
    while (p < codeStream.size()) {
        const std::size_t length = codeStream[p++];
        if (length > codeStream.size() - p) {
            joined.truncated = true;
            break;
        }
        std::memcpy(buffer + size, codeStream.data() + p, length);
        size += length;
        p += length;
    }
    joined.bitCount = std::uint64_t(size) * 8;
    std::memset(buffer + size, 0, 8);
    return joined;
}

// The calling thread's string table and joined code stream.
struct DecoderScratch
{
    std::unique_ptr<LzwTables> tables = std::make_unique_for_overwrite<LzwTables>();
    ScratchBuffer joined { kKeptScratch };
};

DecoderScratch& decoderScratch()
{
    thread_local DecoderScratch scratch;
    return scratch;
}

class LinearDecoder
{
public:
    // `lin`: linearBufferSize(total) bytes. `codeSize` is already checked, `damaged` says whether
    // it had to be clamped. `tables` may hold anything.
    LinearDecoder(const JoinedData& data, LzwTables& tables, int codeSize, int pixelBits,
        std::uint8_t* lin, std::size_t total, bool damaged);
    // Decodes into lin[0, total) in write order. Returns the damage flag.
    bool run();

private:
    void fastLoop();
    bool step();
    unsigned nextCode();
    void addEntry();
    void makeWalkable();

    const std::uint8_t* const m_bytes;
    const std::uint64_t m_bitCount;
    const bool m_truncated;
    std::uint8_t* const m_lin;
    const std::size_t m_total;
    const unsigned m_clearCode, m_endCode, m_firstFree, m_rootMask;
    const int m_initialWidth;
    // Offsets are kept in 32 bits; a frame beyond that (not one that fits in memory anyway) walks.
    const bool m_offsetsFit;
    // Left as they are: the codes below the first free one are set here, the rest are written
    // before they are read, or zeroed when a walk might read entries never written.
    LzwTables* const m_tables;

    std::uint64_t m_bitPos = 0;
    int m_width;
    unsigned m_limit, m_mask, m_freeCode;
    // Entries at and above this were never written in this decoding (they read as zero).
    unsigned m_highWater;
    std::size_t m_pos = 0;
    unsigned m_old = 0;
    // The first byte of the previous code's string; it is always lin[m_prevStart].
    unsigned m_first = 0;
    // The previous code's string starts at m_prevStart. The entry defined next (that string plus
    // one byte) gets m_nextLength, which is kUnknown unless that string is known to stay the
    // previous code's string until the next clear.
    std::size_t m_prevStart = 0;
    std::uint32_t m_nextLength = kUnknown;
    bool m_damaged;
    bool m_endedOnEndOfData = false;
};

LinearDecoder::LinearDecoder(const JoinedData& data, LzwTables& tables, int codeSize, int pixelBits,
    std::uint8_t* lin, std::size_t total, bool damaged)
    : m_bytes(data.bytes)
    , m_bitCount(data.bitCount)
    , m_truncated(data.truncated)
    , m_lin(lin)
    , m_total(total)
    , m_clearCode(1u << codeSize)
    , m_endCode(m_clearCode + 1)
    , m_firstFree(m_clearCode + 2)
    // Colour indices are the codes below both the table size and the clear code: a frame whose
    // code size is smaller than its colour table (legal, and written by some encoders) must not
    // read its table entries as colours.
    , m_rootMask((1u << std::min(pixelBits, codeSize)) - 1)
    , m_initialWidth(codeSize + 1)
    , m_offsetsFit(linearBufferSize(total) <= kUnknown)
    , m_tables(&tables)
    , m_width(m_initialWidth)
    , m_limit(1u << m_width)
    , m_mask(m_limit - 1)
    , m_freeCode(m_firstFree)
    , m_highWater(m_firstFree)
    , m_damaged(damaged)
{
    const std::size_t roots = total + kSlack;
    for (unsigned c = 0; c < 256; ++c)
        lin[roots + c] = std::uint8_t(c);
    // The clear and end codes, and codes between the root mask and the clear code, have no
    // string of their own.
    LzwTables& t = *m_tables;
    const unsigned rootCount = m_offsetsFit ? m_rootMask + 1 : 0;
    for (unsigned c = 0; c < rootCount; ++c)
        t.entry[c] = { std::uint32_t(roots + c), 1 };
    for (unsigned c = rootCount; c < m_firstFree; ++c)
        t.entry[c] = { 0, kUnknown };
    std::memset(t.prefix, 0, m_firstFree * sizeof t.prefix[0]);
    std::memset(t.suffix, 0, m_firstFree);
}

unsigned LinearDecoder::nextCode()
{
    if (m_bitPos + unsigned(m_width) > m_bitCount) {
        if (m_truncated)
            throw EReadError(SReadError);
        return kEndOfData;
    }
    std::uint32_t v;
    std::memcpy(&v, m_bytes + (m_bitPos >> 3), 4);
    v >>= m_bitPos & 7;
    m_bitPos += unsigned(m_width);
    return v & m_mask;
}

// Defines the next free entry, the previous string plus m_first, unless the table is full: it
// is full exactly when the free code has reached 4096 at the widest code width.
void LinearDecoder::addEntry()
{
    if (m_freeCode >= kTableSize)
        return;
    LzwTables& t = *m_tables;
    t.entry[m_freeCode] = { std::uint32_t(m_prevStart), m_nextLength };
    t.prefix[m_freeCode] = std::uint16_t(m_old);
    t.suffix[m_freeCode] = std::uint8_t(m_first);
    if (++m_freeCode == m_limit && m_width < kMaxWidth) {
        ++m_width;
        m_limit *= 2;
        m_mask = m_limit - 1;
    }
}

// A walk may follow prefixes into entries this decoding never wrote: they must read as zero.
void LinearDecoder::makeWalkable()
{
    LzwTables& t = *m_tables;
    for (unsigned c = std::max(m_highWater, m_freeCode); c < kTableSize; ++c) {
        t.entry[c] = { 0, kUnknown };
        t.prefix[c] = 0;
        t.suffix[c] = 0;
    }
    m_highWater = kTableSize;
}

// One code with every case written out. Returns false when decoding is over.
bool LinearDecoder::step()
{
    unsigned code = nextCode();
    if (code == m_endCode)
        return false;
    if (code == kEndOfData) {
        m_endedOnEndOfData = true;
        return false;
    }
    if (m_pos >= m_total)
        return false;
    std::uint8_t* const lin = m_lin;
    if (code == m_clearCode) {
        m_highWater = std::max(m_highWater, m_freeCode);
        m_width = m_initialWidth;
        m_limit = 1u << m_width;
        m_mask = m_limit - 1;
        m_freeCode = m_firstFree;
        do
            code = nextCode();
        while (code == m_clearCode);
        if (code == m_endCode)
            return false;
        m_old = code;
        if (code == kEndOfData) {
            m_endedOnEndOfData = true;
            return false;
        }
        m_first = code & m_rootMask;
        lin[m_pos] = std::uint8_t(m_first);
        m_prevStart = m_pos++;
        m_nextLength = code <= m_rootMask && m_offsetsFit ? 2 : kUnknown;
        return true;
    }
    if (m_damaged)
        return false; // a clamped code size: only the codes right after a clear are trusted

    LzwTables& t = *m_tables;
    const std::size_t start = m_pos, room = m_total - m_pos;
    std::size_t length;
    bool known;
    if (code < m_freeCode && code <= m_rootMask) {
        m_first = code;
        lin[m_pos++] = std::uint8_t(code);
        length = 1;
        known = true;
    } else if (code < m_freeCode && t.entry[code].length != kUnknown) {
        length = t.entry[code].length;
        const std::size_t src = t.entry[code].offset;
        m_first = lin[src];
        if (length < room)
            copyString(lin + m_pos, lin + src, length);
        else
            std::memcpy(lin + m_pos, lin + src, room);
        m_pos += std::min(length, room);
        known = true;
    } else if (code >= m_freeCode && m_nextLength != kUnknown) {
        // The code that is being defined right now: the previous string plus its first byte.
        const std::size_t prevLength = m_nextLength - 1;
        if (prevLength < room)
            copyString(lin + m_pos, lin + m_prevStart, prevLength);
        else
            std::memcpy(lin + m_pos, lin + m_prevStart, room);
        m_pos += std::min(prevLength, room);
        if (m_pos < m_total)
            lin[m_pos++] = std::uint8_t(m_first);
        length = m_nextLength;
        // Codes up to the root mask are colour indices whatever the table holds for them.
        known = code == m_freeCode && m_freeCode < kTableSize && code > m_rootMask;
    } else {
        makeWalkable();
        unsigned cur = code;
        int sp = 0;
        if (cur >= m_freeCode) {
            cur = m_old;
            t.stack[sp++] = std::uint16_t(m_first);
        }
        while (cur > m_rootMask) {
            if (sp > kMaxStack) {
                if (!TolerateDamage)
                    throw EInvalidGraphicOperation(SCorruptData);
                m_damaged = true;
                return false;
            }
            const LzwEntry e = t.entry[cur];
            t.stack[sp++] = e.length == kUnknown ? t.suffix[cur] : lin[e.offset + e.length - 1];
            cur = t.prefix[cur];
        }
        m_first = cur & m_rootMask;
        t.stack[sp++] = std::uint16_t(m_first);
        length = std::size_t(sp);
        while (sp > 0 && m_pos < m_total)
            lin[m_pos++] = std::uint8_t(t.stack[--sp]);
        known = false;
    }
    addEntry();
    m_old = code;
    m_prevStart = start;
    m_nextLength = known && length < std::size_t(kMaxStack) && m_offsetsFit
        ? std::uint32_t(length + 1)
        : kUnknown;
    return true;
}

// The common case: the previous string is known, and the code is a known string, or the code
// being defined, that ends before the last pixel. A known string is never longer than the codes
// defined in its clear cycle plus one (each entry extends an earlier one by a byte), so lengths
// need no runaway guard here.
void LinearDecoder::fastLoop()
{
    if (m_damaged || m_nextLength == kUnknown || m_pos >= m_total)
        return;
    FastCursor cursor { m_bitPos, m_freeCode, m_old, m_pos, m_prevStart };
    for (;;) {
        // Run up to the next change of code width, or as far as the data surely holds codes.
        const unsigned width = unsigned(m_width);
        if (cursor.bitPos + width > m_bitCount)
            break;
        std::uint64_t count = (m_bitCount - cursor.bitPos) / width;
        const bool full = cursor.freeCode >= kTableSize;
        if (!full)
            count = std::min<std::uint64_t>(count, m_limit - cursor.freeCode);
        const std::uint64_t stop = cursor.bitPos + count * width;
        const bool usual = full
            ? fastCodes<true>(m_bytes, m_lin, *m_tables, m_total, width, m_mask, stop, cursor)
            : fastCodes<false>(m_bytes, m_lin, *m_tables, m_total, width, m_mask, stop, cursor);
        if (cursor.freeCode == m_limit && m_width < kMaxWidth) {
            ++m_width;
            m_limit *= 2;
            m_mask = m_limit - 1;
        }
        if (!usual)
            break;
    }
    m_bitPos = cursor.bitPos;
    m_freeCode = unsigned(cursor.freeCode);
    m_old = unsigned(cursor.old);
    m_pos = cursor.pos;
    m_prevStart = cursor.prevStart;
    m_first = m_lin[cursor.prevStart];
    m_nextLength = std::uint32_t(cursor.pos - cursor.prevStart + 1);
}

bool LinearDecoder::run()
{
    if (m_total > 0) {
        do
            fastLoop();
        while (step());
    }
    // Pixels not decoded are 0, and so are the bytes copies may have written past the last.
    std::memset(m_lin + m_pos, 0, m_total + kSlack - m_pos);
    if (m_endedOnEndOfData && m_pos < m_total) {
        if (!TolerateDamage)
            throw EInvalidGraphicOperation(SReadError);
        m_damaged = true;
    }
    return m_damaged;
}

} // namespace

std::size_t linearBufferSize(std::size_t pixels)
{
    return pixels + kSlack + kRootBytes;
}

std::uint8_t* ScratchBuffer::get(std::size_t size)
{
    if (size > m_limit) {
        m_large = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        return m_large.get();
    }
    m_large.reset();
    if (size > m_keptSize) {
        // Grown straight to the limit's order: a few sizes and the buffer stops moving.
        const std::size_t grown = std::min(m_limit, std::max(size, m_keptSize * 2));
        m_kept = std::make_unique_for_overwrite<std::uint8_t[]>(grown);
        m_keptSize = grown;
    }
    return m_kept.get();
}

ScratchBuffer& LinearScratch()
{
    thread_local ScratchBuffer scratch(kKeptScratch + linearBufferSize(0));
    return scratch;
}

bool decodeLinear(std::span<const std::uint8_t> codeStream, std::size_t pixels, int pixelBits,
    std::uint8_t* buffer)
{
    if (codeStream.empty())
        throw EReadError(SReadError);
    bool damaged = false;
    const int codeSize = CheckCodeSize(codeStream[0], damaged);
    if (pixels == 0)
        return damaged;
    DecoderScratch& scratch = decoderScratch();
    const JoinedData data = joinSubBlocks(codeStream, scratch.joined.get(codeStream.size() + 8));
    return LinearDecoder(data, *scratch.tables, codeSize, pixelBits, buffer, pixels, damaged).run();
}

} // namespace gif::detail
