// Decoding speed of the lesson codec on 1 MiB of encoded text.

#include "lessons/tedstr.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

void decodeOneMebibyte(benchmark::State& state) {
    std::mt19937 random(7);
    std::string plain(3 * 1024 * 1024 / 4, '\0');
    for (char& c : plain) {
        c = static_cast<char>(random());
    }
    const std::string encoded = quorvella::tedstr::encode(plain, 33965);
    for (auto _ : state) {
        benchmark::DoNotOptimize(quorvella::tedstr::decode(encoded, 33965));
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(encoded.size()));
}
BENCHMARK(decodeOneMebibyte)->Unit(benchmark::kMillisecond);

} // namespace
