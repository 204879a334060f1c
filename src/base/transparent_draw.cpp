#include "base/transparent_draw.h"

#include <QPainter>

#include <array>
#include <vector>

namespace base {

namespace {

// The source pixel for each destination position, stepping through the source from its first
// pixel as a colour-on-colour stretch does (no pixel is blended with another).
std::vector<int> sampleMap(int dstSize, int srcStart, int srcSize)
{
    std::vector<int> map(static_cast<std::size_t>(dstSize));
    for (int d = 0; d < dstSize; ++d)
        map[std::size_t(d)] = srcStart + int(std::int64_t(d) * srcSize / dstSize);
    return map;
}

// The source's pixels as opaque RGB values, read where they are: true colour directly, an indexed
// image through its colour table (or `palette`) exactly as Qt's own conversion reads it (no
// table: grey levels; indexes past the table: black), anything else converted once.
class SourcePixels
{
public:
    SourcePixels(const QImage& source, const QList<QRgb>* palette)
    {
        const QImage::Format format = source.format();
        if (format == QImage::Format_Indexed8) {
            m_image = source;
            const QList<QRgb> table = palette ? *palette : source.colorTable();
            m_indexed = true;
            for (int i = 0; i < 256; ++i) {
                const QRgb c = table.isEmpty() ? qRgb(i, i, i)
                    : i < table.size()         ? table[i]
                                               : 0xFF000000;
                m_table[std::size_t(i)] = 0xFF000000 | (c & 0xFFFFFF);
            }
        } else if (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32) {
            m_image = source;
        } else {
            m_image = source.convertToFormat(QImage::Format_ARGB32);
        }
    }

    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    bool indexed() const { return m_indexed; }
    const uchar* row(int y) const { return m_image.constScanLine(y); }
    const std::array<QRgb, 256>& table() const { return m_table; }

private:
    QImage m_image;
    bool m_indexed = false;
    std::array<QRgb, 256> m_table {}; // opaque colours of an indexed source's 256 indexes
};

QRgb maskColorFor(const QImage& bitmap, TColor transparentColor)
{
    if (bitmap.depth() == 1)
        return 0xFFFFFF;
    if (transparentColor == clDefault)
        return bitmap.pixel(0, bitmap.height() - 1) & 0xFFFFFF;
    return ColorToRGB(transparentColor) & 0xFFFFFF;
}

struct Geometry
{
    int x, y, width, height;
    QRect source;
};

Geometry normalise(int x, int y, int width, int height, const QRect& source, const QImage& bitmap)
{
    Geometry g { x, y, width < 1 ? bitmap.width() : width, height < 1 ? bitmap.height() : height,
        source };
    if (source.width() < 1 || source.height() < 1)
        g.source = bitmap.rect();
    return g;
}

// One destination row from one source row: every destination pixel whose source pixel is not
// the mask colour takes it, opaque. `columns[dx]` is the source column of destination column
// dstX + dx; only dx in [first, last) land inside both images.
template <typename Read>
void blitRow(QRgb* out, const Read& read, const int* columns, int dstX, int first, int last,
    bool masked, QRgb mask)
{
    for (int dx = first; dx < last; ++dx) {
        const QRgb p = read(columns[dx]);
        if (!masked || (p & 0xFFFFFF) != mask)
            out[dstX + dx] = p;
    }
}

// Per destination pixel: the destination where the source has the mask colour (never without a
// mask), the source elsewhere, opaque.
void blit(QImage& dst, int dstX, int dstY, int dstW, int dstH, const QImage& src, int srcX,
    int srcY, int srcW, int srcH, const QList<QRgb>* palette, bool masked, QRgb maskColor)
{
    if (dstW < 1 || dstH < 1 || srcW < 1 || srcH < 1 || dst.isNull() || src.isNull())
        return;
    if (dst.depth() != 32)
        dst = dst.convertToFormat(QImage::Format_RGB32);
    const SourcePixels source(src, palette);
    const QRgb mask = maskColor & 0xFFFFFF;
    const std::vector<int> columns = sampleMap(dstW, srcX, srcW);
    const std::vector<int> rows = sampleMap(dstH, srcY, srcH);
    const int dstWidth = dst.width(), dstHeight = dst.height();
    const int srcWidth = source.width(), srcHeight = source.height();
    // The source columns grow with the destination's, so the columns inside both images are
    // one run.
    int first = 0, last = dstW;
    while (first < last
        && (dstX + first < 0 || columns[std::size_t(first)] < 0
            || columns[std::size_t(first)] >= srcWidth))
        ++first;
    while (last > first
        && (dstX + last - 1 >= dstWidth || columns[std::size_t(last - 1)] >= srcWidth
            || columns[std::size_t(last - 1)] < 0))
        --last;
    for (int dy = 0; dy < dstH; ++dy) {
        const int ty = dstY + dy, sy = rows[std::size_t(dy)];
        if (ty < 0 || ty >= dstHeight || sy < 0 || sy >= srcHeight)
            continue;
        const uchar* in = source.row(sy);
        auto* out = reinterpret_cast<QRgb*>(dst.scanLine(ty));
        if (source.indexed()) {
            const QRgb* table = source.table().data();
            blitRow(
                out, [in, table](int sx) { return table[in[sx]]; }, columns.data(), dstX, first,
                last, masked, mask);
        } else {
            const auto* pixels = reinterpret_cast<const QRgb*>(in);
            blitRow(
                out, [pixels](int sx) { return 0xFF000000 | pixels[sx]; }, columns.data(), dstX,
                first, last, masked, mask);
        }
    }
}

// The image a painter draws on when nothing else limits it (no transform, clip or opacity, one
// pixel per unit, 32-bit RGB): there the same pixels can be written in place, without a layer
// to blend, since an image being painted shows nothing in between. Null otherwise.
QImage* imageUnder(QPainter& canvas)
{
    QPaintDevice* device = canvas.device();
    if (!device || device->devType() != QInternal::Image || !canvas.transform().isIdentity()
        || canvas.hasClipping() || canvas.opacity() != 1.0 || device->devicePixelRatio() != 1.0)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
            || format == QImage::Format_ARGB32_Premultiplied
        ? image
        : nullptr;
}

} // namespace

void MaskedStretchBlt(QImage& dst, int dstX, int dstY, int dstW, int dstH, const QImage& src,
    int srcX, int srcY, int srcW, int srcH, const QList<QRgb>* palette, QRgb maskColor)
{
    blit(dst, dstX, dstY, dstW, dstH, src, srcX, srcY, srcW, srcH, palette, true, maskColor);
}

void StretchDrawTransparent(QPainter& canvas, int x, int y, int width, int height,
    const QRect& source, const QImage& bitmap, TColor transparentColor)
{
    if (bitmap.isNull())
        return;
    if (QImage* image = imageUnder(canvas)) {
        StretchDrawTransparent(*image, x, y, width, height, source, bitmap, transparentColor);
        return;
    }
    const Geometry g = normalise(x, y, width, height, source, bitmap);
    const bool masked = transparentColor != clNone;
    const QRgb mask = masked ? maskColorFor(bitmap, transparentColor) : 0;
    const bool smooth = canvas.testRenderHint(QPainter::SmoothPixmapTransform);
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    {
        // The stretched source with the masked pixels fully transparent and all others opaque:
        // drawn over the destination, it shows the destination exactly where the mask colour was.
        // It is made in the device's pixels, so a denser source keeps its detail on a denser
        // device (and a device of ratio 1 gets the destination rectangle pixel for pixel).
        const qreal ratio = canvas.device() ? canvas.device()->devicePixelRatio() : 1.0;
        const int w = ratio == 1.0 ? g.width : qRound(g.width * ratio);
        const int h = ratio == 1.0 ? g.height : qRound(g.height * ratio);
        QImage layer(w, h, QImage::Format_ARGB32);
        layer.fill(Qt::transparent);
        blit(layer, 0, 0, w, h, bitmap, g.source.x(), g.source.y(), g.source.width(),
            g.source.height(), nullptr, masked, mask);
        layer.setDevicePixelRatio(ratio);
        const QPainter::CompositionMode mode = canvas.compositionMode();
        canvas.setCompositionMode(QPainter::CompositionMode_SourceOver);
        canvas.drawImage(QPoint(g.x, g.y), layer);
        canvas.setCompositionMode(mode);
    }
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
}

void StretchDrawTransparent(QPainter& canvas, int x, int y, int width, int height, int srcX,
    int srcY, int srcW, int srcH, const QImage& bitmap, TColor transparentColor)
{
    StretchDrawTransparent(
        canvas, x, y, width, height, QRect(srcX, srcY, srcW, srcH), bitmap, transparentColor);
}

void StretchDrawTransparent(QImage& target, int x, int y, int width, int height,
    const QRect& source, const QImage& bitmap, TColor transparentColor)
{
    if (bitmap.isNull())
        return;
    const Geometry g = normalise(x, y, width, height, source, bitmap);
    const bool masked = transparentColor != clNone;
    blit(target, g.x, g.y, g.width, g.height, bitmap, g.source.x(), g.source.y(), g.source.width(),
        g.source.height(), nullptr, masked, masked ? maskColorFor(bitmap, transparentColor) : 0);
}

} // namespace base
