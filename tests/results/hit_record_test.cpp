#include "results/hit_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using results::HitRecord;

namespace {

std::vector<std::uint8_t> slice(const HitRecord& r, int offset, int size)
{
    return { r.bytes().begin() + offset, r.bytes().begin() + offset + size };
}

const QString kSuffix = QStringLiteral(" (истекло время)");

} // namespace

TEST(HitRecordLayout, FieldsSitAtTheirOffsetsInWindows1251)
{
    HitRecord r;
    r.setName(QStringLiteral("Иван"));
    r.setTime(QStringLiteral("1:28:92"));
    r.setDate(QStringLiteral("07.12.2026 10:46:47"));

    EXPECT_EQ(slice(r, 0, 5), (std::vector<std::uint8_t> { 4, 0xC8, 0xE2, 0xE0, 0xED }));
    EXPECT_EQ(
        slice(r, 31, 8), (std::vector<std::uint8_t> { 7, '1', ':', '2', '8', ':', '9', '2' }));
    EXPECT_EQ(r.bytes()[62], 19);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(r.bytes().data()) + 63, 19),
        QByteArray("07.12.2026 10:46:47"));
    // Everything else is still the zero bytes of a new record.
    EXPECT_EQ(slice(r, 5, 26), std::vector<std::uint8_t>(26, 0));
    EXPECT_EQ(r.bytes()[82], 0);

    EXPECT_EQ(r.name(), QStringLiteral("Иван"));
    EXPECT_EQ(r.time(), QStringLiteral("1:28:92"));
    EXPECT_EQ(r.date(), QStringLiteral("07.12.2026 10:46:47"));
}

TEST(HitRecordLayout, ReadsARecordBuiltFromBytes)
{
    HitRecord r;
    auto& b = r.bytes();
    std::fill(b.begin(), b.end(), 0xEE); // not significant past each length
    const std::uint8_t name[] = { 5, 0xD1, 0xE5, 0xF0, 0xE3, 0xE5 }; // Серге
    std::copy(std::begin(name), std::end(name), b.begin());
    const std::uint8_t time[] = { 7, '5', ':', '5', '9', ':', '9', '9' };
    std::copy(std::begin(time), std::end(time), b.begin() + 31);
    b[62] = 0;

    EXPECT_EQ(r.name(), QStringLiteral("Серге"));
    EXPECT_EQ(r.time(), QStringLiteral("5:59:99"));
    EXPECT_EQ(r.date(), QString());
}

// A length byte is only trusted up to the field's capacity.
struct LengthCase
{
    int offset, capacity;
    QString (HitRecord::*read)() const;
};

class HitRecordLength : public testing::TestWithParam<LengthCase>
{ };

TEST_P(HitRecordLength, ZeroIsEmptyAndOversizeIsCutAtTheCapacity)
{
    const LengthCase c = GetParam();
    HitRecord r;
    auto& b = r.bytes();
    // Each field full of its own letter, so a read that strays into the next field shows.
    std::fill(b.begin(), b.end(), 'x');
    std::fill(b.begin() + c.offset + 1, b.begin() + c.offset + 1 + c.capacity, 'a');

    b[c.offset] = 0;
    EXPECT_EQ((r.*c.read)(), QString());
    for (int length : { c.capacity, c.capacity + 1, 255 }) {
        b[c.offset] = static_cast<std::uint8_t>(length);
        EXPECT_EQ((r.*c.read)(), QString(c.capacity, u'a')) << "length byte " << length;
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, HitRecordLength,
    testing::Values(LengthCase { 0, 30, &HitRecord::name }, LengthCase { 31, 30, &HitRecord::time },
        LengthCase { 62, 20, &HitRecord::date }));

// Names as the game end builds them; each must come back exactly as stored.
struct NameCase
{
    QString written;
    QString stored;
};

class HitRecordName : public testing::TestWithParam<NameCase>
{ };

TEST_P(HitRecordName, RoundTripsCutAtThirtyCharacters)
{
    const NameCase c = GetParam();
    HitRecord r;
    r.setName(c.written);
    EXPECT_EQ(r.bytes()[0], c.stored.size());
    EXPECT_EQ(r.name(), c.stored);
}

INSTANTIATE_TEST_SUITE_P(Names, HitRecordName,
    testing::Values(NameCase { QString(), QString() },
        NameCase { QStringLiteral("Ёлка ёжик №1 €"), QStringLiteral("Ёлка ёжик №1 €") },
        // 14 characters keep the whole suffix: 30 in all.
        NameCase { QStringLiteral("Константинопол") + kSuffix,
            QStringLiteral("Константинопол (истекло время)") },
        // 15 characters lose the suffix's last character.
        NameCase { QStringLiteral("Константинополь") + kSuffix,
            QStringLiteral("Константинополь (истекло время") },
        // 30 characters keep no part of it.
        NameCase { QStringLiteral("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭ") + kSuffix,
            QStringLiteral("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭ") },
        NameCase { QString(40, u'я'), QString(30, u'я') },
        // No Windows-1251 form: one "?" per character; an emoji (two UTF-16 units) is one
        // character, as is an unpaired surrogate.
        NameCase { QStringLiteral("A中😀B") + QChar(0xD800) + QStringLiteral("ü"),
            QStringLiteral("A??B??") },
        NameCase { QString::fromUtf8("😀").repeated(31), QString(30, u'?') }));

TEST(HitRecordText, TimeAndDateAreCutAtTheirCapacities)
{
    HitRecord r;
    r.setTime(QString(35, u'7'));
    r.setDate(QStringLiteral("Вторник, 8 декабря 2026 г. 14:08:09"));
    EXPECT_EQ(r.time(), QString(30, u'7'));
    EXPECT_EQ(r.date(), QStringLiteral("Вторник, 8 декабря 2"));
    EXPECT_EQ(r.bytes()[62], 20);
}

TEST(HitRecordText, BytesPastTheNewLengthKeepWhatTheBufferHeld)
{
    HitRecord r;
    r.setName(QStringLiteral("Длинное имя игрока"));
    r.setName(QStringLiteral("Ян"));
    EXPECT_EQ(r.name(), QStringLiteral("Ян"));
    EXPECT_EQ(r.bytes()[0], 2);
    EXPECT_EQ(r.bytes()[3], 0xE8); // the "и" of "Длинное" is still there
    // The time field next door is untouched by a full name.
    r.setTime(QStringLiteral("0:01:00"));
    r.setName(QString(30, u'Щ'));
    EXPECT_EQ(r.time(), QStringLiteral("0:01:00"));
}
