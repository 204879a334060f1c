#include "animation_writer.h"

#include "palette.h"

#include "gif/gif_writer.h"

#include <limits>

namespace artgen {

const std::vector<std::uint32_t>& gifPalette()
{
    static const std::vector<std::uint32_t> table = [] {
        std::vector<std::uint32_t> t;
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    if (t.size() < 215)
                        t.push_back(std::uint32_t(r * 51) << 16 | std::uint32_t(g * 51) << 8
                            | std::uint32_t(b * 51));
        t.push_back(0xFFFFFF); // 215: transparent
        t.push_back(0xFFFFFF); // 216: white
        for (QRgb c : artColours()) {
            if (t.size() == 256)
                break;
            t.push_back(c & 0xFFFFFF);
        }
        while (t.size() < 256)
            t.push_back(0x000000);
        return t;
    }();
    return table;
}

std::uint8_t Quantiser::index(QRgb colour)
{
    const std::uint32_t key = colour & 0xFFFFFF;
    if (m_cache.empty())
        m_cache.assign(1 << 16, { 0xFFFFFFFFu, 0 });
    const std::size_t mask = m_cache.size() - 1;
    std::size_t slot = (key * 2654435761u) >> 8 & mask;
    while (m_cache[slot].first != 0xFFFFFFFFu) {
        if (m_cache[slot].first == key)
            return m_cache[slot].second;
        slot = (slot + 1) & mask;
    }
    const auto& table = gifPalette();
    const int r = qRed(colour), g = qGreen(colour), b = qBlue(colour);
    int best = whiteIndex;
    long bestDistance = std::numeric_limits<long>::max();
    for (int i = 0; i < 256; ++i) {
        if (i == transparentIndex)
            continue;
        const int dr = r - int(table[i] >> 16), dg = g - int(table[i] >> 8 & 0xFF),
                  db = b - int(table[i] & 0xFF);
        const long d = 3L * dr * dr + 4L * dg * dg + 2L * db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    // Keep the table sparse enough for short probes; the art has a few thousand colours.
    if (++m_used > m_cache.size() / 2) {
        m_cache.clear();
        m_used = 0;
    } else {
        m_cache[slot] = { key, std::uint8_t(best) };
    }
    return std::uint8_t(best);
}

WrittenAnimation writeAnimation(QSize screen, const std::vector<int>& delaysCs,
    const std::function<QImage(int)>& render, const std::vector<QRect>& placement)
{
    const int w = screen.width(), h = screen.height();
    gif::GifWriteImage image;
    image.screenWidth = w;
    image.screenHeight = h;
    image.globalPalette = gifPalette();
    image.backgroundIndex = transparentIndex;
    image.loopCount = 0;

    WrittenAnimation written;
    Quantiser quantiser;
    std::vector<std::uint8_t> shown; // the picture as a viewer has it after each frame
    std::vector<std::uint8_t> now(std::size_t(w) * h);
    for (std::size_t f = 0; f < delaysCs.size(); ++f) {
        const QImage picture = render(int(f));
        for (int y = 0; y < h; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            for (int x = 0; x < w; ++x)
                now[std::size_t(y) * w + x] = quantiser.index(line[x]);
        }
        QRect place(0, 0, w, h);
        if (!placement.empty()) {
            place = placement[f];
        } else if (f > 0) {
            int left = w, top = h, right = -1, bottom = -1;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    if (now[std::size_t(y) * w + x] != shown[std::size_t(y) * w + x]) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                        top = std::min(top, y);
                        bottom = std::max(bottom, y);
                    }
            if (right < 0) // nothing changed: a single see-through pixel holds the delay
                left = right = top = bottom = 0;
            place = QRect(QPoint(left, top), QPoint(right, bottom));
        }
        gif::GifWriteFrame frame;
        frame.delayCs = delaysCs[f];
        frame.disposal = 1;
        frame.transparentIndex = transparentIndex;
        frame.left = place.left();
        frame.top = place.top();
        frame.width = place.width();
        frame.height = place.height();
        if (f == 0) {
            // The first frame is opaque: nothing lies under it yet.
            shown.assign(std::size_t(w) * h, transparentIndex);
        }
        frame.indices.reserve(std::size_t(frame.width) * frame.height);
        for (int y = place.top(); y <= place.bottom(); ++y)
            for (int x = place.left(); x <= place.right(); ++x) {
                const std::size_t i = std::size_t(y) * w + x;
                frame.indices.push_back(now[i] == shown[i] ? transparentIndex : now[i]);
                shown[i] = now[i];
            }
        written.placement.push_back(place);
        image.frames.push_back(std::move(frame));
    }
    const std::vector<std::uint8_t> bytes = gif::WriteGIF(image);
    written.gif = QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    return written;
}

} // namespace artgen
