// Building a frame's bitmap: the decoded frame as a BMP file, and loading that file into a QImage.

#include "base/bitmap_reader.h"
#include "base/little_endian.h"
#include "gif/gif_frame.h"
#include "gif/lzw_linear.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace gif {

namespace {

int bitCountFor(int pixelBits)
{
    switch (pixelBits) {
    case 1:
        return 1;
    case 2:
    case 3:
    case 4:
        return 4;
    case 5:
    case 6:
    case 7:
    case 8:
        return 8;
    default:
        throw EInvalidGraphicOperation(SWrongColorCount);
    }
}

constexpr std::size_t kHeaders = 54;

// Kept per thread: the files of frames up to 1600 x 1200 pixels are built without allocating.
constexpr std::size_t kKeptFile = std::size_t(4) << 20;

struct KeptFile
{
    detail::ScratchBuffer buffer { kKeptFile };
    bool inUse = false;
};

KeptFile& keptFile()
{
    thread_local KeptFile kept;
    return kept;
}

// 256 BMP palette entries (blue, green, red, 0) from the colour table; entries beyond the table
// stay grey 128 in all four bytes, so a short table never shows black.
void ExpandPalette(const TGIFRGBTable& colors, std::uint8_t* palette)
{
    std::memset(palette, 128, 256 * 4);
    const int count = std::min(colors.Count, 256);
    for (int i = 0; i < count; ++i) {
        palette[i * 4] = colors.Entries[std::size_t(i) * 3 + 2];
        palette[i * 4 + 1] = colors.Entries[std::size_t(i) * 3 + 1];
        palette[i * 4 + 2] = colors.Entries[std::size_t(i) * 3];
        palette[i * 4 + 3] = 0;
    }
}

// The frame's own BMP bytes: whatever they hold that the loader does not accept is the one
// failure a frame's bitmap reports.
class FrameFileReader final : public base::ByteReader
{
public:
    using base::ByteReader::ByteReader;
    [[noreturn]] void fail(const std::string&) const override
    {
        throw EInvalidGraphicOperation(SWrongColorCount);
    }
};

// Sides come from 16-bit fields: no limit of the reader's own is needed.
constexpr base::BitmapRules kFrameBitmaps { base::bitCounts({ 1, 4, 8 }), 0,
    std::numeric_limits<int>::max(), base::BitmapRules::Pixels::Indices };

} // namespace

FrameBitmapFile::FrameBitmapFile(std::size_t size)
    : m_size(size)
{
    KeptFile& kept = keptFile();
    if (kept.inUse) {
        m_own = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        m_data = m_own.get();
        return;
    }
    m_data = kept.buffer.get(size);
    kept.inUse = m_kept = true;
}

FrameBitmapFile::FrameBitmapFile(FrameBitmapFile&& other) noexcept
    : m_own(std::move(other.m_own))
    , m_data(other.m_data)
    , m_size(other.m_size)
    , m_kept(std::exchange(other.m_kept, false))
{ }

FrameBitmapFile::~FrameBitmapFile()
{
    if (m_kept)
        keptFile().inUse = false;
}

FrameBitmapFile BuildFrameBitmap(
    const TGIFItem& item, bool interlace, bool& damaged, const TProgressEvent* progress)
{
    const int bitCount = bitCountFor(item.PixelBits);
    const int width = item.FrameWidth, height = item.FrameHeight;
    const std::size_t stride = std::size_t((bitCount * width + 31) / 32) * 4;
    const std::size_t imageSize = stride * std::size_t(height);
    const std::size_t paletteSize = (std::size_t(1) << bitCount) * 4;

    FrameBitmapFile file(kHeaders + paletteSize + imageSize);
    std::uint8_t* h = file.bytes().data();
    std::memset(h, 0, kHeaders);
    h[0] = 'B';
    h[1] = 'M';
    base::storeLE32(h + 2, std::uint32_t(imageSize + paletteSize + kHeaders));
    base::storeLE32(h + 10, std::uint32_t(paletteSize + kHeaders));
    base::storeLE32(h + 14, 40);
    base::storeLE32(h + 18, std::uint32_t(width));
    base::storeLE32(h + 22, std::uint32_t(height));
    base::storeLE16(h + 26, 1);
    base::storeLE16(h + 28, std::uint16_t(bitCount));
    base::storeLE32(h + 34, std::uint32_t(imageSize));

    std::uint8_t palette[256 * 4];
    ExpandPalette(item.Colors, palette);
    std::memcpy(h + kHeaders, palette, paletteSize);

    // Without a listener the decoder writes every byte of the rows.
    std::uint8_t* pixels = h + kHeaders + paletteSize;
    if (progress && *progress)
        std::memset(pixels, 0, imageSize);
    static const std::vector<std::uint8_t> none;
    const std::vector<std::uint8_t>& codes = item.CodeStream ? *item.CodeStream : none;
    damaged
        = DecodeLZW(codes, width, height, bitCount, interlace, item.PixelBits, pixels, progress);
    return file;
}

QImage LoadFrameBMP(std::span<const std::uint8_t> bmp)
{
    FrameFileReader in(bmp);
    return base::readBitmapFile(in, kFrameBitmaps);
}

} // namespace gif
