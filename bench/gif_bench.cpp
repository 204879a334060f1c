// Our GIF decoding against giflib 5.2 on the same in-memory files: from bytes to colour indices
// of every frame. Counters report megapixels per CPU second; after the runs a table gives, per
// input class, ours against giflib (medians when repeated), so one run gives the whole picture.
// On a shared machine, pin a core and interleave the repetitions so that both sides see the
// same load:
//   taskset -c 1 build/bin/gif_bench --benchmark_repetitions=5
//       --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true

#include "bench_inputs.h"
#include "gif/gif_image.h"
#include "gif/gif_reader.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

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
    GiflibMemoryReader reader { &bytes };
    int error = 0;
    GifFileType* file = DGifOpen(&reader, GiflibReadBytes, &error);
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

// Passes every report on to the usual display and keeps each benchmark's megapixels per second:
// the median when runs are repeated, else the median of the single runs.
class RateCollector : public benchmark::BenchmarkReporter
{
public:
    explicit RateCollector(benchmark::BenchmarkReporter* display)
        : m_display(display)
    { }
    bool ReportContext(const Context& context) override
    {
        return m_display->ReportContext(context);
    }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            const auto rate = run.counters.find("Mpixel/s");
            if (run.error_occurred || rate == run.counters.end())
                continue;
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_medians[name] = rate->second.value;
            else if (run.run_type == Run::RT_Iteration)
                m_single[name].push_back(rate->second.value);
        }
        m_display->ReportRuns(runs);
    }
    void Finalize() override { m_display->Finalize(); }

    // 0 when the benchmark did not run.
    double rate(const std::string& name) const
    {
        if (const auto median = m_medians.find(name); median != m_medians.end())
            return median->second;
        const auto single = m_single.find(name);
        if (single == m_single.end() || single->second.empty())
            return 0;
        std::vector<double> values = single->second;
        std::nth_element(values.begin(), values.begin() + long(values.size() / 2), values.end());
        return values[values.size() / 2];
    }

private:
    benchmark::BenchmarkReporter* m_display;
    std::map<std::string, double> m_medians;
    std::map<std::string, std::vector<double>> m_single;
};

void printRatios(const RateCollector& rates)
{
    std::printf("\n%-16s %12s %12s %8s %14s\n", "class", "ours MP/s", "giflib MP/s", "ratio",
        "bitmap MP/s");
    for (const BenchInput& input : inputs()) {
        const double ours = rates.rate("ours/" + input.name);
        const double giflib = rates.rate("giflib/" + input.name);
        const double bitmap = rates.rate("ours_bitmap/" + input.name);
        if (ours == 0 && giflib == 0 && bitmap == 0)
            continue;
        std::printf("%-16s %12.1f %12.1f ", input.name.c_str(), ours, giflib);
        if (ours > 0 && giflib > 0)
            std::printf("%7.2fx", ours / giflib);
        else
            std::printf("%8s", "-");
        if (bitmap > 0)
            std::printf(" %14.1f\n", bitmap);
        else
            std::printf(" %14s\n", "-");
    }
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    registerAll();
    RateCollector rates(benchmark::CreateDefaultDisplayReporter());
    benchmark::RunSpecifiedBenchmarks(&rates);
    benchmark::Shutdown();
    printRatios(rates);
    return 0;
}
