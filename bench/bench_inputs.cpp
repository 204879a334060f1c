#include "bench_inputs.h"

#include <gif_lib.h>

#include <QDir>
#include <QFile>

#include <algorithm>
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

// Random colour indices, the same for every run: noise is the hardest case for LZW, with the
// shortest strings and the most codes per pixel.
std::vector<std::uint8_t> randomPixels(std::size_t count, unsigned seed)
{
    std::mt19937 rng(seed);
    std::vector<std::uint8_t> pixels(count);
    for (std::uint8_t& v : pixels)
        v = std::uint8_t(rng());
    return pixels;
}

} // namespace

// The classes every decoder change is measured on; the names say what each one stands for.
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
    // A gradient ordered-dithered to 4 colours: short repeating patterns, few colours.
    inputs.push_back({ "dither4", encode(518, 389, 2, 4, false, [](int x, int y, int f) {
                          static const int bayer[4][4] = { { 0, 8, 2, 10 }, { 12, 4, 14, 6 },
                              { 3, 11, 1, 9 }, { 15, 7, 13, 5 } };
                          const int level = ((x + 2 * f) * 3 * 16 + y * 16) / (518 + 389);
                          return (level + bayer[y % 4][x % 4]) / 16;
                      }) });
    // Noise in 256 colours: about one pixel per code. The second frame is the first shifted.
    const std::vector<std::uint8_t> noise = randomPixels(256 * 256, 7);
    inputs.push_back({ "noise256", encode(256, 256, 8, 2, false, [&](int x, int y, int f) {
                          return noise[std::size_t((y * 256 + x + f) % (256 * 256))];
                      }) });
    // Noise in 16 and 2 colours: a few pixels per code, the codes still unpredictable.
    inputs.push_back({ "noise16", encode(256, 256, 4, 2, false, [&](int x, int y, int f) {
                          return noise[std::size_t((y * 256 + x + f) % (256 * 256))] >> 4;
                      }) });
    const std::vector<std::uint8_t> bits = randomPixels(256 * 256, 11);
    inputs.push_back({ "noise2", encode(256, 256, 1, 2, false, [&](int x, int y, int f) {
                          return bits[std::size_t((y * 256 + x + f) % (256 * 256))] >> 7;
                      }) });
    // Interlaced two-colour dithering.
    inputs.push_back({ "interlaced2", encode(320, 240, 1, 2, true, [](int x, int y, int f) {
                          return (x * x + y * 3 + f) % 7 < 3;
                      }) });
    // Interlaced shading in 256 colours.
    inputs.push_back(
        { "interlaced256", encode(320, 240, 8, 2, true, [](int x, int y, int f) {
             return int(128 + 60 * std::sin((x - 4 * f) / 19.0) + 60 * std::cos((y + f) / 13.0));
         }) });
    // Whole pictures of a screen's size, one frame each: what loading costs in memory (fresh
    // pages, copies) shows beside the decoding.
    const std::vector<std::uint8_t> screen = randomPixels(800 * 600, 13);
    inputs.push_back({ "noise800x600", encode(800, 600, 8, 1, false, [&](int x, int y, int) {
                          return screen[std::size_t(y * 800 + x)];
                      }) });
    inputs.push_back({ "shaded1600x1200", encode(1600, 1200, 8, 1, false, [](int x, int y, int) {
                          return int(128 + 60 * std::sin(x / 37.0) + 60 * std::cos(y / 29.0));
                      }) });
    // Many small frames, like a sprite or a spinner: the cost per frame (tables, buffers) shows.
    inputs.push_back({ "small32x32x200", encode(32, 32, 8, 200, false, [](int x, int y, int f) {
                          const int dx = x - 16 + f % 7, dy = y - 16 + f % 5;
                          return (dx * dx + dy * dy + 3 * f) % 256;
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

int GiflibReadBytes(GifFileType* file, GifByteType* buf, int n)
{
    auto* r = static_cast<GiflibMemoryReader*>(file->UserData);
    const std::size_t take = std::min<std::size_t>(std::size_t(n), r->bytes->size() - r->pos);
    std::memcpy(buf, r->bytes->data() + r->pos, take);
    r->pos += take;
    return int(take);
}
