#include "gif/lzw_decoder.h"

#include "gif/lzw_linear.h"
#include "gif/lzw_reference.h"

#include <cstring>
#include <memory>
#include <stdexcept>

// The fast decoder (lzw_linear.cpp) writes indices in the order they come; here its rows are put
// in place: packed bottom-up bitmap rows for DecodeLZW, image rows for DecodeLZWIndices.

namespace gif {

namespace {

void checkPixelBits(int pixelBits)
{
    if (pixelBits < 0 || pixelBits > 8)
        throw std::invalid_argument("DecodeLZW: pixel bits must be 0..8");
}

// Calls put(k, y) for the k-th row written and the image row y it belongs to.
template <typename Put> void forEachRow(int height, bool interlace, Put put)
{
    int pass = 0;
    std::size_t k = 0;
    for (int y = 0; y < height; y = interlace ? NextInterlacedRow(y, height, pass) : y + 1)
        put(k++, y);
}

void packRow(const std::uint8_t* src, int width, int bitCount, std::uint8_t* row)
{
    switch (bitCount) {
    case 8:
        std::memcpy(row, src, std::size_t(width));
        break;
    case 4: {
        // Even pixels set the high nibble (shifted out bits are lost), odd pixels OR in.
        int x = 0;
        for (; x + 1 < width; x += 2)
            row[x / 2] = std::uint8_t(src[x] << 4) | src[x + 1];
        if (x < width)
            row[x / 2] = std::uint8_t(src[x] << 4);
        break;
    }
    case 1:
        for (int x = 0; x < width; x += 8) {
            std::uint8_t b = std::uint8_t(src[x] << 7);
            for (int k = 1; k < 8 && x + k < width; ++k)
                b |= std::uint8_t(src[x + k] << (7 - k));
            row[x / 8] = b;
        }
        break;
    default:
        break;
    }
}

} // namespace

int NextInterlacedRow(int y, int height, int& pass)
{
    y += pass <= 1 ? 8 : pass == 2 ? 4 : 2;
    if (y < height)
        return y;
    if (pass == 0) {
        pass = 1;
        if (height > 4)
            return 4;
    }
    if (pass == 1) {
        pass = 2;
        if (height > 2)
            return 2;
    }
    if (pass == 2) {
        pass = 3;
        return 1;
    }
    return y;
}

bool DecodeLZW(std::span<const std::uint8_t> codeStream, int width, int height, int bitCount,
    bool interlace, int pixelBits, std::uint8_t* pixels, const TProgressEvent* progress)
{
    checkPixelBits(pixelBits);
    if (progress && *progress)
        return detail::DecodeLZWReference(
            codeStream, width, height, bitCount, interlace, pixelBits, pixels, progress);
    const std::size_t w = width > 0 ? std::size_t(width) : 0;
    const std::size_t h = height > 0 ? std::size_t(height) : 0;
    const std::size_t total = w * h;
    bool damaged = false;
    const std::uint8_t* const lin = DecodeLZWLinear(codeStream, width, height, pixelBits, damaged);
    if (total == 0 || (bitCount != 1 && bitCount != 4 && bitCount != 8))
        return damaged;
    const std::size_t stride = std::size_t((bitCount * width + 31) / 32) * 4;
    const std::size_t used = (w * std::size_t(bitCount) + 7) / 8;
    forEachRow(height, interlace, [&](std::size_t k, int y) {
        std::uint8_t* row = pixels + std::size_t(height - 1 - y) * stride;
        packRow(lin + k * w, width, bitCount, row);
        for (std::size_t pad = used; pad < stride; ++pad)
            row[pad] = 0;
    });
    return damaged;
}

std::vector<std::uint8_t> DecodeLZWIndices(std::span<const std::uint8_t> codeStream, int width,
    int height, bool interlace, int pixelBits, bool& damaged)
{
    checkPixelBits(pixelBits);
    const std::size_t w = width > 0 ? std::size_t(width) : 0;
    const std::size_t h = height > 0 ? std::size_t(height) : 0;
    const std::size_t total = w * h;
    if (!interlace || total == 0) {
        // Decoded where the indices are kept (the room the decoder needs past them stays as the
        // vector's spare capacity).
        std::vector<std::uint8_t> indices(detail::linearBufferSize(total));
        damaged = detail::decodeLinear(codeStream, total, pixelBits, indices.data());
        indices.resize(total);
        return indices;
    }
    // Rows come in pass order: decoded aside, then put in place.
    const std::uint8_t* const lin = DecodeLZWLinear(codeStream, width, height, pixelBits, damaged);
    std::vector<std::uint8_t> image(total);
    forEachRow(height, interlace, [&](std::size_t k, int y) {
        std::memcpy(image.data() + std::size_t(y) * w, lin + k * w, w);
    });
    return image;
}

const std::uint8_t* DecodeLZWLinear(
    std::span<const std::uint8_t> codeStream, int width, int height, int pixelBits, bool& damaged)
{
    checkPixelBits(pixelBits);
    const std::size_t total
        = (width > 0 ? std::size_t(width) : 0) * (height > 0 ? std::size_t(height) : 0);
    std::uint8_t* const lin = detail::LinearScratch().get(detail::linearBufferSize(total));
    damaged = detail::decodeLinear(codeStream, total, pixelBits, lin);
    return lin;
}

} // namespace gif
