#include "animator/gif_animator.h"

#include <QEvent>
#include <QThread>

#include <algorithm>

namespace animator {

using base::clNone;
using base::TColor;
using base::TNotifyEvent;

namespace {

// Runs a step at the end of a scope, also when a failure passes through.
template <typename F> class Finally
{
public:
    explicit Finally(F step)
        : m_step(std::move(step))
    { }
    ~Finally() { m_step(); }
    Finally(const Finally&) = delete;
    Finally& operator=(const Finally&) = delete;

private:
    F m_step;
};

} // namespace

TGIFAnimator::TGIFAnimator(QWidget* parent)
    : TBufferedImageControl(parent)
    , m_image(std::make_unique<gif::TGIFImage>())
    , m_frameTimer(std::make_unique<TThreadedTimer>())
{
    SetAutoSize(true);
    m_image->OnChange = [this](gif::TGIFImage*) { HandleImageChange(); };
    m_visible = !isHidden();
    m_hasParent = parentWidget() != nullptr;
}

TGIFAnimator::~TGIFAnimator()
{
    MarkDestroying();
    {
        std::lock_guard lock(m_eventsMutex);
        m_onStart = m_onStop = m_onChange = m_onFrameChanged = nullptr;
    }
    SetAnimate(false);
    // The worker stops now; a tick running on it (it may use the timer) has ended when this
    // returns.
    m_frameTimer->Shutdown();
    m_frameTimer.reset();
    {
        TImageLockGuard lock(*this);
        m_cachedBitmap = QImage();
        m_cachedIndex = -1;
    }
    m_image->OnChange = nullptr;
    m_image.reset();
}

void TGIFAnimator::SetAnimate(bool animate)
{
    if (animate == m_animate)
        return;
    if (animate) {
        {
            TImageLockGuard lock(*this);
            m_frameTimer->SetOnTimer([this](QObject*) { AdvanceFrame(); });
            m_frameTimer->SetEnabled(true);
            m_animate = m_frameTimer->Enabled();
        }
        if (m_animate)
            NotifyStart();
        return;
    }
    {
        TImageLockGuard lock(*this);
        m_frameTimer->SetEnabled(false);
        m_frameTimer->SetOnTimer(nullptr);
        m_animate = false;
    }
    NotifyStop();
    RefreshAfterChange();
}

void TGIFAnimator::SetFrameIndex(int index)
{
    if (index == m_frameIndex || index < 0 || index >= m_image->Count())
        return;
    {
        TImageLockGuard lock(*this);
        m_frameIndex = index;
        if (m_image->Count() > 0)
            SetTimerToCurrentDelay();
    }
    NotifyFrameChanged();
    RefreshAfterChange();
}

void TGIFAnimator::SetImage(const gif::TGIFImage* image)
{
    TImageLockGuard lock(*this);
    m_image->Assign(image);
}

void TGIFAnimator::SetStretch(bool stretch)
{
    if (stretch == m_stretch)
        return;
    {
        TImageLockGuard lock(*this);
        m_stretch = stretch;
    }
    RefreshAfterChange();
    if (m_animate)
        repaint();
}

void TGIFAnimator::SetCenter(bool center)
{
    if (center == m_center)
        return;
    {
        TImageLockGuard lock(*this);
        m_center = center;
    }
    RefreshAfterChange();
    if (m_animate)
        repaint();
}

void TGIFAnimator::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    {
        TImageLockGuard lock(*this);
        m_transparent = transparent;
    }
    RefreshAfterChange();
    if (m_animate)
        repaint();
}

void TGIFAnimator::SetAsyncDrawing(bool asyncDrawing)
{
    if (asyncDrawing == m_asyncDrawing)
        return;
    // Bitmaps drawn while composed elsewhere need no extra lock here: composing (on the worker)
    // and painting (on the GUI thread) both hold ImageLock.
    TImageLockGuard lock(*this);
    m_frameTimer->SetSyncEvent(!asyncDrawing);
    m_asyncDrawing = asyncDrawing;
}

void TGIFAnimator::SetOnStart(TNotifyEvent handler)
{
    std::lock_guard lock(m_eventsMutex);
    m_onStart = std::move(handler);
}

void TGIFAnimator::SetOnStop(TNotifyEvent handler)
{
    std::lock_guard lock(m_eventsMutex);
    m_onStop = std::move(handler);
}

void TGIFAnimator::SetOnChange(TNotifyEvent handler)
{
    std::lock_guard lock(m_eventsMutex);
    m_onChange = std::move(handler);
}

void TGIFAnimator::SetOnFrameChanged(TNotifyEvent handler)
{
    std::lock_guard lock(m_eventsMutex);
    m_onFrameChanged = std::move(handler);
}

