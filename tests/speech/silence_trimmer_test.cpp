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

// '^' marks a word starting with the next sample (it also separates chunks): the mark comes out
// before the sample it went in with, or, where that sample was cut, before the first kept after.
std::string trimmedWithMarks(SilenceTrimmer& trimmer, const std::string& audio) {
    const auto withMarks = [&trimmer](const std::vector<std::int16_t>& samples) {
        std::string text = textOf(samples);
        const std::vector<WordMark> marks = trimmer.takeMarks();
        for (auto mark = marks.rbegin(); mark != marks.rend(); ++mark) {
            text.insert(std::size_t(mark->at), "^");
        }
        return text;
    };
    std::string result;
    std::string chunk;
    const auto take = [&] {
        const auto samples = chunksOf(chunk).front();
        result += withMarks(trimmer.take(samples.data(), samples.size(), 1000));
        chunk.clear();
    };
    for (const char c : audio + '|') {
        if (c == '|' || c == '^') {
            take();
            if (c == '^') {
                trimmer.mark({qsizetype(result.size()), 1});
            }
        } else {
            chunk += c;
        }
    }
    return result + withMarks(trimmer.finish());
}

TEST(SilenceTrimmer, AWordMarkStaysWithItsSampleOrTheFirstKeptAfterIt) {
    const auto n = [](int count, char c) { return std::string(std::size_t(count), c); };
    const std::string keptLead = n(SilenceTrimmer::kLeadingMs, '.');
    const std::string pause(300, '.');
    const std::string keptTail = n(SilenceTrimmer::kTrailingMs - SilenceTrimmer::kFadeMs, '.') +
                                 n(SilenceTrimmer::kFadeMs, '.');
    struct Case {
        std::string audio, expected;
    };
    const std::vector<Case> cases = {
        {n(25, '.') + "^##", keptLead + "^##"},           // its silence before cut
        {"^" + n(25, '.') + "##", "^" + keptLead + "##"}, // it was cut with the silence
        {"##" + pause + "^##^#", "##" + pause + "^##^#"}, // after a held pause
        {"##..^..##|#", "##..^..###"},                    // inside a pause, in one chunk
        {"##" + n(150, '.') + "^" + n(50, '.'), "##" + keptTail + "^"}, // a word with no sound
        {"^" + pause, "^"},                                             // a text with no sound
    };
    SilenceTrimmer trimmer;
    for (const Case& c : cases) {
        EXPECT_EQ(trimmedWithMarks(trimmer, c.audio), c.expected) << c.audio;
    }
}

} // namespace
} // namespace quorvella
