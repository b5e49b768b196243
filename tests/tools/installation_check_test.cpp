#include "tools/installation_check.h"

#include "core/gbk_codec.h"
#include "core/line_readers.h"
#include "lessons/tedstr.h"
#include "tests/support/qt_printers.h"
#include "tests/tools/course_text.h"
#include "tests/tools/tool_run.h"
#include "tools/data_tool.h"
#include "tools/lesson_file.h"
#include "tools/sample_course.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace quorvella {
namespace {

constexpr std::uint16_t kLessonKey = 33965;
constexpr std::uint16_t kTranslationKey = 40353;

// The sample course of data/sample: the one the build wrote (QUORVELLA_SAMPLE_COURSE names its
// folder, which the tests only read), or where the build writes none, one written once for the
// whole test program.
const QString& sampleCourse() {
#ifdef QUORVELLA_SAMPLE_COURSE
    static const QString path = QStringLiteral(QUORVELLA_SAMPLE_COURSE);
#else
    static const std::unique_ptr<QTemporaryDir> folder = [] {
        auto dir = std::make_unique<QTemporaryDir>();
        writeInstallation(makeSampleCourse(defaultSampleSource()), dir->path());
        return dir;
    }();
    static const QString path = folder->path();
#endif
    return path;
}

// A copy of the sample course, to spoil before checking it.
class Installation {
public:
    Installation() {
        QDirIterator it(sampleCourse(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString to = path(QDir(sampleCourse()).relativeFilePath(from));
            QDir().mkpath(QFileInfo(to).path());
            QFile::copy(from, to);
        }
    }

    QString path(const QString& relative) const { return m_dir.filePath(relative); }
    std::string read(const char* relative) const { return readFileBytes(path(relative)); }
    std::vector<std::string> lines(const char* relative) const {
        return splitLines(read(relative));
    }

    void write(const char* relative, const std::string& bytes) const {
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << relative;
        file.write(bytes.data(), qint64(bytes.size()));
    }
    void writeLines(const char* relative, const std::vector<std::string>& lines) const {
        write(relative, crlf(lines));
    }
    void remove(const char* relative) const { ASSERT_TRUE(QFile::remove(path(relative))); }

    std::vector<InstallationProblem> problems() const {
        return InstallationCheck(m_dir.path()).run();
    }
    QString root() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

std::string printed(const std::vector<InstallationProblem>& problems) {
    std::string text;
    for (const InstallationProblem& problem : problems) {
        text += formatProblem(problem) + '\n';
    }
    return text;
}

TEST(InstallationCheck, FindsNoProblemInTheSampleCourse) {
    const Installation sample;
    EXPECT_EQ(printed(sample.problems()), "");

    const ToolRun run = runTool({"check", sample.root().toStdString()});
    EXPECT_EQ(run.status, kToolOk);
    EXPECT_EQ(run.out, "no problems\n");
    EXPECT_EQ(run.err, "");
}

TEST(InstallationCheck, PrintsEachProblemThenASummaryAndFailsOnAny) {
    const Installation spoilt;
    spoilt.remove("dat/gre.dat");
    spoilt.remove("textkey/39.txt");
    const ToolRun run = runTool({"check", spoilt.root().toStdString()});
    EXPECT_EQ(run.status, kToolFileError);
    EXPECT_EQ(run.out, "dat/gre.dat: missing\n"
                       "textkey/39.txt: missing: the answers window shows nothing for "
                       "\"下册第十五单元答案\"\n"
                       "2 problems in 2 files\n");

    const QTemporaryDir empty;
    const ToolRun notAFolder =
        runTool({"check", empty.filePath(QStringLiteral("none")).toStdString()});
    EXPECT_EQ(notAFolder.status, kToolFileError);
    EXPECT_EQ(notAFolder.out, "");
    EXPECT_NE(notAFolder.err.find("is not a folder"), std::string::npos) << notAFolder.err;

    EXPECT_EQ(formatProblem({QStringLiteral("dat/tk.txt"), 3, "what"}), "dat/tk.txt:3: what");
    EXPECT_EQ(problemSummary({{QStringLiteral("ai.txt"), 1, "x"}}), "1 problem in 1 file");
}

// The rule for decoded lessons and translations.
TEST(InstallationCheck, TakesAsGbkTextOnlyPrintableCharacters) {
    const struct {
        std::string text;
        const char* fault; // a part of the fault, or "" for plausible text
    } cases[] = {
        {gbk("    The Library\r\n\t图书馆（一）。\r\n"), ""},
        {gbk("IPA ˈlaɪbrəri"), ""}, // four-byte GB18030 characters
        {"Bell\a", "line 1 of the text holds the control byte 0x07"},
        {"one\r\ntwo\x81", "line 2 of the text holds the byte 0x81, which begins no character"},
        {"\xAA\xA1", "(U+E000), a private-use character"},
        {"\x84\x31\xA5\x30", "which are no character"}, // past the last four-byte code
        {"", "empty"},
    };
    for (const auto& [text, fault] : cases) {
        const std::string found = gbkTextFault(text);
        if (*fault == '\0') {
            EXPECT_EQ(found, "") << text;
        } else {
            EXPECT_NE(found.find(fault), std::string::npos) << found;
        }
    }
}

struct Expected {
    const char* file;
    int line; // 0: the file as a whole
    const char* fragment;
};

struct HostileCase {
    const char* name;
    std::function<void(const Installation&)> spoil;
    std::vector<Expected> problems;
};

// A lesson file of the given lines, encoded as the lesson window reads it.
std::string lessonFile(const std::vector<std::string>& lines, std::uint16_t key) {
    return makeLessonFile(lines, key).bytes;
}

std::vector<HostileCase> hostileCases() {
    return {
        {"a missing word bank",
         [](const Installation& i) { i.remove("dat/gre.dat"); },
         {{"dat/gre.dat", 0, "missing"}}},
        {"a folder where the question bank belongs",
         [](const Installation& i) {
             i.remove("dat/tk.txt");
             QDir().mkdir(i.path(QStringLiteral("dat/tk.txt")));
         },
         {{"dat/tk.txt", 0, "cannot be read: Cannot open file"}}},
        {"a lesson in the catalogue without its files",
         [](const Installation& i) { i.write("textindex.txt", i.read("textindex.txt") + "Extra"); },
         {{"text/12.txt", 0, "missing"}, {"cn/12.txt", 0, "missing"}}},
        {"an empty catalogue",
         [](const Installation& i) { i.write("textindex.txt", ""); },
         {{"textindex.txt", 0, "lists no lesson"}}},

        {"a lesson that is not encoded",
         [](const Installation& i) { i.writeLines("text/3.txt", {"    The Plain Lesson"}); },
         {{"text/3.txt", 0, "does not decode to GBK text with the lesson key 33965"}}},
        {"a lesson encoded with the translation key",
         [](const Installation& i) {
             i.write("text/2.txt",
                     lessonFile({"    The Library", "    It opens at eight."}, kTranslationKey));
         },
         {{"text/2.txt", 0, "does not decode to GBK text with the lesson key"}}},
        {"a lesson encoded without padding, whose line break decodes to a shown byte",
         [](const Installation& i) {
             // "hello there" followed by the window's CR LF decodes to one more byte, 0x65.
             i.write("text/4.txt", tedstr::encode("hello there", kLessonKey) + "\r\n");
         },
         {{"text/4.txt", 0, "the line break after the text decodes to 1 byte (0x65)"}}},
        {"a lesson broken over two lines",
         [](const Installation& i) {
             const std::string line = i.lines("text/0.txt").front();
             i.writeLines("text/0.txt", {line.substr(0, 40), line.substr(40)});
         },
         {{"text/0.txt", 2, "a second line"}}},
        {"a lesson whose text holds a 0 byte",
         [](const Installation& i) {
             i.write("text/1.txt",
                     tedstr::encode(std::string("    Title\0    rest", 18), kLessonKey) + "\r\n");
         },
         {{"text/1.txt", 0, "decodes to a 0 byte after 9 bytes"}}},
        {"a translation with a line break after it",
         [](const Installation& i) {
             // The break decodes to two more bytes, 0xFA 0x13.
             i.write("cn/2.txt", tedstr::encode(gbk("    下雨天"), kTranslationKey) + "\r\n");
         },
         {{"cn/2.txt", 0, "2 bytes (0xFA 0x13) that the pane shows after the text"}}},
        {"an empty translation",
         [](const Installation& i) { i.write("cn/5.txt", ""); },
         {{"cn/5.txt", 0, "decodes to no text"}}},

        {"lesson words out of place",
         [](const Installation& i) {
             i.writeLines("dat/kwdc1.txt",
                          {
                              gbk("able@[ˈeɪbl]@能@0"),
                              gbk("cat@[kæt]@猫@2"),
                              gbk("dog@[dɒɡ]@狗@1"), // after group 2
                              gbk("egg@[eɡ]@蛋@2"),  // group 2 in a second place
                              gbk("fan@3"),
                              gbk("girl@[ɡɜːl]@女孩@12"), // ti.txt has 12 titles
                              gbk("hat@[hæt]@帽子@07"),
                              gbk("ice@[aɪs]@冰"),
                              gbk("jam@[dʒæm]@果酱@5"),
                              "",
                              gbk("jar@[dʒɑː]@罐子@5"),
                              // Ends in a four-byte character whose last byte is "9", then
                              // group 6: a group number is made of digits of their own.
                              gbk("kite@[kaɪt]@风筝ˈ6"),
                          });
         },
         {{"dat/kwdc1.txt", 3, "group 1 after group 2: the groups are not in ascending order"},
          {"dat/kwdc1.txt", 4, "group 2 again after other lines (it begins at line 2)"},
          {"dat/kwdc1.txt", 5, "2 fields where a word line has at least 3"},
          {"dat/kwdc1.txt", 6,
           "group 12 is beyond \"ti.txt\", whose 12 titles select groups 0 to 11"},
          {"dat/kwdc1.txt", 7, "the group number 07 begins with 0"},
          {"dat/kwdc1.txt", 8, "ends with no group number"},
          {"dat/kwdc1.txt", 11, "group 5 again after other lines (it begins at line 9)"}}},
        {"letter words out of place and letters that select nothing",
         [](const Installation& i) {
             i.writeLines("ai.txt", {"A", "B", "C", "d ", "X"});
             i.writeLines("dat/kwdc2.txt", {
                                               gbk("able@[ˈeɪbl]@能"),
                                               gbk("Apple@[ˈæpl]@苹果"),
                                               gbk("art@[ɑːt]@艺术"),
                                               gbk("back@[bæk]@后"),
                                               gbk("中@[zhōng]@中"),
                                               gbk("cat@[kæt]"),
                                               gbk("dog@[dɒɡ]@狗"),
                                           });
         },
         {{"dat/kwdc2.txt", 2, "begins with \"A\", not a small letter: no letter lists it"},
          {"dat/kwdc2.txt", 3, "\"a\" again after other lines (its words begin at line 1)"},
          {"dat/kwdc2.txt", 5, "begins with \"中\" (0xD6 0xD0), not a small letter"},
          {"dat/kwdc2.txt", 6, "2 fields where a word line has at least 3"},
          {"dat/kwdc2.txt", 7, "no entry of \"ai.txt\" selects \"d\""},
          {"ai.txt", 4, "\"d \" selects no word"},
          {"ai.txt", 5, "\"X\" selects no word"}}},

        {"bank lines that a letter range misses",
         [](const Installation& i) {
             i.writeLines("dat/zsks.txt", {
                                              gbk("able@能"),
                                              gbk("Apple@苹果"),
                                              gbk("cat@猫"),
                                              gbk("back@后"),
                                              gbk("3D@三维"),
                                              gbk("-ism@主义"),
                                              gbk("dog"),
                                              gbk("egg@ "),
                                              "",
                                              gbk("中国@China"),
                                              gbk("fan@扇子"),
                                              gbk("goat@山羊"),
                                          });
         },
         {{"dat/zsks.txt", 2, "begins with \"A\", a capital letter: no letter range lists it"},
          {"dat/zsks.txt", 4,
           "out of order: \"b\" after line 3, which begins with \"c\": a range that ends at "
           "\"b\" stops at line 3"},
          {"dat/zsks.txt", 5, "begins with \"3\", a digit"},
          {"dat/zsks.txt", 6, "begins with \"-\", a sign"},
          {"dat/zsks.txt", 7, "no meaning"},
          {"dat/zsks.txt", 8, "no meaning"},
          {"dat/zsks.txt", 10,
           "begins with \"中\" (0xD6 0xD0), after \"z\": no letter range lists it, and every "
           "listing that reaches this line ends here, so the 2 lines from \"a\" to \"z\" after "
           "it are never listed"}}},

        {"questions with the wrong fields or answers",
         [](const Installation& i) {
             std::vector<std::string> lines = i.lines("dat/tk.txt");
             lines[0] = "Which?@one@two@three@four@A";
             lines[1] = "Which?@one@two@three@four@a@small";
             lines[2] = "Which?@one@two@three@four@A @blank after it";
             lines[3] = "Which?@one@two@three@four@B@why@more";
             i.writeLines("dat/tk.txt", lines);
         },
         {{"dat/tk.txt", 1, "6 fields where a question has 7"},
          {"dat/tk.txt", 2, "the answer is \"a\", not A, B, C or D"},
          {"dat/tk.txt", 3, "the answer is \"A \""},
          {"dat/tk.txt", 4, "8 fields"}}},
        {"a question bank one short",
         [](const Installation& i) {
             std::vector<std::string> lines = i.lines("dat/tk.txt");
             lines.pop_back();
             i.writeLines("dat/tk.txt", lines);
         },
         {{"dat/tk.txt", 0, "holds 149 questions where the mock test draws from 150"}}},
        {"a question bank with a blank line at its end",
         [](const Installation& i) { i.write("dat/tk.txt", i.read("dat/tk.txt") + "\r\n"); },
         {{"dat/tk.txt", 0,
           "holds 151 questions where the mock test draws from 150: those "
           "after line 150 are never drawn"},
          {"dat/tk.txt", 151, "0 fields"}}},
    };
}

TEST(InstallationCheck, ReportsEachHostileCaseByFileAndLine) {
    for (const HostileCase& hostile : hostileCases()) {
        SCOPED_TRACE(hostile.name);
        const Installation installation;
        hostile.spoil(installation);
        const std::vector<InstallationProblem> problems = installation.problems();
        ASSERT_EQ(problems.size(), hostile.problems.size()) << printed(problems);
        for (std::size_t n = 0; n < problems.size(); ++n) {
            const Expected& expected = hostile.problems[n];
            EXPECT_EQ(problems[n].file, QString::fromLatin1(expected.file)) << printed(problems);
            EXPECT_EQ(problems[n].line, expected.line) << problems[n].text;
            EXPECT_NE(problems[n].text.find(expected.fragment), std::string::npos)
                << problems[n].text;
        }
    }
}

} // namespace
} // namespace quorvella
