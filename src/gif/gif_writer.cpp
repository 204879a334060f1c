#include "gif/gif_writer.h"

#include "base/little_endian.h"
#include "gif/lzw_encoder.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace gif {

namespace {

void require(bool ok, const char* what)
{
    if (!ok)
        throw std::invalid_argument(std::string("WriteGIF: ") + what);
}

int paletteBits(std::size_t size)
{
    for (int bits = 1; bits <= 8; ++bits) {
        if (size == (std::size_t(1) << bits))
            return bits;
    }
    throw std::invalid_argument("WriteGIF: palette size must be a power of two, 2..256");
}

void validateFrame(const GifWriteImage& image, const GifWriteFrame& f)
{
    require(f.left >= 0 && f.top >= 0 && f.width >= 1 && f.height >= 1,
        "frame position or size out of range");
    require(f.left + f.width <= image.screenWidth && f.top + f.height <= image.screenHeight,
        "frame outside the screen");
    require(f.indices.size() == std::size_t(f.width) * std::size_t(f.height),
        "index count does not match the frame size");
    require(f.delayCs >= 0 && f.delayCs <= 0xFFFF, "delay out of range");
    require(f.disposal >= 0 && f.disposal <= 7, "disposal out of range");
    require(f.transparentIndex >= -1 && f.transparentIndex < int(image.globalPalette.size()),
        "transparent index out of range");
    for (std::uint8_t v : f.indices)
        require(v < image.globalPalette.size(), "colour index beyond the palette");
}

} // namespace

std::vector<std::uint8_t> WriteGIF(const GifWriteImage& image)
{
    require(image.screenWidth >= 1 && image.screenWidth <= 0xFFFF && image.screenHeight >= 1
            && image.screenHeight <= 0xFFFF,
        "screen size out of range");
    const int bits = paletteBits(image.globalPalette.size());
    require(image.backgroundIndex >= 0 && image.backgroundIndex < int(image.globalPalette.size()),
        "background index beyond the palette");
    require(image.loopCount >= -1 && image.loopCount <= 0xFFFF, "loop count out of range");
    for (const GifWriteFrame& f : image.frames)
        validateFrame(image, f);

    std::vector<std::uint8_t> out = { 'G', 'I', 'F', '8', '9', 'a' };
    base::appendLE16(out, image.screenWidth);
    base::appendLE16(out, image.screenHeight);
    out.push_back(std::uint8_t(0x80 | 0x70 | (bits - 1))); // global table, resolution 8
    out.push_back(std::uint8_t(image.backgroundIndex));
    out.push_back(0); // no aspect ratio
    for (std::uint32_t rgb : image.globalPalette) {
        out.push_back(std::uint8_t(rgb >> 16));
        out.push_back(std::uint8_t(rgb >> 8));
        out.push_back(std::uint8_t(rgb));
    }

    if (image.loopCount >= 0) {
        const char id[] = "NETSCAPE2.0";
        out.insert(out.end(), { 0x21, 0xFF, 11 });
        out.insert(out.end(), id, id + 11);
        out.insert(out.end(), { 3, 1 });
        base::appendLE16(out, image.loopCount);
        out.push_back(0);
    }

    const int minCodeSize = bits < 2 ? 2 : bits;
    for (const GifWriteFrame& f : image.frames) {
        const bool transparent = f.transparentIndex >= 0;
        out.insert(out.end(), { 0x21, 0xF9, 4 });
        out.push_back(std::uint8_t(f.disposal << 2 | (transparent ? 1 : 0)));
        base::appendLE16(out, f.delayCs);
        out.push_back(std::uint8_t(transparent ? f.transparentIndex : 0));
        out.push_back(0);

        out.push_back(0x2C);
        base::appendLE16(out, f.left);
        base::appendLE16(out, f.top);
        base::appendLE16(out, f.width);
        base::appendLE16(out, f.height);
        out.push_back(0); // no local table, not interlaced

        out.push_back(std::uint8_t(minCodeSize));
        const std::vector<std::uint8_t> codes = EncodeLZW(f.indices, minCodeSize);
        for (std::size_t pos = 0; pos < codes.size(); pos += 255) {
            const std::size_t n = std::min<std::size_t>(255, codes.size() - pos);
            out.push_back(std::uint8_t(n));
            out.insert(out.end(), codes.begin() + pos, codes.begin() + pos + n);
        }
        out.push_back(0);
    }
    out.push_back(0x3B);
    return out;
}

} // namespace gif
