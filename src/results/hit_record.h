#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace results {

inline constexpr int kHitRecordSize = 83;
inline constexpr int kNameCapacity = 30, kTimeCapacity = 30, kDateCapacity = 20;

// The 83-byte result record exactly as stored in hits.dat: three length-prefixed Windows-1251
// texts, the name at offset 0 (1 length byte + 30), the time at 31 (1 + 30) and the date at 62
// (1 + 20). A new record is all zero bytes. The same buffer serves for writing a record and for
// reading the records back.
class HitRecord
{
public:
    // Each setter stores at most the field's capacity in characters, one byte each; a character
    // with no Windows-1251 form is stored as "?". Bytes of the field past the new length keep
    // whatever the buffer held (readers ignore them).
    void setName(const QString& text); // cut to 30 characters
    void setTime(const QString& text); // cut to 30
    void setDate(const QString& text); // cut to 20

    // The stored texts. A length byte above the field's capacity (a damaged or foreign file)
    // reads as the capacity, so a read never leaves its field.
    QString name() const;
    QString time() const;
    QString date() const;

    std::array<std::uint8_t, kHitRecordSize>& bytes() { return m_bytes; }
    const std::array<std::uint8_t, kHitRecordSize>& bytes() const { return m_bytes; }

private:
    void setField(int offset, int capacity, const QString& text);
    QString field(int offset, int capacity) const;

    std::array<std::uint8_t, kHitRecordSize> m_bytes {};
};

} // namespace results
