#include "bench_inputs.h"

#include <gif_lib.h>

#include <QDir>
#include <QFile>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>

namespace {

int writeBytes(GifFileType* file, const GifByteType* buf, int n)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(file->UserData);
    out->insert(out->end(), buf, buf + n);
    return n;
}

// One GIF with `frames` frames of w x h, colour table of 2^bits entries, pixels from `pixel`.
template <class Pixel>
std::vector<std::uint8_t> encode(int w, int h, int bits, int frames, bool interlace, Pixel pixel)
{
    std::vector<std::uint8_t> out;
    int error = 0;
    GifFileType* file = EGifOpen(&out, writeBytes, &error);
    const int colours = 1 << bits;
    std::vector<GifColorType> table(static_cast<std::size_t>(colours));
    for (int i = 0; i < colours; ++i)
        table[std::size_t(i)] = { GifByteType(i * 37), GifByteType(i * 91), GifByteType(i * 13) };
    ColorMapObject* map = GifMakeMapObject(colours, table.data());
    EGifSetGifVersion(file, true);
    EGifPutScreenDesc(file, w, h, 8, 0, map);
    std::vector<GifPixelType> row(static_cast<std::size_t>(w));
    for (int f = 0; f < frames; ++f) {
        EGifPutImageDesc(file, 0, 0, w, h, interlace, nullptr);
        // giflib takes the rows in stored order: for an interlaced frame that is pass order.
        std::vector<int> order;
        if (interlace) {
            const int starts[] = { 0, 4, 2, 1 }, steps[] = { 8, 8, 4, 2 };
            for (int pass = 0; pass < 4; ++pass)
                for (int y = starts[pass]; y < h; y += steps[pass])
                    order.push_back(y);
        } else {
            for (int y = 0; y < h; ++y)
                order.push_back(y);
        }
        for (int y : order) {
            for (int x = 0; x < w; ++x)
                row[std::size_t(x)] = GifPixelType(pixel(x, y, f) & (colours - 1));
            EGifPutLine(file, row.data(), w);
        }
    }
    GifFreeMapObject(map);
    EGifCloseFile(file, &error);
    return out;
}

} // namespace

std::vector<BenchInput> BenchInputs()
{
    std::vector<BenchInput> inputs;
    // Smooth shading in 256 colours, the size of the game's animations: typical photo-like art.
    inputs.push_back({ "shaded256", encode(518, 389, 8, 4, false, [](int x, int y, int f) {
                          return int(128 + 60 * std::sin((x + 3 * f) / 23.0)
                              + 60 * std::cos((y - 2 * f) / 17.0));
                      }) });
    // Flat cartoon areas in 16 colours: long LZW strings.
    inputs.push_back({ "flat16", encode(518, 389, 4, 4, false, [](int x, int y, int f) {
                          return ((x + f * 5) / 40 + y / 30) % 16;
                      }) });
    // Noise in 256 colours: the shortest strings, the most codes per pixel.
    std::mt19937 rng(7);
    std::vector<int> noise(256 * 256);
    for (int& v : noise)
        v = int(rng() % 256);
    inputs.push_back({ "noise256", encode(256, 256, 8, 2, false, [&](int x, int y, int f) {
                          return noise[std::size_t((y * 256 + x + f) % (256 * 256))];
                      }) });
    // Interlaced two-colour dithering.
    inputs.push_back({ "interlaced2", encode(320, 240, 1, 2, true, [](int x, int y, int f) {
                          return (x * x + y * 3 + f) % 7 < 3;
                      }) });
    if (const char* dir = std::getenv("MNEMIRA_BENCH_GIFS")) {
        const QDir folder(QString::fromLocal8Bit(dir));
        for (const QString& name : folder.entryList({ "*.gif" }, QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(name));
            if (file.open(QIODevice::ReadOnly)) {
                const QByteArray bytes = file.readAll();
                inputs.push_back({ name.toStdString(), { bytes.begin(), bytes.end() } });
            }
        }
    }
    return inputs;
}
