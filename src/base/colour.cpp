#include "base/colour.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <optional>

namespace base {

namespace {

struct Entry
{
    QRgb classic;
    std::optional<QPalette::ColorRole> role; // where the platform's palette has this colour
};

// The classic desktop scheme, by system colour index.
constexpr std::array<Entry, std::size_t(SystemColor::Count)> kScheme { {
    { 0xC8D0D4, {} }, // scroll bar
    { 0x3A6EA5, {} }, // desktop
    { 0x0A246A, {} },
    { 0x808080, {} },
    { 0xD4D0C8, {} },
    { 0xFFFFFF, {} }, // window
    { 0x000000, {} }, // window frame
    { 0x000000, {} },
    { 0x000000, QPalette::WindowText }, // window text
    { 0xFFFFFF, {} },
    { 0xD4D0C8, {} },
    { 0xD4D0C8, {} },
    { 0x808080, {} },
    { 0x0A246A, {} },
    { 0xFFFFFF, {} },
    { 0xD4D0C8, QPalette::Button }, // button face
    { 0x808080, {} }, // button shadow
    { 0x808080, {} },
    { 0x000000, {} },
    { 0xD4D0C8, {} },
    { 0xFFFFFF, {} }, // button highlight
    { 0x404040, QPalette::Shadow }, // 3-D dark shadow
    { 0xD4D0C8, QPalette::Midlight }, // 3-D light
    { 0x000000, QPalette::ToolTipText }, // tooltip text
    { 0xFFFFE1, QPalette::ToolTipBase }, // tooltip background
    { 0xB5B5B5, {} },
    { 0x000080, {} },
    { 0xA6CAF0, {} },
    { 0xC0C0C0, {} },
    { 0x316AC5, {} },
    { 0xECE9D8, {} },
} };

} // namespace

QRgb ClassicColor(SystemColor which)
{
    const auto index = std::size_t(which);
    return 0xFF000000 | (index < kScheme.size() ? kScheme[index].classic : 0);
}

QColor PlatformColor(SystemColor which)
{
    const auto index = std::size_t(which);
    if (index < kScheme.size() && kScheme[index].role
        && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::palette().color(QPalette::Active, *kScheme[index].role);
    return ClassicQColor(which);
}

QRgb ColorToRGB(TColor color)
{
    if ((color & 0xFF000000) == 0xFF000000)
        return ClassicColor(SystemColor(color & 0xFF));
    if (color == clNone || color == clDefault)
        return qRgb(0, 0, 0);
    return qRgb(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

TColor RGBToColor(QRgb rgb)
{
    return TColor(qRed(rgb)) | TColor(qGreen(rgb)) << 8 | TColor(qBlue(rgb)) << 16;
}

} // namespace base
