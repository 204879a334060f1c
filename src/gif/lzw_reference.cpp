#include "gif/lzw_reference.h"

#include "gif/gif_types.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace gif::detail {

namespace {

class CodeStreamReader
{
public:
    explicit CodeStreamReader(std::span<const std::uint8_t> data)
        : m_data(data)
    { }
    bool atEnd() const { return m_pos >= m_data.size(); }
    std::size_t position() const { return m_pos; }
    std::uint8_t readByte()
    {
        std::uint8_t b;
        read(&b, 1);
        return b;
    }
    void read(std::uint8_t* dst, std::size_t n)
    {
        if (m_data.size() - m_pos < n)
            throw EReadError(SReadError);
        std::memcpy(dst, m_data.data() + m_pos, n);
        m_pos += n;
    }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
};

// Codes packed least-significant bit first across sub-block boundaries. When the data runs out
// before a whole code, the end-of-data value comes back (the bits of a partial code are dropped).
class BitReader
{
public:
    explicit BitReader(CodeStreamReader& in)
        : m_in(in)
    { }
    unsigned NextCode(int width, unsigned mask)
    {
        while (m_inx + width > m_size && !m_in.atEnd()) {
            const int carry = m_inx / 8;
            std::memmove(m_buffer, m_buffer + carry, 3);
            m_size -= 8 * carry;
            m_inx %= 8;
            const int length = m_in.readByte();
            if (length > 0) {
                m_in.read(m_buffer + m_size / 8, std::size_t(length));
                m_size += 8 * length;
            }
        }
        if (m_inx + width > m_size)
            return kEndOfData;
        const int at = m_inx / 8;
        unsigned value = m_buffer[at] | unsigned(m_buffer[at + 1]) << 8;
        if (width > 8)
            value |= unsigned(m_buffer[at + 2]) << 16;
        value >>= m_inx % 8;
        m_inx += width;
        return value & mask;
    }

private:
    CodeStreamReader& m_in;
    std::uint8_t m_buffer[260] = {};
    int m_inx = 0, m_size = 0;
};

class PixelWriter
{
public:
    PixelWriter(std::uint8_t* pixels, int width, int height, int bitCount, bool interlace)
        : m_pixels(pixels)
        , m_width(width)
        , m_height(height)
        , m_bitCount(bitCount)
        , m_stride(std::size_t((bitCount * width + 31) / 32) * 4)
        , m_interlace(interlace)
    {
        selectRow();
    }
    int row() const { return m_y; }
    void PutPixel(unsigned v)
    {
        if (m_y >= m_height)
            return;
        switch (m_bitCount) {
        case 1:
            if (m_x % 8 == 0)
                m_row[m_x / 8] = std::uint8_t(v << 7);
            else
                m_row[m_x / 8] |= std::uint8_t(v << (7 - m_x % 8));
            break;
        case 4:
            if (m_x % 2 == 0)
                m_row[m_x / 2] = std::uint8_t(v << 4);
            else
                m_row[m_x / 2] |= std::uint8_t(v);
            break;
        case 8:
            m_row[m_x] = std::uint8_t(v);
            break;
        default:
            break;
        }
        if (++m_x == m_width) {
            m_x = 0;
            m_y = m_interlace ? NextInterlacedRow(m_y, m_height, m_pass) : m_y + 1;
            selectRow();
        }
    }

private:
    void selectRow()
    {
        if (m_y < m_height)
            m_row = m_pixels + std::size_t(m_height - 1 - m_y) * m_stride;
    }
    std::uint8_t* m_pixels;
    std::uint8_t* m_row = nullptr;
    int m_width, m_height, m_bitCount;
    std::size_t m_stride;
    bool m_interlace;
    int m_x = 0, m_y = 0, m_pass = 0;
};

void report(const TProgressEvent* progress, TProgressStage stage, int percent, const QString& msg)
{
    if (progress && *progress)
        (*progress)(stage, percent, msg);
}

bool decode(std::span<const std::uint8_t> codeStream, int width, int height, int bitCount,
    bool interlace, int pixelBits, std::uint8_t* pixels, const TProgressEvent* progress)
{
    CodeStreamReader in(codeStream);
    bool damaged = false;
    const int codeSize = CheckCodeSize(in.readByte(), damaged);
    if (width <= 0 || height <= 0)
        return damaged;

    const unsigned clearCode = 1u << codeSize, endCode = clearCode + 1, firstFree = clearCode + 2;
    const int initialWidth = codeSize + 1;
    int width_ = initialWidth;
    unsigned limit = 1u << width_, mask = limit - 1, freeCode = firstFree;
    // Colour indices are the codes below both the table size and the clear code: a frame whose
    // code size is smaller than its colour table (legal, and written by some encoders) must not
    // read its table entries as colours.
    const unsigned rootMask = (1u << std::min(pixelBits, codeSize)) - 1;
    unsigned old = 0, first = 0;
    bool tableFull = false;
    std::vector<std::uint16_t> prefix(4096), suffix(4096), stack(kMaxStack + 4);

    BitReader bits(in);
    PixelWriter writer(pixels, width, height, bitCount, interlace);
    const std::size_t size = codeStream.size();
    bool endedOnEndOfData = false;
    unsigned code = bits.NextCode(width_, mask);
    for (;;) {
        if (code == endCode)
            break;
        if (code == kEndOfData) {
            endedOnEndOfData = true;
            break;
        }
        if (writer.row() >= height)
            break;
        if (code == clearCode) {
            width_ = initialWidth;
            limit = 1u << width_;
            mask = limit - 1;
            freeCode = firstFree;
            do
                code = bits.NextCode(width_, mask);
            while (code == clearCode);
            if (code == endCode)
                break;
            old = code;
            if (code == kEndOfData) {
                endedOnEndOfData = true;
                break;
            }
            first = code & rootMask;
            writer.PutPixel(first);
            tableFull = false;
        } else {
            const unsigned in_ = code;
            unsigned cur = code;
            int sp = 0;
            if (cur >= freeCode) {
                cur = old;
                stack[sp++] = std::uint16_t(first);
            }
            while (cur > rootMask) {
                if (sp > kMaxStack) {
                    if (!TolerateDamage)
                        throw EInvalidGraphicOperation(SCorruptData);
                    damaged = true;
                    break;
                }
                stack[sp++] = suffix[cur];
                cur = prefix[cur];
            }
            if (damaged)
                break;
            first = cur & rootMask;
            stack[sp++] = std::uint16_t(first);
            while (sp > 0)
                writer.PutPixel(stack[--sp]);
            if (!tableFull) {
                prefix[freeCode] = std::uint16_t(old);
                suffix[freeCode] = std::uint16_t(first);
                if (++freeCode >= limit) {
                    if (width_ >= 12) {
                        tableFull = true;
                    } else {
                        ++width_;
                        limit *= 2;
                        mask = limit - 1;
                    }
                }
            }
            old = in_;
        }
        code = bits.NextCode(width_, mask);
        if (size > 0)
            report(progress, TProgressStage::psRunning,
                int(std::trunc(double(in.position()) / double(size) * 100.0)), QString());
    }
    if (endedOnEndOfData && writer.row() < height) {
        if (!TolerateDamage)
            throw EInvalidGraphicOperation(SReadError);
        damaged = true;
    }
    return damaged;
}

} // namespace

int CheckCodeSize(int codeSize, bool& damaged)
{
    if (codeSize >= 2 && codeSize <= 9)
        return codeSize;
    if (!TolerateDamage)
        throw EInvalidGraphicOperation(SCodeSizeRange);
    damaged = true;
    return codeSize < 2 ? 2 : 9;
}

bool DecodeLZWReference(std::span<const std::uint8_t> codeStream, int width, int height,
    int bitCount, bool interlace, int pixelBits, std::uint8_t* pixels,
    const TProgressEvent* progress)
{
    report(progress, TProgressStage::psStarting, 0, QString());
    bool damaged;
    try {
        damaged
            = decode(codeStream, width, height, bitCount, interlace, pixelBits, pixels, progress);
    } catch (const std::exception& failure) {
        report(progress, TProgressStage::psEnding, 0, QString::fromUtf8(failure.what()));
        throw;
    }
    report(progress, TProgressStage::psEnding, 100, QString());
    return damaged;
}

} // namespace gif::detail
