#pragma once
// Colour values as the pictures and the controls use them, and the one table of system colours.

#include <QColor>
#include <QRgb>

#include <cstdint>

namespace base {

// 32-bit colour: red, green, blue in the low three bytes (red lowest); system colours have the
// high byte 0xFF and their index in the low byte (0xFF000005 is the window background); a
// palette-relative colour has the flag 0x02000000 added to its RGB value.
using TColor = std::uint32_t;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clWindow = 0xFF000005;

// The system colours by their index in the desktop scheme.
enum class SystemColor : std::uint8_t {
    ScrollBar,
    Background,
    ActiveCaption,
    InactiveCaption,
    Menu,
    Window,
    WindowFrame,
    MenuText,
    WindowText,
    CaptionText,
    ActiveBorder,
    InactiveBorder,
    AppWorkspace,
    Highlight,
    HighlightText,
    BtnFace,
    BtnShadow,
    GrayText,
    BtnText,
    InactiveCaptionText,
    BtnHighlight,
    DkShadow3D,
    Light3D,
    InfoText,
    InfoBk,
    Count = 31, // the scheme has 31 entries; the rest have no name here
};

// The classic desktop scheme's value of a system colour (opaque).
QRgb ClassicColor(SystemColor which);
inline QColor ClassicQColor(SystemColor which)
{
    return QColor::fromRgb(ClassicColor(which));
}

// The platform's own value where the application palette has a role for the colour (button
// face, window text, tooltip text and background, 3-D light and dark shadow), the classic value
// otherwise or when there is no GUI application.
QColor PlatformColor(SystemColor which);

// The RGB value a colour stands for: system colours through the classic scheme, palette-relative
// colours without their flag. clNone and clDefault give black.
QRgb ColorToRGB(TColor color);
// The colour of an RGB value (alpha ignored).
TColor RGBToColor(QRgb rgb);

} // namespace base
