#pragma once
// The one table of the window's colours: those its design gives by value, and the system colours
// it names, in the classic desktop scheme, so the pages look the same on every desktop.

#include "base/colour.h"

#include <QColor>

namespace colours {
inline constexpr QRgb Maroon = 0xFF800000, Navy = 0xFF000080, White = 0xFFFFFFFF,
                      Yellow = 0xFFFFFF00, Pink = 0xFFFFBFBF, Blue = 0xFF0000FF;

inline const QColor BtnFace = base::ClassicQColor(base::SystemColor::BtnFace);
inline const QColor BtnHighlight = base::ClassicQColor(base::SystemColor::BtnHighlight);
inline const QColor Light = base::ClassicQColor(base::SystemColor::Light3D);
inline const QColor BtnShadow = base::ClassicQColor(base::SystemColor::BtnShadow);
inline const QColor DkShadow = base::ClassicQColor(base::SystemColor::DkShadow3D);
inline const QColor WindowFrame = base::ClassicQColor(base::SystemColor::WindowFrame);
inline const QColor WindowText = base::ClassicQColor(base::SystemColor::WindowText);
} // namespace colours
