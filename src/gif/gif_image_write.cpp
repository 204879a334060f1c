// Writing a TGIFImage back as GIF data. Frames read from a file keep their code streams and are
// written as they came; frames made from a bitmap are encoded from its colour indices.

#include "base/little_endian.h"
#include "gif/gif_image.h"
#include "gif/lzw_encoder.h"

#include <algorithm>

namespace gif {

namespace {

void putTable(QByteArray& out, const TGIFRGBTable& table)
{
    out.append(reinterpret_cast<const char*>(table.Entries.data()), qsizetype(table.Count) * 3);
}

void putSubBlocks(QByteArray& out, const QByteArray& data)
{
    for (qsizetype pos = 0; pos < data.size(); pos += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - pos);
        out.append(char(n));
        out.append(data.mid(pos, n));
    }
}

int indexOf(const TGIFRGBTable& table, TColor colour)
{
    for (int i = 0; i < table.Count; ++i) {
        if (TripleToColor(table, i) == colour)
            return i;
    }
    return -1;
}

struct EncodedFrame
{
    TGIFRGBTable colours;
    int bits = 0;
    bool localTable = false;
    std::vector<std::uint8_t> codeStream; // code size byte and sub-blocks, terminated
};

// The stored code stream, with a terminator added when the data had been cut.
std::vector<std::uint8_t> terminated(std::vector<std::uint8_t> codes)
{
    std::size_t p = 1;
    bool ended = false;
    while (p < codes.size()) {
        const std::size_t n = codes[p];
        if (n == 0) {
            ended = true;
            break;
        }
        p += n + 1;
    }
    if (!ended)
        codes.push_back(0);
    return codes;
}

EncodedFrame encodeBitmap(const QImage& bitmap)
{
    if (bitmap.isNull())
        throw EInvalidGraphicOperation(SNoData);
    QImage indexed = bitmap;
    if (bitmap.format() == QImage::Format_Mono || bitmap.format() == QImage::Format_MonoLSB)
        indexed = bitmap.convertToFormat(QImage::Format_Indexed8, bitmap.colorTable());
    if (indexed.format() != QImage::Format_Indexed8)
        throw EInvalidGraphicOperation(SEncodingError);
    EncodedFrame e;
    const QList<QRgb> table = indexed.colorTable();
    e.bits = 1;
    while ((1 << e.bits) < table.size())
        ++e.bits;
    e.colours.Count = 1 << e.bits;
    for (qsizetype i = 0; i < table.size(); ++i) {
        e.colours.Entries[std::size_t(i) * 3] = std::uint8_t(qRed(table[i]));
        e.colours.Entries[std::size_t(i) * 3 + 1] = std::uint8_t(qGreen(table[i]));
        e.colours.Entries[std::size_t(i) * 3 + 2] = std::uint8_t(qBlue(table[i]));
    }
    e.localTable = true;
    std::vector<std::uint8_t> indices;
    indices.reserve(std::size_t(indexed.width()) * std::size_t(indexed.height()));
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* row = indexed.constScanLine(y);
        indices.insert(indices.end(), row, row + indexed.width());
    }
    const int codeSize = std::max(2, e.bits);
    const std::vector<std::uint8_t> packed = EncodeLZW(indices, codeSize);
    e.codeStream.push_back(std::uint8_t(codeSize));
    for (std::size_t pos = 0; pos < packed.size(); pos += 255) {
        const std::size_t n = std::min<std::size_t>(255, packed.size() - pos);
        e.codeStream.push_back(std::uint8_t(n));
        e.codeStream.insert(
            e.codeStream.end(), packed.begin() + long(pos), packed.begin() + long(pos + n));
    }
    e.codeStream.push_back(0);
    return e;
}

} // namespace

QByteArray TGIFImage::WriteStream()
{
    if (m_frames.empty())
        throw EInvalidGraphicOperation(SNoData);
    if (m_logicalWidth == 0 || m_logicalHeight == 0)
        RecalcLogicalSize();
    const TGIFData& data = *m_data;
    QByteArray out("GIF89a");
    base::appendLE16(out, m_logicalWidth);
    base::appendLE16(out, m_logicalHeight);
    const bool global = data.GlobalColors.Count > 0;
    out.append(char(global ? 0x80 | (std::max(data.ColorResolution, std::uint8_t(1)) - 1) << 4
                | (ColorCountToBits(data.GlobalColors.Count) - 1)
                           : 0));
    out.append(char(std::max(0, global ? indexOf(data.GlobalColors, m_backColor) : 0)));
    out.append(char(data.AspectByte));
    if (global)
        putTable(out, data.GlobalColors);
    if (HasLoopCount) {
        out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
        base::appendLE16(out, LoopCount);
        out.append('\0');
    }
    for (const auto& frame : m_frames) {
        const TGIFItem& item = frame->Item();
        EncodedFrame e;
        if (item.CodeStream && !item.CodeStream->empty()) {
            e.colours = item.Colors;
            e.bits = item.PixelBits;
            e.localTable = frame->OwnColors || !global;
            e.codeStream = terminated(*item.CodeStream);
        } else {
            e = encodeBitmap(frame->FrameBitmap());
        }
        for (const TExtension& ext : frame->ExtensionBlocks) {
            if (ext.Kind == TExtensionKind::ekComment && ext.SubBlocks) {
                out.append("\x21\xFE", 2);
                for (const QByteArray& line : *ext.SubBlocks)
                    putSubBlocks(out, line);
                out.append('\0');
            }
        }
        const int transparent
            = frame->TransparentColor == clNone ? -1 : indexOf(e.colours, frame->TransparentColor);
        out.append("\x21\xF9\x04", 3);
        out.append(char((frame->Disposal & 7) << 2 | (transparent >= 0 ? 1 : 0)));
        base::appendLE16(out, frame->Delay / 10);
        out.append(char(std::max(transparent, 0)));
        out.append('\0');

        out.append(',');
        base::appendLE16(out, frame->Left);
        base::appendLE16(out, frame->Top);
        base::appendLE16(out, item.CodeStream ? item.FrameWidth : frame->Width());
        base::appendLE16(out, item.CodeStream ? item.FrameHeight : frame->Height());
        const bool local = e.localTable && e.colours.Count > 0;
        out.append(char((local ? 0x80 | (ColorCountToBits(e.colours.Count) - 1) : 0)
            | (frame->Interlace ? 0x40 : 0)));
        if (local)
            putTable(out, e.colours);
        out.append(
            reinterpret_cast<const char*>(e.codeStream.data()), qsizetype(e.codeStream.size()));
    }
    if (!data.CommentText.isEmpty()) {
        out.append("\x21\xFE", 2);
        for (const QByteArray& line : data.CommentText)
            putSubBlocks(out, line);
        out.append('\0');
    }
    out.append(';');
    return out;
}

QByteArray TGIFImage::WriteFormData()
{
    const QByteArray gif = WriteStream();
    QByteArray out;
    base::appendLE32(out, std::uint32_t(gif.size()));
    return out + gif;
}

} // namespace gif
