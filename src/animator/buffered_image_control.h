#pragma once
// Base of picture controls that may be repainted from a timer thread: a child widget (no native
// window) that is opaque, paints every time through one off-screen image and one copy to the
// screen, offers a paint hook for the subclass, a re-entrant lock for the subclass's state, and a
// repaint that may be asked for from any thread. Palettes do not exist on the displays Qt serves,
// so nothing is forwarded to the window for them.

#include "animator/gui_handover.h"
#include "base/notify_event.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <atomic>
#include <mutex>

namespace animator {

class TBufferedImageControl : public QWidget
{
public:
    // 105 x 105 pixels, the parent's colour, opaque.
    explicit TBufferedImageControl(QWidget* parent = nullptr);
    ~TBufferedImageControl() override;

    // The re-entrant lock guarding the subclass's state against its timer thread; the same thread
    // may take it again. A whole paint holds it too.
    void EnterImageLock() { m_imageLock.lock(); }
    void LeaveImageLock() { m_imageLock.unlock(); }

    // After anything that changes the picture or its layout (GUI thread): the automatic-size
    // adjustment, then an invalidation, except while painting, so a change made by a paint does
    // not start another paint. Nothing while the control is being destroyed.
    void RefreshAfterChange();

    // Repaints now, from any thread. On the GUI thread the control is drawn and flushed before
    // this returns; on another thread the repaint is handed to the GUI thread and the caller
    // waits for it (it is dropped once the control is being destroyed). With a rectangle only
    // that part is drawn again: the rest of the off-screen image is still what the screen shows.
    void PaintImmediately();
    void PaintImmediately(const QRect& changed);

    // The fill colour under the picture; with ParentColor on (the default) the parent's.
    QColor Color() const;
    void SetColor(const QColor& color); // switches ParentColor off
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool parentColor);

    // Automatic sizing; switching it on runs the adjustment at once.
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);

    // Clicks follow the one rule of base/click_filter.h; a double click's second press fires
    // OnDblClick instead.
    void SetOnClick(base::TNotifyEvent handler) { m_onClick = std::move(handler); }
    void SetOnDblClick(base::TNotifyEvent handler) { m_onDblClick = std::move(handler); }

    // The off-screen image as the last paint left it, in the screen's pixels: what the screen
    // shows of the control. Null while the control is hidden or before its first paint.
    QImage OffscreenImage();

    bool InPaint() const { return m_inPaint; }
    // On while the control is painted as part of a sibling's background copy.
    bool PaintCopying() const { return m_paintCopy > 0; }
    bool Destroying() const { return m_destroying; }

protected:
    // The paint hook: draw the picture on `canvas` (the off-screen image, client coordinates).
    // The client area has already been filled with Color().
    virtual void DrawPicture(QPainter& canvas);
    // The body of a paint: fill with Color(), then DrawPicture with InPaint on.
    void RenderControl(QPainter& canvas);
    // The automatic-size adjustment; the base has no picture and leaves the size alone.
    virtual void AdjustAutoSize();
    // The first step of a subclass's destruction: no refresh, no repaint handed over any more,
    // and a thread waiting for a handed-over repaint returns.
    void MarkDestroying();

    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    friend void PaintParentBackground(TBufferedImageControl* control, QPainter& canvas);

    std::atomic<bool> m_inPaint { false };
    std::atomic<bool> m_buffered { false };
    std::recursive_mutex m_imageLock;
    std::atomic<int> m_paintCopy { 0 };
    std::atomic<bool> m_destroying { false };
    bool m_parentColor = true;
    bool m_autoSize = false;
    QColor m_color;
    QImage m_buffer; // the off-screen image, kept between paints while the control shows
    TGuiHandOver m_handOver;
    base::TNotifyEvent m_onClick;
    base::TNotifyEvent m_onDblClick;
};

// Takes a control's ImageLock for a scope.
class TImageLockGuard
{
public:
    explicit TImageLockGuard(TBufferedImageControl& control)
        : m_control(control)
    {
        m_control.EnterImageLock();
    }
    ~TImageLockGuard() { m_control.LeaveImageLock(); }
    TImageLockGuard(const TImageLockGuard&) = delete;
    TImageLockGuard& operator=(const TImageLockGuard&) = delete;

private:
    TBufferedImageControl& m_control;
};

// Paints into `canvas` (laid over the control's client area) what the parent and the visible
// siblings below the control show at its place; siblings above it are left out. Nothing for a
// null control or one without a parent. GUI thread.
void PaintParentBackground(TBufferedImageControl* control, QPainter& canvas);

} // namespace animator
