#include "hints/hint_placement.h"

namespace hints {

QPoint PlaceHint(const QRect& window, const QPoint& pointer, const QSize& screen, bool hasTail)
{
    const int width = window.width();
    const int height = window.height();
    int left = window.left();
    int top = window.top();

    if (hasTail) {
        const int tailTop = pointer.y() - height - 3;
        if (tailTop >= 0)
            top = tailTop;
        const int tailLeft = pointer.x() + 1;
        if (tailLeft >= 0)
            left = tailLeft;
    }

    if (top + height > screen.height()) {
        top = screen.height() - height;
        if (top <= pointer.y())
            top = pointer.y() - height - 3;
    }
    if (left + width > screen.width()) {
        left = screen.width() - width;
        if (left <= pointer.x())
            left = pointer.x() - width - 3;
    }
    if (left < 0) {
        left = 0;
        if (width >= pointer.x())
            left = pointer.x() - width - 1;
    }
    if (top < 0) {
        top = 0;
        if (height >= pointer.y())
            top = pointer.y() - height - 1;
    }
    return { left, top };
}

TQuadrant HintQuadrant(const QRect& placed, const QPoint& pointer)
{
    const int right = placed.left() + placed.width();
    const int bottom = placed.top() + placed.height();
    const bool above = bottom < pointer.y();
    const bool leftOf = right < pointer.x();
    if (above)
        return leftOf ? AboveLeft : AboveRight;
    return leftOf ? BelowLeft : BelowRight;
}

} // namespace hints
