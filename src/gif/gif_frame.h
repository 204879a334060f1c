#pragma once
// One frame of a GIF picture: its shared encoded data (TGIFItem), its placement and timing, and a
// bitmap decoded from the code stream on first request and kept.

#include "gif/gif_extension.h"
#include "gif/gif_shared.h"
#include "gif/gif_types.h"
#include "gif/lzw_decoder.h"

#include <QByteArrayList>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QPainter;

namespace gif {

class TGIFImage;

class TGIFFrame
{
public:
    // Owner: the picture the frame belongs to (not owned; may be null). Starts with an empty item.
    explicit TGIFFrame(TGIFImage* owner);
    virtual ~TGIFFrame();
    TGIFFrame(const TGIFFrame&) = delete;
    TGIFFrame& operator=(const TGIFFrame&) = delete;

    TGIFImage* Owner() const { return m_owner; }
    TGIFItem& Item() const { return *m_item; }

    // Placement and timing, as read (see the reader) or copied.
    int Left = 0, Top = 0;
    bool Interlace = false;
    bool Damaged = false; // damaged data was tolerated for this frame
    bool Grayscale = false;
    TColor TransparentColor = clNone; // colour of the transparent index
    std::uint16_t Delay = 0; // milliseconds
    std::uint8_t Disposal = 0; // 0..7; 2 = restore to background, 3 = restore previous
    bool OwnColors = false;
    // Graphic control and comment extensions read before the frame, in file order.
    std::vector<TExtension> ExtensionBlocks;

    // The decoded frame, built on first request (BuildFrameBitmap, then loaded): Format_Mono with
    // the frame's two colours for 1 bit per pixel, Format_Indexed8 with its colour table
    // otherwise (a quarter of the memory of true colour; drawing looks the colours up as it
    // draws, so every drawn pixel is the same as from true colour). Throws what the build
    // throws (EInvalidGraphicOperation "Wrong number of colors; must be a power of 2" for a frame
    // without colour table, the decoder's failures); the frame then keeps an empty bitmap and the
    // next request tries again. A frame without code stream gives its (possibly empty) bitmap.
    // The reference stays valid while the frame lives (a rebuild or an Assign changes what it
    // shows).
    const QImage& FrameBitmap();
    bool HasFrameBitmap() const { return m_hasBitmap; } // built, assigned or reset
    void ResetBitmap(); // an empty bitmap in place of the old one
    // Releases the item and takes a new empty one; clears the flags, placement and timing.
    void ResetItem();

    // 0 without bitmap and code stream, else the bitmap's size (building it if needed).
    int Width();
    int Height();
    QRect BoundsRect() { return QRect(Left, Top, Width(), Height()); }

    // Stretches the bitmap into rect; with `transparent` and a TransparentColor, pixels of that
    // colour are left out.
    void Draw(QPainter& canvas, const QRect& rect, bool transparent);

    // The sub-blocks of the last comment block, or null.
    const QByteArrayList* CommentLines() const;
    // Replaces the lines of the last comment block, appending a comment block when there is none.
    void SetCommentLines(const QByteArrayList& lines);

    // nullptr: empty frame. A frame: shares its item; OwnColors copied when both frames have the
    // same owner, else true; placement, timing, flags, bitmap (if any) and comment lines copied.
    // Afterwards the owner's logical size is recalculated.
    void Assign(const TGIFFrame* source);
    // The picture's current frame (frame 0 when its FrameIndex is negative), or none.
    void Assign(const TGIFImage& source);
    // A bitmap: becomes the frame's bitmap (no code stream); a transparent bitmap gives its
    // transparent colour (clDefault: the colour of its bottom-left pixel). An empty one is none.
    void Assign(const TBitmap& source);

    void CopyTo(TGIFFrame& target) const { target.Assign(this); }
    void CopyTo(TGIFImage& target) const;
    // The bitmap, and with a TransparentColor the bitmap's transparency marks.
    void CopyTo(TBitmap& target);

private:
    friend class TGIFImage;
    void recalcOwner();
    void dropBitmap();

    TGIFImage* m_owner;
    SharedRef<TGIFItem> m_item;
    QImage m_bitmap; // stays the same object, so references to it stay valid
    bool m_hasBitmap = false;
};

// A frame's BMP file. Its bytes lie in a buffer the calling thread keeps and reuses, so building
// the frames of a picture asks the allocator for nothing new; a build started while that buffer
// is in use further up the stack (a progress listener that draws another frame) gets a buffer of
// its own. The bytes stay valid while the object lives.
class FrameBitmapFile
{
public:
    explicit FrameBitmapFile(std::size_t size); // contents undefined
    FrameBitmapFile(FrameBitmapFile&& other) noexcept;
    FrameBitmapFile& operator=(FrameBitmapFile&&) = delete;
    ~FrameBitmapFile();

    std::span<std::uint8_t> bytes() const { return { m_data, m_size }; }

private:
    std::unique_ptr<std::uint8_t[]> m_own;
    std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_kept = false; // the thread's buffer, given back on destruction
};

// The BMP file (14-byte file header, 40-byte information header, palette, pixels) of a frame's
// item, decoded. Bit count 1 for PixelBits 1, 4 for 2..4, 8 for 5..8; other values throw
// EInvalidGraphicOperation "Wrong number of colors; must be a power of 2". `damaged` receives the
// decoder's damage flag. The item must have a code stream.
FrameBitmapFile BuildFrameBitmap(
    const TGIFItem& item, bool interlace, bool& damaged, const TProgressEvent* progress = nullptr);
// Loads BMP bytes as BuildFrameBitmap writes them (uncompressed, 1, 4 or 8 bits): Format_Mono
// with its two colours for 1 bit, Format_Indexed8 with the BMP's 16 or 256 colours otherwise;
// rows are copied once. No pixels give a null image. Throws EInvalidGraphicOperation for anything
// else, std::bad_alloc when the image cannot be made.
QImage LoadFrameBMP(std::span<const std::uint8_t> bmp);

} // namespace gif
