#include "vocabulary/word_groups.h"

#include "core/app_error.h"
#include "core/byte_text.h"
#include "core/line_readers.h"
#include "core/splite.h"

#include <cstddef>
#include <memory>
#include <utility>

namespace quorvella {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

// A tag that would begin inside a character never equals the key, and neither does one with a
// digit before it: that line ends in another group's longer number (key "1" against "11"), so an
// empty group lists nothing rather than group 11's words.
bool groupNumberMatches(std::string_view line, std::string_view key) {
    if (line.size() < key.size()) {
        return line == key;
    }
    const std::size_t start = line.size() - key.size();
    if (!isCharacterBoundary(line, start) || line.substr(start) != key) {
        return false;
    }
    return start == 0 || !isDigit(key.front()) || !isDigit(line[start - 1]) ||
           !isCharacterBoundary(line, start - 1);
}

bool initialMatches(std::string_view line, std::string_view key) {
    if (line.empty()) {
        return key.empty();
    }
    return characterLength(line, 0) == 1 && line.substr(0, 1) == key;
}

LineSource openLineReader(const QString& path) {
    auto reader = std::make_shared<LineReader>(path);
    return [reader](std::string& line) { return reader->readLine(line); };
}

int scanLines(const LineSource& nextLine,
              const std::function<LineVerdict(std::string_view line, int taken)>& judge,
              const std::function<void(std::string_view line, int number)>& take) {
    int n = 0;
    std::string line;
    // The end of the file yields no line: an empty file takes nothing.
    while (nextLine(line)) {
        const LineVerdict verdict = judge(line, n);
        if (verdict == LineVerdict::Stop) {
            break;
        }
        if (verdict == LineVerdict::Take) {
            ++n;
            take(line, n);
        }
    }
    return n;
}

WordGroups::WordGroups(DataFolder folder, OpenLines openLines)
    : m_folder(std::move(folder)), m_openLines(std::move(openLines)) {}

void WordGroups::loadGroupList() {
    const QString& file = m_mode == GroupingMode::ByLesson ? kLessonGroups : kLetterGroups;
    m_groupList = readFileLines(m_folder.path(file));
}

void WordGroups::setMode(GroupingMode mode) {
    m_mode = mode;
    loadGroupList();
}

void WordGroups::openGroup(int position) {
    WordList::Change change(m_words);
    m_words.clear();
    if (position < 0 || std::size_t(position) >= m_groupList.size()) {
        throw AppError(QStringLiteral("List index out of bounds (%1)").arg(position));
    }
    if (m_mode == GroupingMode::ByLesson) {
        loaddata1(std::to_string(position));
    } else {
        loaddata2(lowerAscii(m_groupList[std::size_t(position)]));
    }
}

void WordGroups::splite(std::string_view line, int number) {
    m_words.append(WordRecord{number, quorvella::splite(line)});
}

void WordGroups::loaddata1(std::string_view key) {
    scan(kLessonWords, Tag::GroupNumber, key);
}

void WordGroups::loaddata2(std::string_view key) {
    scan(kLetterWords, Tag::Initial, key);
}

int WordGroups::searchLessonWords(std::string_view text) {
    WordList::Change change(m_words);
    m_words.clear();
    return appendLines(kLessonWords, [text](std::string_view line, int) {
        return containsText(line, text) ? LineVerdict::Take : LineVerdict::Skip;
    });
}

void WordGroups::scan(const QString& relativePath, Tag tag, std::string_view key) {
    appendLines(relativePath, [tag, key](std::string_view line, int taken) {
        const bool matches =
            tag == Tag::GroupNumber ? groupNumberMatches(line, key) : initialMatches(line, key);
        if (matches) {
            return LineVerdict::Take;
        }
        return taken > 0 ? LineVerdict::Stop : LineVerdict::Skip; // the group's block has ended
    });
}

int WordGroups::appendLines(const QString& relativePath,
                            const std::function<LineVerdict(std::string_view, int)>& judge) {
    WordList::Change change(m_words);
    LineSource nextLine = m_openLines(m_folder.path(relativePath));
    int n = 0;
    try {
        n = scanLines(
            nextLine,
            [&judge](std::string_view line, int taken) { return judge(trimmed(line), taken); },
            [this, &n](std::string_view line, int number) {
                n = number;
                splite(trimmed(line), number);
            });
    } catch (...) {
        m_count = n;
        throw;
    }
    m_count = n;
    return n;
}

void WordGroups::splite2(std::string_view word) {
    LineSource nextLine = m_openLines(m_folder.path(kWordDetails));
    std::string found = "@@@@@";
    std::string line;
    while (nextLine(line)) {
        if (containsText(line, word)) {
            found = line;
            break;
        }
    }
    std::vector<std::string> fields = quorvella::splite(found);
    while (fields.size() < 6) {
        fields.emplace_back(" ");
    }
    for (std::size_t i = 0; i < 6; ++i) {
        m_details.fields[i] = std::move(fields[i]);
    }
}

} // namespace quorvella
