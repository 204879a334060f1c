#include "gif/gif_reader.h"

#include "base/little_endian.h"
#include "gif/gif_image.h"

#include <QIODevice>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

namespace gif {

namespace {

constexpr std::uint8_t kExtension = '!', kImage = ',', kTrailer = ';';

// The private in-memory copy of the input. Checked reads that run past its end are the stream's
// read error; the lenient ones take what is there and leave the rest of the target as it was.
class MemoryReader final : public base::ByteReader
{
public:
    using base::ByteReader::ByteReader;
    [[noreturn]] void overrun() const override { throw EReadError(SReadError); }
};

bool equalsIgnoringAsciiCase(const std::uint8_t* a, const char* b, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        if (std::toupper(a[i]) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

using ExtensionList = std::optional<std::vector<TExtension>>;

class GifParser
{
public:
    GifParser(TGIFImage& image, std::span<const std::uint8_t> data)
        : m_image(image)
        , m_in(data)
    { }

    void parse()
    {
        readHeader();
        readScreen();
        std::uint8_t introducer = NextIntroducer();
        while (introducer != 0 && introducer != kTrailer && !m_in.atEnd()) {
            ExtensionList run = ReadExtensionRun(introducer);
            if (introducer == kImage) {
                ReadFrame(std::move(run));
                introducer = m_in.atEnd() ? kTrailer : NextIntroducer();
                if (introducer != kExtension && introducer != kImage && introducer != kTrailer)
                    introducer = 0;
            } else if (m_image.SharedData().CommentText.isEmpty() && run) {
                TakeTrailingComments(*run);
            } else if (introducer != 0 && introducer != kTrailer) {
                throw EInvalidGraphicOperation(SReadError);
            }
        }
    }

private:
    void readHeader()
    {
        static const char* const versions[] = { "", "87a", "89a" };
        std::uint8_t sig[3] = {}, version[3] = {};
        m_in.bytesUpTo(sig, 3);
        if (!equalsIgnoringAsciiCase(sig, "GIF", 3))
            throw EInvalidGraphicOperation(SUnknownVersion);
        m_in.bytesUpTo(version, 3);
        for (std::uint8_t i = 1; i < 3; ++i) {
            if (equalsIgnoringAsciiCase(version, versions[i], 3)) {
                m_image.FormatVersion = i;
                return;
            }
        }
        throw EInvalidGraphicOperation(SUnknownVersion);
    }

    void readScreen()
    {
        std::uint8_t d[7] = {};
        m_in.bytesUpTo(d, 7);
        TGIFData& data = m_image.SharedData();
        m_image.SetLogicalSize(base::loadLE16(d), base::loadLE16(d + 2));
        const std::uint8_t packed = d[4], background = d[5];
        data.AspectByte = d[6];
        data.GlobalBits = std::uint8_t((packed & 7) + 1);
        data.ColorResolution = std::uint8_t((packed >> 4 & 7) + 1);
        if (packed & 0x80) {
            data.GlobalColors.Count = 1 << data.GlobalBits;
            m_in.bytesUpTo(
                data.GlobalColors.Entries.data(), std::size_t(data.GlobalColors.Count) * 3);
            if (background < data.GlobalColors.Count)
                m_image.SetBackColor(TripleToColor(data.GlobalColors, background));
        }
    }

    // Skips zero bytes between blocks; 0 when the data ends first.
    std::uint8_t NextIntroducer()
    {
        std::uint8_t b = 0;
        while (!m_in.atEnd() && b == 0)
            b = m_in.u8OrZero();
        return b;
    }

    ExtensionList ReadExtensionRun(std::uint8_t& introducer)
    {
        ExtensionList list;
        while (introducer == kExtension) {
            TExtension e = ReadOneExtension();
            if (e.Kind == TExtensionKind::ekPlainText)
                list.reset(); // text drawn over the screen replaces what the run set up
            if (e.Kind == TExtensionKind::ekPlainText || e.Kind == TExtensionKind::ekApplication) {
                if (const std::optional<int> count = LoopBlockCount(e)) {
                    m_image.HasLoopCount = true;
                    m_image.LoopCount = std::uint16_t(std::min(*count, 30000));
                }
            } else {
                if (!list)
                    list.emplace();
                list->push_back(std::move(e));
            }
            introducer = m_in.atEnd() ? kTrailer : NextIntroducer();
        }
        if (list && list->empty())
            list.reset();
        return list;
    }

    TExtension ReadOneExtension()
    {
        const std::uint8_t label = m_in.u8OrZero();
        TExtension e;
        switch (label) {
        case 0xF9:
            e.Kind = TExtensionKind::ekGraphicControl;
            m_in.bytesUpTo(e.Header.data(), 6);
            break;
        case 0xFE:
            e.Kind = TExtensionKind::ekComment;
            e.SubBlocks = ReadSubBlocks();
            break;
        case 0x01:
            e.Kind = TExtensionKind::ekPlainText;
            m_in.bytesUpTo(e.Header.data(), 13);
            e.SubBlocks = ReadSubBlocks();
            break;
        case 0xFF:
            e.Kind = TExtensionKind::ekApplication;
            m_in.bytesUpTo(e.Header.data(), 12);
            e.SubBlocks = ReadSubBlocks();
            break;
        default:
            throw EInvalidGraphicOperation(UnknownExtensionMessage(label));
        }
        return e;
    }

    QByteArrayList ReadSubBlocks()
    {
        QByteArrayList blocks;
        for (;;) {
            const std::uint8_t length = m_in.u8OrZero();
            if (length != 0) {
                QByteArray block(length, '\0');
                m_in.bytesUpTo(block.data(), length);
                blocks.append(block);
            }
            if (length == 0 || m_in.atEnd())
                return blocks;
        }
    }

    void ReadFrame(ExtensionList run)
    {
        auto frame = std::make_unique<TGIFFrame>(&m_image);
        const TGIFData& data = m_image.SharedData();
        TGIFItem& item = frame->Item();
        if (data.GlobalColors.Count > 0)
            item.PixelBits = std::uint8_t(ColorCountToBits(data.GlobalColors.Count));
        if (run)
            frame->ExtensionBlocks = std::move(*run);
        try {
            ReadFrameBody(*frame);
        } catch (...) {
            item.CodeStream.reset();
            throw;
        }
        m_image.AddFrame(std::move(frame));
    }

    void ReadFrameBody(TGIFFrame& frame)
    {
        TGIFItem& item = frame.Item();
        std::uint8_t d[9];
        m_in.bytes(d, 9);
        const int left = base::loadLE16(d), top = base::loadLE16(d + 2);
        int width = base::loadLE16(d + 4), height = base::loadLE16(d + 6);
        const std::uint8_t packed = d[8];
        frame.Interlace = packed & 0x40;
        if (packed & 0x80) {
            item.PixelBits = std::uint8_t((packed & 7) + 1);
            frame.OwnColors = true;
            item.Colors.Count = 1 << item.PixelBits;
            m_in.bytes(item.Colors.Entries.data(), std::size_t(item.Colors.Count) * 3);
        } else {
            frame.OwnColors = false;
            item.Colors = TGIFRGBTable();
        }
        CopyCodeStream(frame);
        if (frame.Damaged && !TolerateDamage)
            throw EInvalidGraphicOperation(SReadError);

        if (width == 0)
            width = m_image.StoredLogicalWidth();
        if (height == 0)
            height = m_image.StoredLogicalHeight();
        item.FrameWidth = width;
        item.FrameHeight = height;
        frame.Left = left;
        frame.Top = top;
        item.DescriptorFlags = packed;
        if (!frame.OwnColors)
            item.Colors = m_image.SharedData().GlobalColors;
        applyGraphicControl(frame);
    }

    // The code size byte and the sub-blocks as they are; a sub-block that runs past the end marks
    // the frame damaged and is left out. They lie together in the input, so they are found first
    // and copied once, into a stream of their final size.
    void CopyCodeStream(TGIFFrame& frame)
    {
        m_in.u8(); // the code size
        const std::uint8_t* const start = m_in.here() - 1;
        while (!m_in.atEnd()) {
            const std::size_t n = *m_in.here();
            if (n >= m_in.remaining()) {
                frame.Damaged = true;
                break;
            }
            m_in.skip(n + 1);
            if (n == 0)
                break;
        }
        frame.Item().CodeStream.emplace(start, m_in.here());
        if (frame.Damaged)
            m_in.skipToEnd();
    }

    static void applyGraphicControl(TGIFFrame& frame)
    {
        const TGIFRGBTable& colors = frame.Item().Colors;
        int delay = 0;
        for (const TExtension& e : frame.ExtensionBlocks) {
            if (e.Kind != TExtensionKind::ekGraphicControl)
                continue;
            if (e.HasTransparency()) {
                if (e.TransparentIndex() < colors.Count)
                    frame.TransparentColor = TripleToColor(colors, e.TransparentIndex());
            } else {
                frame.TransparentColor = clNone;
            }
            delay = std::max(delay, e.DelayCs() * 10);
            frame.Disposal = std::uint8_t(e.Disposal());
        }
        // Delays past 655.35 s saturate instead of wrapping round to a short one.
        frame.Delay = std::uint16_t(std::min(delay, 0xFFFF));
    }

    void TakeTrailingComments(const std::vector<TExtension>& run)
    {
        QByteArrayList& text = m_image.SharedData().CommentText;
        for (const TExtension& e : run) {
            if (e.Kind != TExtensionKind::ekComment)
                continue;
            if (!text.isEmpty())
                text.append(QByteArray("\r\n\r\n"));
            if (e.SubBlocks)
                text.append(*e.SubBlocks);
        }
    }

    TGIFImage& m_image;
    MemoryReader m_in;
};

} // namespace

std::optional<int> LoopBlockCount(const TExtension& e)
{
    if (e.Kind != TExtensionKind::ekApplication || !e.SubBlocks || e.SubBlocks->isEmpty())
        return std::nullopt;
    // The block-size byte says how much of the identifier to compare; the 11 stored bytes are
    // all there is to compare against.
    const std::size_t n = std::min<std::size_t>(e.Header[0], 11);
    const std::uint8_t* id = e.Header.data() + 1;
    if (std::memcmp(id, "NETSCAPE2.0", n) != 0 && std::memcmp(id, "ANIMEXTS1.0", n) != 0)
        return std::nullopt;
    const QByteArray& sub = e.SubBlocks->first();
    if (sub.size() < 3 || sub[0] != 1)
        return std::nullopt;
    return std::uint8_t(sub[1]) | std::uint8_t(sub[2]) << 8;
}

bool IsLoopBlock(const TExtension& e)
{
    return LoopBlockCount(e).has_value();
}

void LoadGIF(TGIFImage& image, std::span<const std::uint8_t> data, bool decodeFirst)
{
    image.Clear();
    if (!data.empty())
        GifParser(image, data).parse();
    image.FinishLoad(decodeFirst);
}

void LoadGIF(TGIFImage& image, qint64 size, QIODevice& stream, bool decodeFirst)
{
    image.Clear();
    // Checked before anything is allocated for it: the count comes from the data itself.
    if (size < 0 || (!stream.isSequential() && stream.size() - stream.pos() < size))
        throw EReadError(SReadError);
    const QByteArray bytes = stream.read(size);
    if (bytes.size() != size)
        throw EReadError(SReadError);
    LoadGIF(image,
        std::span<const std::uint8_t>(
            reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())),
        decodeFirst);
}

} // namespace gif
