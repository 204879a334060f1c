#include "gif/gif_types.h"
#include "gif/lzw_decoder.h"
#include "gif/lzw_encoder.h"
#include "gif/lzw_reference.h"
#include "gif_bytes.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <random>
#include <string>

using namespace testgif;

namespace {

std::vector<std::uint8_t> indices(
    const Bytes& codes, int w, int h, int pixelBits, bool& damaged, bool interlace = false)
{
    return gif::DecodeLZWIndices(codes, w, h, interlace, pixelBits, damaged);
}

// Decodes with both decoders into packed rows and checks they agree byte for byte (the fast one
// into a buffer holding garbage).
Bytes packedBoth(
    const Bytes& codes, int w, int h, int bitCount, bool interlace, int pixelBits, bool& damaged)
{
    const std::size_t size = std::size_t((bitCount * w + 31) / 32) * 4 * std::size_t(h);
    Bytes fast(size, 0xA5), reference(size); // without a listener every byte is written
    damaged = gif::DecodeLZW(codes, w, h, bitCount, interlace, pixelBits, fast.data());
    const bool referenceDamaged = gif::detail::DecodeLZWReference(
        codes, w, h, bitCount, interlace, pixelBits, reference.data(), nullptr);
    EXPECT_EQ(fast, reference);
    EXPECT_EQ(damaged, referenceDamaged);
    return fast;
}

std::vector<int> rowsOf(int height)
{
    std::vector<int> rows;
    int pass = 0;
    for (int y = 0; y < height; y = gif::NextInterlacedRow(y, height, pass))
        rows.push_back(y);
    return rows;
}

TEST(NextInterlacedRow, GivesTheFourPassOrderForShortFrames)
{
    const std::vector<std::vector<int>> expected = { {}, { 0 }, { 0, 1 }, { 0, 2, 1 },
        { 0, 2, 1, 3 }, { 0, 4, 2, 1, 3 }, { 0, 4, 2, 1, 3, 5 }, { 0, 4, 2, 6, 1, 3, 5 },
        { 0, 4, 2, 6, 1, 3, 5, 7 }, { 0, 8, 4, 2, 6, 1, 3, 5, 7 } };
    for (int h = 1; h <= 9; ++h)
        EXPECT_EQ(rowsOf(h), expected[std::size_t(h)]) << "height " << h;
}

TEST(DecodeLZW, ACodeSizeBelowTheColourDepthStillReadsItsTableCodes)
{
    // A 256-colour frame coded with 2-bit roots: codes 6 and up are table entries, not colours,
    // though they are below 256.
    std::vector<std::uint8_t> data;
    for (int i = 0; i < 240; ++i)
        data.push_back(std::uint8_t((i / 3) % 4));
    Bytes codes = { 2 };
    const std::vector<std::uint8_t> packed = gif::EncodeLZW(data, 2);
    ASSERT_LT(packed.size(), 255u);
    codes.push_back(std::uint8_t(packed.size()));
    codes.insert(codes.end(), packed.begin(), packed.end());
    codes.push_back(0);
    for (const int pixelBits : { 2, 4, 8 }) {
        SCOPED_TRACE(pixelBits);
        bool damaged = true;
        EXPECT_EQ(indices(codes, 24, 10, pixelBits, damaged), data);
        EXPECT_FALSE(damaged);
        const Bytes rows = packedBoth(codes, 24, 10, 8, false, pixelBits, damaged);
        // Bottom-up rows: the first row of the picture is the last one stored.
        EXPECT_EQ(Bytes(rows.end() - 24, rows.end()), Bytes(data.begin(), data.begin() + 24));
    }
}

TEST(DecodeLZW, InterlacedFramesPutRowsInPlace)
{
    for (int h = 1; h <= 9; ++h) {
        // Row k of the data holds the value k; after decoding, image row rowsOf(h)[k] holds k.
        std::vector<std::uint8_t> data;
        for (int k = 0; k < h; ++k)
            data.insert(data.end(), 3, std::uint8_t(k));
        Bytes codes = { 4 };
        const std::vector<std::uint8_t> packed = gif::EncodeLZW(data, 4);
        for (std::size_t p = 0; p < packed.size(); p += 255) {
            codes.push_back(std::uint8_t(std::min<std::size_t>(255, packed.size() - p)));
            codes.insert(codes.end(), packed.begin() + long(p),
                packed.begin() + long(std::min(packed.size(), p + 255)));
        }
        codes.push_back(0);
        bool damaged = true;
        const auto image = indices(codes, 3, h, 4, damaged, true);
        EXPECT_FALSE(damaged);
        const std::vector<int> order = rowsOf(h);
        for (int k = 0; k < h; ++k)
            EXPECT_EQ(image[std::size_t(order[std::size_t(k)]) * 3], k) << "height " << h;
        packedBoth(codes, 3, h, 8, true, 4, damaged);
        packedBoth(codes, 3, h, 4, true, 4, damaged);
    }
}

TEST(DecodeLZW, PacksOneFourAndEightBitRowsBottomUp)
{
    // 3 x 2 frame, indices 1 0 1 / 0 1 1, two colours.
    const Bytes codes = CodeStream(
        2, { { 4, 3 }, { 1, 3 }, { 0, 3 }, { 1, 3 }, { 0, 4 }, { 1, 4 }, { 1, 4 }, { 5, 4 } });
    bool damaged = true;
    EXPECT_EQ(
        packedBoth(codes, 3, 2, 1, false, 1, damaged), Bytes({ 0x60, 0, 0, 0, 0xA0, 0, 0, 0 }));
    EXPECT_FALSE(damaged);
    EXPECT_EQ(packedBoth(codes, 3, 2, 4, false, 1, damaged),
        Bytes({ 0x01, 0x10, 0, 0, 0x10, 0x10, 0, 0 }));
    EXPECT_EQ(packedBoth(codes, 3, 2, 8, false, 1, damaged), Bytes({ 0, 1, 1, 0, 1, 0, 1, 0 }));
}

TEST(DecodeLZW, EarlyEndCodeLeavesTheRestZero)
{
    const Bytes codes = CodeStream(2, { { 4, 3 }, { 3, 3 }, { 2, 3 }, { 5, 3 } });
    bool damaged = true;
    EXPECT_EQ(indices(codes, 3, 2, 2, damaged), Bytes({ 3, 2, 0, 0, 0, 0 }));
    EXPECT_FALSE(damaged);
}

TEST(DecodeLZW, DataEndingBeforeTheLastPixelIsDamage)
{
    const Bytes codes = CodeStream(2, { { 4, 3 }, { 3, 3 }, { 2, 3 } });
    bool damaged = false;
    EXPECT_EQ(indices(codes, 3, 2, 2, damaged), Bytes({ 3, 2, 0, 0, 0, 0 }));
    EXPECT_TRUE(damaged);
    ToleranceGuard strict(false);
    EXPECT_THROW(
        try { indices(codes, 3, 2, 2, damaged); } catch (const gif::EInvalidGraphicOperation& e) {
            EXPECT_STREQ(e.what(), "Stream read error");
            throw;
        },
        gif::EInvalidGraphicOperation);
}

TEST(DecodeLZW, NoEndCodeAfterTheLastPixelIsFine)
{
    const Bytes codes = CodeStream(2, { { 4, 3 }, { 3, 3 }, { 2, 3 } });
    bool damaged = true;
    EXPECT_EQ(indices(codes, 2, 1, 2, damaged), Bytes({ 3, 2 }));
    EXPECT_FALSE(damaged);
}

TEST(DecodeLZW, ClearThenEndEndsAndRepeatedClearsCountAsOne)
{
    bool damaged = true;
    EXPECT_EQ(indices(CodeStream(2, { { 4, 3 }, { 1, 3 }, { 4, 3 }, { 5, 3 }, { 2, 3 } }), 3, 1, 2,
                  damaged),
        Bytes({ 1, 0, 0 }));
    EXPECT_FALSE(damaged);
    EXPECT_EQ(indices(CodeStream(2, { { 4, 3 }, { 4, 3 }, { 4, 3 }, { 2, 3 }, { 5, 3 } }), 1, 1, 2,
                  damaged),
        Bytes({ 2 }));
}

class CodeSizeClamp : public testing::TestWithParam<int>
{ };

TEST_P(CodeSizeClamp, DecodesOnlyWhatFollowsClearCodes)
{
    const int given = GetParam();
    const int used = given < 2 ? 2 : 9;
    const unsigned clear = 1u << used;
    const int w = used + 1;
    Bytes codes
        = CodeStream(used, { { clear, w }, { 1, w }, { 2, w }, { clear, w }, { 3, w }, { 1, w } });
    codes[0] = std::uint8_t(given);
    bool damaged = false;
    EXPECT_EQ(indices(codes, 4, 1, 2, damaged), Bytes({ 1, 0, 0, 0 }));
    EXPECT_TRUE(damaged);
    packedBoth(codes, 4, 1, 4, false, 2, damaged);
    ToleranceGuard strict(false);
    try {
        indices(codes, 4, 1, 2, damaged);
        ADD_FAILURE() << "no exception";
    } catch (const gif::EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "GIF code size not in range 2 to 9");
    }
}

