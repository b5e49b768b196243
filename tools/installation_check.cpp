#include "tools/installation_check.h"

#include "core/app_error.h"
#include "core/byte_text.h"
#include "core/data_folder.h"
#include "core/gbk_codec.h"
#include "core/line_readers.h"
#include "core/splite.h"
#include "lessons/lesson_study.h"
#include "lessons/tedstr.h"
#include "mocktest/question_bank.h"
#include "viewers/answer_units.h"
#include "vocabulary/word_bank_browser.h"
#include "vocabulary/word_groups.h"

#include <QChar>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>

namespace quorvella {

namespace {

const QString kCatalogue = QStringLiteral("textindex.txt");
const QString kQuestions = QStringLiteral("dat/tk.txt");

constexpr std::size_t kWordFields = 3;     // word@phonetic@meaning
constexpr std::size_t kQuestionFields = 7; // question@A@B@C@D@answer@explanation
constexpr long long kNoGroup = -1;

std::string plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

std::string inQuotes(std::string_view gbk) {
    return '"' + decodeGbk(gbk).toStdString() + '"';
}

std::string hexBytes(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text += text.empty() ? "0x" : " 0x";
        text += kHex[value >> 4];
        text += kHex[value & 0xF];
    }
    return text;
}

bool isPrintableAscii(unsigned char byte) {
    return byte >= 0x20 && byte < 0x7F;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The character that text begins with, for a message: "B", or "中" (0xD6 0xD0), or the byte
// 0x81 when it is no character.
std::string firstCharacter(std::string_view text) {
    const std::string_view character = text.substr(0, characterLength(text, 0));
    if (character.size() == 1 && isPrintableAscii(static_cast<unsigned char>(character[0]))) {
        return inQuotes(character);
    }
    if (character.size() > 1 && gbkTextFault(character).empty()) {
        return inQuotes(character) + " (" + hexBytes(character) + ')';
    }
    return "the byte " + hexBytes(character.substr(0, 1));
}

// What a single-byte initial below "a" is.
const char* kindOfInitial(char initial) {
    if (initial >= 'A' && initial <= 'Z') {
        return "a capital letter";
    }
    return isDigit(initial) ? "a digit" : "a sign";
}

// Fault of one multi-byte character, empty when it decodes to a printable character.
std::string characterFault(std::string_view character) {
    const QString decoded = decodeGbk(character);
    if (decoded.contains(QChar::ReplacementCharacter)) {
        return "the bytes " + hexBytes(character) + ", which are no character";
    }
    const QList<uint> codes = decoded.toUcs4();
    const char32_t code = codes.isEmpty() ? 0 : char32_t(codes.front());
    const std::string named =
        hexBytes(character) + " (U+" + QString::number(uint(code), 16).toUpper().toStdString();
    switch (QChar::category(code)) {
    case QChar::Other_PrivateUse:
        return named + "), a private-use character";
    case QChar::Other_NotAssigned:
        return named + "), which no character is assigned to";
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
        return named + "), a control or format character";
    default:
        return {};
    }
}

// Collects the problems of one run.
class Checker {
public:
    explicit Checker(const QString& folder) : m_folder(folder) {}

    std::vector<InstallationProblem> run() {
        lessons();
        const std::optional<std::size_t> groups = lessonGroups();
        lessonWords(groups);
        letterWords();
        opens(kWordDetails, "the new-word window shows no details");
        banks();
        questions();
        documents();
        return sorted();
    }

private:
    void add(const QString& file, int line, std::string text) {
        m_problems.push_back({file, line, std::move(text)});
    }

    // A file that cannot be opened or read: missing, or the reason why not.
    void unreadable(const QString& relative, const AppError& error,
                    const std::string& consequence = {}) {
        std::string text = QFileInfo::exists(m_folder.path(relative))
                               ? std::string("cannot be read: ") + error.what()
                               : std::string("missing");
        if (!consequence.empty()) {
            text += ": " + consequence;
        }
        add(relative, 0, std::move(text));
    }

    bool opens(const QString& relative, const std::string& consequence = {}) {
        try {
            LineReader reader(m_folder.path(relative));
            return true;
        } catch (const AppError& error) {
            unreadable(relative, error, consequence);
            return false;
        }
    }

    std::optional<std::string> bytes(const QString& relative) {
        try {
            return readFileBytes(m_folder.path(relative));
        } catch (const AppError& error) {
            unreadable(relative, error);
            return std::nullopt;
        }
    }

    // The file read whole as lines, as the catalogue and the group lists are read.
    std::optional<std::vector<std::string>> lines(const QString& relative) {
        const std::optional<std::string> file = bytes(relative);
        if (!file) {
            return std::nullopt;
        }
        return splitLines(*file);
    }

    // The file read line by line, as the word lists, banks and question bank are read; false
    // when it could not be read to its end.
    bool eachLine(const QString& relative,
                  const std::function<void(int number, const std::string& line)>& take) {
        std::optional<LineReader> reader;
        try {
            reader.emplace(m_folder.path(relative));
        } catch (const AppError& error) {
            unreadable(relative, error);
            return false;
        }
        int number = 0;
        std::string line;
        try {
            while (reader->readLine(line)) {
                take(++number, line);
            }
        } catch (const AppError& error) {
            add(relative, number + 1, std::string("cannot be read from here on: ") + error.what());
            return false;
        }
        return true;
    }

    void lessons() {
        const std::optional<std::vector<std::string>> catalogue = lines(kCatalogue);
        if (!catalogue) {
            return;
        }
        if (catalogue->empty()) {
            add(kCatalogue, 0, "lists no lesson");
        }
        for (std::size_t n = 0; n < catalogue->size(); ++n) {
            encodedText(QStringLiteral("text/%1.txt").arg(n), true);
            encodedText(QStringLiteral("cn/%1.txt").arg(n), false);
        }
    }

    // A lesson or translation: one encoded line, decoded as the lesson window decodes it. The
    // window decodes a line break after the line with it (a lesson file's always, a
    // translation's when the file has one); those bytes follow the text's own, and the pane
    // shows them unless the first is 0.
    void encodedText(const QString& relative, bool lesson) {
        const std::optional<std::string> file = bytes(relative);
        if (!file) {
            return;
        }
        const std::vector<std::string> fileLines = splitLines(*file);
        if (fileLines.size() > 1) {
            add(relative, 2,
                "a second line: the window decodes the line break with the text, so the text "
                "comes out garbled from here on; an encoded text is one line");
            return;
        }
        const std::uint16_t key = lesson ? LessonStudy::kLessonKey : LessonStudy::kTranslationKey;
        const std::string own =
            tedstr::decode(fileLines.empty() ? std::string_view() : fileLines.front(), key);
        const std::string decoded =
            lesson ? uncodeLessonFile(*file, key) : uncodeTranslationFile(*file, key);
        const std::string_view ownShown = upToFirstZero(own);
        const std::string_view shown = upToFirstZero(decoded);
        const std::string_view text = shown.substr(0, std::min(shown.size(), ownShown.size()));

        const std::string fault = text.empty() ? std::string() : gbkTextFault(text);
        if (!fault.empty()) {
            add(relative, 0,
                std::string("does not decode to GBK text with the ") +
                    (lesson ? "lesson" : "translation") + " key " + std::to_string(key) + ": " +
                    fault);
        } else if (ownShown.size() < own.size()) {
            add(relative, 0,
                "decodes to a 0 byte after " + plural(ownShown.size(), "byte", "bytes") +
                    ", where the pane stops: the " +
                    plural(own.size() - ownShown.size() - 1, "byte", "bytes") +
                    " after it are never shown");
        } else if (text.empty()) {
            add(relative, 0, "decodes to no text");
        } else if (shown.size() > own.size()) {
            const std::string_view extra = shown.substr(own.size());
            add(relative, 0,
                "the line break after the text decodes to " +
                    plural(extra.size(), "byte", "bytes") + " (" + hexBytes(extra) +
                    ") that the pane shows after the text; " +
                    (lesson ? "\"quorvella-data encode --lesson\" pads a lesson so that the "
                              "first of them decodes to 0"
                            : "a translation file ends with no line break"));
        }
    }

    // The number of lesson groups: the titles of "ti.txt".
    std::optional<std::size_t> lessonGroups() {
        const std::optional<std::vector<std::string>> titles = lines(kLessonGroups);
        return titles ? std::optional<std::size_t>(titles->size()) : std::nullopt;
    }

    void wordFields(const QString& relative, int number, std::string_view line) {
        const std::size_t fields = splite(line).size();
        if (fields < kWordFields) {
            add(relative, number,
                plural(fields, "field", "fields") +
                    " where a word line has at least 3 (word@phonetic@meaning)");
        }
    }

    // The group that loaddata1 lists the trimmed line under, or kNoGroup: the group number
    // that ends the line (digits that are characters of their own), written as the key of a
    // title of "ti.txt" is.
    long long groupOf(int number, std::string_view line, std::optional<std::size_t> groups) {
        std::size_t start = line.size();
        while (start > 0 && isDigit(line[start - 1]) && isCharacterBoundary(line, start - 1)) {
            --start;
        }
        const std::string_view digits = line.substr(start);
        if (digits.empty() || !groupNumberMatches(line, digits)) {
            add(kLessonWords, number, "ends with no group number: no lesson lists it");
            return kNoGroup;
        }
        if (digits.size() > 1 && digits.front() == '0') {
            add(kLessonWords, number,
                "the group number " + std::string(digits) + " begins with 0: no lesson lists it");
            return kNoGroup;
        }
        const bool huge = digits.size() > 9;
        const long long group = huge ? kNoGroup : std::stoll(std::string(digits));
        if (groups && (huge || group >= static_cast<long long>(*groups))) {
            const std::string titles =
                *groups == 0 ? std::string("\"ti.txt\", which has no title")
                             : "\"ti.txt\", whose " +
                                   plural(*groups, "title selects", "titles select") + " group" +
                                   (*groups == 1 ? " 0" : "s 0 to " + std::to_string(*groups - 1));
            add(kLessonWords, number,
                "group " + std::string(digits) + " is beyond " + titles + ": no lesson lists it");
            return kNoGroup;
        }
        return group;
    }

    // "dat/kwdc1.txt": loaddata1 lists the first unbroken run of a group's lines.
    void lessonWords(std::optional<std::size_t> groups) {
        std::map<long long, int> firstLine;
        long long previous = kNoGroup;
        long long highest = kNoGroup;
        eachLine(kLessonWords, [&](int number, const std::string& raw) {
            const std::string_view line = trimmed(raw);
            long long group = kNoGroup;
            if (!line.empty()) {
                wordFields(kLessonWords, number, line);
                group = groupOf(number, line, groups);
            }
            if (group != kNoGroup) {
                const auto [first, fresh] = firstLine.emplace(group, number);
                if (!fresh && previous != group) {
                    add(kLessonWords, number,
                        "group " + std::to_string(group) +
                            " again after other lines (it begins at line " +
                            std::to_string(first->second) +
                            "): a lesson lists only the first run of its lines, so these are never "
                            "listed");
                } else if (fresh && group < highest) {
                    add(kLessonWords, number,
                        "group " + std::to_string(group) + " after group " +
                            std::to_string(highest) + ": the groups are not in ascending order");
                }
                highest = std::max(highest, group);
            }
            previous = group;
        });
    }

    // "dat/kwdc2.txt": loaddata2 lists the first unbroken run of the lines whose first byte is
    // the letter; then the entries of "ai.txt" that select those runs.
    void letterWords() {
        std::map<char, int> firstLine;
        char previous = 0;
        const bool read = eachLine(kLetterWords, [&](int number, const std::string& raw) {
            const std::string_view line = trimmed(raw);
            char letter = 0;
            if (!line.empty()) {
                wordFields(kLetterWords, number, line);
                if (characterLength(line, 0) == 1 && line[0] >= 'a' && line[0] <= 'z') {
                    letter = line[0];
                } else {
                    add(kLetterWords, number,
                        "begins with " + firstCharacter(line) +
                            ", not a small letter: no letter lists it");
                }
            }
            if (letter != 0) {
                const auto [first, fresh] = firstLine.emplace(letter, number);
                if (!fresh && previous != letter) {
                    add(kLetterWords, number,
                        "\"" + std::string(1, letter) +
                            "\" again after other lines (its words begin at line " +
                            std::to_string(first->second) +
                            "): a letter lists only the first run of its lines, so these are "
                            "never listed");
                }
            }
            previous = letter;
        });
        letterGroups(firstLine, read);
    }

    void letterGroups(const std::map<char, int>& letters, bool wordsRead) {
        WordGroups groups(m_folder);
        try {
            groups.setMode(GroupingMode::ByLetter);
        } catch (const AppError& error) {
            unreadable(kLetterGroups, error);
            return;
        }
        std::set<std::string> keys;
        for (std::size_t i = 0; i < groups.groupList().size(); ++i) {
            const std::string& entry = groups.groupList()[i];
            keys.insert(lowerAscii(entry));
            if (!wordsRead) {
                continue;
            }
            try {
                groups.openGroup(int(i));
            } catch (const AppError&) {
                wordsRead = false; // reported with the word list
                continue;
            }
            const std::vector<WordRecord>& records = groups.words().records();
            if (std::none_of(records.begin(), records.end(),
                             [](const WordRecord& record) { return !record.fields.empty(); })) {
                add(kLetterGroups, int(i) + 1,
                    inQuotes(entry) + " selects no word of \"dat/kwdc2.txt\"");
            }
        }
        for (const auto& [letter, line] : letters) {
            if (keys.count(std::string(1, letter)) == 0) {
                add(kLetterWords, line,
                    "no entry of \"ai.txt\" selects \"" + std::string(1, letter) +
                        "\": its words are never listed");
            }
        }
    }

    // A letter range lists the lines whose initial lies in it, from the top of the bank, and
    // stops at the first line whose initial sorts after its end.
    void banks() {
        for (const WordBank& bank : wordBanks()) {
            const QString relative = QStringLiteral("dat/") + bank.file;
            struct Later {
                int line = 0;
                char initial = 0;
            };
            std::array<Later, 26> firstLater{}; // for each letter, the first line after it
            std::optional<std::size_t> ending;  // the problem of the first line after "z"
            std::size_t unreachable = 0;
            eachLine(relative, [&](int number, const std::string& line) {
                const std::string_view initial = bankInitial(line);
                if (initial.empty()) {
                    return; // passed over by every listing, held by no search
                }
                const std::vector<std::string> fields = splite(line);
                if (fields.size() < 2 || trimmed(fields[1]).empty()) {
                    add(relative, number,
                        "no meaning: the second field of word@meaning is "
                        "missing or blank");
                }
                const char c = initial[0];
                const std::string_view word = trimmed(line);
                if (static_cast<unsigned char>(c) < 'a') {
                    add(relative, number,
                        "begins with " + firstCharacter(word) + ", " + kindOfInitial(c) +
                            ": no letter range lists it (ranges run from \"a\" to \"z\")");
                } else if (static_cast<unsigned char>(c) > 'z') {
                    add(relative, number,
                        "begins with " + firstCharacter(word) +
                            ", after \"z\": no letter range lists it, and every listing that "
                            "reaches this line ends here");
                    if (!ending) {
                        ending = m_problems.size() - 1;
                    }
                } else if (ending) {
                    ++unreachable;
                } else {
                    const Later& later = firstLater[std::size_t(c - 'a')];
                    if (later.line != 0) {
                        add(relative, number,
                            "out of order: \"" + std::string(1, c) + "\" after line " +
                                std::to_string(later.line) + ", which begins with \"" +
                                std::string(1, later.initial) + "\": a range that ends at \"" +
                                std::string(1, c) + "\" stops at line " +
                                std::to_string(later.line) + " and never lists this line");
                    }
                    for (std::size_t x = 0; x < std::size_t(c - 'a'); ++x) {
                        if (firstLater[x].line == 0) {
                            firstLater[x] = {number, c};
                        }
                    }
                }
            });
            if (ending && unreachable > 0) {
                m_problems[*ending].text += ", so the " + plural(unreachable, "line", "lines") +
                                            " from \"a\" to \"z\" after it " +
                                            (unreachable == 1 ? "is" : "are") + " never listed";
            }
        }
    }

    void questions() {
        const int bankSize = QuestionBank::sizeAt(QuestionBank::kSizes - 1);
        int count = 0;
        const bool read = eachLine(kQuestions, [&](int number, const std::string& line) {
            count = number;
            const std::vector<std::string> fields = splite(line);
            if (fields.size() != kQuestionFields) {
                add(kQuestions, number,
                    plural(fields.size(), "field", "fields") +
                        " where a question has 7 (question@A@B@C@D@answer@explanation)");
            } else if (const std::string& answer = fields[5];
                       answer != "A" && answer != "B" && answer != "C" && answer != "D") {
                add(kQuestions, number,
                    "the answer is " + inQuotes(answer) +
                        ", not A, B, C or D: the question always counts as wrong");
            }
        });
        if (read && count != bankSize) {
            add(kQuestions, 0,
                "holds " + plural(std::size_t(count), "question", "questions") +
                    " where the mock test draws from " + std::to_string(bankSize) +
                    (count > bankSize ? ": those after line 150 are never drawn"
                                      : ": the last groups are short or empty"));
        }
    }

    void documents() {
        opens(QStringLiteral("abc/grammar.htm"), "the grammar window shows no page");
        opens(QStringLiteral("help/help.htm"), "the help window shows no page");
        const QStringList& units = AnswerUnits::titles();
        for (int position = 0; position < units.size(); ++position) {
            const QString relative =
                AnswerUnits::filePath(m_folder, position)->mid(m_folder.root().size());
            opens(relative,
                  "the answers window shows nothing for " + inQuotes(encodeGbk(units[position])));
        }
    }

    // File by file in the order they were first named, by line within a file.
    std::vector<InstallationProblem> sorted() {
        std::map<QString, std::size_t> order;
        for (const InstallationProblem& problem : m_problems) {
            order.emplace(problem.file, order.size());
        }
        std::stable_sort(m_problems.begin(), m_problems.end(),
                         [&](const InstallationProblem& a, const InstallationProblem& b) {
                             const std::size_t fileA = order.at(a.file);
                             const std::size_t fileB = order.at(b.file);
                             return fileA != fileB ? fileA < fileB : a.line < b.line;
                         });
        return std::move(m_problems);
    }

    DataFolder m_folder;
    std::vector<InstallationProblem> m_problems;
};

} // namespace

std::string gbkTextFault(std::string_view text) {
    if (text.empty()) {
        return "the text is empty";
    }
    int line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = characterLength(text, i);
        const std::string_view character = text.substr(i, length);
        const auto first = static_cast<unsigned char>(character[0]);
        std::string fault;
        if (length > 1) {
            fault = characterFault(character);
        } else if (first == '\n') {
            ++line;
        } else if (first == '\t' || first == '\r' || isPrintableAscii(first)) {
            // a character of the text
        } else if (first < 0x80) {
            fault = "the control byte " + hexBytes(character);
        } else {
            fault = "the byte " + hexBytes(character) + ", which begins no character";
        }
        if (!fault.empty()) {
            return "line " + std::to_string(line) + " of the text holds " + fault;
        }
        i += length;
    }
    return {};
}

std::string formatProblem(const InstallationProblem& problem) {
    std::string text = problem.file.toStdString();
    if (problem.line > 0) {
        text += ':' + std::to_string(problem.line);
    }
    return text + ": " + problem.text;
}

std::string problemSummary(const std::vector<InstallationProblem>& problems) {
    if (problems.empty()) {
        return "no problems";
    }
    std::set<QString> files;
    for (const InstallationProblem& problem : problems) {
        files.insert(problem.file);
    }
    return plural(problems.size(), "problem", "problems") + " in " +
           plural(files.size(), "file", "files");
}

InstallationCheck::InstallationCheck(QString folder) : m_folder(std::move(folder)) {}

std::vector<InstallationProblem> InstallationCheck::run() const {
    return Checker(m_folder).run();
}

} // namespace quorvella
