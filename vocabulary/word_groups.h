#pragma once
// The word lists shared by the new-word and review windows: the group list and its grouping mode,
// opening a group (loaddata1, loaddata2), the word records and count, and a word's details.
// Showing the lists, labels and count, and reporting the errors that escape, is left to the views.

#include "core/data_folder.h"
#include "vocabulary/word_list.h"

#include <QString>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// The word lists' files, relative to the data folder.
inline const QString kLessonGroups = QStringLiteral("ti.txt");
inline const QString kLetterGroups = QStringLiteral("ai.txt");
inline const QString kLessonWords = QStringLiteral("dat/kwdc1.txt");
inline const QString kLetterWords = QStringLiteral("dat/kwdc2.txt");
inline const QString kWordDetails = QStringLiteral("dat/bookw.txt");

// The six details of a word: mnemonic, same-form words, synonyms, antonyms, English sentence,
// Chinese sentence.
struct WordDetails {
    std::array<std::string, 6> fields;

    bool operator==(const WordDetails&) const = default;
};

// The grouping-mode box's entries, in their order.
enum class GroupingMode { ByLesson = 0, ByLetter = 1 };

// The next line of a file read line by line; false at its end. It may throw AppError.
using LineSource = std::function<bool(std::string& line)>;
// Opens a word file for reading line by line; throws AppError when it cannot be opened.
using OpenLines = std::function<LineSource(const QString& path)>;

// Opens the file with LineReader: LF or CR LF end a line, a lone CR is dropped, Ctrl-Z ends it.
LineSource openLineReader(const QString& path);

// What a scan over a word file does with a line: passes over it, takes it, or ends before it.
enum class LineVerdict { Skip, Take, Stop };

// Reads nextLine from where it stands until judge says stop or the lines end, and hands each
// line that judge takes to take, numbered from 1. judge sees each line as it was read and the
// number taken before it. Returns the number taken; an error of nextLine or take escapes.
int scanLines(const LineSource& nextLine,
              const std::function<LineVerdict(std::string_view line, int taken)>& judge,
              const std::function<void(std::string_view line, int number)>& take);

// The tags of the two scans. loaddata1: the group number at the end of a trimmed line, its last
// key.size() bytes (the whole line when it is shorter), equals key. loaddata2: the initial of a
// trimmed line, its first byte (nothing for an empty line) when that byte is a character of its
// own, equals key.
bool groupNumberMatches(std::string_view line, std::string_view key);
bool initialMatches(std::string_view line, std::string_view key);

class WordGroups final {
public:
    // openLines reads the word files; tests may pass their own.
    explicit WordGroups(DataFolder folder, OpenLines openLines = openLineReader);

    // Loads the group list of the current mode: "ti.txt" for ByLesson, "ai.txt" for ByLetter,
    // read whole, each line an entry as it stands. Only when the file has been read are the old
    // entries replaced; the word list and the count are not touched.
    void loadGroupList();

    // A change of the grouping-mode box: the mode changes, then its group list is loaded (on an
    // error the old entries stay, while the mode is the new one).
    void setMode(GroupingMode mode);
    GroupingMode mode() const { return m_mode; }

    const std::vector<std::string>& groupList() const { return m_groupList; }

    // Opens the group at position (0-based; -1 when no entry is selected): the word list is
    // cleared, then filled by loaddata1 with the position's decimal text (ByLesson) or by
    // loaddata2 with the entry lowered to small letters (ByLetter). A position outside the group
    // list throws AppError after the clearing.
    void openGroup(int position);

    // Appends a record numbered number with the fields of line (the word search's step too).
    void splite(std::string_view line, int number);

    // The scans of "dat/kwdc1.txt" by the group number that ends each trimmed line (a longer
    // number ending in the key, such as 11 for key 1, is another group's), and of
    // "dat/kwdc2.txt" by the initial byte of each trimmed line: the first unbroken block of
    // lines whose tag equals key is appended, then the count is set to the number of records
    // appended. A file that cannot be opened leaves the count as it was; a read error in the
    // middle keeps the records appended so far and sets the count to them before it escapes.
    void loaddata1(std::string_view key);
    void loaddata2(std::string_view key);

    // Searches "dat/kwdc1.txt" for text: the list is cleared, then every trimmed line that holds
    // text (an empty text is held by none) is appended, and the count is set to their number,
    // which is returned. Errors as for the scans.
    int searchLessonWords(std::string_view text);

    const WordList& words() const { return m_words; }
    WordList& words() { return m_words; }

    // The count field: the records appended by the last scan or search that reached its end.
    int count() const { return m_count; }
    void setCount(int count) { m_count = count; }

    // Looks up the details of word in "dat/bookw.txt": the first line in which the word occurs
    // (an empty word occurs nowhere), split at "@", blanks added up to six fields, fields from
    // the seventh on ignored; six blanks when no line holds the word. On an error the details
    // keep their old texts.
    void splite2(std::string_view word);
    const WordDetails& details() const { return m_details; }

private:
    enum class Tag { GroupNumber, Initial };
    void scan(const QString& relativePath, Tag tag, std::string_view key);
    // Reads a word file from the top and appends each trimmed line that judge takes (judge sees
    // the trimmed line), numbered from 1, until judge says stop or the file ends. The count is
    // then set to the number taken, also when a read error ends the reading. Returns that number.
    int appendLines(const QString& relativePath,
                    const std::function<LineVerdict(std::string_view line, int taken)>& judge);

    DataFolder m_folder;
    OpenLines m_openLines;
    GroupingMode m_mode = GroupingMode::ByLesson;
    std::vector<std::string> m_groupList;
    WordList m_words;
    int m_count = 0;
    WordDetails m_details{{" ", " ", " ", " ", " ", " "}};
};

} // namespace quorvella
