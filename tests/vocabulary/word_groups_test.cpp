#include "vocabulary/word_groups.h"

#include "core/app_error.h"
#include "core/gbk_codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvella {
namespace {

using Lines = std::vector<std::string>;

std::string joined(const Lines& lines, const char* lineBreak = "\r\n") {
    std::string text;
    for (const std::string& line : lines) {
        text += line + lineBreak;
    }
    return text;
}

class WordGroupsTest : public ::testing::Test {
protected:
    void write(const QString& relative, const std::string& bytes) {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
    }

    DataFolder folder() const { return DataFolder(m_dir.path()); }

    // The words (field 1) of the word list, in order.
    static Lines wordsOf(const WordGroups& groups) {
        Lines words;
        for (const WordRecord& record : groups.words().records()) {
            words.push_back(record.fields.empty() ? std::string() : record.fields.front());
        }
        return words;
    }

    QTemporaryDir m_dir;
};

// A lesson word list with groups 0, 1, 2, 11 and 21 in ascending order.
const Lines kLessonLines = {
    "zero@p@m@0", "one@p@m@1", "one2@p@m@1", "two@p@m@2", "eleven@p@m@11", "twentyone@p@m@21",
};

TEST_F(WordGroupsTest, SpliteAppendsNumberedRecords) {
    WordGroups groups(folder());
    groups.splite("abandon@[@'b&nd@n]", 1); // "@" inside the phonetic splits too
    groups.splite("word@@" + encodeGbk(u"词义") + "@12", 2);
    groups.splite("word@", 3);
    groups.splite("", 4);
    const std::vector<WordRecord> expected = {
        {1, {"abandon", "[", "'b&nd", "n]"}},
        {2, {"word", " ", encodeGbk(u"词义"), "12"}},
        {3, {"word"}},
        {4, {}},
    };
    EXPECT_EQ(groups.words().records(), expected);
}

TEST_F(WordGroupsTest, Loaddata1TakesTheFirstBlockWhoseGroupNumberEndsTheLine) {
    struct Case {
        const char* what;
        Lines file;
        std::string key;
        Lines words;
    };
    const std::vector<Case> cases = {
        {"key 1 lists group 1, not 11 or 21", kLessonLines, "1", {"one", "one2"}},
        {"the first title is group 0", kLessonLines, "0", {"zero"}},
        {"no group 1: groups 11 and 21 are other groups",
         {"zero@p@m@0", "two@p@m@2", "eleven@p@m@11", "twentyone@p@m@21"},
         "1",
         {}},
        {"key 11 against 1, 111 and 11",
         {"one@1", "x@111", "eleven@p@m@11", "y@111"},
         "11",
         {"eleven"}},
        {"a group number glued to the text", {"a@m1", "b@m 1", "c@m2"}, "1", {"a", "b"}},
        {"a line shorter than the key is compared whole",
         {"7", "seven@p@m@7", "seventeen@p@m@17"},
         "17",
         {"seventeen"}},
        {"trailing blanks and controls are trimmed first",
         {"a@p@m@3 \t ", "  b@p@m@3\r\r", "c@p@m@4"},
         "3",
         {"a", "b"}},
        {"the scan stops after the block", {"a@1", "b@2", "c@1"}, "1", {"a"}},
        {"a group without lines", kLessonLines, "5", {}},
        // 81 30 81 31 is one four-byte character: its last byte is no group number.
        {"a digit inside a character is no group number",
         {"x@\x81\x30\x81\x31", "y@1"},
         "1",
         {"y"}},
    };
    for (const Case& c : cases) {
        write("dat/kwdc1.txt", joined(c.file));
        WordGroups groups(folder());
        groups.setCount(99);
        groups.loaddata1(c.key);
        EXPECT_EQ(wordsOf(groups), c.words) << c.what;
        EXPECT_EQ(groups.count(), int(c.words.size())) << c.what;
    }
}

TEST_F(WordGroupsTest, ScanRecordsAreTheTrimmedLinesNumberedFromOne) {
    write("dat/kwdc1.txt", "a@p@m@0\n  b @ q @m@1 \r\nc@1\rd@1\x1A"
                           "e@1\n");
    WordGroups groups(folder());
    groups.loaddata1("1");
    // A lone CR is dropped ("c@1d@1" ends in 1); Ctrl-Z ends the file.
    const std::vector<WordRecord> expected = {
        {1, {"b ", " q ", "m", "1"}},
        {2, {"c", "1d", "1"}},
    };
    EXPECT_EQ(groups.words().records(), expected);
    EXPECT_EQ(groups.count(), 2);
}

TEST_F(WordGroupsTest, OpenGroupByLetterLowersTheEntryAndMatchesTheInitialByte) {
    write("ti.txt", joined({"Lesson 1"}));
    write("ai.txt", joined({"a", "B", "b ", "", "c"}));
    write("dat/kwdc2.txt",
          joined({"Apple@p@m", "ant@p@m", "Bee@p@m", "bee@p@m", "bus@p@m", "Cat@p@m", "ball@p@m"}));
    struct Case {
        const char* what;
        int entry;
        Lines words;
    };
    const std::vector<Case> cases = {
        {"a capital initial never matches", 0, {"ant"}},
        {"the entry B selects b, first block only", 1, {"bee", "bus"}},
        {"an entry of two bytes selects nothing", 2, {}},
        {"an empty entry selects nothing from lines that are not empty", 3, {}},
        {"a letter whose lines all begin with a capital", 4, {}},
    };
    WordGroups groups(folder());
    groups.setMode(GroupingMode::ByLetter);
    for (const Case& c : cases) {
        groups.setCount(99);
        groups.openGroup(c.entry);
        EXPECT_EQ(wordsOf(groups), c.words) << c.what;
        EXPECT_EQ(groups.count(), int(c.words.size())) << c.what;
    }
}

TEST_F(WordGroupsTest, OpenGroupByLessonUsesThePositionAsTheKey) {
    Lines titles;
    Lines lines;
    for (int i = 0; i < 12; ++i) {
        titles.push_back("Title " + std::to_string(i + 7)); // the title's text plays no part
        lines.push_back("w" + std::to_string(i) + "@p@m@" + std::to_string(i));
    }
    write("ti.txt", joined(titles));
    write("dat/kwdc1.txt", joined(lines));
    WordGroups groups(folder());
    groups.loadGroupList();
    groups.openGroup(9); // the tenth title
    EXPECT_EQ(wordsOf(groups), Lines{"w9"});
    groups.openGroup(0);
    EXPECT_EQ(wordsOf(groups), Lines{"w0"});
    EXPECT_EQ(groups.words().records().front().number, 1);
}

TEST_F(WordGroupsTest, EmptyWordFileListsNothing) {
    // The end of the file is no line: an empty key finds no empty record in an empty file.
    write("dat/kwdc2.txt", "");
    WordGroups groups(folder());
    groups.setCount(4);
    groups.loaddata2("");
    EXPECT_TRUE(groups.words().empty());
    EXPECT_EQ(groups.count(), 0);
}

TEST_F(WordGroupsTest, GroupListsAreReadWholeAndReplacedOnlyWhenRead) {
    write("ti.txt", "  Lesson 1 \r\n\r\nLesson 3\rLesson 4\n");
    write("ai.txt", joined({"a", "b"}));
    write("dat/kwdc1.txt", joined(kLessonLines));
    WordGroups groups(folder());
    EXPECT_EQ(groups.mode(), GroupingMode::ByLesson);
    groups.loadGroupList();
    EXPECT_EQ(groups.groupList(), (Lines{"  Lesson 1 ", "", "Lesson 3", "Lesson 4"}));

    groups.openGroup(1);
    groups.setMode(GroupingMode::ByLetter);
    EXPECT_EQ(groups.groupList(), (Lines{"a", "b"}));
    EXPECT_EQ(wordsOf(groups), (Lines{"one", "one2"})); // the mode change leaves the words
    EXPECT_EQ(groups.count(), 2);

    QFile::remove(m_dir.filePath("ti.txt"));
    EXPECT_THROW(groups.setMode(GroupingMode::ByLesson), AppError);
    EXPECT_EQ(groups.mode(), GroupingMode::ByLesson);
    EXPECT_EQ(groups.groupList(), (Lines{"a", "b"}));
    EXPECT_EQ(groups.count(), 2);
}

TEST_F(WordGroupsTest, MissingLessonListLeavesTheGroupListEmpty) {
    WordGroups groups(folder());
    try {
        groups.loadGroupList();
        FAIL() << "no error";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.text().startsWith("Cannot open file \"" + m_dir.filePath("ti.txt")))
            << error.text().toStdString();
    }
    EXPECT_TRUE(groups.groupList().empty());
}

