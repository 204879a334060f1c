#pragma once

#include <QColor>

// The classic desktop system colours the window's design names.
namespace colours {
inline const QColor BtnFace { 212, 208, 200 };
inline const QColor BtnHighlight { 255, 255, 255 };
inline const QColor Light { 212, 208, 200 };
inline const QColor BtnShadow { 128, 128, 128 };
inline const QColor DkShadow { 64, 64, 64 };
inline const QColor WindowFrame { 0, 0, 0 };
inline const QColor WindowText { 0, 0, 0 };
} // namespace colours
