#include "tools/lesson_file.h"

#include "core/byte_text.h"
#include "lessons/lesson_study.h"
#include "lessons/tedstr.h"

#include <stdexcept>

namespace quorvella {

namespace {

// Each candidate is clean with a chance of 1 in 256; this many failures in a row do not happen.
constexpr std::size_t kMaxCandidates = std::size_t(1) << 16;

constexpr std::string_view kCrLf = "\r\n";

std::string joinPadded(const std::vector<std::string>& lines,
                       const std::vector<std::size_t>& blanksAfter, bool finalBreak) {
    std::string plain;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            plain += kCrLf;
        }
        plain += lines[i];
        plain.append(blanksAfter[i], ' ');
    }
    if (finalBreak) {
        plain += kCrLf;
    }
    return plain;
}

// Steps ends (non-decreasing, each below limit) to the next multiset of its size; false after
// the last one.
bool nextSpread(std::vector<std::size_t>& ends, std::size_t limit) {
    for (std::size_t i = ends.size(); i-- > 0;) {
        if (ends[i] + 1 < limit) {
            const std::size_t value = ends[i] + 1;
            for (std::size_t j = i; j < ends.size(); ++j) {
                ends[j] = value;
            }
            return true;
        }
    }
    return false;
}

} // namespace

std::string lessonPaneText(std::string_view fileBytes, std::uint16_t key) {
    return std::string(upToFirstZero(uncodeLessonFile(fileBytes, key)));
}

LessonFile makeLessonFile(const std::vector<std::string>& givenLines, std::uint16_t key) {
    std::vector<std::string> lines = givenLines;
    if (lines.empty()) {
        lines.emplace_back();
    }
    for (const std::string& line : lines) {
        if (line.find('\0') != std::string::npos) {
            throw std::invalid_argument("a lesson line holds a 0 byte");
        }
    }
    const std::size_t lineCount = lines.size();
    std::size_t tried = 0;
    for (std::size_t blanks = 0;; ++blanks) {
        // End e stands for the end of line lineCount - 1 - e: the last line comes first.
        std::vector<std::size_t> ends(blanks, 0);
        do {
            std::vector<std::size_t> blanksAfter(lineCount, 0);
            for (const std::size_t end : ends) {
                ++blanksAfter[lineCount - 1 - end];
            }
            for (const bool finalBreak : {false, true}) {
                LessonFile file;
                file.plain = joinPadded(lines, blanksAfter, finalBreak);
                file.bytes = tedstr::encode(file.plain, key);
                file.bytes += kCrLf;
                if (lessonPaneText(file.bytes, key) == file.plain) {
                    file.blanks = blanks;
                    file.finalBreak = finalBreak;
                    return file;
                }
                if (++tried >= kMaxCandidates) {
                    throw std::runtime_error("no padding gives the lesson a clean end");
                }
            }
        } while (nextSpread(ends, lineCount));
    }
}

} // namespace quorvella
