#pragma once
// TGIFImage: the game's GIF picture, the frames of one GIF stream with their timing and
// transparency, decoded lazily frame by frame.
//
// What the animator control uses:
//   - Count(), Frames(i)            the frames; per frame Left, Top, Width(), Height(),
//                                   TransparentColor (clNone when none), Delay (ms), Disposal
//                                   (0..7; 2 restore to background, 3 restore previous) and
//                                   Draw(QPainter&, rect, transparent)
//   - FrameIndex                    the picture's own current frame (-1 when empty, 0 after a load)
//   - LogicalWidth(), LogicalHeight(), BackColor(), LoopCount/HasLoopCount
//   - Empty(), Transparent(), Palette(), PaletteModified
//   - Draw(QPainter&, rect)         the current frame, transparent when Transparent()
//   - CurrentBitmap()               the current frame's bitmap (QImage)
//   - OnChange                      fired after every successful load and every Assign
//   - Assign(const TGIFImage*)      copies (sharing the encoded data) and fires OnChange
//   - ReadFormData(QIODevice&) / ReadFormData(const QByteArray&): the stored Image.Data, a
//     32-bit little-endian byte count followed by that many bytes of GIF file
// Colours are base::TColor (red in the low byte; clNone 0x1FFFFFFF, clDefault 0x20000000);
// base::ColorToRGB turns one into a QRgb.
//
// Failures are exceptions with fixed messages (gif_types.h): EReadError("Stream read error") when
// the data is shorter than announced, EInvalidGraphicOperation for bad data ("Unknown GIF
// version", "Unrecognized extension block: %.2x", …) and for setting the size ("Cannot change the
// Size of a GIF image"); std::out_of_range("List index out of bounds (i)") for a bad frame index.

#include "gif/gif_frame.h"
#include "gif/gif_shared.h"
#include "gif/gif_types.h"
#include "gif/lzw_decoder.h"

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QRgb>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QPainter;

namespace gif {

class TGIFImage
{
public:
    using TChangeEvent = std::function<void(TGIFImage* sender)>;
    using TImageProgressEvent = std::function<void(
        TGIFImage* sender, TProgressStage stage, int percent, const QString& msg)>;

    // Empty, with the transparent flag set.
    TGIFImage();
    virtual ~TGIFImage(); // detaches OnChange first
    TGIFImage(const TGIFImage&) = delete;
    TGIFImage& operator=(const TGIFImage&) = delete;

    // Notifications; empty = unassigned. OnProgress reports the decoding of a frame (once per
    // LZW code while assigned; nothing is computed for it while unassigned).
    TChangeEvent OnChange;
    TImageProgressEvent OnProgress;

    // The graphic base's flags.
    bool TransparentFlag = true;
    bool PaletteModified = false;

    // Picture state.
    std::uint8_t FormatVersion = 0; // 0 none, 1 "87a", 2 "89a"
    int FrameIndex = -1;
    bool HasLoopCount = false;
    std::uint16_t LoopCount = 1; // at most 30000

    // New empty shared data, no frames, FrameIndex -1, BackColor clNone, LoopCount 1, no loop
    // block, FormatVersion 0. No change notification.
    void Clear();
    void ClearFrames();

    // Loads the GIF data from the stream's position to its end (see LoadGIF), then builds the
    // first frame's bitmap and fires OnChange.
    void ReadStream(QIODevice& stream);
    // Reads a 32-bit little-endian count (missing bytes read as zero) and loads that many bytes.
    void ReadFormData(QIODevice& stream);
    void ReadFormData(const QByteArray& data);
    // The loader's entry: exactly `size` bytes from the stream (EReadError when fewer remain).
    void LoadFromStream(QIODevice& stream, qint64 size, bool decodeFirst);

