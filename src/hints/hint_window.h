#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>

class QWindow;

namespace hints {

// The application's plain hint popup: a borderless top-level window that never takes the
// focus and lets mouse input fall through to what lies beneath it. It shows a text in the
// hint font on the hint colour with a one-pixel frame. Subclasses change the measuring,
// placing and drawing through the virtual functions.
//
// The screen access it needs (pixels under the hint, pointer position, screen size) goes
// through replaceable functions, so that tests can give known values.
// Where a widget of ours lies on the screen. Qt learns a window's place from the window manager,
// and some never tell it where they framed the window (under weston's XWayland Qt believes 0, 0).
// A pointer event over the window tells the truth, its screen position less its window position:
// the hint manager notes that for the window at every move.
void NoteScreenOrigin(QWindow* window, QPoint origin);
QPoint ScreenOrigin(const QWidget* widget);

class THintWindow : public QWidget
{
public:
    using ScreenGrab = std::function<QImage(const QRect& screenRect)>;
    using PointerPos = std::function<QPoint()>;
    using ScreenSize = std::function<QSize()>;

    THintWindow();
    ~THintWindow() override;

    // The size of the returned rectangle is the window size `text` needs when wrapped at
    // maxWidth pixels; its top-left is (0, 0) for the plain window.
    virtual QRect MeasureHint(int maxWidth, const QString& text);
    // Shows `text` with the window's top-left near rect's top-left (screen coordinates;
    // rect's size is not used), kept on the screen.
    virtual void ShowHintAt(const QRect& rect, const QString& text);
    // The variant with extra data; the data is ignored.
    virtual void ShowHintAtWithData(const QRect& rect, const QString& text, const void* data);

    // The window whose control the hint explains. A Wayland program can place a window only
    // relative to another of its own: the hint is that window's transient child, which Qt's
    // wayland platform shows as a popup placed over it (on X11 a hint's place on the screen is
    // its own, as before).
    void setOwner(QWidget* window);

    // The hint colour (window colour). Repaints a visible hint at once.
    QColor color() const { return m_color; }
    void setColor(const QColor& color);
    // The font colour.
    QColor fontColor() const { return m_fontColor; }
    // The window text last shown.
    QString text() const { return m_text; }

    void setScreenGrab(ScreenGrab grab) { m_grab = std::move(grab); }
    void setPointerPos(PointerPos pos) { m_pointerPos = std::move(pos); }
    void setScreenSize(ScreenSize size) { m_screenSize = std::move(size); }

protected:
    void paintEvent(QPaintEvent* event) override;

    QImage grabScreen(const QRect& screenRect) const;
    QPoint pointerPos() const;
    QSize screenSize() const;
    void setHintText(const QString& text) { m_text = text; }
    // Right-to-left reading when the window's direction (the application's) asks for it.
    bool isRightToLeft() const { return layoutDirection() == Qt::RightToLeft; }

private:
    QColor m_color;
    QColor m_fontColor;
    QString m_text;
    ScreenGrab m_grab;
    PointerPos m_pointerPos;
    ScreenSize m_screenSize;
};

} // namespace hints
