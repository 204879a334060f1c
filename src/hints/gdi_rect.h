#pragma once

#include <QRect>

namespace hints {

// A rectangle as the hint formulas use it: left/top inclusive, right/bottom exclusive.
struct TRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    void offset(int dx, int dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void inflate(int dx, int dy)
    {
        left -= dx;
        right += dx;
        top -= dy;
        bottom += dy;
    }
    QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
    static TRect fromQRect(const QRect& r)
    {
        return { r.left(), r.top(), r.left() + r.width(), r.top() + r.height() };
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

} // namespace hints
