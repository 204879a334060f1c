#include "hints/shaped_hint_window.h"

#include "base/colour.h"
#include "hints/gdi_region.h"
#include "hints/hint_appearance.h"
#include "hints/hint_text.h"
#include "hints/shadow_pattern.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace hints {

int RoundHalfEven(double value)
{
    const double fl = std::floor(value);
    const double diff = value - fl;
    double r = fl;
    if (diff > 0.5)
        r = fl + 1;
    else if (diff == 0.5)
        r = std::fmod(fl, 2.0) == 0 ? fl : fl + 1;
    return static_cast<int>(r);
}

QPoint EllipseGrowth(int w, int h)
{
    const double a = w / 2.0;
    const double b = h / 2.0;
    if (a == 0 || b == 0)
        return {};
    const int c = RoundHalfEven(b / 3);
    const double bc2 = (b + c) * (b + c);
    // c is 0 only for a box under 2 pixels high: there is no ellipse through its corners
    // that is c taller, so the box is left as it is horizontally.
    if (c == 0)
        return {};
    const int dx = RoundHalfEven(std::sqrt(a * a * bc2 / (bc2 - b * b))) - RoundHalfEven(a);
    return { dx, c };
}

TShapedHintWindow::TShapedHintWindow() = default;
TShapedHintWindow::~TShapedHintWindow() = default;

QRect TShapedHintWindow::MeasureHint(int maxWidth, const QString& text)
{
    const HintAppearance& look = CurrentHintAppearance();
    const QSize extent = MeasureHintText(font(), text, maxWidth, isRightToLeft());
    TRect r { 0, 0, extent.width(), extent.height() };
    r.right += 8;
    r.bottom += 4;

    m_shapeRect = r;
    m_textRect = r;
    m_textRect.inflate(-1, -1);
    if (look.alignment == taRightJustify)
        m_textRect.offset(-4, 0);
    else if (look.alignment == taCenter)
        m_textRect.offset(-1, 0);

    m_cornerSize = std::max(6, std::min(r.width(), r.height()) / 4);

    if (look.shape == RoundedRectangle) {
        m_shapeRect.inflate(m_cornerSize / 4, m_cornerSize / 4);
    } else if (look.shape == Ellipse) {
        const QPoint grow = EllipseGrowth(m_shapeRect.width(), m_shapeRect.height());
        m_shapeRect.inflate(grow.x(), grow.y());
    }

    TRect result = m_shapeRect;
    m_shapeRect.offset(-result.left, -result.top);
    m_textRect.offset(-result.left, -result.top);

    result.right += look.shadowDepth;
    result.bottom += look.shadowDepth;

    m_tailDX = 0;
    m_tailDY = 0;
    if (look.hasTail) {
        const int t = std::max(14, std::min(m_textRect.width(), m_textRect.height()) / 2);
        m_tailDY = t;
        m_tailDX = t - 8;
        result.right += t - 8;
        result.bottom += t;
    }
    return result.toQRect();
}

void TShapedHintWindow::ShowHintAt(const QRect& rect, const QString& text)
{
    const HintAppearance& look = CurrentHintAppearance();
    setHintText(text);
    const QPoint pointer = pointerPos();
    const QSize screen = screenSize();
    m_quadrant = BelowRight;

    QRect bounds = MeasureHint(screen.width(), text);
    bounds.moveTopLeft(rect.topLeft());
    const QRect placed(PlaceHint(bounds, pointer, screen, look.hasTail), bounds.size());

    if (look.needsSnapshot()) {
        m_quadrant = HintQuadrant(placed, pointer);
        if (look.hasTail) {
            if (m_quadrant == BelowRight || m_quadrant == BelowLeft) {
                m_shapeRect.offset(0, m_tailDY);
                m_textRect.offset(0, m_tailDY);
            }
            if (m_quadrant == AboveRight || m_quadrant == BelowRight) {
                m_shapeRect.offset(m_tailDX, 0);
                m_textRect.offset(m_tailDX, 0);
            }
        }
        if (isVisible()) {
            // The previous hint must not end up in the snapshot.
            hide();
            QWidget* form = QApplication::activeWindow();
            if (form && form != this)
                form->repaint();
        }
        takeSnapshot(placed);
    }

    const bool wasVisible = isVisible();
    setGeometry(placed);
    show();
    if (wasVisible)
        raise();
    update();
}

// An image of `size` (in the layout's pixels) in the device pixels of the hint's screen.
QImage TShapedHintWindow::deviceImage(const QSize& size) const
{
    const qreal ratio = devicePixelRatio();
    QImage image(ratio == 1.0 ? size : (QSizeF(size) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return image;
}

namespace {

// This program's visible windows other than hints, the active one last (it lies on top).
QList<QWidget*> ownWindows()
{
    QList<QWidget*> windows;
    QWidget* active = QApplication::activeWindow();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != active && w->isVisible() && !w->isMinimized() && !dynamic_cast<THintWindow*>(w))
            windows.append(w);
    }
    if (active && active->isVisible() && !dynamic_cast<THintWindow*>(active))
        windows.append(active);
    return windows;
}

} // namespace

