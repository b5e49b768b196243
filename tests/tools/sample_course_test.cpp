#include "tools/sample_course.h"

#include "core/byte_text.h"
#include "core/gbk_codec.h"
#include "core/line_readers.h"
#include "core/splite.h"
#include "lessons/tedstr.h"
#include "tests/support/qt_printers.h"
#include "tests/tools/course_text.h"
#include "tests/tools/tool_run.h"
#include "tests/tools/window_reading.h"
#include "tools/data_tool.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace quorvella {
namespace {

using testing_tools::windowReading;

constexpr std::uint16_t kLessonKey = 33965;
constexpr std::uint16_t kTranslationKey = 40353;

const QString kFixture = QStringLiteral(QUORVELLA_TEST_FIXTURES "/fixtures/sample");

ToolRun writeSample(const QString& source, const QString& into) {
    return runTool({"sample", "--from", source.toStdString(), into.toStdString()});
}

std::string fileBytes(const QString& folder, const char* relative) {
    return readFileBytes(folder + QLatin1Char('/') + QLatin1String(relative));
}

std::set<QString> filesUnder(const QString& folder) {
    std::set<QString> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.insert(QDir(folder).relativeFilePath(it.next()));
    }
    return files;
}

void writeFile(const QString& path, const std::string& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes.data(), qint64(bytes.size()));
}

// A copy of the fixture's sources, to change before writing the course from it.
class SourceCopy {
public:
    SourceCopy() {
        for (const QString& relative : filesUnder(kFixture)) {
            const QString target = root() + QLatin1Char('/') + relative;
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(kFixture + QLatin1Char('/') + relative, target);
        }
    }
    QString root() const { return m_dir.path(); }
    QString path(const char* relative) const { return root() + QLatin1Char('/') + relative; }

private:
    QTemporaryDir m_dir;
};

class SampleCourse : public testing::Test {
protected:
    void SetUp() override {
        const ToolRun run = writeSample(kFixture, m_out.path());
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
    }
    QString out() const { return m_out.path(); }
    std::string bytes(const char* relative) const { return fileBytes(out(), relative); }

private:
    QTemporaryDir m_out;
};

TEST_F(SampleCourse, WritesTheInstallationLayout) {
    const std::set<QString> expected = {
        "textindex.txt", "text/0.txt",    "text/1.txt",    "cn/0.txt",      "cn/1.txt",
        "ti.txt",        "ai.txt",        "dat/kwdc1.txt", "dat/kwdc2.txt", "dat/bookw.txt",
        "dat/zsks.txt",  "dat/gz.dat",    "dat/sj.dat",    "dat/lj.dat",    "dat/ielts.dat",
        "dat/toefl.dat", "dat/gre.dat",   "dat/gmat.dat",  "dat/tk.txt",    "abc/grammar.htm",
        "help/help.htm", "textkey/0.txt", "textkey/1.txt",
    };
    EXPECT_EQ(filesUnder(out()), expected);

    EXPECT_EQ(bytes("textindex.txt"), "Lesson 1  The Library\r\nLesson 2  A Rainy Day\r\n");
    EXPECT_EQ(bytes("ti.txt"), crlf({gbk("第一课 图书馆"), gbk("第二课 下雨天")}));
    // The letters that the words begin with, and no other: a letter without words lists nothing.
    EXPECT_EQ(bytes("ai.txt"), crlf({"B", "L", "Q", "R", "S", "U"}));
}

TEST_F(SampleCourse, ConvertsTextsToGb18030WithCrLf) {
    EXPECT_EQ(bytes("dat/tk.txt"),
              crlf({gbk("The library opens ___ eight.@at@in@on@by@A@“at”用于钟点。"),
                    gbk("She came ___ borrow a book.@for@to@at@with@B@不定式表示目的。"),
                    gbk("It rained all day, ___ I stayed at home.@but@or@so@because@C@“so”"
                        "表示结果。")}));
    // The halves of the details, a then b.
    EXPECT_EQ(bytes("dat/bookw.txt"),
              crlf({gbk("libr- 书，-ary 地方@librarian@@@The library opens at eight.@"
                        "图书馆八点开门。"),
                    gbk("quie- 静@quite@silent@noisy@Please be quiet.@请安静。"),
                    gbk("@@@@We borrow books from the library.@我们从图书馆借书。")}));
    EXPECT_EQ(bytes("help/help.htm"),
              crlf({"<html>", gbk("<head><meta charset=\"GB18030\"><title>软件帮助</title></head>"),
                    gbk("<body><p>双击课文标题打开课文。</p></body>"), "</html>"}));
    EXPECT_EQ(bytes("textkey/0.txt"), crlf({gbk("第一单元答案"), "1. at  2. to  3. so"}));
    // In RTF, a character whose trail byte is "}" (倉: 82 7D) is escaped; the others stay bytes.
    EXPECT_EQ(bytes("textkey/1.txt"),
              crlf({"{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset134 SimSun;}}",
                    "\\f0 " + gbk("第二单元答案：") + "\\'82\\'7d" + gbk("库") + "\\par", "}"}));
}

