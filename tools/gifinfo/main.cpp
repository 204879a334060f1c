// gifinfo: what the game's GIF reader makes of a file.
//   gifinfo FILE                 screen size, loop count, one line per frame
//   gifinfo --pgm DIR FILE       each frame's colour indices as DIR/frame-NNN.pgm (binary PGM)
//   gifinfo --bench N FILE...    parse and decode every frame N times; last line "Mpixel/s: X"
//   gifinfo --bench-bitmaps N FILE...  the same, each frame's bitmap built as its first draw does
// A load failure prints the reader's message to stderr and exits with status 1.

#include "gif/gif_image.h"
#include "gif/gif_reader.h"

#include <QFile>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <span>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> readFile(const char* path)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(std::string("cannot open ") + path);
    const QByteArray bytes = file.readAll();
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::string colourText(gif::TColor colour)
{
    if (colour == gif::clNone)
        return "none";
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", unsigned(colour & 0xFF),
        unsigned(colour >> 8 & 0xFF), unsigned(colour >> 16 & 0xFF));
    return text;
}

std::vector<std::uint8_t> frameIndices(const gif::TGIFFrame& frame, bool& damaged)
{
    const gif::TGIFItem& item = frame.Item();
    if (item.PixelBits < 1 || item.PixelBits > 8)
        throw gif::EInvalidGraphicOperation(gif::SWrongColorCount);
    static const std::vector<std::uint8_t> none;
    return gif::DecodeLZWIndices(item.CodeStream ? *item.CodeStream : none, item.FrameWidth,
        item.FrameHeight, frame.Interlace, item.PixelBits, damaged);
}

int describe(const char* path)
{
    gif::TGIFImage image;
    gif::LoadGIF(image, readFile(path), true);
    std::printf("screen: %dx%d\n", image.LogicalWidth(), image.LogicalHeight());
    if (image.HasLoopCount)
        std::printf("loop: %d\n", image.LoopCount);
    else
        std::printf("loop: none\n");
    std::printf("frames: %d\n", image.Count());
    for (int i = 0; i < image.Count(); ++i) {
        gif::TGIFFrame& frame = image.Frames(i);
        const int width = frame.Width(), height = frame.Height(); // decodes: Damaged is known after
        std::printf("frame %d: left %d top %d width %d height %d delay %d ms disposal %d "
                    "transparent %s damaged %s\n",
            i, frame.Left, frame.Top, width, height, frame.Delay, frame.Disposal,
            colourText(frame.TransparentColor).c_str(), frame.Damaged ? "yes" : "no");
    }
    return 0;
}

int writePgm(const char* dir, const char* path)
{
    gif::TGIFImage image;
    gif::LoadGIF(image, readFile(path), true);
    for (int i = 0; i < image.Count(); ++i) {
        const gif::TGIFFrame& frame = image.Frames(i);
        bool damaged = false;
        const std::vector<std::uint8_t> pixels = frameIndices(frame, damaged);
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%03d.pgm", i);
        QFile out(QString::fromLocal8Bit(dir) + QString::fromLatin1(name));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("cannot write " + out.fileName().toStdString());
        const QByteArray header = QByteArray("P5\n") + QByteArray::number(frame.Item().FrameWidth)
            + ' ' + QByteArray::number(frame.Item().FrameHeight) + "\n255\n";
        out.write(header);
        out.write(reinterpret_cast<const char*>(pixels.data()), qint64(pixels.size()));
    }
    return 0;
}

int bench(int rounds, std::span<char*> paths, bool bitmaps)
{
    std::vector<std::vector<std::uint8_t>> files;
    for (char* path : paths)
        files.push_back(readFile(path));
    double pixels = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < rounds; ++round) {
        for (const auto& bytes : files) {
            gif::TGIFImage image;
            gif::LoadGIF(image, bytes, false);
            for (int i = 0; i < image.Count(); ++i) {
                bool damaged = false;
                if (bitmaps) {
                    const QImage& bitmap = image.Frames(i).FrameBitmap();
                    pixels += double(bitmap.width()) * bitmap.height();
                } else {
                    pixels += double(frameIndices(image.Frames(i), damaged).size());
                }
            }
        }
    }
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("files: %zu, rounds: %d, pixels: %.0f, seconds: %.3f\n", files.size(), rounds,
        pixels, seconds);
    std::printf("Mpixel/s: %.1f\n", seconds > 0 ? pixels / seconds / 1e6 : 0.0);
    return 0;
}

int usage()
{
    std::fprintf(stderr,
        "usage: gifinfo FILE\n       gifinfo --pgm DIR FILE\n       gifinfo --bench N FILE...\n"
        "       gifinfo --bench-bitmaps N FILE...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "--pgm")
            return argc == 4 ? writePgm(argv[2], argv[3]) : usage();
        if (mode == "--bench" || mode == "--bench-bitmaps") {
            const int rounds = argc >= 4 ? std::atoi(argv[2]) : 0;
            return rounds > 0 ? bench(rounds, std::span<char*>(argv + 3, std::size_t(argc - 3)),
                       mode == "--bench-bitmaps")
                              : usage();
        }
        return argc == 2 && mode.rfind("--", 0) != 0 ? describe(argv[1]) : usage();
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
}
