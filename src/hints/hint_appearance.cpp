#include "hints/hint_appearance.h"

#include "hints/application.h"
#include "hints/shaped_hint_window.h"

namespace hints {

namespace {
HintAppearance& appearance()
{
    static HintAppearance value;
    return value;
}
} // namespace

const HintAppearance& CurrentHintAppearance()
{
    return appearance();
}

void SetHintAppearance(quint8 shape, quint8 shadowDepth, bool hasTail, quint8 alignment)
{
    HintAppearance& a = appearance();
    a.shape = shape <= Ellipse ? shape : quint8(Rectangle);
    a.shadowDepth = shadowDepth;
    a.hasTail = hasTail;
    a.alignment = alignment <= taCenter ? alignment : quint8(taLeftJustify);

    Application& app = Application::instance();
    app.setHintWindowClass([] { return std::make_unique<TShapedHintWindow>(); });
    if (app.showHint()) {
        app.setShowHint(false);
        app.setShowHint(true);
    }
}

} // namespace hints