TEST_F(SampleCourse, GroupsTheCourseWordsByLessonAndByLetter) {
    const std::string library = gbk("library@[ˈlaɪbrəri]@n. 图书馆");
    const std::string quiet = gbk("quiet@[ˈkwaɪət]@adj. 安静的");
    const std::string chen = gbk("Chen@[tʃen]@陈（姓）");
    const std::string seat = gbk("seat@[siːt]@n. 座位");
    const std::string rain = gbk("rain@[reɪn]@n. 雨；v. 下雨");
    const std::string umbrella = gbk("umbrella@[ʌmˈbrelə]@n. 伞");
    const std::string borrow = gbk("borrow@[ˈbɒrəʊ]@v. 借");
    const std::string quietAgain = gbk("quiet@[ˈkwaɪət]@adj. 安静的，文静的");
    EXPECT_EQ(bytes("dat/kwdc1.txt"),
              crlf({library + "@0", quiet + "@0", chen + "@0", seat + "@0", rain + "@1",
                    umbrella + "@1", borrow + "@1", quietAgain + "@1"}));
    // A word with a capital initial could never be chosen by a letter; it is left out. A word new
    // in two lessons is listed once by letter, as the first lesson has it.
    EXPECT_EQ(bytes("dat/kwdc2.txt"), crlf({borrow, library, quiet, rain, seat, umbrella}));
}

TEST_F(SampleCourse, SortsEveryBankByTheWordInSmallLettersAndDropsRepeatedWords) {
    EXPECT_EQ(bytes("dat/zsks.txt"),
              crlf({gbk("Apple@n. 苹果"), gbk("borrow@v. 借"), gbk("umbrella@n. 伞")}));
    for (const char* bank : {"dat/gz.dat", "dat/sj.dat", "dat/lj.dat", "dat/ielts.dat",
                             "dat/toefl.dat", "dat/gre.dat", "dat/gmat.dat"}) {
        const std::vector<std::string> lines = splitLines(bytes(bank));
        ASSERT_EQ(lines.size(), 3u) << bank;
        EXPECT_TRUE(lines[0].starts_with("able@")) << bank;
        EXPECT_TRUE(lines[1].starts_with("morning@")) << bank;
        EXPECT_TRUE(lines[2].starts_with("zone@")) << bank;
    }
}

// Every lesson, read as the lesson window reads it, shows the source's lines and stops at the
// lesson's last character; every translation decodes to the source's lines and nothing more.
TEST_F(SampleCourse, LessonsAndTranslationsEndWhereTheirSourcesEnd) {
    const std::vector<std::vector<const char*>> lessons = {
        {"    The Library",
         "    Our college library opens at eight in the morning. Students come early to find a "
         "quiet seat by the windows.",
         "    The librarian, Mrs Chen, helps everyone find the books they need."},
        {"    A Rainy Day", "    It rained all day, so I stayed at home and read.",
         "    In the evening my friend came to borrow an umbrella."},
    };
    const std::vector<std::vector<const char*>> translations = {
        {"    图书馆", "    我们学院的图书馆早上八点开门。学生们早早就来，在窗边找一个安静的座位。",
         "    图书管理员陈女士帮助每个人找到他们需要的书。"},
        {"    下雨天", "    下了一整天的雨，所以我待在家里读书。", "    晚上我的朋友来借一把伞。"},
    };
    for (std::size_t i = 0; i < lessons.size(); ++i) {
        const std::string file = bytes(qPrintable(QStringLiteral("text/%1.txt").arg(i)));
        EXPECT_EQ(splitLines(file).size(), 1u) << i;
        const std::string shown = windowReading(file, kLessonKey);
        const std::vector<std::string> lines = splitLines(shown);
        ASSERT_EQ(lines.size(), lessons[i].size()) << i;
        for (std::size_t n = 0; n < lines.size(); ++n) {
            EXPECT_EQ(std::string(trimmed(lines[n])), std::string(trimmed(lessons[i][n])))
                << i << ':' << n;
            EXPECT_TRUE(lines[n].starts_with("    ")) << i << ':' << n;
        }
        // After the last line's last character come only the padding's blanks and break.
        const std::size_t last = shown.find_last_not_of(" \r\n");
        EXPECT_TRUE(shown.substr(0, last + 1).ends_with(std::string(trimmed(lessons[i].back()))))
            << i;

        // The translation pane holds the file's text as it stands and decodes it.
        const std::string translation = bytes(qPrintable(QStringLiteral("cn/%1.txt").arg(i)));
        EXPECT_EQ(translation.find_first_of("\r\n"), std::string::npos) << i;
        std::vector<std::string> expected;
        for (const char* line : translations[i]) {
            expected.push_back(gbk(line));
        }
        std::string joined = crlf(expected);
        joined.resize(joined.size() - 2);
        EXPECT_EQ(tedstr::decode(translation, kTranslationKey), joined) << i;
    }
}