INSTANTIATE_TEST_SUITE_P(OutOfRange, CodeSizeClamp, testing::Values(0, 1, 10, 12, 255));

TEST(DecodeLZW, RunawayStringIsDamage)
{
    // After the clear, 7 becomes Old although it is no entry; entry 6 = (7, x), then entry
    // 7 = (6, y): the two point at each other and expanding 6 never reaches a colour index.
    const Bytes codes
        = CodeStream(2, { { 4, 3 }, { 7, 3 }, { 6, 3 }, { 0, 3 }, { 6, 4 }, { 1, 4 } });
    bool damaged = false;
    const Bytes before = indices(codes, 64, 64, 2, damaged);
    EXPECT_TRUE(damaged);
    packedBoth(codes, 64, 64, 8, false, 2, damaged);
    ToleranceGuard strict(false);
    try {
        indices(codes, 64, 64, 2, damaged);
        ADD_FAILURE() << "no exception";
    } catch (const gif::EInvalidGraphicOperation& e) {
        EXPECT_STREQ(e.what(), "GIF encoded data is corrupt");
    }
}

TEST(DecodeLZW, FullTableWithoutClearKeepsTwelveBitCodes)
{
    // 8-bit codes: 256 clear, 257 end; entries 258..4095 fill the table; after that every code is
    // read with 12 bits and no entries are added, so 4095 keeps its meaning.
    std::vector<std::pair<unsigned, int>> codes = { { 256, 9 } };
    int width = 9;
    unsigned next = 258;
    std::vector<std::uint8_t> expected;
    for (unsigned i = 0; i < 4000; ++i) {
        const unsigned v = i * 7 % 256;
        codes.push_back({ v, width });
        expected.push_back(std::uint8_t(v));
        if (i > 0 && next < 4096) {
            ++next;
            if (next == (1u << width) && width < 12)
                ++width;
        }
    }
    // The table is full now (next == 4096); entry 4095 was made from the last two codes before.
    ASSERT_EQ(next, 4096u);
    ASSERT_EQ(width, 12);
    const std::size_t at = 4095 - 258; // entry 4095: the string of this code + the next's first
    const std::uint8_t a = expected[at], b = expected[at + 1];
    codes.push_back({ 4095, 12 });
    expected.push_back(a);
    expected.push_back(b);
    codes.push_back({ 17, 12 });
    expected.push_back(17);
    codes.push_back({ 257, 12 });

    Bytes stream = { 8 };
    std::uint64_t acc = 0;
    int bits = 0;
    Bytes packed;
    for (auto [code, w] : codes) {
        acc |= std::uint64_t(code) << bits;
        bits += w;
        while (bits >= 8) {
            packed.push_back(std::uint8_t(acc));
            acc >>= 8;
            bits -= 8;
        }
    }
    if (bits)
        packed.push_back(std::uint8_t(acc));
    for (std::size_t p = 0; p < packed.size(); p += 255) {
        const std::size_t n = std::min<std::size_t>(255, packed.size() - p);
        stream.push_back(std::uint8_t(n));
        stream.insert(stream.end(), packed.begin() + long(p), packed.begin() + long(p + n));
    }
    stream.push_back(0);

    bool damaged = true;
    EXPECT_EQ(indices(stream, int(expected.size()), 1, 8, damaged), expected);
    EXPECT_FALSE(damaged);
    packedBoth(stream, int(expected.size()), 1, 8, false, 8, damaged);
}

