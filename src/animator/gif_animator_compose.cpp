// Composing the logical screen of a frame, and drawing it into the control.
#include "animator/gif_animator.h"

#include <QPainter>

namespace animator {

using base::clNone;
using base::clWindow;
using base::ColorToRGB;
using base::RGBToColor;
using base::StretchDrawTransparent;
using base::TColor;

namespace {

bool FullScreen(gif::TGIFFrame& frame, int width, int height)
{
    return frame.Width() == width && frame.Height() == height;
}

// The frame at or before `index` from which the picture can be rebuilt: one that covers the
// whole screen and either has no transparent colour or, lying before `index`, restores to
// background. Frame 0 when there is none.
int StartFrame(gif::TGIFImage& image, int index)
{
    const int width = image.LogicalWidth();
    const int height = image.LogicalHeight();
    for (int s = std::max(0, index); s > 0; --s) {
        gif::TGIFFrame& frame = image.Frames(s);
        if (!FullScreen(frame, width, height))
            continue;
        if (frame.TransparentColor == clNone || (frame.Disposal == 2 && s < index))
            return s;
    }
    return 0;
}

QRect FrameRect(gif::TGIFFrame& frame)
{
    return QRect(frame.Left, frame.Top, frame.Width(), frame.Height());
}

} // namespace

QRect TGIFAnimator::ChangedArea(int from, int to)
{
    gif::TGIFImage& image = *m_image;
    const int count = image.Count();
    if (from < 0 || from >= count || to != from + 1 || to >= count || m_cachedBitmap.isNull()
        || m_cachedIndex != from)
        return rect();
    gif::TGIFFrame& previous = image.Frames(from);
    if (previous.Disposal == 3)
        return rect();
    QRect area = FrameRect(image.Frames(to));
    if (previous.Disposal == 2)
        area |= FrameRect(previous);
    return PictureToControl(area);
}

QRect TGIFAnimator::PictureTarget(const QSize& picture) const
{
    // Laid out in the control's pixels, a picture drawn at a higher density taking its size
    // divided by its ratio.
    QRect target(QPoint(0, 0), picture / m_image->DevicePixelRatio());
    if (m_stretch)
        target = rect();
    else if (m_center)
        target.moveTo((width() - target.width()) / 2, (height() - target.height()) / 2);
    return target;
}

QRect TGIFAnimator::PictureToControl(const QRect& area) const
{
    const QSize picture(m_image->LogicalWidth(), m_image->LogicalHeight());
    if (picture.isEmpty())
        return rect();
    const QRectF target = PictureTarget(picture);
    const qreal sx = target.width() / picture.width(), sy = target.height() / picture.height();
    const QRectF mapped(target.x() + area.x() * sx, target.y() + area.y() * sy, area.width() * sx,
        area.height() * sy);
    return mapped.toAlignedRect().intersected(rect());
}

void TGIFAnimator::DrawFrame(QPainter& canvas, gif::TGIFFrame& frame, int)
{
    frame.Draw(canvas, FrameRect(frame), true);
}

const QImage& TGIFAnimator::ComposeFrame(int index, TColor& transColor)
{
    TImageLockGuard lock(*this);
    gif::TGIFImage& image = *m_image;
    index = std::max(0, std::min(index, image.Count() - 1));

    const bool incremental = !m_cachedBitmap.isNull() && m_cachedIndex == index - 1
        && m_cachedIndex >= 0 && image.Frames(m_cachedIndex).Disposal != 3;
    QImage bitmap;
    QRgb brush = m_cachedBrush;
    const QSize screen(image.LogicalWidth(), image.LogicalHeight());
    if (incremental) {
        transColor = m_cachedTransColor;
        bitmap = std::move(m_cachedBitmap);
    } else if (m_cachedBitmap.size() == screen && m_cachedBitmap.format() == QImage::Format_RGB32) {
        // A new picture in the old one's memory: every pixel is drawn again below, and a
        // celebration that starts its loop again takes no fresh pages from the system.
        bitmap = std::move(m_cachedBitmap);
    } else {
        bitmap = QImage(screen, QImage::Format_RGB32);
    }
    // The cache is empty until the composition has succeeded.
    const int previous = m_cachedIndex;
    m_cachedBitmap = QImage();
    m_cachedIndex = -1;
    {
        QPainter canvas(&bitmap);
        if (!incremental) {
            const int shown = image.FrameIndex;
            const TColor frameTransparent = shown >= 0 && shown < image.Count()
                ? image.Frames(shown).TransparentColor
                : clNone;
            if (frameTransparent != clNone) {
                transColor = RGBToColor(ColorToRGB(frameTransparent));
                brush = ColorToRGB(transColor);
            } else if (image.BackColor() != clNone && image.Transparent()) {
                brush = ColorToRGB(image.BackColor());
            } else {
                brush = ColorToRGB(clWindow);
            }
            bitmap.fill(QColor::fromRgb(brush));
            const int start = StartFrame(image, index);
            for (int j = start; j < index; ++j) {
                gif::TGIFFrame& frame = image.Frames(j);
                if (frame.Disposal == 0 || frame.Disposal == 1)
                    DrawFrame(canvas, frame, j);
                else if (frame.Disposal == 2 && j > start)
                    canvas.fillRect(FrameRect(frame), QColor::fromRgb(brush));
            }
        } else if (image.Frames(previous).Disposal == 2) {
            canvas.fillRect(FrameRect(image.Frames(previous)), QColor::fromRgb(brush));
        }
        DrawFrame(canvas, image.Frames(index), index);
    }
    if (!incremental)
        m_cachedMarked = transColor != clNone && m_transparent;
    m_cachedBitmap = std::move(bitmap);
    m_cachedIndex = index;
    m_cachedTransColor = transColor;
    m_cachedBrush = brush;
    return m_cachedBitmap;
}

void TGIFAnimator::DrawPicture(QPainter& canvas)
{
    TImageLockGuard lock(*this);
    gif::TGIFImage& image = *m_image;
    const bool showsBeneath = image.Transparent() || image.Empty();
    if (image.Empty() || image.LogicalWidth() < 1 || image.LogicalHeight() < 1) {
        if (showsBeneath)
            PaintParentBackground(this, canvas);
        return;
    }
    TColor transColor = clNone;
    const bool reuse = m_composedForPaint && !m_cachedBitmap.isNull()
        && m_cachedIndex == std::min<int>(m_frameIndex, image.Count() - 1);
    m_composedForPaint = false;
    if (reuse)
        transColor = m_cachedTransColor;
    const QImage& picture = reuse ? m_cachedBitmap : ComposeFrame(m_frameIndex, transColor);

    // Composed in the picture's own pixels, drawn at its place in the control's.
    const QRect target = PictureTarget(picture.size());

    const bool leaveOut = transColor != clNone && m_transparent;
    const TColor leftOut = leaveOut ? transColor : m_cachedTransColor;
    const bool drawsTransparent = leaveOut || m_cachedMarked;
    // What lies beneath only shows through transparent pixels or around a smaller picture.
    if (showsBeneath && (drawsTransparent || !target.contains(rect())))
        PaintParentBackground(this, canvas);
    if (drawsTransparent)
        StretchDrawTransparent(canvas, target.x(), target.y(), target.width(), target.height(),
            QRect(), picture, leftOut);
    else
        canvas.drawImage(target, picture);
}

} // namespace animator