TEST_F(WordGroupsTest, FailedOpeningClearsTheWordsAndKeepsTheCount) {
    write("ti.txt", joined({"Lesson 1", "Lesson 2"}));
    write("dat/kwdc1.txt", joined(kLessonLines));
    WordGroups groups(folder());
    groups.loadGroupList();
    groups.openGroup(1);
    ASSERT_EQ(groups.count(), 2);

    groups.openGroup(1);
    EXPECT_THROW(groups.openGroup(-1), AppError); // no entry selected
    EXPECT_TRUE(groups.words().empty());
    EXPECT_EQ(groups.count(), 2);

    groups.openGroup(1);
    EXPECT_THROW(groups.openGroup(2), AppError); // past the end
    EXPECT_TRUE(groups.words().empty());
    EXPECT_EQ(groups.count(), 2);

    groups.openGroup(1);
    QFile::remove(m_dir.filePath("dat/kwdc1.txt"));
    EXPECT_THROW(groups.openGroup(0), AppError);
    EXPECT_TRUE(groups.words().empty());
    EXPECT_EQ(groups.count(), 2);
}

// Reads the real file but fails with a read error after `good` lines.
OpenLines failingAfter(int good) {
    return [good](const QString& path) -> LineSource {
        LineSource source = openLineReader(path);
        return [source, left = good](std::string& line) mutable {
            if (left == 0) {
                throw AppError(QStringLiteral("Cannot read file. Input/output error"));
            }
            --left;
            return source(line);
        };
    };
}

