#pragma once
// The system colours the window's design names, in the classic desktop scheme, so the pages
// look the same on every desktop.

#include "base/colour.h"

#include <QColor>

namespace colours {
inline const QColor BtnFace = base::ClassicQColor(base::SystemColor::BtnFace);
inline const QColor BtnHighlight = base::ClassicQColor(base::SystemColor::BtnHighlight);
inline const QColor Light = base::ClassicQColor(base::SystemColor::Light3D);
inline const QColor BtnShadow = base::ClassicQColor(base::SystemColor::BtnShadow);
inline const QColor DkShadow = base::ClassicQColor(base::SystemColor::DkShadow3D);
inline const QColor WindowFrame = base::ClassicQColor(base::SystemColor::WindowFrame);
inline const QColor WindowText = base::ClassicQColor(base::SystemColor::WindowText);
} // namespace colours
