#pragma once
// The GIF files the decoders are measured on: made here (deterministically) with giflib's encoder,
// plus any *.gif files in the folder named by MNEMIRA_BENCH_GIFS.

#include <gif_lib.h>

#include <cstdint>
#include <string>
#include <vector>

struct BenchInput
{
    std::string name;
    std::vector<std::uint8_t> bytes;
};

std::vector<BenchInput> BenchInputs();

// giflib reading a file's bytes from memory, as both of its benchmarks use it: the reader's state
// (DGifOpen's user data) and its input function.
struct GiflibMemoryReader
{
    const std::vector<std::uint8_t>* bytes;
    std::size_t pos = 0;
};
int GiflibReadBytes(GifFileType* file, GifByteType* buf, int n);
