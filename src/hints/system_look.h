#pragma once

#include <QColor>
#include <QFont>

namespace hints {

// The system colours the hint drawing names, mapped to the application palette (active
// group). Without a GUI application the classic Windows values are used.
enum class SystemColor {
    BtnFace, // QPalette::Button            fallback (212, 208, 200)
    WindowText, // QPalette::WindowText     fallback (0, 0, 0)
    InfoText, // QPalette::ToolTipText      fallback (0, 0, 0)
    InfoBk, // QPalette::ToolTipBase        fallback (255, 255, 225)
    Light3D, // QPalette::Midlight          fallback (241, 239, 226)  (3-D light)
    DkShadow3D, // QPalette::Shadow         fallback (113, 111, 100)  (3-D dark shadow)
    Background, // QPalette::Window         fallback (0, 78, 152)     (desktop)
};

QColor SystemColorValue(SystemColor which);

// "MS Sans Serif" and "Microsoft Sans Serif" map to Liberation Sans at the same pixel height.
// 8 pt at 96 dpi is 11 pixels.
QFont FallbackHintFont();

// The hint font: the platform's status-bar font where the platform names one (the
// application's font for "QStatusBar" differs from its general font), else the fallback.
QFont HintFont();

} // namespace hints
