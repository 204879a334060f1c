#include "gif/gif_image.h"

#include "base/little_endian.h"
#include "gif/gif_reader.h"

#include <QBuffer>
#include <QIODevice>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace gif {

TGIFImage::TGIFImage()
{
    Clear();
    TransparentFlag = true;
}

TGIFImage::~TGIFImage()
{
    OnChange = nullptr;
    OnProgress = nullptr;
    ClearFrames();
}

void TGIFImage::Clear()
{
    m_data = SharedRef<TGIFData>(new TGIFData);
    ClearFrames();
    FrameIndex = -1;
    m_backColor = clNone;
    LoopCount = 1;
    HasLoopCount = false;
    FormatVersion = 0;
    m_logicalWidth = m_logicalHeight = 0;
}

void TGIFImage::ClearFrames()
{
    while (!m_frames.empty())
        m_frames.erase(m_frames.begin());
}

void TGIFImage::ReadStream(QIODevice& stream)
{
    LoadFromStream(stream, stream.size() - stream.pos(), true);
}

void TGIFImage::ReadFormData(QIODevice& stream)
{
    std::uint8_t count[4] = {};
    stream.read(reinterpret_cast<char*>(count), 4);
    const std::int32_t size = std::int32_t(base::loadLE32(count));
    LoadFromStream(stream, size, true);
}

void TGIFImage::ReadFormData(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    ReadFormData(buffer);
}

void TGIFImage::LoadFromStream(QIODevice& stream, qint64 size, bool decodeFirst)
{
    LoadGIF(*this, size, stream, decodeFirst);
}

void TGIFImage::FinishLoad(bool decodeFirst)
{
    if (!m_frames.empty()) {
        FrameIndex = 0;
        if (decodeFirst) {
            try {
                CurrentBitmap();
            } catch (...) {
                m_frames.erase(m_frames.begin());
                if (m_frames.empty())
                    FrameIndex = -1;
                throw;
            }
        }
    }
    PaletteModified = true;
    Changed();
}

TGIFFrame& TGIFImage::Frames(int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
    return *m_frames[std::size_t(index)];
}

const QImage& TGIFImage::CurrentBitmap()
{
    if (m_frames.empty()) {
        FrameIndex = 0;
        Assign(TBitmap());
        return m_frames.front()->FrameBitmap();
    }
    const int index = FrameIndex >= 0 && FrameIndex < Count() ? FrameIndex : 0;
    return m_frames[std::size_t(index)]->FrameBitmap();
}

bool TGIFImage::Empty() const
{
    if (m_frames.empty())
        return true;
    const TGIFFrame& frame = *m_frames[std::size_t(std::clamp(FrameIndex, 0, Count() - 1))];
    if (frame.HasFrameBitmap())
        return false;
    return !frame.Item().CodeStream || frame.Item().CodeStream->empty();
}

int TGIFImage::Width()
{
    if (Empty() || FrameIndex < 0 || FrameIndex >= Count())
        return 0;
    return m_frames[std::size_t(FrameIndex)]->FrameBitmap().width();
}

int TGIFImage::Height()
{
    if (Empty() || FrameIndex < 0 || FrameIndex >= Count())
        return 0;
    return m_frames[std::size_t(FrameIndex)]->FrameBitmap().height();
}

void TGIFImage::SetWidth(int)
{
    throw EInvalidGraphicOperation(SCannotResize);
}

void TGIFImage::SetHeight(int)
{
    throw EInvalidGraphicOperation(SCannotResize);
}

void TGIFImage::SetLogicalSize(int width, int height)
{
    m_logicalWidth = width;
    m_logicalHeight = height;
}

QList<QRgb> TGIFImage::Palette()
{
    QList<QRgb> palette;
    if (m_frames.empty())
        return palette;
    CurrentBitmap();
    const int index = FrameIndex >= 0 && FrameIndex < Count() ? FrameIndex : 0;
    const TGIFRGBTable& colors = m_frames[std::size_t(index)]->Item().Colors;
    for (int i = 0; i < colors.Count; ++i)
        palette.append(base::ColorToRGB(TripleToColor(colors, i)));
    return palette;
}

