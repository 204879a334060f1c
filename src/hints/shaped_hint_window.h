#pragma once

#include "hints/gdi_rect.h"
#include "hints/hint_placement.h"
#include "hints/hint_window.h"

#include <QImage>
#include <QRegion>

namespace hints {

// The hint popup drawn by this program: a body (rectangle, rounded rectangle or ellipse),
// an optional dithered drop shadow and an optional speech-bubble tail pointing at the
// mouse pointer, as the program-wide hint appearance settings say. Each paint is composed
// in DrawBuffer and copied to the window in one step; where neither body, shadow nor tail
// is painted the screen as it was before the hint showed (ScreenSnapshot) shows through.
class TShapedHintWindow : public THintWindow
{
public:
    TShapedHintWindow();
    ~TShapedHintWindow() override;

    // Sets ShapeRect, TextRect, CornerSize, TailDX and TailDY for `text` wrapped at
    // maxWidth; the size of the result is the window size. For the grown shapes the
    // result's left and top may be negative.
    QRect MeasureHint(int maxWidth, const QString& text) override;
    // Measures with the screen width, places the window at rect's top-left fitted to the
    // screen around the pointer, takes the snapshot of what lies beneath (only for shaped,
    // shadowed or tailed hints: this program's own windows drawn by themselves, the screen's
    // pixels elsewhere) and shows the window without activating it.
    void ShowHintAt(const QRect& rect, const QString& text) override;

    // The region of the body plus tail; with shadow = true moved by the shadow depth.
    QRegion BuildHintRegion(bool shadow) const;

    // Composes the whole window into DrawBuffer (what a paint copies to the screen).
    void ComposeDrawBuffer();

    const QImage& ScreenSnapshot() const { return m_screenSnapshot; }
    const QImage& DrawBuffer() const { return m_drawBuffer; }
    TQuadrant Quadrant() const { return m_quadrant; }
    TRect ShapeRect() const { return m_shapeRect; }
    TRect TextRect() const { return m_textRect; }
    int TailDX() const { return m_tailDX; }
    int TailDY() const { return m_tailDY; }
    int CornerSize() const { return m_cornerSize; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void takeSnapshot(const QRect& placed);
    QImage deviceImage(const QSize& size) const;

    QImage m_screenSnapshot;
    QImage m_drawBuffer;
    TQuadrant m_quadrant = BelowRight;
    TRect m_shapeRect;
    TRect m_textRect;
    int m_tailDX = 0;
    int m_tailDY = 0;
    int m_cornerSize = 0;
};

// Round to the nearest integer, halves to even.
int RoundHalfEven(double value);

// Horizontal and vertical growth of an ellipse body around a w × h text box, so that the
// inscribed ellipse passes through the box's corners; (0, 0) when w or h is 0.
QPoint EllipseGrowth(int w, int h);

} // namespace hints
