#pragma once

#include <QFont>

namespace hints {

// "MS Sans Serif" and "Microsoft Sans Serif" map to Liberation Sans at the same pixel height.
// 8 pt at 96 dpi is 11 pixels.
QFont FallbackHintFont();

// The hint font: the platform's status-bar font where the platform names one (the
// application's font for "QStatusBar" differs from its general font), else the fallback.
QFont HintFont();

} // namespace hints
