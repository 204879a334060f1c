#pragma once
// LZW expansion of one GIF frame's code stream into colour indices.
//
// The code stream is what the reader keeps per frame: the LZW minimum code size byte, then the
// data sub-blocks (length byte + bytes), normally ending with the zero-length terminator.
//
// Damage handling follows TolerateDamage: with it set, a code size outside 2..9 is clamped and
// decoding stops after the codes that follow a clear; a runaway string (more than 4096 table
// values for one code) stops decoding; data that ends before the last pixel stops decoding. Each
// of these returns true (the frame is damaged) and keeps the pixels written so far. With it
// cleared they throw EInvalidGraphicOperation ("GIF code size not in range 2 to 9", "GIF encoded
// data is corrupt", "Stream read error"). An empty code stream, or a sub-block that promises more
// bytes than the stream holds (when decoding gets there), throws EReadError("Stream read error").
// An EndCode ends decoding; a ClearCode directly followed by an EndCode ends it too, and repeated
// ClearCodes count as one. Surplus pixels are ignored, missing ones stay 0.

#include <QString>

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace gif {

enum class TProgressStage { psStarting, psRunning, psEnding };
// Progress listener: stage, percentage 0..100, message (empty except for a failure's text).
using TProgressEvent = std::function<void(TProgressStage stage, int percent, const QString& msg)>;

// Decodes into `pixels`: `height` rows of ((bitCount * width + 31) / 32) * 4 bytes, bottom-up
// (image row 0 is the last row), bitCount 1, 4 or 8 (any other bit count writes nothing). Without
// a listener every byte of the rows is written (pixels not decoded and the rows' padding are 0),
// so the buffer may hold anything; with one it must be zero-filled. Codes not above
// 2^pixelBits - 1 are colour indices (pixelBits 0..8, else std::invalid_argument). With a
// listener, progress is reported once per code (starting 0 %, running with the share of the code
// stream read, ending 100 %, or ending 0 % with the message of a failure that passes through).
// Returns the damage flag.
bool DecodeLZW(std::span<const std::uint8_t> codeStream, int width, int height, int bitCount,
    bool interlace, int pixelBits, std::uint8_t* pixels, const TProgressEvent* progress = nullptr);

// The same decoding, returning one byte per pixel in image order (top row first, interlaced rows
// already put in place): width * height indices. `damaged` receives the damage flag.
std::vector<std::uint8_t> DecodeLZWIndices(std::span<const std::uint8_t> codeStream, int width,
    int height, bool interlace, int pixelBits, bool& damaged);

// The same decoding into the calling thread's own buffer, one byte per pixel with the rows in
// the order they are stored (an interlaced frame's in pass order: NextInterlacedRow says where
// each goes): width * height indices, valid until the thread decodes again. For a caller that
// puts the rows where it keeps them. `damaged` receives the damage flag.
const std::uint8_t* DecodeLZWLinear(
    std::span<const std::uint8_t> codeStream, int width, int height, int pixelBits, bool& damaged);

// The row written after row y of an interlaced frame of the given height; `pass` (0..3, starting
// at 0) is advanced as passes end. A result >= height means the frame is complete.
int NextInterlacedRow(int y, int height, int& pass);

} // namespace gif
