#include "animator/buffered_image_control.h"

#include "animator/failure_report.h"
#include "base/click_filter.h"

#include <QPaintEvent>
#include <QPainter>
#include <QThread>

#include <optional>

namespace animator {

namespace {

// Sets a flag for a scope, restoring the value it had.
class FlagScope
{
public:
    FlagScope(std::atomic<bool>& flag, bool value)
        : m_flag(flag)
        , m_previous(flag.exchange(value))
    { }
    ~FlagScope() { m_flag = m_previous; }

private:
    std::atomic<bool>& m_flag;
    bool m_previous;
};

class CounterScope
{
public:
    explicit CounterScope(std::atomic<int>& counter)
        : m_counter(counter)
    {
        ++m_counter;
    }
    ~CounterScope() { --m_counter; }

private:
    std::atomic<int>& m_counter;
};

} // namespace

TBufferedImageControl::TBufferedImageControl(QWidget* parent)
    : QWidget(parent)
    , m_handOver(this)
{
    // Opaque: Qt then neither erases nor paints the parent beneath it before each paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(105, 105);
    new base::ClickFilter(
        this,
        [this] {
            if (m_onClick)
                m_onClick(this);
        },
        [this] {
            if (m_onDblClick)
                m_onDblClick(this);
        });
}

TBufferedImageControl::~TBufferedImageControl()
{
    MarkDestroying();
}

void TBufferedImageControl::MarkDestroying()
{
    m_destroying = true;
    m_handOver.Close();
}

QColor TBufferedImageControl::Color() const
{
    return m_parentColor ? palette().color(QPalette::Window) : m_color;
}

void TBufferedImageControl::SetColor(const QColor& color)
{
    if (!m_parentColor && color == m_color)
        return;
    m_color = color;
    m_parentColor = false;
    update();
}

void TBufferedImageControl::SetParentColor(bool parentColor)
{
    if (parentColor == m_parentColor)
        return;
    if (!parentColor)
        m_color = Color();
    m_parentColor = parentColor;
    update();
}

void TBufferedImageControl::SetAutoSize(bool autoSize)
{
    if (autoSize == m_autoSize)
        return;
    m_autoSize = autoSize;
    AdjustAutoSize();
}

void TBufferedImageControl::DrawPicture(QPainter&) { }

void TBufferedImageControl::AdjustAutoSize() { }

void TBufferedImageControl::RenderControl(QPainter& canvas)
{
    canvas.fillRect(QRect(0, 0, width(), height()), Color());
    FlagScope inPaint(m_inPaint, true);
    DrawPicture(canvas);
}

void TBufferedImageControl::RefreshAfterChange()
{
    if (m_destroying)
        return;
    AdjustAutoSize();
    if (!m_inPaint)
        update();
}

void TBufferedImageControl::PaintImmediately()
{
    PaintImmediately(rect());
}

void TBufferedImageControl::PaintImmediately(const QRect& changed)
{
    if (QThread::currentThread() == thread()) {
        repaint(changed);
        return;
    }
    m_handOver.Run([this, changed] {
        if (!m_destroying)
            repaint(changed);
    });
}

void TBufferedImageControl::paintEvent(QPaintEvent* event)
{
    if (width() <= 0 || height() <= 0)
        return;
    TImageLockGuard lock(*this);
    // In the screen's pixels: on a high-density screen the picture keeps its detail.
    const qreal ratio = devicePixelRatio();
    const QSize pixels = ratio == 1.0 ? size() : (QSizeF(size()) * ratio).toSize();
    // Only the part to repaint is drawn again, into an image that holds the rest from before;
    // a new image is drawn whole.
    bool whole = false;
    if (m_buffer.size() != pixels || m_buffer.devicePixelRatio() != ratio) {
        m_buffer = QImage(pixels, QImage::Format_RGB32);
        m_buffer.setDevicePixelRatio(ratio);
        whole = true;
    }
    try {
        QPainter canvas(&m_buffer);
        if (!whole)
            canvas.setClipRegion(event->region());
        FlagScope buffered(m_buffered, true);
        RenderControl(canvas);
    } catch (...) {
        // The half-drawn image is not shown: the screen keeps what it had, and the next paint
        // draws a new image whole. No box opens inside a paint; the report follows from the
        // event loop.
        m_buffer = QImage();
        PostApplicationException(this, std::current_exception());
        return;
    }
    QPainter screen(this);
    screen.drawImage(0, 0, m_buffer);
}

QImage TBufferedImageControl::OffscreenImage()
{
    TImageLockGuard lock(*this);
    return m_buffer.copy();
}

void TBufferedImageControl::hideEvent(QHideEvent* event)
{
    // A hidden control paints nothing: its off-screen image is made again when it next shows.
    {
        TImageLockGuard lock(*this);
        m_buffer = QImage();
    }
    QWidget::hideEvent(event);
}

void PaintParentBackground(TBufferedImageControl* control, QPainter& canvas)
{
    if (!control || !control->parentWidget())
        return;
    QWidget* parent = control->parentWidget();
    const QRect place = control->geometry();
    canvas.save();
    parent->render(&canvas, QPoint(0, 0), QRegion(place), QWidget::DrawWindowBackground);
    canvas.restore();
    // Children are kept in stacking order, bottom first.
    for (QObject* child : parent->children()) {
        if (child == control)
            break;
        auto* sibling = qobject_cast<QWidget*>(child);
        if (!sibling || sibling->isWindow() || sibling->isHidden()
            || !sibling->geometry().intersects(place))
            continue;
        auto* imageControl = dynamic_cast<TBufferedImageControl*>(sibling);
        std::optional<CounterScope> paintCopy;
        if (imageControl)
            paintCopy.emplace(imageControl->m_paintCopy);
        canvas.save();
        sibling->render(&canvas, sibling->pos() - place.topLeft(), QRegion(),
            QWidget::DrawWindowBackground | QWidget::DrawChildren);
        canvas.restore();
    }
}

} // namespace animator
