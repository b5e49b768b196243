#include "tools/lesson_file.h"

#include "core/line_readers.h"
#include "tests/tools/window_reading.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quorvella {
namespace {

using testing_tools::windowReading;

// Checks that file is a clean lesson file of lines: one encoded line with CR LF, read by the
// window as exactly the lines, each perhaps with blanks after it, and nothing after the last.
void expectCleanLessonFile(const LessonFile& file, const std::vector<std::string>& lines,
                           std::uint16_t key) {
    const std::string where = testing::PrintToString(lines) + " key " + std::to_string(key);
    ASSERT_TRUE(file.bytes.ends_with("\r\n")) << where;
    EXPECT_EQ(splitLines(file.bytes).size(), 1u) << where;

    const std::string shown = windowReading(file.bytes, key);
    EXPECT_EQ(shown, file.plain) << where;
    std::vector<std::string> shownLines;
    for (std::size_t start = 0;;) {
        const std::size_t end = shown.find("\r\n", start);
        shownLines.push_back(shown.substr(start, end - start));
        if (end == std::string::npos) {
            break;
        }
        start = end + 2;
    }
    if (file.finalBreak) {
        ASSERT_EQ(shownLines.back(), "") << where;
        shownLines.pop_back();
    }
    const std::vector<std::string> expected = lines.empty() ? std::vector<std::string>{""} : lines;
    ASSERT_EQ(shownLines.size(), expected.size()) << where;
    std::size_t blanks = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(shownLines[i].starts_with(expected[i])) << where << " line " << i;
        const std::string added = shownLines[i].substr(expected[i].size());
        EXPECT_EQ(added, std::string(added.size(), ' ')) << where << " line " << i;
        blanks += added.size();
    }
    EXPECT_EQ(blanks, file.blanks) << where;
}

TEST(LessonFile, TheWindowReadsExactlyTheLessonAndStops) {
    const std::vector<std::vector<std::string>> lessons = {
        {},
        {""},
        {"    The Library"},
        {"    The Library", "    It opens at eight.", "", "    The end."},
        {"    \xCD\xBC\xCA\xE9\xB9\xDD", "    \xCE\xD2\xC3\xC7\xA1\xA3"}, // GBK Chinese
        {"ab", "c", "de"},
    };
    for (const auto& lines : lessons) {
        for (const unsigned key : {33965u, 40353u, 0u, 255u, 65535u}) {
            const auto k = static_cast<std::uint16_t>(key);
            expectCleanLessonFile(makeLessonFile(lines, k), lines, k);
        }
    }
}

// Spreading the blanks over the line ends keeps the cost small: a lesson of six lines has some
// 8000 ways to place ten blanks, and one in 256 is clean. Blanks only at the end would cost 128
// on average.
TEST(LessonFile, PaddingCostsFewBlanks) {
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> letter('a', 'z'), length(1, 120);
    std::size_t most = 0;
    for (int lesson = 0; lesson < 60; ++lesson) {
        std::vector<std::string> lines;
        for (int i = 0; i < 6; ++i) {
            std::string line = "    ";
            for (int n = length(random); n > 0; --n) {
                line += n % 7 == 0 ? ' ' : char(letter(random));
            }
            lines.push_back(line + '.');
        }
        const LessonFile file = makeLessonFile(lines, 33965);
        expectCleanLessonFile(file, lines, 33965);
        most = std::max(most, file.blanks);
    }
    EXPECT_LE(most, 10u);
}

} // namespace
} // namespace quorvella
