#pragma once
// Reads an installation as quorvella's windows read it and lists what would go wrong: missing
// files, lessons and translations that do not decode to GBK text, and word, bank and question
// lines that a window would misread or never list. Printing the problems is left to the tool.

#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// One problem: the file relative to the installation ("/" between folders), the line as the
// program's reader of that file counts it (from 1; 0 for the file as a whole) and what is wrong,
// in UTF-8.
struct InstallationProblem {
    QString file;
    int line = 0;
    std::string text;

    bool operator==(const InstallationProblem&) const = default;
};

// "file:line: text", or "file: text" for the file as a whole.
std::string formatProblem(const InstallationProblem& problem);

// "no problems", or for example "3 problems in 2 files".
std::string problemSummary(const std::vector<InstallationProblem>& problems);

// A text is plausible GBK when it is not empty and every character of it (as byte_text.h walks
// GB18030) is a tab, CR, LF, printable ASCII, or a character that GB18030 decodes to a printable
// Unicode character: no control byte, no byte that begins no character, no private-use, format
// or unassigned character. The first fault found, with the line of the text it stands on; empty
// when the text is plausible.
std::string gbkTextFault(std::string_view text);

class InstallationCheck final {
public:
    explicit InstallationCheck(QString folder);

    // Every problem, file by file in the order the windows read their files, and by line within
    // a file. What is checked:
    // - every file the windows read is there and can be read;
    // - the catalogue lists a lesson; each lesson and translation is one encoded line that
    //   decodes to plausible GBK text, with no 0 byte that ends it early and no byte decoded from
    //   the line break after it that the pane would show;
    // - in "dat/kwdc1.txt": at least three fields, a group number at the end that a title of
    //   "ti.txt" selects, groups in ascending order and each group's lines in one place;
    // - in "dat/kwdc2.txt": at least three fields, a small letter as initial, each letter's lines
    //   in one place and an entry of "ai.txt" that selects them; in "ai.txt": entries that select
    //   a word;
    // - in each word bank: a meaning, an initial from "a" to "z" (a letter range never lists
    //   another, and one after "z" ends every listing), initials in order;
    // - in "dat/tk.txt": seven fields, an answer "A" to "D", and 150 questions.
    std::vector<InstallationProblem> run() const;

private:
    QString m_folder;
};

} // namespace quorvella