    // Writes the picture as a GIF file / as form data (32-bit LE count + GIF file). Frames keep
    // their stored code streams; frames built from 1- or 8-bit indexed bitmaps are encoded.
    // Throws EInvalidGraphicOperation "No GIF Data to write" without frames or for a frame without
    // bitmap, "GIF image encoding error" for a bitmap that is not 1- or 8-bit indexed.
    QByteArray WriteStream();
    QByteArray WriteFormData();

    int Count() const { return int(m_frames.size()); }
    TGIFFrame& Frames(int index) const;

    // The current frame's bitmap (frame 0 when FrameIndex is out of range). Without frames: a
    // frame without data is made current and its empty bitmap returned.
    const QImage& CurrentBitmap();

    bool Empty() const;
    int Width();
    int Height();
    [[noreturn]] void SetWidth(int); // throws "Cannot change the Size of a GIF image"
    [[noreturn]] void SetHeight(int);
    int LogicalWidth() const { return Empty() ? 0 : m_logicalWidth; }
    int LogicalHeight() const { return Empty() ? 0 : m_logicalHeight; }
    void SetLogicalSize(int width, int height);

    // Pixels of the picture to a pixel of the layout: a picture drawn at twice the resolution for
    // a high-density screen has 2. Frames, their bitmaps and the logical screen stay in the
    // picture's own pixels; the picture takes its logical screen divided by the ratio on the
    // screen (DisplayWidth, DisplayHeight). Kept when new data is read; at least 1.
    int DevicePixelRatio() const { return m_ratio; }
    void SetDevicePixelRatio(int ratio) { m_ratio = std::max(1, ratio); }
    int DisplayWidth() const { return LogicalWidth() / m_ratio; }
    int DisplayHeight() const { return LogicalHeight() / m_ratio; }
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor color) { m_backColor = color; }
    // The colour table of the current frame (empty without frames).
    QList<QRgb> Palette();
    // The transparent flag and at least one frame with a transparent colour.
    bool Transparent() const;

    // Draws the current frame into rect, leaving out its transparent colour when Transparent().
    void Draw(QPainter& canvas, const QRect& rect);
    bool SameData(const TGIFImage* other) const;
    TGIFData& SharedData() const { return *m_data; }

    // Appends a frame made from the bitmap and makes it current; returns its index.
    virtual int AppendFrame(const TBitmap& picture);
    // Logical size = the union of the frames' rectangles from (0, 0). Builds frame bitmaps.
    void RecalcLogicalSize();

    // nullptr: Clear. Itself: nothing but OnChange. Another picture: shares its data and frames'
    // items, copies its state and frames (bitmaps are copied). A frame: a one-frame picture with
    // that frame's owner's global data. A bitmap: a one-frame picture. Each fires OnChange.
    void Assign(const TGIFImage* source);
    void Assign(const TGIFFrame& source);
    void Assign(const TBitmap& source);
    // Into another picture: its Assign(this). Into a bitmap: the current frame's bitmap (an empty
    // bitmap when Empty).
    void CopyTo(TGIFImage& target) const { target.Assign(this); }
    void CopyTo(TBitmap& target);

    // Used by the reader and the frames.
    void AddFrame(std::unique_ptr<TGIFFrame> frame);
    int StoredLogicalWidth() const { return m_logicalWidth; }
    int StoredLogicalHeight() const { return m_logicalHeight; }
    // The end of a load: FrameIndex 0 with frames, the first frame's bitmap when asked (a frame
    // that fails is removed and the failure propagates), PaletteModified, OnChange.
    void FinishLoad(bool decodeFirst);
    void ReportProgress(TProgressStage stage, int percent, const QString& msg);
    void Changed();

private:
    friend class TGIFFrame;
    SharedRef<TGIFData> m_data;
    std::vector<std::unique_ptr<TGIFFrame>> m_frames;
    int m_logicalWidth = 0, m_logicalHeight = 0;
    int m_ratio = 1;
    TColor m_backColor = clNone;
};

} // namespace gif
