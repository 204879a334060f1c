#include "gif/lzw_encoder.h"

#include <array>
#include <memory>
#include <stdexcept>

namespace gif {

namespace {

constexpr int kMaxCode = 4095;

class BitWriter
{
public:
    explicit BitWriter(std::vector<std::uint8_t>& out)
        : m_out(out)
    { }
    void put(unsigned code, int width)
    {
        m_acc |= std::uint32_t(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_out.push_back(std::uint8_t(m_acc));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    void flush()
    {
        if (m_bits > 0)
            m_out.push_back(std::uint8_t(m_acc));
        m_acc = 0;
        m_bits = 0;
    }

private:
    std::vector<std::uint8_t>& m_out;
    std::uint32_t m_acc = 0;
    int m_bits = 0;
};

// Open-addressed map from (prefix code, next index) to the code of that string.
class StringTable
{
public:
    void clear() { m_keys.fill(kEmpty); }
    int find(std::uint32_t key) const
    {
        for (std::uint32_t h = hash(key);; h = (h + 1) & kMask) {
            if (m_keys[h] == kEmpty)
                return -1;
            if (m_keys[h] == key)
                return m_codes[h];
        }
    }
    void insert(std::uint32_t key, int code)
    {
        std::uint32_t h = hash(key);
        while (m_keys[h] != kEmpty)
            h = (h + 1) & kMask;
        m_keys[h] = key;
        m_codes[h] = std::uint16_t(code);
    }

private:
    static constexpr std::uint32_t kSize = 8192, kMask = kSize - 1, kEmpty = 0xFFFFFFFFu;
    static std::uint32_t hash(std::uint32_t key) { return (key * 2654435761u) >> 19 & kMask; }
    std::array<std::uint32_t, kSize> m_keys {};
    std::array<std::uint16_t, kSize> m_codes {};
};

} // namespace

std::vector<std::uint8_t> EncodeLZW(std::span<const std::uint8_t> indices, int minCodeSize)
{
    if (minCodeSize < 2 || minCodeSize > 8)
        throw std::invalid_argument("LZW minimum code size must be 2..8");
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    for (std::uint8_t v : indices) {
        if (v >= clearCode)
            throw std::invalid_argument("colour index does not fit the code size");
    }

    std::vector<std::uint8_t> out;
    out.reserve(indices.size() / 2 + 16);
    BitWriter bits(out);
    auto table = std::make_unique<StringTable>();
    table->clear();
    int width = minCodeSize + 1;
    int nextCode = endCode + 1;

    // The width grows after the code that used the last value of the current width has been
    // written, mirroring the decoder, which adds its entry one code later.
    auto writeCode = [&](int code) {
        bits.put(unsigned(code), width);
        if (nextCode >= (1 << width) && width < 12)
            ++width;
    };

    writeCode(clearCode);
    if (!indices.empty()) {
        int current = indices[0];
        for (std::size_t i = 1; i < indices.size(); ++i) {
            const std::uint32_t key = std::uint32_t(current) << 8 | indices[i];
            const int found = table->find(key);
            if (found >= 0) {
                current = found;
                continue;
            }
            writeCode(current);
            current = indices[i];
            if (nextCode >= kMaxCode) {
                writeCode(clearCode);
                table->clear();
                nextCode = endCode + 1;
                width = minCodeSize + 1;
            } else {
                table->insert(key, nextCode++);
            }
        }
        writeCode(current);
    }
    writeCode(endCode);
    bits.flush();
    return out;
}

} // namespace gif