void TShapedHintWindow::takeSnapshot(const QRect& placed)
{
    m_screenSnapshot = deviceImage(placed.size());
    m_screenSnapshot.fill(color());
    const QRect visible = placed.intersected(QRect(QPoint(0, 0), screenSize()));
    if (visible.isEmpty())
        return;
    // Over our own windows, their own pixels: where the screen cannot be read back (an X11
    // program under XWayland reads black) the hint still shows the list beneath it. The
    // screen's pixels only for the rest; a grab of a denser screen keeps its detail.
    QPainter p(&m_screenSnapshot);
    const QList<QWidget*> windows = ownWindows();
    QRegion fromScreen(visible);
    for (const QWidget* w : windows)
        fromScreen -= QRect(ScreenOrigin(w), w->size());
    if (!fromScreen.isEmpty()) {
        const QRect rest = fromScreen.boundingRect();
        p.drawImage(rest.topLeft() - placed.topLeft(), grabScreen(rest));
    }
    for (QWidget* w : windows) {
        const QPoint origin = ScreenOrigin(w);
        const QRect over = QRect(origin, w->size()).intersected(visible);
        if (!over.isEmpty())
            p.drawPixmap(over.topLeft() - placed.topLeft(), w->grab(over.translated(-origin)));
    }
}

QRegion TShapedHintWindow::BuildHintRegion(bool shadow) const
{
    const HintAppearance& look = CurrentHintAppearance();
    const int d = look.shadowDepth;
    TRect r = m_shapeRect;
    if (shadow)
        r.offset(d, d);

    QRegion region;
    if (look.shape == RoundedRectangle)
        region = RoundRectRegion(r, m_cornerSize, m_cornerSize);
    else if (look.shape == Ellipse)
        region = EllipseRegion(r);
    else
        region = RectRegion(r);

    if (look.hasTail) {
        TRect t = m_textRect;
        int x = (m_quadrant == AboveLeft || m_quadrant == BelowLeft) ? width() : 0;
        if (shadow) {
            t.offset(d, d);
            x += d;
        }
        const int s = std::min(std::max(8, std::min(t.width(), t.height()) / 4), t.width() / 2);
        QPolygon tail;
        switch (m_quadrant) {
        case AboveRight:
            tail << QPoint(x, height() - d) << QPoint(t.left + s / 4, t.bottom)
                 << QPoint(t.left + 2 * s, t.bottom);
            break;
        case AboveLeft:
            tail << QPoint(x, height() - d) << QPoint(t.right - s / 4, t.bottom)
                 << QPoint(t.right - 2 * s, t.bottom);
            break;
        case BelowRight:
            tail << QPoint(x, 0) << QPoint(t.left + s / 4, t.top) << QPoint(t.left + 2 * s, t.top);
            break;
        case BelowLeft:
            tail << QPoint(x, 0) << QPoint(t.right - s / 4, t.top)
                 << QPoint(t.right - 2 * s, t.top);
            break;
        }
        region = region.united(PolygonRegion(tail));
    }
    return region;
}

void TShapedHintWindow::ComposeDrawBuffer()
{
    const HintAppearance& look = CurrentHintAppearance();
    m_drawBuffer = deviceImage(size());
    m_drawBuffer.fill(color());
    QPainter p(&m_drawBuffer);
    p.setFont(font());

    if (look.needsSnapshot())
        p.drawImage(0, 0, m_screenSnapshot);

    const QRegion body = BuildHintRegion(false);
    const QRegion shadow = BuildHintRegion(true);
    // The dithered shadow alternates device pixels, however dense the screen.
    QImage tile = ShadowPattern(base::PlatformColor(base::SystemColor::BtnFace),
        base::PlatformColor(base::SystemColor::WindowText));
    tile.setDevicePixelRatio(m_drawBuffer.devicePixelRatio());
    PaintRegion(p, shadow, QBrush(tile));
    PaintRegion(p, body, color());
    if (look.shape != Rectangle || look.hasTail) {
        PaintRegion(p, FrameRegion(body, 1, 1), fontColor());
    } else {
        DrawRaisedOuterEdge(p, m_shapeRect, base::PlatformColor(base::SystemColor::Light3D),
            base::PlatformColor(base::SystemColor::DkShadow3D));
    }

    TRect t = m_textRect;
    if (look.alignment == taLeftJustify)
        t.left += 2;
    p.setPen(fontColor());
    DrawHintText(p, font(), t.toQRect(), text(), look.alignment, isRightToLeft());
}

void TShapedHintWindow::paintEvent(QPaintEvent*)
{
    ComposeDrawBuffer();
    QPainter p(this);
    p.drawImage(0, 0, m_drawBuffer);
}

} // namespace hints
