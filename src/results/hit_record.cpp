#include "results/hit_record.h"

#include "results/cp1251.h"

#include <algorithm>
#include <cstring>

namespace results {
namespace {

constexpr int kNameOffset = 0;
constexpr int kTimeOffset = kNameOffset + 1 + kNameCapacity; // 31
constexpr int kDateOffset = kTimeOffset + 1 + kTimeCapacity; // 62
static_assert(kDateOffset + 1 + kDateCapacity == kHitRecordSize);

} // namespace

void HitRecord::setName(const QString& text)
{
    setField(kNameOffset, kNameCapacity, text);
}

void HitRecord::setTime(const QString& text)
{
    setField(kTimeOffset, kTimeCapacity, text);
}

void HitRecord::setDate(const QString& text)
{
    setField(kDateOffset, kDateCapacity, text);
}

QString HitRecord::name() const
{
    return field(kNameOffset, kNameCapacity);
}

QString HitRecord::time() const
{
    return field(kTimeOffset, kTimeCapacity);
}

QString HitRecord::date() const
{
    return field(kDateOffset, kDateCapacity);
}

void HitRecord::setField(int offset, int capacity, const QString& text)
{
    const QByteArray encoded = EncodeCp1251(text, capacity);
    m_bytes[offset] = static_cast<std::uint8_t>(encoded.size());
    std::memcpy(m_bytes.data() + offset + 1, encoded.constData(), encoded.size());
}

QString HitRecord::field(int offset, int capacity) const
{
    const int length = std::min<int>(m_bytes[offset], capacity);
    return DecodeCp1251(m_bytes.data() + offset + 1, length);
}

} // namespace results