TEST(DecodeLZW, EmptyCodeStreamAndCutSubBlockAreReadErrors)
{
    bool damaged;
    EXPECT_THROW(indices({}, 2, 2, 2, damaged), gif::EReadError);
    Bytes cut = SmallFrameData();
    cut.resize(3); // code size, length 3, one byte of three
    EXPECT_THROW(indices(cut, 2, 2, 2, damaged), gif::EReadError);
}

TEST(DecodeLZW, ReportsProgressOnlyToAListener)
{
    const Bytes codes = SmallFrameData();
    std::vector<std::pair<gif::TProgressStage, int>> seen;
    const gif::TProgressEvent listener
        = [&](gif::TProgressStage stage, int percent, const QString&) {
              seen.push_back({ stage, percent });
          };
    Bytes pixels(8);
    gif::DecodeLZW(codes, 2, 2, 8, false, 2, pixels.data(), &listener);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front(), std::make_pair(gif::TProgressStage::psStarting, 0));
    EXPECT_EQ(seen.back(), std::make_pair(gif::TProgressStage::psEnding, 100));
    for (std::size_t i = 1; i + 1 < seen.size(); ++i) {
        EXPECT_EQ(seen[i].first, gif::TProgressStage::psRunning);
        EXPECT_GE(seen[i].second, seen[i - 1].second);
        EXPECT_LE(seen[i].second, 100);
    }
    EXPECT_EQ(pixels, Bytes({ 2, 3, 0, 0, 0, 1, 0, 0 }));

    seen.clear();
    QString message;
    const gif::TProgressEvent failing
        = [&](gif::TProgressStage stage, int percent, const QString& msg) {
              seen.push_back({ stage, percent });
              message = msg;
          };
    EXPECT_THROW(
        gif::DecodeLZW(Bytes {}, 2, 2, 8, false, 2, pixels.data(), &failing), gif::EReadError);
    EXPECT_EQ(seen.back(), std::make_pair(gif::TProgressStage::psEnding, 0));
    EXPECT_EQ(message, "Stream read error");
}

