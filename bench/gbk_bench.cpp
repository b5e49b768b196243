// Decoding a 64 KB lesson text, well formed and with one stray byte in its middle: a fault must
// not make the rest of the text slow to decode.

#include "core/gbk_codec.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace quorvella;

std::string lessonText(bool strayByte) {
    const std::string line =
        "Mr. Brown went to the station early. " + encodeGbk(u"布朗先生很早就去了车站。") + "\r\n";
    std::string text;
    while (text.size() < 64 * 1024) {
        text += line;
    }
    if (strayByte) {
        text.insert(text.size() / 2, 1, '\x80');
    }
    return text;
}

void decodeLesson(benchmark::State& state) {
    const std::string text = lessonText(state.range(0) != 0);
    for (auto _ : state) {
        DecodedText decoded(text);
        benchmark::DoNotOptimize(decoded.text().size());
    }
}
BENCHMARK(decodeLesson)->Arg(0)->Arg(1)->ArgName("stray_byte")->Unit(benchmark::kMillisecond);

} // namespace