TNotifyEvent TGIFAnimator::Event(const TNotifyEvent& event) const
{
    std::lock_guard lock(m_eventsMutex);
    return event;
}

void TGIFAnimator::Notify(const TNotifyEvent& event)
{
    const TNotifyEvent handler = Event(event);
    if (handler)
        handler(this);
}

void TGIFAnimator::NotifyChange()
{
    Notify(m_onChange);
}
void TGIFAnimator::NotifyFrameChanged()
{
    Notify(m_onFrameChanged);
}
void TGIFAnimator::NotifyStart()
{
    Notify(m_onStart);
}
void TGIFAnimator::NotifyStop()
{
    Notify(m_onStop);
}

int TGIFAnimator::CurrentFrameDelay() const
{
    const int index = m_frameIndex;
    const int count = m_image->Count();
    if (index < 0 || index >= count || count < 2)
        return 0;
    return std::clamp<int>(m_image->Frames(index).Delay, 50, 10000);
}

void TGIFAnimator::SetTimerToCurrentDelay()
{
    m_frameTimer->SetInterval(static_cast<std::uint32_t>(CurrentFrameDelay()));
}

void TGIFAnimator::HandleImageChange()
{
    {
        TImageLockGuard lock(*this);
        m_cachedIndex = -1;
        m_cachedBitmap = QImage();
        m_cachedTransColor = clNone;
        m_composedForPaint = false;
        m_frameIndex = m_image->FrameIndex;
        if (m_frameIndex >= 0 && m_image->Count() > 0)
            SetTimerToCurrentDelay();
    }
    RefreshAfterChange();
    NotifyChange();
}

void TGIFAnimator::AdvanceFrame()
{
    if (PaintCopying() || !m_visible || !m_hasParent)
        return;
    if (m_asyncDrawing && QThread::currentThread() != thread()) {
        AdvanceFrameAsync();
        return;
    }
    TImageLockGuard lock(*this);
    const int count = m_image->Count();
    if (count < 2)
        return;
    {
        Finally setDelay([this] {
            if (m_frameIndex >= 0 && m_frameIndex < m_image->Count())
                SetTimerToCurrentDelay();
        });
        const int previous = m_frameIndex;
        m_frameIndex = m_frameIndex < count - 1 ? m_frameIndex + 1 : 0;
        NotifyFrameChanged();
        PaintImmediately(ChangedArea(previous, m_frameIndex));
    }
    if (!m_loop && m_frameIndex == 0)
        StopAtLoopEnd();
}

void TGIFAnimator::AdvanceFrameAsync()
{
    // Composed here under the lock; everything that needs the GUI thread is handed over with the
    // lock released, so the GUI thread never waits for a worker that waits for it.
    int next;
    QRect changed;
    {
        TImageLockGuard lock(*this);
        const int count = m_image->Count();
        if (count < 2)
            return;
        const int previous = m_frameIndex;
        next = m_frameIndex = m_frameIndex < count - 1 ? m_frameIndex + 1 : 0;
        changed = ChangedArea(previous, next);
        m_composedForPaint = false;
        try {
            TColor transColor = clNone;
            ComposeFrame(m_frameIndex, transColor);
            m_composedForPaint = true;
        } catch (...) {
            SetTimerToCurrentDelay();
            throw;
        }
    }
    bool stop;
    {
        Finally setDelay([this] {
            TImageLockGuard lock(*this);
            if (m_frameIndex >= 0 && m_frameIndex < m_image->Count())
                SetTimerToCurrentDelay();
        });
        if (Event(m_onFrameChanged))
            m_frameTimer->RunSynchronized([this] { NotifyFrameChanged(); });
        // A handler that showed another frame has the whole control repainted.
        PaintImmediately(m_frameIndex == next ? changed : rect());
    }
    {
        TImageLockGuard lock(*this);
        stop = !m_loop && m_frameIndex == 0;
    }
    if (stop)
        m_frameTimer->RunSynchronized([this] { StopAtLoopEnd(); });
}

void TGIFAnimator::StopAtLoopEnd()
{
    SetAnimate(false);
}

void TGIFAnimator::AdjustAutoSize()
{
    if (AutoSize() && !m_image->Empty()) {
        // The fixed size also keeps the size whatever size is asked for later.
        setFixedSize(m_image->DisplayWidth(), m_image->DisplayHeight());
        m_sizeFixed = true;
    } else if (m_sizeFixed) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_sizeFixed = false;
    }
}

void TGIFAnimator::setVisible(bool visible)
{
    TBufferedImageControl::setVisible(visible);
    m_visible = !isHidden();
}

bool TGIFAnimator::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ParentChange:
        m_hasParent = parentWidget() != nullptr;
        break;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        m_visible = !isHidden();
        break;
    default:
        break;
    }
    return TBufferedImageControl::event(event);
}

} // namespace animator
