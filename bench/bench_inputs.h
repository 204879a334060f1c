#pragma once
// The GIF files the decoders are measured on: made here (deterministically) with giflib's encoder,
// plus any *.gif files in the folder named by MNEMIRA_BENCH_GIFS.

#include <cstdint>
#include <string>
#include <vector>

struct BenchInput
{
    std::string name;
    std::vector<std::uint8_t> bytes;
};

std::vector<BenchInput> BenchInputs();
