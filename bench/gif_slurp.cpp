// giflib's side of the whole-load measurement (gif_load.py), the twin of `gifinfo --bench`:
//   gif_slurp --write DIR       every input class of gif_bench as DIR/<class>.gif
//   gif_slurp --bench N FILE... each file read N times from memory with DGifOpen + DGifSlurp
//                               (every frame's colour indices, de-interlaced, kept until
//                               DGifCloseFile), the way giflib's callers load a picture; prints
//                               what gifinfo --bench prints
#include "bench_inputs.h"

#include <gif_lib.h>

#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
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

int write(const char* dir)
{
    for (const BenchInput& input : BenchInputs()) {
        QFile out(QString::fromLocal8Bit(dir) + '/' + QString::fromStdString(input.name) + ".gif");
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw std::runtime_error("cannot write " + out.fileName().toStdString());
        out.write(reinterpret_cast<const char*>(input.bytes.data()), qint64(input.bytes.size()));
    }
    return 0;
}

int bench(int rounds, char** paths, int count)
{
    std::vector<std::vector<std::uint8_t>> files;
    for (int i = 0; i < count; ++i)
        files.push_back(readFile(paths[i]));
    double pixels = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < rounds; ++round) {
        for (const auto& bytes : files) {
            GiflibMemoryReader reader { &bytes };
            int error = 0;
            GifFileType* file = DGifOpen(&reader, GiflibReadBytes, &error);
            if (!file || DGifSlurp(file) != GIF_OK)
                throw std::runtime_error("giflib failed");
            for (int i = 0; i < file->ImageCount; ++i)
                pixels += double(file->SavedImages[i].ImageDesc.Width)
                    * double(file->SavedImages[i].ImageDesc.Height);
            DGifCloseFile(file, &error);
        }
    }
    const double seconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("files: %zu, rounds: %d, pixels: %.0f, seconds: %.3f\n", files.size(), rounds,
        pixels, seconds);
    std::printf("Mpixel/s: %.1f\n", seconds > 0 ? pixels / seconds / 1e6 : 0.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "--write" && argc == 3)
            return write(argv[2]);
        if (mode == "--bench" && argc >= 4 && std::atoi(argv[2]) > 0)
            return bench(std::atoi(argv[2]), argv + 3, argc - 3);
        std::fprintf(stderr, "usage: gif_slurp --write DIR\n       gif_slurp --bench N FILE...\n");
        return 2;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
}