bool TGIFImage::Transparent() const
{
    return TransparentFlag && std::any_of(m_frames.begin(), m_frames.end(), [](const auto& f) {
        return f->TransparentColor != clNone;
    });
}

void TGIFImage::Draw(QPainter& canvas, const QRect& rect)
{
    if (FrameIndex >= 0 && FrameIndex < Count())
        m_frames[std::size_t(FrameIndex)]->Draw(canvas, rect, Transparent());
}

bool TGIFImage::SameData(const TGIFImage* other) const
{
    return other && other->m_data.get() == m_data.get();
}

int TGIFImage::AppendFrame(const TBitmap& picture)
{
    m_frames.push_back(std::make_unique<TGIFFrame>(this));
    FrameIndex = Count() - 1;
    m_frames.back()->Assign(picture);
    if (FormatVersion == 0)
        FormatVersion = 1;
    if (Count() > 1)
        FormatVersion = 2;
    return FrameIndex;
}

void TGIFImage::RecalcLogicalSize()
{
    int width = 0, height = 0;
    for (const auto& frame : m_frames) {
        width = std::max(width, frame->Width() + frame->Left);
        height = std::max(height, frame->Height() + frame->Top);
    }
    m_logicalWidth = width;
    m_logicalHeight = height;
}

void TGIFImage::Assign(const TGIFImage* source)
{
    if (!source) {
        Clear();
    } else if (source != this) {
        m_data = source->m_data;
        FormatVersion = source->FormatVersion;
        m_backColor = source->m_backColor;
        LoopCount = source->LoopCount;
        HasLoopCount = source->HasLoopCount;
        ClearFrames();
        for (const auto& sourceFrame : source->m_frames) {
            auto frame = std::make_unique<TGIFFrame>(this);
            frame->Assign(sourceFrame.get());
            frame->OwnColors = sourceFrame->OwnColors;
            m_frames.push_back(std::move(frame));
        }
        m_logicalWidth = source->m_logicalWidth;
        m_logicalHeight = source->m_logicalHeight;
        m_ratio = source->m_ratio;
        FrameIndex = source->FrameIndex;
    }
    Changed();
}

void TGIFImage::Assign(const TGIFFrame& source)
{
    // A frame of this very picture would be destroyed by Clear: work from a copy of it.
    std::unique_ptr<TGIFFrame> keep;
    const TGIFFrame* from = &source;
    SharedRef<TGIFData> ownerData(source.Owner() ? &source.Owner()->SharedData() : nullptr);
    if (source.Owner() == this) {
        keep = std::make_unique<TGIFFrame>(nullptr);
        keep->Assign(&source);
        keep->OwnColors = source.OwnColors;
        from = keep.get();
    }
    Clear();
    if (ownerData) {
        m_data->AspectByte = ownerData->AspectByte;
        m_data->GlobalBits = ownerData->GlobalBits;
        m_data->ColorResolution = ownerData->ColorResolution;
        m_data->GlobalColors = ownerData->GlobalColors;
    }
    m_frames.push_back(std::make_unique<TGIFFrame>(this));
    FrameIndex = Count() - 1;
    m_frames.back()->Assign(from);
    if (FormatVersion == 0)
        FormatVersion = 1;
    Changed();
}

void TGIFImage::Assign(const TBitmap& source)
{
    Clear();
    AppendFrame(source);
    Changed();
}

void TGIFImage::CopyTo(TBitmap& target)
{
    if (Empty()) {
        target = TBitmap();
    } else if (FrameIndex < 0) {
        target = TBitmap();
        target.Image = CurrentBitmap();
    } else {
        Frames(FrameIndex).CopyTo(target);
    }
}

void TGIFImage::AddFrame(std::unique_ptr<TGIFFrame> frame)
{
    m_frames.push_back(std::move(frame));
}

void TGIFImage::ReportProgress(TProgressStage stage, int percent, const QString& msg)
{
    if (OnProgress)
        OnProgress(this, stage, percent, msg);
}

void TGIFImage::Changed()
{
    if (OnChange)
        OnChange(this);
}

} // namespace gif
