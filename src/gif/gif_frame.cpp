#include "gif/gif_frame.h"

#include "base/transparent_draw.h"
#include "gif/gif_image.h"

#include <QPainter>

namespace gif {

TGIFFrame::TGIFFrame(TGIFImage* owner)
    : m_owner(owner)
{
    ResetItem();
}

TGIFFrame::~TGIFFrame() = default;

void TGIFFrame::ResetItem()
{
    m_item = SharedRef<TGIFItem>(new TGIFItem);
    Grayscale = Damaged = Interlace = OwnColors = false;
    TransparentColor = clNone;
    Left = Top = 0;
    Delay = 0;
    Disposal = 0;
}

void TGIFFrame::ResetBitmap()
{
    m_bitmap = QImage();
    m_hasBitmap = true;
}

void TGIFFrame::dropBitmap()
{
    m_bitmap = QImage();
    m_hasBitmap = false;
}

const QImage& TGIFFrame::FrameBitmap()
{
    if (m_hasBitmap && !m_bitmap.isNull())
        return m_bitmap;
    ResetBitmap();
    if (!m_item->CodeStream)
        return m_bitmap;
    TProgressEvent progress;
    if (m_owner && m_owner->OnProgress) {
        progress = [owner = m_owner](TProgressStage stage, int percent, const QString& msg) {
            owner->ReportProgress(stage, percent, msg);
        };
    }
    // The damage found counts even when loading then fails.
    bool damaged = false;
    try {
        const FrameBitmapFile file
            = BuildFrameBitmap(*m_item, Interlace, damaged, progress ? &progress : nullptr);
        m_bitmap = LoadFrameBMP(file.bytes());
    } catch (...) {
        Damaged = Damaged || damaged;
        throw;
    }
    Damaged = Damaged || damaged;
    return m_bitmap;
}

int TGIFFrame::Width()
{
    if (!m_hasBitmap && !m_item->CodeStream)
        return 0;
    return FrameBitmap().width();
}

int TGIFFrame::Height()
{
    if (!m_hasBitmap && !m_item->CodeStream)
        return 0;
    return FrameBitmap().height();
}

void TGIFFrame::Draw(QPainter& canvas, const QRect& rect, bool transparent)
{
    const QImage& bitmap = FrameBitmap();
    if (TransparentColor != clNone && transparent) {
        // Transparency goes by colour; a two-colour frame is drawn through its colours too, so
        // either of its indexes can be the transparent one.
        const QImage source
            = bitmap.depth() == 1 ? bitmap.convertToFormat(QImage::Format_RGB32) : bitmap;
        base::StretchDrawTransparent(canvas, rect.x(), rect.y(), rect.width(), rect.height(),
            QRect(0, 0, source.width(), source.height()), source, TransparentColor);
    } else if (!bitmap.isNull()) {
        const bool smooth = canvas.testRenderHint(QPainter::SmoothPixmapTransform);
        canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
        canvas.drawImage(rect, bitmap);
        canvas.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    }
}

const QByteArrayList* TGIFFrame::CommentLines() const
{
    for (auto it = ExtensionBlocks.rbegin(); it != ExtensionBlocks.rend(); ++it) {
        if (it->Kind == TExtensionKind::ekComment)
            return it->SubBlocks ? &*it->SubBlocks : nullptr;
    }
    return nullptr;
}

void TGIFFrame::SetCommentLines(const QByteArrayList& lines)
{
    for (auto it = ExtensionBlocks.rbegin(); it != ExtensionBlocks.rend(); ++it) {
        if (it->Kind == TExtensionKind::ekComment) {
            it->SubBlocks = lines;
            return;
        }
    }
    TExtension comment;
    comment.Kind = TExtensionKind::ekComment;
    comment.SubBlocks = lines;
    ExtensionBlocks.push_back(std::move(comment));
}

void TGIFFrame::recalcOwner()
{
    if (m_owner)
        m_owner->RecalcLogicalSize();
}

void TGIFFrame::Assign(const TGIFFrame* source)
{
    if (source == this) {
        recalcOwner();
        return;
    }
    if (!source) {
        ResetItem();
        dropBitmap();
        recalcOwner();
        return;
    }
    m_item = source->m_item;
    OwnColors = source->m_owner == m_owner ? source->OwnColors : true;
    Left = source->Left;
    Top = source->Top;
    Interlace = source->Interlace;
    // Without a source bitmap the old one would show another frame's picture: drop it, so the
    // bitmap is built from the shared item when asked for.
    if (source->m_hasBitmap) {
        ResetBitmap();
        m_bitmap = source->m_bitmap;
    } else {
        dropBitmap();
    }
    TransparentColor = source->TransparentColor;
    Delay = source->Delay;
    Disposal = source->Disposal;
    Grayscale = source->Grayscale;
    Damaged = source->Damaged;
    if (const QByteArrayList* lines = source->CommentLines())
        SetCommentLines(*lines);
    recalcOwner();
}

void TGIFFrame::Assign(const TGIFImage& source)
{
    if (source.Count() == 0) {
        Assign(static_cast<const TGIFFrame*>(nullptr));
        return;
    }
    const int index
        = source.FrameIndex >= 0 && source.FrameIndex < source.Count() ? source.FrameIndex : 0;
    Assign(&source.Frames(index));
}

void TGIFFrame::Assign(const TBitmap& source)
{
    if (source.Image.isNull()) {
        Assign(static_cast<const TGIFFrame*>(nullptr));
        return;
    }
    ResetItem();
    ResetBitmap();
    m_bitmap = source.Image;
    if (source.Transparent) {
        const QImage& image = source.Image;
        TransparentColor = source.TransparentColor == clDefault
            ? base::RGBToColor(image.pixel(0, image.height() - 1))
            : source.TransparentColor;
    }
    recalcOwner();
}

void TGIFFrame::CopyTo(TGIFImage& target) const
{
    target.Assign(*this);
}

void TGIFFrame::CopyTo(TBitmap& target)
{
    target.Image = FrameBitmap();
    if (TransparentColor != clNone) {
        // True-colour bitmaps hold every colour, so the nearest colour is the colour itself.
        target.TransparentColor = base::RGBToColor(base::ColorToRGB(TransparentColor));
        target.Transparent = true;
    }
}

} // namespace gif
