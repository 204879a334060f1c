#pragma once
// Bounds-checked little-endian reading over a byte range; every overrun throws ArtError
// naming what was being read, so a truncated asset never reads past its buffer.

#include "art/art_error.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace art {

class ByteReader
{
public:
    ByteReader(const std::uint8_t* data, std::size_t size, std::string what)
        : m_data(data)
        , m_size(size)
        , m_what(std::move(what))
    { }

    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_size - m_pos; }
    const std::uint8_t* here() const { return m_data + m_pos; }

    void need(std::size_t count) const
    {
        if (count > remaining())
            throw ArtError(m_what + ": data ends early");
    }
    void skip(std::size_t count)
    {
        need(count);
        m_pos += count;
    }
    std::uint8_t u8()
    {
        need(1);
        return m_data[m_pos++];
    }
    std::uint16_t u16()
    {
        need(2);
        const std::uint16_t v = m_data[m_pos] | (m_data[m_pos + 1] << 8);
        m_pos += 2;
        return v;
    }
    std::uint32_t u32()
    {
        need(4);
        const std::uint32_t v = std::uint32_t(m_data[m_pos])
            | (std::uint32_t(m_data[m_pos + 1]) << 8) | (std::uint32_t(m_data[m_pos + 2]) << 16)
            | (std::uint32_t(m_data[m_pos + 3]) << 24);
        m_pos += 4;
        return v;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }

    [[noreturn]] void fail(const std::string& why) const { throw ArtError(m_what + ": " + why); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    std::string m_what;
};

} // namespace art
