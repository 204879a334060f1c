#pragma once
// Parsing a GIF stream (87a or 89a) into a TGIFImage: image-level data, frames with their
// still-encoded code streams, colour tables and the extension blocks before them.

#include "gif/gif_extension.h"
#include "gif/gif_types.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class QIODevice;

namespace gif {

class TGIFImage;

// Reads exactly `size` bytes from `stream` (EReadError "Stream read error" when fewer remain, or
// for a negative size) and parses them into `image`, which is cleared first. With frames,
// FrameIndex becomes 0 and with decodeFirst the first frame's bitmap is built (if that fails the
// frame is removed and the failure propagates). Then PaletteModified is set and OnChange fires,
// also when there are no frames. Frames read before a failure stay in the image.
// Throws EInvalidGraphicOperation: "Unknown GIF version", "Unrecognized extension block: %.2x",
// "Stream read error" (a byte that cannot start a block before any frame or after an extension
// run; a frame whose sub-block runs past the end while TolerateDamage is off); EReadError "Stream
// read error" when the data ends inside an image descriptor, a local colour table or before the
// code size byte.
void LoadGIF(TGIFImage& image, qint64 size, QIODevice& stream, bool decodeFirst);
// The same over bytes already in memory.
void LoadGIF(TGIFImage& image, std::span<const std::uint8_t> data, bool decodeFirst);

// The loop count of an application block, when it is a NETSCAPE2.0 / ANIMEXTS1.0 loop block.
std::optional<int> LoopBlockCount(const TExtension& e);
bool IsLoopBlock(const TExtension& e);

} // namespace gif