TEST_F(WordGroupsTest, ReadErrorMidScanKeepsTheRecordsAndCountsThem) {
    write("dat/kwdc1.txt", joined({"a@0", "b@1", "c@1", "d@1", "e@2"}));
    WordGroups groups(folder(), failingAfter(3));
    groups.setCount(99);
    EXPECT_THROW(groups.loaddata1("1"), AppError);
    EXPECT_EQ(wordsOf(groups), (Lines{"b", "c"}));
    EXPECT_EQ(groups.count(), 2);
}

TEST_F(WordGroupsTest, Splite2ShowsTheFirstLineHoldingTheWord) {
    const std::string chinese = encodeGbk(u"我们");
    write("dat/bookw.txt", joined({
                               "mnemonic of and@same@syn@ant@and so on@" + chinese,
                               "an@x@y@z@an apple@" + chinese,
                               "three@f2@f3",
                               "eight@2@3@4@5@6@7@8",
                               "Three@upper@case",
                           }));
    struct Case {
        const char* what;
        std::string word;
        WordDetails details;
    };
    const std::vector<Case> cases = {
        {"the first line holding the word",
         "and",
         {{"mnemonic of and", "same", "syn", "ant", "and so on", chinese}}},
        {"a word inside a longer word is found",
         "an",
         {{"mnemonic of and", "same", "syn", "ant", "and so on", chinese}}},
        {"three fields and three blanks", "three", {{"three", "f2", "f3", " ", " ", " "}}},
        {"eight fields show their first six", "eight", {{"eight", "2", "3", "4", "5", "6"}}},
        {"case counts", "Three", {{"Three", "upper", "case", " ", " ", " "}}},
        {"a word without details", "zebra", {{" ", " ", " ", " ", " ", " "}}},
        {"an empty word occurs nowhere", "", {{" ", " ", " ", " ", " ", " "}}},
    };
    WordGroups groups(folder());
    for (const Case& c : cases) {
        groups.splite2(c.word);
        EXPECT_EQ(groups.details(), c.details) << c.what;
    }
}

TEST_F(WordGroupsTest, Splite2ErrorsKeepTheOldDetails) {
    write("dat/bookw.txt", joined({"a@b@c@d@e@f", "other@1@2@3@4@5", "word@w"}));
    const WordDetails shown{{"a", "b", "c", "d", "e", "f"}};

    WordGroups failing(folder(), failingAfter(2));
    failing.splite2("a");
    ASSERT_EQ(failing.details(), shown);
    // A read error before the word's line is reported; the line in hand is not shown.
    EXPECT_THROW(failing.splite2("word"), AppError);
    EXPECT_EQ(failing.details(), shown);

    WordGroups groups(folder());
    groups.splite2("a");
    QFile::remove(m_dir.filePath("dat/bookw.txt"));
    EXPECT_THROW(groups.splite2("word"), AppError);
    EXPECT_EQ(groups.details(), shown);
}

} // namespace
} // namespace quorvella
