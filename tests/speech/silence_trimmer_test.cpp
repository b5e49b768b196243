#include "speech/silence_trimmer.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvella {
namespace {

// Audio written as text at 1000 samples a second, one character a millisecond: '.' silence,
// ',' the faint noise of a pause, '#' sound; '|' separates the chunks as they are made.
std::vector<std::vector<std::int16_t>> chunksOf(const std::string& text) {
    std::vector<std::vector<std::int16_t>> chunks(1);
    for (const char c : text) {
        if (c == '|') {
            chunks.emplace_back();
        } else {
            chunks.back().push_back(c == '#' ? 9000 : c == ',' ? -SilenceTrimmer::kSilence : 0);
        }
    }
    return chunks;
}

std::string textOf(const std::vector<std::int16_t>& samples) {
    std::string text;
    for (const std::int16_t sample : samples) {
        text += sample == 9000 ? '#' : sample == 0 ? '.' : ',';
    }
    return text;
}

std::string trimmed(SilenceTrimmer& trimmer, const std::string& audio) {
    std::string result;
    for (const auto& chunk : chunksOf(audio)) {
        result += textOf(trimmer.take(chunk.data(), chunk.size(), 1000));
    }
    return result + textOf(trimmer.finish());
}

TEST(SilenceTrimmer, KeepsAtMost20MsBeforeAnd100MsAfterTheSoundAndEveryPauseInside) {
    const std::string s25(25, '.'), s20(20, '.'), s150(150, ','), s100(100, ',');
    const std::string pause(300, '.');
    struct Case {
        std::string audio, expected;
    };
    const std::vector<Case> cases = {
        {s25 + "###" + s150, s20 + "###" + s100},
        {"..##" + pause + "##..", "..##" + pause + "##.."}, // short silences stay whole
        {s25 + "|" + s25 + "#|#" + pause + "|" + pause + "#" + s150,
         s20 + "##" + pause + pause + "#" + s100}, // held across chunks
        {pause + "|" + pause, ""},                 // a text with no sound has no audio
        {"", ""},
    };
    SilenceTrimmer trimmer;
    for (const Case& c : cases) {
        EXPECT_EQ(trimmed(trimmer, c.audio), c.expected) << c.audio;
    }
}

} // namespace
} // namespace quorvella
