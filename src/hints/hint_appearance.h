#pragma once

#include <QtGlobal>

namespace hints {

// Shape of the hint body.
enum THintShape : quint8 { Rectangle = 0, RoundedRectangle = 1, Ellipse = 2 };

// Text alignment inside the hint, as the platform's text alignment values.
enum THintAlignment : quint8 { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// The four program-wide hint appearance settings. Written only by SetHintAppearance;
// every showing and paint of a TShapedHintWindow reads them.
struct HintAppearance
{
    quint8 shape = Rectangle;
    quint8 shadowDepth = 0;
    bool hasTail = false;
    quint8 alignment = taLeftJustify;

    // True when the hint is more than a plain rectangle, so that what lies beneath it must
    // show through around the body (snapshot needed).
    bool needsSnapshot() const { return shape != Rectangle || shadowDepth > 0 || hasTail; }
};

const HintAppearance& CurrentHintAppearance();

// Stores the four settings, makes TShapedHintWindow the class of the application's hint
// window and, if application hints are on, switches them off and on again so that the
// existing hint window is replaced by a shaped one in the application's hint colour.
// An unknown shape is treated as Rectangle, an unknown alignment as left.
void SetHintAppearance(quint8 shape, quint8 shadowDepth, bool hasTail, quint8 alignment);

} // namespace hints
