#include "gif/lzw_decoder.h"

#include "gif/gif_types.h"
#include "gif/lzw_reference.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

// The fast decoder. It produces exactly what the step-by-step decoder (lzw_reference.cpp)
// produces, but
// - the sub-blocks are joined first, so a code is one unaligned load;
// - pixels go into a linear buffer in the order they are written, and a table entry whose string
//   is known to sit in that buffer (it was built from such a string in the current clear cycle)
//   is expanded by copying its earlier occurrence instead of walking the table. Anything else
//   (strings built on codes that were never entries, stale entries, roots after a clear that are
//   not colour indices) takes the table walk, with its runaway guard, exactly as written.
// The packed bottom-up bitmap rows are filled from the linear buffer at the end.

namespace gif {

using detail::kEndOfData;

namespace {

constexpr std::size_t kSlack = 16; // room for copies that overrun by up to 7 bytes

struct Tables
{
    std::uint16_t prefix[4096] = {};
    std::uint16_t suffix[4096] = {};
    std::uint32_t offset[4096] = {}; // where the entry's string starts in the linear buffer
    std::uint32_t length[4096] = {}; // its length; 0 = not known to be there
    std::uint16_t stack[detail::kMaxStack + 4];
};

// The code stream's sub-blocks joined, followed by zero padding for unaligned loads.
struct JoinedData
{
    std::vector<std::uint8_t> bytes;
    std::uint64_t bitCount = 0;
    bool truncated = false; // a sub-block promised more bytes than the stream holds
};

JoinedData joinSubBlocks(std::span<const std::uint8_t> codeStream)
{
    JoinedData joined;
    joined.bytes.reserve(codeStream.size() + 8);
    std::size_t p = 1;
    while (p < codeStream.size()) {
        const std::size_t length = codeStream[p++];
        if (length > codeStream.size() - p) {
            joined.truncated = true;
            break;
        }
        joined.bytes.insert(joined.bytes.end(), codeStream.begin() + long(p),
            codeStream.begin() + long(p + length));
        p += length;
    }
    joined.bitCount = std::uint64_t(joined.bytes.size()) * 8;
    joined.bytes.resize(joined.bytes.size() + 8, 0);
    return joined;
}

// Copies `length` bytes that lie wholly before `dst` to `dst`, in 8-byte steps where the buffer
// has room; bytes written past dst + length are garbage that later writes replace.
inline void copyString(
    std::uint8_t* lin, std::size_t dst, std::size_t src, std::size_t length, std::size_t total)
{
    if (dst + length <= total) {
        std::uint8_t* d = lin + dst;
        const std::uint8_t* s = lin + src;
        for (std::size_t i = 0; i < length; i += 8) {
            std::uint64_t v;
            std::memcpy(&v, s + i, 8);
            std::memcpy(d + i, &v, 8);
        }
    } else {
        for (std::size_t i = 0; dst + i < total; ++i)
            lin[dst + i] = lin[src + i];
    }
}

// Decodes into `lin` (total + kSlack bytes, zero-filled) in write order. Returns the damage flag.
bool decodeLinear(
    std::span<const std::uint8_t> codeStream, std::size_t total, int pixelBits, std::uint8_t* lin)
{
    if (codeStream.empty())
        throw EReadError(SReadError);
    bool damaged = false;
    const int codeSize = detail::CheckCodeSize(codeStream[0], damaged);
    if (total == 0)
        return damaged;

    const JoinedData data = joinSubBlocks(codeStream);
    const std::uint8_t* bytes = data.bytes.data();
    std::uint64_t bitPos = 0;

    const unsigned clearCode = 1u << codeSize, endCode = clearCode + 1, firstFree = clearCode + 2;
    const int initialWidth = codeSize + 1;
    int width = initialWidth;
    unsigned limit = 1u << width, mask = limit - 1, freeCode = firstFree;
    // Colour indices are the codes below both the table size and the clear code: a frame whose
    // code size is smaller than its colour table (legal, and written by some encoders) must not
    // read its table entries as colours.
    const unsigned rootMask = (1u << std::min(pixelBits, codeSize)) - 1;
    auto t = std::make_unique<Tables>();

    auto NextCode = [&]() -> unsigned {
        if (bitPos + unsigned(width) > data.bitCount) {
            if (data.truncated)
                throw EReadError(SReadError);
            return kEndOfData;
        }
        std::uint32_t v;
        std::memcpy(&v, bytes + (bitPos >> 3), 4);
        v >>= bitPos & 7;
        bitPos += unsigned(width);
        return v & mask;
    };

    // Offsets are kept in 32 bits; a frame beyond that (not one that fits in memory anyway) walks.
    const bool offsetsFit = total <= 0xFFFFFFFFu;
    std::size_t pos = 0;
    unsigned old = 0, first = 0;
    bool tableFull = false;
    // Whether the string of `old` is lin[prevStart, prevStart + prevLength) and will stay its
    // string until the next clear.
    bool oldKnown = false;
    std::size_t prevStart = 0, prevLength = 0;
    bool endedOnEndOfData = false;

    unsigned code = NextCode();
    for (;;) {
        if (code == endCode)
            break;
        if (code == kEndOfData) {
            endedOnEndOfData = true;
            break;
        }
        if (pos >= total)
            break;
        if (code == clearCode) {
            width = initialWidth;
            limit = 1u << width;
            mask = limit - 1;
            freeCode = firstFree;
            do
                code = NextCode();
            while (code == clearCode);
            if (code == endCode)
                break;
            old = code;
            if (code == kEndOfData) {
                endedOnEndOfData = true;
                break;
            }
            first = code & rootMask;
            lin[pos] = std::uint8_t(first);
            prevStart = pos++;
            prevLength = 1;
            oldKnown = code <= rootMask;
            tableFull = false;
            code = NextCode();
            continue;
        }

        if (damaged)
            break; // a clamped code size: only the codes right after a clear are trusted
        const std::size_t start = pos;
        std::size_t length;
        bool known;
        if (code < freeCode && code <= rootMask) {
            first = code;
            lin[pos++] = std::uint8_t(code);
            length = 1;
            known = true;
        } else if (code < freeCode && t->length[code] != 0) {
            length = t->length[code];
            const std::size_t src = t->offset[code];
            first = lin[src];
            copyString(lin, pos, src, length, total);
            pos = std::min(pos + length, total);
            known = true;
        } else if (code >= freeCode && oldKnown) {
            // The code that is being defined right now: the previous string plus its first byte.
            copyString(lin, pos, prevStart, prevLength, total);
            pos = std::min(pos + prevLength, total);
            if (pos < total)
                lin[pos++] = std::uint8_t(first);
            length = prevLength + 1;
            // Codes up to rootMask are colour indices whatever the table holds for them.
            known = code == freeCode && !tableFull && code > rootMask;
        } else {
            unsigned cur = code;
            int sp = 0;
            if (cur >= freeCode) {
                cur = old;
                t->stack[sp++] = std::uint16_t(first);
            }
            while (cur > rootMask) {
                if (sp > detail::kMaxStack) {
                    if (!TolerateDamage)
                        throw EInvalidGraphicOperation(SCorruptData);
                    damaged = true;
                    break;
                }
                t->stack[sp++] = t->suffix[cur];
                cur = t->prefix[cur];
            }
            if (damaged)
                break;
            first = cur & rootMask;
            t->stack[sp++] = std::uint16_t(first);
            length = std::size_t(sp);
            while (sp > 0 && pos < total)
                lin[pos++] = std::uint8_t(t->stack[--sp]);
            known = false;
        }
        if (damaged)
            break;

        if (!tableFull) {
            t->prefix[freeCode] = std::uint16_t(old);
            t->suffix[freeCode] = std::uint16_t(first);
            // The new entry's string is the previous string followed by this one's first byte,
            // which is where it was just written.
            const bool entryKnown = oldKnown && prevLength < detail::kMaxStack && offsetsFit;
            t->length[freeCode] = entryKnown ? std::uint32_t(prevLength + 1) : 0;
            t->offset[freeCode] = std::uint32_t(prevStart);
            if (++freeCode >= limit) {
                if (width >= 12) {
                    tableFull = true;
                } else {
                    ++width;
                    limit *= 2;
                    mask = limit - 1;
                }
            }
        }
        old = code;
        oldKnown = known;
        prevStart = start;
        prevLength = length;
        code = NextCode();
    }
    // Copies may have run ahead of the last pixel; unwritten pixels are 0.
    std::memset(lin + pos, 0, std::min(kSlack, total + kSlack - pos));
    if (endedOnEndOfData && pos < total) {
        if (!TolerateDamage)
            throw EInvalidGraphicOperation(SReadError);
        damaged = true;
    }
    return damaged;
}

void checkPixelBits(int pixelBits)
{
    if (pixelBits < 0 || pixelBits > 8)
        throw std::invalid_argument("DecodeLZW: pixel bits must be 0..8");
}

std::vector<int> rowOrder(int height, bool interlace)
{
    std::vector<int> order;
    order.reserve(std::size_t(height));
    int pass = 0;
    for (int y = 0; y < height; y = interlace ? NextInterlacedRow(y, height, pass) : y + 1)
        order.push_back(y);
    return order;
}

void packRow(const std::uint8_t* src, int width, int bitCount, std::uint8_t* row)
{
    switch (bitCount) {
    case 8:
        std::memcpy(row, src, std::size_t(width));
        break;
    case 4: {
        // Even pixels set the high nibble (shifted out bits are lost), odd pixels OR in.
        int x = 0;
        for (; x + 1 < width; x += 2)
            row[x / 2] = std::uint8_t(src[x] << 4) | src[x + 1];
        if (x < width)
            row[x / 2] = std::uint8_t(src[x] << 4);
        break;
    }
    case 1:
        for (int x = 0; x < width; x += 8) {
            std::uint8_t b = std::uint8_t(src[x] << 7);
            for (int k = 1; k < 8 && x + k < width; ++k)
                b |= std::uint8_t(src[x + k] << (7 - k));
            row[x / 8] = b;
        }
        break;
    default:
        break;
    }
}

} // namespace

int NextInterlacedRow(int y, int height, int& pass)
{
    y += pass <= 1 ? 8 : pass == 2 ? 4 : 2;
    if (y < height)
        return y;
    if (pass == 0) {
        pass = 1;
        if (height > 4)
            return 4;
    }
    if (pass == 1) {
        pass = 2;
        if (height > 2)
            return 2;
    }
    if (pass == 2) {
        pass = 3;
        return 1;
    }
    return y;
}

bool DecodeLZW(std::span<const std::uint8_t> codeStream, int width, int height, int bitCount,
    bool interlace, int pixelBits, std::uint8_t* pixels, const TProgressEvent* progress)
{
    checkPixelBits(pixelBits);
    if (progress && *progress)
        return detail::DecodeLZWReference(
            codeStream, width, height, bitCount, interlace, pixelBits, pixels, progress);
    const std::size_t w = width > 0 ? std::size_t(width) : 0;
    const std::size_t h = height > 0 ? std::size_t(height) : 0;
    const std::size_t total = w * h;
    std::unique_ptr<std::uint8_t[]> lin(new std::uint8_t[total + kSlack]());
    const bool damaged = decodeLinear(codeStream, total, pixelBits, lin.get());
    if (total == 0 || (bitCount != 1 && bitCount != 4 && bitCount != 8))
        return damaged;
    const std::size_t stride = std::size_t((bitCount * width + 31) / 32) * 4;
    const std::vector<int> order = rowOrder(height, interlace);
    for (std::size_t k = 0; k < order.size(); ++k)
        packRow(lin.get() + k * w, width, bitCount,
            pixels + std::size_t(height - 1 - order[k]) * stride);
    return damaged;
}

std::vector<std::uint8_t> DecodeLZWIndices(std::span<const std::uint8_t> codeStream, int width,
    int height, bool interlace, int pixelBits, bool& damaged)
{
    checkPixelBits(pixelBits);
    const std::size_t w = width > 0 ? std::size_t(width) : 0;
    const std::size_t h = height > 0 ? std::size_t(height) : 0;
    const std::size_t total = w * h;
    std::vector<std::uint8_t> lin(total + kSlack);
    damaged = decodeLinear(codeStream, total, pixelBits, lin.data());
    lin.resize(total);
    if (!interlace || total == 0)
        return lin;
    std::vector<std::uint8_t> image(total);
    const std::vector<int> order = rowOrder(height, interlace);
    for (std::size_t k = 0; k < order.size(); ++k)
        std::memcpy(image.data() + std::size_t(order[k]) * w, lin.data() + k * w, w);
    return image;
}

} // namespace gif