TEST(SampleCourseSources, TheWordGroupsMayComeInHalves) {
    SourceCopy sources;
    ASSERT_TRUE(QFile::remove(sources.path("words/groups.txt")));
    writeFile(sources.path("words/groups-a.txt"), "Unit one\n");
    writeFile(sources.path("words/groups-b.txt"), "Unit two\n\n");
    QTemporaryDir out;
    const ToolRun run = writeSample(sources.root(), out.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(fileBytes(out.path(), "ti.txt"), "Unit one\r\nUnit two\r\n");
}

// A missing or faulty source is named in one line, the exit status is 1, and nothing is written.
TEST(SampleCourseSources, AFaultIsNamedInOneLineAndNothingIsWritten) {
    struct Case {
        const char* file;
        std::optional<std::string> content; // none: the file is removed
        const char* error;                  // after the source folder and "/"
    };
    const std::vector<Case> cases = {
        {"banks/gre.txt", std::nullopt, "banks/gre.txt: no such file"},
        {"lessons/02.zh.txt", std::nullopt, "lessons/02.zh.txt: no such file"},
        {"lessons/04.en.txt", "    Lesson Four\n", "lessons/03.en.txt: no such file"},
        {"words/groups.txt", std::nullopt,
         "words/groups.txt: no such file (nor its halves words/groups-a.txt and "
         "words/groups-b.txt)"},
        {"words/details-b.txt", std::nullopt, "words/details-b.txt: no such file"},
        {"words/03.txt", "sun@[sʌn]@n. 太阳\n", "words/03.txt: there is no lesson 3"},
        {"answers/1.txt", "x\n", "answers/1.rtf: unit 1 has a .txt answer file as well"},
        {"words/02.txt", "rain@[reɪn]@n. 雨\nborrow@[ˈbɒrəʊ]\n",
         "words/02.txt:2: 2 fields where word@phonetic@meaning has 3 (a field cannot hold "
         "\"@\")"},
        {"words/01.txt", "seat@[siːt]@n. 座位@chair\n",
         "words/01.txt:1: 4 fields where word@phonetic@meaning has 3 (a field cannot hold "
         "\"@\")"},
        {"words/01.txt", "seat@[siːt]@n. 座位@\n",
         "words/01.txt:1: 4 fields where word@phonetic@meaning has 3 (a field cannot hold "
         "\"@\")"},
        {"banks/zsks.txt", "apple@n. 苹果\n@n. 无\n", "banks/zsks.txt:2: the word is empty"},
        {"banks/sj.txt", "able@adj. 能够的\nzone@n. 地区\nbad@\xB2\xBB\xBA\xC3\n",
         "banks/sj.txt:3: not valid UTF-8"},
        {"words/details-a.txt", "a@b@c@d@e\n",
         "words/details-a.txt:1: 5 fields where "
         "mnemonic@same-form@synonyms@antonyms@sentence@Chinese sentence has 6 (a field "
         "cannot hold \"@\")"},
        {"questions/tk.txt", "Q1@a@b@c@d@A@why\nQ2@a@b@c@d@E@why\n",
         "questions/tk.txt:2: the answer is \"E\", not A, B, C or D"},
        {"questions/tk.txt", "Q1@a@b@c@d@A\n",
         "questions/tk.txt:1: 6 fields where question@A@B@C@D@answer@explanation has 7 (a "
         "field cannot hold \"@\")"},
        {"lessons/01.en.txt", "\n\n", "lessons/01.en.txt: the file is empty"},
        {"lessons/02.zh.txt", std::string("    \xE4\xB8\x8B\n    a\0b\n", 16),
         "lessons/02.zh.txt:2: a 0 byte, which ends the text where the program reads it"},
    };
    for (const Case& c : cases) {
        SourceCopy sources;
        if (!c.content) {
            ASSERT_TRUE(QFile::remove(sources.path(c.file))) << c.file;
        } else {
            writeFile(sources.path(c.file), *c.content);
        }
        QTemporaryDir out;
        const ToolRun run = writeSample(sources.root(), out.path());
        EXPECT_EQ(run.status, 1) << c.file;
        EXPECT_EQ(run.out, "") << c.file;
        EXPECT_EQ(run.err, sources.root().toStdString() + '/' + c.error + '\n');
        EXPECT_TRUE(filesUnder(out.path()).empty()) << c.file;
    }
}

// The tool's own sample sources lie in share/quorvella/sample beside its bin folder, wherever it
// is installed, and in the build folder as well.
TEST(SampleCourseSources, LieBesideTheToolsFolder) {
    EXPECT_EQ(sampleSourceBeside(QStringLiteral("/usr/bin/")),
              QStringLiteral("/usr/share/quorvella/sample"));
    EXPECT_EQ(sampleSourceBeside(QStringLiteral("/home/a/prefix/bin")),
              QStringLiteral("/home/a/prefix/share/quorvella/sample"));
    EXPECT_TRUE(QFileInfo(defaultSampleSource() + QStringLiteral("/README.md")).isFile())
        << defaultSampleSource().toStdString();
}

TEST(SampleCourseSources, RefusesWrongCommandLines) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"sample"},
                                               {"sample", "--from"},
                                               {"sample", "a", "b"},
                                               {"sample", "--key", "5", "a"}}) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 2) << testing::PrintToString(args);
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
}