// LZW codes for `data` as some encoders write them: no clear when the table is full, so the
// decoder goes on with 12-bit codes and a frozen table.
Bytes encodeWithoutClears(
    const std::vector<std::uint8_t>& data, int codeSize, std::size_t blockSize)
{
    const unsigned clear = 1u << codeSize;
    unsigned next = clear + 2;
    int width = codeSize + 1;
    std::vector<std::pair<unsigned, int>> codes;
    auto put = [&](unsigned code) {
        codes.push_back({ code, width });
        if (next >= (1u << width) && width < 12)
            ++width;
    };
    put(clear);
    std::map<std::uint32_t, unsigned> table;
    unsigned current = data[0];
    for (std::size_t i = 1; i < data.size(); ++i) {
        const std::uint32_t key = current << 8 | data[i];
        if (const auto found = table.find(key); found != table.end()) {
            current = found->second;
            continue;
        }
        put(current);
        current = data[i];
        if (next < 4096)
            table[key] = next++;
    }
    put(current);
    put(clear + 1);
    return CodeStream(codeSize, codes, blockSize);
}

// Streams that are mostly valid but mutated, each shape reaching other table states.
struct MutatedShape
{
    const char* name;
    int rounds, maxSide;
    // A colour index below 2^bits, given the one before it.
    std::uint8_t (*pixel)(std::mt19937& rng, int bits, std::uint8_t previous);
    bool clears; // the encoder clears the table when it is full
};

std::ostream& operator<<(std::ostream& out, const MutatedShape& shape)
{
    return out << shape.name;
}

class MutatedStreams : public testing::TestWithParam<MutatedShape>
{ };

