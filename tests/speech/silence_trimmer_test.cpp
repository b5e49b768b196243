#include "speech/silence_trimmer.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvella {
namespace {

// Audio written as text at 1000 samples a second, one character a millisecond: '.' silence,
// ',' the faint noise of a pause (as loud as it can be and not be audible), ';' that noise faded,
// '#' sound; '|' separates the chunks as they are made.
std::vector<std::vector<std::int16_t>> chunksOf(const std::string& text) {
    std::vector<std::vector<std::int16_t>> chunks(1);
    for (const char c : text) {
        if (c == '|') {
            chunks.emplace_back();
        } else {
            chunks.back().push_back(c == '#' ? 9000 : c == ',' ? -SilenceTrimmer::kAudible : 0);
        }
    }
    return chunks;
}

std::string textOf(const std::vector<std::int16_t>& samples) {
    std::string text;
    for (const std::int16_t sample : samples) {
        text += sample == 9000                        ? '#'
                : sample == 0                         ? '.'
                : sample == -SilenceTrimmer::kAudible ? ','
                                                      : ';';
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
    static_assert(SilenceTrimmer::kLeadingMs <= 20 && SilenceTrimmer::kTrailingMs <= 100);
    const auto n = [](int count, char c) { return std::string(std::size_t(count), c); };
    const int lead = SilenceTrimmer::kLeadingMs;
    const int tail = SilenceTrimmer::kTrailingMs;
    const int fade = SilenceTrimmer::kFadeMs;
    const std::string keptLead = n(lead, '.');
    const std::string keptTail = n(tail - fade, ',') + n(fade, ';'); // faded where it is cut
    const std::string pause(300, '.');
    struct Case {
        std::string audio, expected;
    };
    const std::vector<Case> cases = {
        {n(25, '.') + "###" + n(150, ','), keptLead + "###" + keptTail},
        // Faint noise is not sound: it is cut, and faded in where it is cut.
        {n(250, ',') + "#" + pause + "#", n(fade, ';') + n(lead - fade, ',') + "#" + pause + "#"},
        {n(lead, ',') + "#,,,", n(lead, ',') + "#,,,"},     // nothing cut, nothing faded
        {"..##" + pause + "##..", "..##" + pause + "##.."}, // short silences stay whole
        {n(25, '.') + "|" + n(25, '.') + "#|#" + pause + "|" + pause + "#" + n(150, ','),
         keptLead + "##" + pause + pause + "#" + keptTail}, // held across chunks
        {pause + "|" + pause, ""},                          // a text with no sound has no audio
        {"", ""},
    };
    SilenceTrimmer trimmer;
    for (const Case& c : cases) {
        EXPECT_EQ(trimmed(trimmer, c.audio), c.expected) << c.audio;
    }
}

} // namespace
} // namespace quorvella
