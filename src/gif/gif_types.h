#pragma once
// Colour values, colour tables and the failures of the GIF subsystem.

#include "base/colour.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace gif {

// Colours are those of the drawing routines: 32-bit, red lowest; clNone for no colour.
using base::clDefault;
using base::clNone;
using base::TColor;

// A bitmap as pictures hand it to one another: the image plus the transparency marks a bitmap
// carries (TransparentColor clDefault stands for the bottom-left pixel's colour).
struct TBitmap
{
    QImage Image;
    bool Transparent = false;
    TColor TransparentColor = clDefault;
};

// A GIF colour table: Count valid entries (0, or a power of two 2..256), red, green, blue in file
// order; entries at and above Count are zero.
struct TGIFRGBTable
{
    std::int32_t Count = 0;
    std::array<std::uint8_t, 256 * 3> Entries {};
    bool operator==(const TGIFRGBTable&) const = default;
};

inline TColor TripleToColor(const TGIFRGBTable& table, int index)
{
    const std::uint8_t* e = &table.Entries[std::size_t(index) * 3];
    return TColor(e[0]) | TColor(e[1]) << 8 | TColor(e[2]) << 16;
}

// Failures of this subsystem. Both carry the fixed message texts below.
class EInvalidGraphicOperation : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};
class EReadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* SUnknownVersion = "Unknown GIF version";
inline constexpr const char* SEncodingError = "GIF image encoding error";
inline constexpr const char* SCorruptData = "GIF encoded data is corrupt";
inline constexpr const char* SCodeSizeRange = "GIF code size not in range 2 to 9";
inline constexpr const char* SWrongColorCount = "Wrong number of colors; must be a power of 2";
inline constexpr const char* SUnknownExtension = "Unrecognized extension block: %.2x";
inline constexpr const char* SNoData = "No GIF Data to write";
inline constexpr const char* SCannotResize = "Cannot change the Size of a GIF image";
inline constexpr const char* SFileDescription = "CompuServe GIF Image";
inline constexpr const char* SReadError = "Stream read error";

// SUnknownExtension with the label as two upper-case hexadecimal digits.
std::string UnknownExtensionMessage(std::uint8_t label);

// Maps 2, 4, 8 … 256 to 1..8; any other count throws EInvalidGraphicOperation(SWrongColorCount).
int ColorCountToBits(int count);

// Damaged input is accepted (and recorded in the frame's Damaged flag) while this is true; with
// false the same conditions throw. The program never changes it.
extern bool TolerateDamage;

} // namespace gif
