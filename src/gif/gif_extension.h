#pragma once
// An extension block as read from a GIF stream: its kind, the fixed part exactly as read (starting
// with the block-size byte) and its data sub-blocks.

#include <QByteArrayList>

#include <array>
#include <cstdint>
#include <optional>

namespace gif {

enum class TExtensionKind : std::uint8_t {
    ekGraphicControl = 0,
    ekPlainText = 1,
    ekApplication = 2,
    ekComment = 3,
};

// Label bytes per kind, in the order of TExtensionKind.
inline constexpr std::array<std::uint8_t, 4> ExtensionLabels = { 0xF9, 0x01, 0xFF, 0xFE };

class TExtension
{
public:
    TExtensionKind Kind = TExtensionKind::ekGraphicControl;
    // Graphic control: size, flags, delay (LE, 1/100 s), transparent index, terminator (6 read);
    // plain text: size and 12 grid bytes (13); application: size, 8-byte id, 3-byte code (12).
    std::array<std::uint8_t, 13> Header {};
    std::optional<QByteArrayList> SubBlocks; // one entry per sub-block, in file order

    // Copies Kind, the whole Header and the sub-block strings.
    void Assign(const TExtension& source);

    // Graphic control fields (meaningful for ekGraphicControl only).
    std::uint8_t Flags() const { return Header[1]; }
    bool HasTransparency() const { return Header[1] & 1; }
    int Disposal() const { return Header[1] >> 2 & 7; }
    int DelayCs() const { return Header[2] | Header[3] << 8; }
    int TransparentIndex() const { return Header[4]; }
};

} // namespace gif