// The fast decoder against the step-by-step one: every damage path and table state must give
// the same bytes, the same damage flag or the same failure.
TEST_P(MutatedStreams, FastDecoderMatchesReference)
{
    const MutatedShape& shape = GetParam();
    std::mt19937 rng(12345);
    for (int round = 0; round < shape.rounds; ++round) {
        const int bits = 1 + int(rng() % 8);
        const int w = 1 + int(rng() % unsigned(shape.maxSide)),
                  h = 1 + int(rng() % unsigned(shape.maxSide));
        std::vector<std::uint8_t> data(std::size_t(w * h));
        std::uint8_t previous = 0;
        for (auto& v : data)
            previous = v = shape.pixel(rng, bits, previous);
        const int codeSize = std::max(2, bits);
        Bytes stream;
        if (shape.clears) {
            const std::vector<std::uint8_t> packed = gif::EncodeLZW(data, codeSize);
            stream = { std::uint8_t(codeSize) };
            for (std::size_t p = 0; p < packed.size(); p += 50) {
                const std::size_t n = std::min<std::size_t>(50, packed.size() - p);
                stream.push_back(std::uint8_t(n));
                stream.insert(stream.end(), packed.begin() + long(p), packed.begin() + long(p + n));
            }
            stream.push_back(0);
        } else {
            stream = encodeWithoutClears(data, codeSize, 50);
        }
        const int mutations = int(rng() % 4);
        for (int m = 0; m < mutations; ++m)
            stream[1 + rng() % (stream.size() - 1)] ^= std::uint8_t(1u << (rng() % 8));
        const int pixelBits = int(rng() % 9);
        const bool interlace = rng() % 2;
        for (int bitCount : { 1, 4, 8 }) {
            SCOPED_TRACE(testing::Message() << "round " << round << " bitCount " << bitCount);
            const std::size_t size = std::size_t((bitCount * w + 31) / 32) * 4 * std::size_t(h);
            Bytes fast(size, 0xA5), reference(size);
            bool fastDamaged = false, referenceDamaged = false, fastThrew = false,
                 referenceThrew = false;
            try {
                fastDamaged
                    = gif::DecodeLZW(stream, w, h, bitCount, interlace, pixelBits, fast.data());
            } catch (const std::exception&) {
                fastThrew = true;
            }
            try {
                referenceDamaged = gif::detail::DecodeLZWReference(
                    stream, w, h, bitCount, interlace, pixelBits, reference.data(), nullptr);
            } catch (const std::exception&) {
                referenceThrew = true;
            }
            ASSERT_EQ(fastThrew, referenceThrew);
            if (fastThrew)
                continue; // a failed decode hands no pixels to anyone
            ASSERT_EQ(fastDamaged, referenceDamaged);
            ASSERT_EQ(fast, reference);
            if (mutations == 0 && pixelBits >= bits && bitCount == 8 && !interlace) {
                bool damaged = true;
                EXPECT_EQ(gif::DecodeLZWIndices(stream, w, h, false, pixelBits, damaged), data);
                EXPECT_FALSE(damaged);
            }
        }
    }
}

// Short strings in small frames; long runs, whose strings take several copies and are often
// defined by the code that uses them; frames large enough to fill the table and go on without
// a clear.
INSTANTIATE_TEST_SUITE_P(Shapes, MutatedStreams,
    testing::Values(MutatedShape { "noise", 1500, 40,
                        [](std::mt19937& rng, int bits, std::uint8_t) {
                            return std::uint8_t(rng() % (1u << bits) / (1 + rng() % 3));
                        },
                        true },
        MutatedShape { "runs", 150, 160,
            [](std::mt19937& rng, int bits, std::uint8_t previous) {
                return rng() % 32 ? previous : std::uint8_t(rng() % (1u << bits));
            },
            true },
        MutatedShape { "fullTable", 60, 160,
            [](std::mt19937& rng, int bits, std::uint8_t previous) {
                return rng() % 4 ? std::uint8_t(rng() % (1u << bits)) : previous;
            },
            false }),
    [](const testing::TestParamInfo<MutatedShape>& info) { return std::string(info.param.name); });

} // namespace
