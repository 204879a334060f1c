#pragma once
// Reading an asset's bytes: the little-endian reader failing with ArtError that names what was
// being read ("<what>: data ends early", "<what>: <why>"), and the bitmaps the assets hold.

#include "art/art_error.h"
#include "base/bitmap_reader.h"
#include "base/little_endian.h"

#include <string>

namespace art {

class ByteReader final : public base::ByteReader
{
public:
    ByteReader(const std::uint8_t* data, std::size_t size, std::string what)
        : base::ByteReader(data, size)
        , m_what(std::move(what))
    { }

    [[noreturn]] void fail(const std::string& why) const override
    {
        throw ArtError(m_what + ": " + why);
    }
    [[noreturn]] void noMemory(const std::string& why) const override { fail(why); }

private:
    std::string m_what;
};

// The glyphs, the image-list strips and the icon: 1, 4 and 32 bits, read as colours (1-bit data
// keeps its stored bit as pixelIndex()).
inline constexpr base::BitmapRules kAssetBitmaps { base::bitCounts({ 1, 4, 32 }), 1,
    kMaxPictureSide, base::BitmapRules::Pixels::Colours };

} // namespace art
