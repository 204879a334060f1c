#include "hints/hint_window.h"

#include "base/colour.h"
#include "hints/hint_appearance.h"
#include "hints/hint_text.h"
#include "hints/system_look.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace hints {

namespace {
const char* const kScreenOrigin = "hints.screenOrigin";
} // namespace

void NoteScreenOrigin(QWindow* window, QPoint origin)
{
    window->setProperty(kScreenOrigin, origin);
}

QPoint ScreenOrigin(const QWidget* widget)
{
    const QWidget* top = widget->window();
    const QWindow* window = top->windowHandle();
    const QVariant noted = window ? window->property(kScreenOrigin) : QVariant();
    if (!noted.isValid())
        return widget->mapToGlobal(QPoint(0, 0));
    return noted.toPoint() + widget->mapTo(top, QPoint(0, 0));
}

THintWindow::THintWindow()
    : QWidget(nullptr,
        Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
            | Qt::WindowTransparentForInput)
    , m_color(base::PlatformColor(base::SystemColor::InfoBk))
    , m_fontColor(base::PlatformColor(base::SystemColor::InfoText))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Every pixel is painted from the composed buffer: nothing is erased first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setFont(HintFont());
}

THintWindow::~THintWindow() = default;

void THintWindow::setOwner(QWidget* window)
{
    QWindow* owner = window ? window->windowHandle() : nullptr;
    winId(); // the native window, which carries the relation
    if (!owner || windowHandle()->transientParent() == owner)
        return;
    // A popup keeps the parent it was shown with.
    hide();
    windowHandle()->setTransientParent(owner);
}

void THintWindow::setColor(const QColor& color)
{
    if (color == m_color)
        return;
    m_color = color;
    if (isVisible())
        repaint();
}

QRect THintWindow::MeasureHint(int maxWidth, const QString& text)
{
    const QSize r = MeasureHintText(font(), text, maxWidth, isRightToLeft());
    return QRect(0, 0, r.width() + 6, r.height() + 2);
}

void THintWindow::ShowHintAt(const QRect& rect, const QString& text)
{
    m_text = text;
    QRect bounds = MeasureHint(screenSize().width(), text);
    bounds.moveTopLeft(rect.topLeft());
    const QSize screen = screenSize();
    if (bounds.right() >= screen.width())
        bounds.moveLeft(screen.width() - bounds.width());
    if (bounds.bottom() >= screen.height())
        bounds.moveTop(screen.height() - bounds.height());
    bounds.moveLeft(qMax(0, bounds.left()));
    bounds.moveTop(qMax(0, bounds.top()));
    const bool wasVisible = isVisible();
    setGeometry(bounds);
    show();
    if (wasVisible)
        raise();
    update();
}

void THintWindow::ShowHintAtWithData(const QRect& rect, const QString& text, const void*)
{
    ShowHintAt(rect, text);
}

void THintWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect all = rect();
    p.fillRect(all, m_color);
    p.setPen(m_fontColor);
    p.drawRect(all.adjusted(0, 0, -1, -1));
    DrawHintText(p, font(), all.adjusted(3, 1, -3, -1), m_text, taLeftJustify, isRightToLeft());
}

QImage THintWindow::grabScreen(const QRect& screenRect) const
{
    if (m_grab)
        return m_grab(screenRect);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return screen
        ->grabWindow(0, screenRect.x(), screenRect.y(), screenRect.width(), screenRect.height())
        .toImage();
}

QPoint THintWindow::pointerPos() const
{
    return m_pointerPos ? m_pointerPos() : QCursor::pos();
}

QSize THintWindow::screenSize() const
{
    if (m_screenSize)
        return m_screenSize();
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(800, 600);
}

} // namespace hints
