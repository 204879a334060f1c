#pragma once
// The picture each frame of an animation should show, from giflib's decoding (an independent
// decoder): every frame laid over the ones before it, its see-through index leaving them showing,
// as the built-in animations are made (each frame keeps what lies beneath it).

#include "gif/giflib_oracle.h"

#include <QByteArray>
#include <QImage>

#include <cstddef>
#include <vector>

class OracleFrames
{
public:
    explicit OracleFrames(const QByteArray& gifFile)
        : m_gif(oracle::Decode(std::vector<std::uint8_t>(gifFile.begin(), gifFile.end())))
        , m_picture(m_gif.width, m_gif.height, QImage::Format_RGB32)
    { }

    int count() const { return int(m_gif.frames.size()); }

    // Frame k's picture; k runs from 0 up, one step at a time.
    const QImage& next()
    {
        const oracle::Frame& frame = m_gif.frames[m_next++];
        const auto& palette = frame.localPalette.empty() ? m_gif.globalPalette : frame.localPalette;
        for (int y = 0; y < frame.height; ++y) {
            for (int x = 0; x < frame.width; ++x) {
                const int index = frame.indices[std::size_t(y * frame.width + x)];
                if (index != frame.transparentIndex)
                    m_picture.setPixel(frame.left + x, frame.top + y, 0xFF000000 | palette[index]);
            }
        }
        return m_picture;
    }

private:
    oracle::Gif m_gif;
    QImage m_picture;
    std::size_t m_next = 0;
};
