#pragma once
// TGIFAnimator: a picture control that shows a GIF picture (gif::TGIFImage) and, while Animate is
// on, steps through its frames at each frame's own delay, driven by a TThreadedTimer of its own.
// For each frame it composes the whole logical screen by replaying the earlier frames according
// to their disposal methods, and keeps that picture as a one-entry cache, so that the next frame
// is only drawn on top of it.
//
// Threads: everything runs on the GUI thread, the timer's worker only waits, unless AsyncDrawing
// is on. Then a tick runs on the worker: it advances and composes the frame holding ImageLock, and
// hands OnFrameChanged, the paint and the stop at the end of a pass to the GUI thread (widgets
// paint only there). ImageLock is never held while anything is handed to the GUI thread.
//
// Setters compare first and do nothing for the current value. Events are called with the control
// as sender; none fires while the control is being destroyed.

#include "animator/buffered_image_control.h"
#include "animator/threaded_timer.h"
#include "base/transparent_draw.h"
#include "gif/gif_image.h"

#include <QImage>

#include <atomic>
#include <memory>
#include <mutex>

namespace animator {

class TGIFAnimator : public TBufferedImageControl
{
public:
    // Opaque, 105 x 105, the parent's colour, AutoSize on, Loop on, Transparent on; Animate,
    // Center, Stretch and AsyncDrawing off; FrameIndex 0; an empty picture; the timer enabled
    // with a 1000 ms interval, synchronised, threaded, its worker parked.
    explicit TGIFAnimator(QWidget* parent = nullptr);
    ~TGIFAnimator() override;

    // Start or stop. Starting keeps the frame shown; the first advance comes when the timer's
    // wait ends (one delay of the shown frame after a start from rest). Starting fires OnStart,
    // stopping fires OnStop and refreshes. In the timer's message mode starting may throw
    // EOutOfResources; Animate then stays off and OnStart does not fire.
    bool Animate() const { return m_animate; }
    void SetAnimate(bool animate);

    // The frame shown. A value equal to the current one, below 0 or at or above Count is ignored
    // without a message; otherwise the timer takes the new frame's delay, OnFrameChanged fires and
    // the control refreshes. −1 only while the picture reports −1.
    int FrameIndex() const { return m_frameIndex; }
    void SetFrameIndex(int index);

    // The owned picture; reading new data into it (e.g. Image().ReadFormData(data)) resets the
    // cache, takes over its frame index and delay, refreshes and fires OnChange.
    gif::TGIFImage& Image() const { return *m_image; }
    // Copies `image` into the owned picture (the caller keeps `image`); OnChange fires before
    // this returns.
    void SetImage(const gif::TGIFImage* image);

    bool Stretch() const { return m_stretch; } // scale to the client area; wins over Center
    void SetStretch(bool stretch);
    bool Center() const { return m_center; } // centre the unscaled picture
    void SetCenter(bool center);
    // Leave out the transparent colour so that what lies beneath shows; when off, transparent
    // pixels show the composed picture's background colour.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);
    bool Loop() const { return m_loop; } // after the last frame play again from frame 0
    void SetLoop(bool loop) { m_loop = loop; }
    bool AsyncDrawing() const { return m_asyncDrawing; }
    void SetAsyncDrawing(bool asyncDrawing);

    void SetOnStart(base::TNotifyEvent handler);
    void SetOnStop(base::TNotifyEvent handler);
    void SetOnChange(base::TNotifyEvent handler);
    void SetOnFrameChanged(base::TNotifyEvent handler);

    TThreadedTimer& FrameTimer() const { return *m_frameTimer; }

    // The delay of the frame shown in ms, clamped to 50 … 10000; 0 (no ticks) when FrameIndex is
    // outside the frames or the picture has fewer than 2 frames.
    int CurrentFrameDelay() const;

protected:
    void DrawPicture(QPainter& canvas) override;
    void AdjustAutoSize() override;
    void setVisible(bool visible) override;
    bool event(QEvent* event) override;

    // The whole logical screen while frame `index` (limited to Count − 1) is shown; incremental
    // on top of the cached picture of frame index − 1 unless that frame restores the previous
    // picture (disposal 3), otherwise rebuilt from the nearest full, opaque (or restoring to
    // background) frame at or before it. `transColor` receives the transparent colour of the
    // composition (clNone when none; the caller passes clNone). The result stays owned by the
    // control until the next composition or picture change. Failures propagate and leave the
    // cache empty.
    const QImage& ComposeFrame(int index, base::TColor& transColor);
    // Draws one frame into the composition at its place, with transparency.
    virtual void DrawFrame(QPainter& canvas, gif::TGIFFrame& frame, int index);

    // The part of the control that showing frame `to` after frame `from` changes: the new
    // frame's place, and the old one's when it was restored to the background; the whole control
    // when the picture is composed afresh (the cache does not hold `from`, or `from` restores the
    // picture before it). Under ImageLock.
    QRect ChangedArea(int from, int to);
    // Where the composed picture of that size, or a rectangle of it, lies in the control
    // (placement, centring, stretching and the picture's device pixel ratio), rounded outwards.
    QRect PictureTarget(const QSize& picture) const;
    QRect PictureToControl(const QRect& area) const;

    // One tick of FrameTimer.
    void AdvanceFrame();
    void StopAtLoopEnd();
    void HandleImageChange();

    virtual void NotifyChange();
    virtual void NotifyFrameChanged();
    virtual void NotifyStart();
    virtual void NotifyStop();

private:
    void Notify(const base::TNotifyEvent& event);
    base::TNotifyEvent Event(const base::TNotifyEvent& event) const;
    void AdvanceFrameAsync();
    void SetTimerToCurrentDelay();

    std::unique_ptr<gif::TGIFImage> m_image;
    // Not parented: destroyed first in the destructor, before the picture its ticks use.
    std::unique_ptr<TThreadedTimer> m_frameTimer;
    bool m_animate = false;
    std::atomic<int> m_frameIndex { 0 };
    bool m_stretch = false;
    std::atomic<bool> m_loop { true };
    bool m_center = false;
    bool m_transparent = true;
    std::atomic<bool> m_asyncDrawing { false };

    // The one-entry cache, guarded by ImageLock.
    QImage m_cachedBitmap; // null when nothing is cached
    int m_cachedIndex = -1;
    base::TColor m_cachedTransColor = base::clNone;
    QRgb m_cachedBrush = 0; // the background the cached picture was built on
    bool m_cachedMarked = false; // the picture is marked transparent with m_cachedTransColor
    bool m_composedForPaint = false; // an asynchronous tick composed the frame the paint shows

    // Read by the worker in asynchronous mode.
    std::atomic<bool> m_visible { false };
    std::atomic<bool> m_hasParent { false };
    bool m_sizeFixed = false;

    mutable std::mutex m_eventsMutex;
    base::TNotifyEvent m_onStart, m_onStop, m_onChange, m_onFrameChanged;
};

} // namespace animator
