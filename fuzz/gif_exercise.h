#pragma once
// What the fuzzer does with one input, shared with the regression test that replays the inputs
// the fuzzer once failed on: load arbitrary bytes as a GIF, build and draw every frame's bitmap,
// copy the picture, and hold the fast decoder to the step-by-step one on every frame (with and
// without damage tolerance). A difference between the two decoders aborts.

#include "base/transparent_draw.h"
#include "gif/gif_image.h"
#include "gif/gif_reader.h"
#include "gif/lzw_reference.h"

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <exception>
#include <span>
#include <vector>

namespace gif_exercise {

// Frames above this many pixels are left alone, so a 65535 x 65535 descriptor in a few bytes
// does not turn into a 4 GB allocation in the fuzzer.
constexpr long kMaxPixels = 1 << 20;

inline bool small(const gif::TGIFItem& item)
{
    return long(item.FrameWidth) * long(item.FrameHeight) <= kMaxPixels;
}

inline void compareDecoders(const gif::TGIFFrame& frame)
{
    const gif::TGIFItem& item = frame.Item();
    if (!item.CodeStream || item.PixelBits > 8)
        return;
    const int w = item.FrameWidth, h = item.FrameHeight;
    for (int bitCount : { 1, 4, 8 }) {
        const std::size_t size = std::size_t((bitCount * w + 31) / 32) * 4 * std::size_t(h);
        std::vector<std::uint8_t> fast(size), reference(size);
        int fastResult = -1, referenceResult = -1; // -1 threw, else the damage flag
        try {
            fastResult = gif::DecodeLZW(
                *item.CodeStream, w, h, bitCount, frame.Interlace, item.PixelBits, fast.data());
        } catch (const std::exception&) { }
        try {
            referenceResult = gif::detail::DecodeLZWReference(*item.CodeStream, w, h, bitCount,
                frame.Interlace, item.PixelBits, reference.data(), nullptr);
        } catch (const std::exception&) { }
        if (fastResult != referenceResult || (fastResult >= 0 && fast != reference))
            std::abort();
    }
}

} // namespace gif_exercise

inline void ExerciseGif(const std::uint8_t* data, std::size_t size)
{
    gif::TGIFImage image;
    try {
        gif::LoadGIF(image, std::span<const std::uint8_t>(data, size), false);
    } catch (const std::exception&) { }
    bool allSmall = true;
    for (int i = 0; i < image.Count(); ++i)
        allSmall = allSmall && gif_exercise::small(image.Frames(i).Item());
    if (!allSmall)
        return;

    QImage canvas(40, 30, QImage::Format_RGB32);
    canvas.fill(0x123456);
    for (int i = 0; i < image.Count(); ++i) {
        gif::TGIFFrame& frame = image.Frames(i);
        for (bool tolerate : { true, false }) {
            gif::TolerateDamage = tolerate;
            gif_exercise::compareDecoders(frame);
        }
        gif::TolerateDamage = true;
        try {
            const QImage& bitmap = frame.FrameBitmap();
            QPainter painter(&canvas);
            frame.Draw(painter, QRect(frame.Left % 40 - 5, frame.Top % 30 - 5, 23, 17), true);
            painter.end();
            base::StretchDrawTransparent(canvas, 3, 2, 0, 0, QRect(), bitmap, gif::clDefault);
        } catch (const std::exception&) { }
    }
    try {
        gif::TGIFImage copy;
        copy.Assign(&image);
        copy.Width();
        gif::TBitmap bitmap;
        copy.CopyTo(bitmap);
        if (copy.Count() > 0)
            copy.Assign(copy.Frames(copy.Count() - 1));
    } catch (const std::exception&) { }
}
