// Our GIF decoding against giflib 5.2 on the same in-memory files: from bytes to colour indices
// of every frame. Counters report megapixels per second.
//   build-gif/bin/gif_bench [--benchmark_filter=...]

#include "bench_inputs.h"
#include "gif/gif_image.h"
#include "gif/gif_reader.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstring>

namespace {

struct MemoryReader
{
    const std::vector<std::uint8_t>* bytes;
    std::size_t pos = 0;
};

int readBytes(GifFileType* file, GifByteType* buf, int n)
{
    auto* r = static_cast<MemoryReader*>(file->UserData);
    const std::size_t take = std::min<std::size_t>(std::size_t(n), r->bytes->size() - r->pos);
    std::memcpy(buf, r->bytes->data() + r->pos, take);
    r->pos += take;
    return int(take);
}

const std::vector<BenchInput>& inputs()
{
    static const std::vector<BenchInput> all = BenchInputs();
    return all;
}

// Ours: parse (the reader keeps each frame's code stream), then expand every frame.
std::size_t decodeOurs(const std::vector<std::uint8_t>& bytes)
{
    gif::TGIFImage image;
    gif::LoadGIF(image, bytes, false);
    std::size_t pixels = 0;
    for (int i = 0; i < image.Count(); ++i) {
        const gif::TGIFFrame& frame = image.Frames(i);
        const gif::TGIFItem& item = frame.Item();
        bool damaged = false;
        const std::vector<std::uint8_t> indices = gif::DecodeLZWIndices(*item.CodeStream,
            item.FrameWidth, item.FrameHeight, frame.Interlace, item.PixelBits, damaged);
        benchmark::DoNotOptimize(indices.data());
        pixels += indices.size();
    }
    return pixels;
}

// giflib: DGifSlurp reads every frame into colour indices (de-interlaced).
std::size_t decodeGiflib(const std::vector<std::uint8_t>& bytes)
{
    MemoryReader reader { &bytes };
    int error = 0;
    GifFileType* file = DGifOpen(&reader, readBytes, &error);
    if (!file || DGifSlurp(file) != GIF_OK)
        throw std::runtime_error("giflib failed");
    std::size_t pixels = 0;
    for (int i = 0; i < file->ImageCount; ++i) {
        benchmark::DoNotOptimize(file->SavedImages[i].RasterBits);
        pixels += std::size_t(file->SavedImages[i].ImageDesc.Width)
            * std::size_t(file->SavedImages[i].ImageDesc.Height);
    }
    DGifCloseFile(file, &error);
    return pixels;
}

template <std::size_t (*Decode)(const std::vector<std::uint8_t>&)>
void run(benchmark::State& state, std::size_t inputIndex)
{
    const std::vector<std::uint8_t>& bytes = inputs()[inputIndex].bytes;
    std::size_t pixels = 0;
    for (auto _ : state)
        pixels += Decode(bytes);
    state.counters["Mpixel/s"]
        = benchmark::Counter(double(pixels) / 1e6, benchmark::Counter::kIsRate);
}

// Our decoding exactly as a frame's first draw does it: into the bitmap rows, then the image.
void frameBitmaps(benchmark::State& state, std::size_t inputIndex)
{
    const std::vector<std::uint8_t>& bytes = inputs()[inputIndex].bytes;
    std::size_t pixels = 0;
    for (auto _ : state) {
        gif::TGIFImage image;
        gif::LoadGIF(image, bytes, false);
        for (int i = 0; i < image.Count(); ++i) {
            const QImage& bitmap = image.Frames(i).FrameBitmap();
            pixels += std::size_t(bitmap.width()) * std::size_t(bitmap.height());
        }
    }
    state.counters["Mpixel/s"]
        = benchmark::Counter(double(pixels) / 1e6, benchmark::Counter::kIsRate);
}

int registerAll()
{
    for (std::size_t i = 0; i < inputs().size(); ++i) {
        const std::string& name = inputs()[i].name;
        benchmark::RegisterBenchmark(("giflib/" + name).c_str(), run<decodeGiflib>, i);
        benchmark::RegisterBenchmark(("ours/" + name).c_str(), run<decodeOurs>, i);
        benchmark::RegisterBenchmark(("ours_bitmap/" + name).c_str(), frameBitmaps, i);
    }
    return 0;
}

const int registered = registerAll();

} // namespace

BENCHMARK_MAIN();
