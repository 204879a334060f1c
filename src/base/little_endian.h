#pragma once
// Little-endian bytes, the order of every file the program reads or writes (GIF, BMP, icons,
// image lists, the stored forms): one reader over a byte range and one set of writers.
//
// The reader checks every read against the end of its range. How it fails belongs to its user:
// each module throws its own error with its own message, so a subclass overrides fail() and,
// where its message differs, overrun() and noMemory().

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace base {

inline std::uint16_t loadLE16(const std::uint8_t* at)
{
    return std::uint16_t(at[0] | at[1] << 8);
}

inline std::uint32_t loadLE32(const std::uint8_t* at)
{
    return at[0] | std::uint32_t(at[1]) << 8 | std::uint32_t(at[2]) << 16
        | std::uint32_t(at[3]) << 24;
}

inline void storeLE16(std::uint8_t* at, std::uint16_t v)
{
    at[0] = std::uint8_t(v);
    at[1] = std::uint8_t(v >> 8);
}

inline void storeLE32(std::uint8_t* at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        at[i] = std::uint8_t(v >> (8 * i));
}

// Appends to a byte container: QByteArray or std::vector<std::uint8_t>.
template <typename Bytes> void appendLE16(Bytes& out, std::uint16_t v)
{
    using Byte = typename Bytes::value_type;
    out.push_back(Byte(v & 0xFF));
    out.push_back(Byte(v >> 8));
}

template <typename Bytes> void appendLE32(Bytes& out, std::uint32_t v)
{
    appendLE16(out, std::uint16_t(v & 0xFFFF));
    appendLE16(out, std::uint16_t(v >> 16));
}

class ByteReader
{
public:
    explicit ByteReader(std::span<const std::uint8_t> data)
        : m_data(data)
    { }
    ByteReader(const std::uint8_t* data, std::size_t size)
        : m_data(data, size)
    { }
    virtual ~ByteReader() = default;

    std::size_t position() const { return m_pos; }
    std::size_t size() const { return m_data.size(); }
    std::size_t remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }
    const std::uint8_t* here() const { return m_data.data() + m_pos; }

    // Checked reads: fewer than the bytes asked for left is an overrun.
    void need(std::size_t count) const
    {
        if (count > remaining())
            overrun();
    }
    void skip(std::size_t count)
    {
        need(count);
        m_pos += count;
    }
    void bytes(void* target, std::size_t count)
    {
        need(count);
        std::memcpy(target, here(), count);
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
        m_pos += 2;
        return loadLE16(here() - 2);
    }
    std::uint32_t u32()
    {
        need(4);
        m_pos += 4;
        return loadLE32(here() - 4);
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }

    // Lenient reads for formats that tolerate a short end: what is there is taken, the rest of
    // the target stays as it was; they return how much was taken.
    std::size_t bytesUpTo(void* target, std::size_t count)
    {
        const std::size_t take = count < remaining() ? count : remaining();
        std::memcpy(target, here(), take);
        m_pos += take;
        return take;
    }
    std::uint8_t u8OrZero() { return atEnd() ? 0 : m_data[m_pos++]; }
    void skipUpTo(std::size_t count) { m_pos += count < remaining() ? count : remaining(); }
    void skipToEnd() { m_pos = m_data.size(); }

    // The data is not what the user accepts: throws the user's error. By default
    // std::runtime_error(why).
    [[noreturn]] virtual void fail(const std::string& why) const;
    // A checked read past the end. By default fail("data ends early").
    [[noreturn]] virtual void overrun() const;
    // What the data describes is too large for memory. By default std::bad_alloc.
    [[noreturn]] virtual void noMemory(const std::string& why) const;

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_pos = 0;
};

} // namespace base