std::vector<std::string> readLines(const QString& folder, const QString& relative) {
    LineReader reader(folder + QLatin1Char('/') + relative);
    std::vector<std::string> lines;
    for (std::string line; reader.readLine(line);) {
        lines.push_back(line);
    }
    return lines;
}

bool isChineseText(std::string_view bytes) {
    const QString text = decodeGbk(bytes);
    return !text.contains(QChar::ReplacementCharacter) &&
           text.contains(QRegularExpression(QStringLiteral("[\\x{4E00}-\\x{9FFF}]")));
}

// The sample course of the repository, written and read back as quorvella reads it.
TEST(RealSampleCourse, HoldsTheWholeCourseInTheFormsTheProgramReads) {
    if (!QFileInfo::exists(defaultSampleSource() + QStringLiteral("/lessons"))) {
        GTEST_SKIP() << "data/sample/lessons is not there yet: the course is written elsewhere";
    }
    QTemporaryDir dir;
    const QString out = dir.path();
    const ToolRun run = runTool({"sample", out.toStdString()});
    ASSERT_EQ(run.status, 0) << run.err;

    const std::vector<std::string> catalogue =
        readFileLines(out + QStringLiteral("/textindex.txt"));
    ASSERT_EQ(catalogue.size(), 12u);
    EXPECT_EQ(readFileLines(out + QStringLiteral("/ti.txt")).size(), 12u);
    std::vector<std::string> lessonTexts;
    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const std::string prefix = "Lesson " + std::to_string(i + 1) + "  ";
        ASSERT_TRUE(catalogue[i].starts_with(prefix)) << catalogue[i];
        const std::string title = catalogue[i].substr(prefix.size());

        // As the lesson window reads it: lines, each with CR LF, decoded, up to the first 0.
        std::string joined;
        for (const std::string& line : readFileLines(out + QStringLiteral("/text/%1.txt").arg(i))) {
            joined += line + "\r\n";
        }
        std::string shown = tedstr::decode(joined, kLessonKey);
        ASSERT_NE(shown.find('\0'), std::string::npos) << "lesson " << i + 1;
        shown.resize(shown.find('\0'));
        const std::vector<std::string> lines = splitLines(shown);
        ASSERT_GE(lines.size(), 2u) << "lesson " << i + 1;
        EXPECT_EQ(std::string(trimmed(lines[0])), title) << "lesson " << i + 1;
        for (const std::string& line : lines) {
            EXPECT_TRUE(line.starts_with("    ") && trimmed(line).size() > 0)
                << "lesson " << i + 1 << ": " << line;
        }
        EXPECT_FALSE(decodeGbk(shown).contains(QChar::ReplacementCharacter)) << i + 1;
        const std::vector<std::string> source = splitLines(readFileBytes(
            defaultSampleSource() +
            QStringLiteral("/lessons/%1.en.txt").arg(i + 1, 2, 10, QLatin1Char('0'))));
        const std::size_t last = shown.find_last_not_of(" \r\n");
        ASSERT_FALSE(source.empty());
        std::size_t lastSource = source.size();
        while (lastSource > 0 && trimmed(source[lastSource - 1]).empty()) {
            --lastSource;
        }
        ASSERT_GT(lastSource, 0u);
        EXPECT_TRUE(shown.substr(0, last + 1)
                        .ends_with(encodeGbk(QString::fromUtf8(
                            std::string(trimmed(source[lastSource - 1])).c_str()))))
            << "lesson " << i + 1;
        lessonTexts.push_back(lowerAscii(shown));

        const std::string translation = tedstr::decode(
            readFileBytes(out + QStringLiteral("/cn/%1.txt").arg(i)), kTranslationKey);
        EXPECT_EQ(translation.find('\0'), std::string::npos) << "translation " << i + 1;
        EXPECT_TRUE(isChineseText(translation)) << "translation " << i + 1;
    }

    // By lesson: groups 0 to 11 in ascending order, 15 to 25 words each, each word in its lesson.
    std::vector<int> perGroup(12, 0);
    int previous = 0;
    std::multiset<std::string> courseWords; // once each: the first lesson's line of a word
    std::set<std::string> headwords;
    for (const std::string& line : readLines(out, QStringLiteral("dat/kwdc1.txt"))) {
        const std::vector<std::string> fields = splite(trimmed(line));
        ASSERT_EQ(fields.size(), 4u) << line;
        const int group = std::stoi(fields[3]);
        ASSERT_TRUE(group >= previous && group < 12) << line;
        previous = group;
        ++perGroup[std::size_t(group)];
        EXPECT_TRUE(containsText(lessonTexts[std::size_t(group)], lowerAscii(fields[0])))
            << fields[0] << " is not in lesson " << group + 1;
        if (fields[0][0] >= 'a' && fields[0][0] <= 'z' && headwords.insert(fields[0]).second) {
            courseWords.insert(line.substr(0, line.rfind('@')));
        }
    }
    for (std::size_t group = 0; group < perGroup.size(); ++group) {
        EXPECT_TRUE(perGroup[group] >= 15 && perGroup[group] <= 25)
            << "lesson " << group + 1 << " has " << perGroup[group] << " words";
    }

    // By letter: every course word with a small initial once, the initials in order.
    std::multiset<std::string> alphabetical;
    char initial = 'a';
    for (const std::string& line : readLines(out, QStringLiteral("dat/kwdc2.txt"))) {
        ASSERT_TRUE(line[0] >= initial && line[0] <= 'z') << line;
        initial = line[0];
        alphabetical.insert(line);
    }
    EXPECT_EQ(alphabetical, courseWords);

    for (const char* bank : {"zsks.txt", "gz.dat", "sj.dat", "lj.dat", "ielts.dat", "toefl.dat",
                             "gre.dat", "gmat.dat"}) {
        const std::vector<std::string> lines =
            readLines(out, QStringLiteral("dat/") + QLatin1String(bank));
        EXPECT_GE(lines.size(), 300u) << bank;
        std::string previousWord;
        for (const std::string& line : lines) {
            const std::vector<std::string> fields = splite(line);
            ASSERT_GE(fields.size(), 2u) << bank << ": " << line;
            EXPECT_FALSE(trimmed(fields[1]).empty()) << bank << ": " << line;
            const std::string word = lowerAscii(fields[0]);
            EXPECT_LE(previousWord, word) << bank;
            previousWord = word;
        }
    }

    const std::vector<std::string> questions = readLines(out, QStringLiteral("dat/tk.txt"));
    EXPECT_EQ(questions.size(), 150u);
    for (const std::string& line : questions) {
        const std::vector<std::string> fields = splite(line);
        ASSERT_EQ(fields.size(), 7u) << line;
        EXPECT_TRUE(fields[5] == "A" || fields[5] == "B" || fields[5] == "C" || fields[5] == "D")
            << line;
    }

    std::set<QString> answers;
    for (int unit = 0; unit < 40; ++unit) {
        answers.insert(QStringLiteral("%1.txt").arg(unit));
    }
    const QStringList written = QDir(out + QStringLiteral("/textkey")).entryList(QDir::Files);
    EXPECT_EQ(std::set<QString>(written.begin(), written.end()), answers);

    for (const char* page : {"abc/grammar.htm", "help/help.htm"}) {
        const std::string bytes = fileBytes(out, page);
        EXPECT_TRUE(isChineseText(bytes)) << page;
        EXPECT_TRUE(decodeGbk(bytes).contains(
            QRegularExpression(QStringLiteral("charset\\s*=\\s*[\"']?(gb18030|gb2312)"),
                               QRegularExpression::CaseInsensitiveOption)))
            << page;
    }
}

} // namespace
} // namespace quorvella
