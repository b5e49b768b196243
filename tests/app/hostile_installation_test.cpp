// Hostile installations: one data file of a whole installation spoiled (missing, empty, cut in
// the middle of a character, garbage, a folder, unreadable, a line of a megabyte, 0 and Ctrl-Z
// bytes in odd places), the program started over it and the window that reads the file made to
// read it. Each case shows the boxes it should and no others, ends in bounded time, and the same
// window then does something good.

#include "core/byte_text.h"
#include "core/gbk_codec.h"
#include "lessons/lesson_study.h"
#include "lessons/tedstr.h"
#include "richtext/pane_content.h"
#include "tests/app/installation.h"
#include "tests/app/program.h"
#include "tests/support/qt_printers.h"
#include "tools/lesson_file.h"
#include "vocabulary/word_widgets.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTextBrowser>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <unistd.h>

namespace quorvella {
namespace {

constexpr std::size_t kMegabyte = 1024 * 1024;
// A case that takes longer than this has hung as far as a learner can tell.
constexpr qint64 kBoundMs = 20000;

const QString kNoWords = QStringLiteral("message: 单词列表中还没有任何单词");

// ---- The windows' gestures that read each file, and a good one to do afterwards. ----

QString plainText(QWidget* widget) {
    if (auto* edit = qobject_cast<QTextEdit*>(widget)) {
        return edit->toPlainText();
    }
    return {};
}

void openLesson(Program& program, int row) {
    program.open(QStringLiteral("课文学习"));
    program.doubleClick("TForm2", "ListBox1", row);
}

// The lesson window reads the lesson of catalogue entry row as the sample course has it.
void expectLessonShown(Program& program, const Installation& data, int row) {
    openLesson(program, row);
    const QString text = QStringLiteral("text/%1.txt").arg(row);
    const QString translation = QStringLiteral("cn/%1.txt").arg(row);
    EXPECT_EQ(plainText(program.child<QTextEdit>("TForm2", "RichEdit2")),
              plainPaneText(lessonPaneText(data.original(text), LessonStudy::kLessonKey)));
    EXPECT_NE(program.child<QLineEdit>("TForm2", "Edit3")->text(), "0");
    EXPECT_FALSE(plainText(program.child<QTextEdit>("TForm2", "richedit1")).isEmpty())
        << translation.toStdString();
}

void openWordGroup(Program& program, int mode, int group) {
    program.open(QStringLiteral("生词学习"));
    program.child<QComboBox>("TForm3", "ComboBox2")->setCurrentIndex(mode);
    program.doubleClick("TForm3", "ListBox2", group);
}

void expectWordsListed(Program& program, int mode) {
    openWordGroup(program, mode, 0);
    EXPECT_GT(program.child<QLineEdit>("TForm3", "Edit2")->text().toInt(), 0);
    program.press("TForm3", "Button1"); // "第一个": the word is shown and spoken
    EXPECT_NE(program.child<QLabel>("TForm3", "StaticText1")->text().trimmed(), "");
}

void listBank(Program& program, int bank) {
    program.open(QStringLiteral("英语词库"));
    program.child<QComboBox>("TForm8", "ComboBox1")->setCurrentIndex(bank);
    program.child<QComboBox>("TForm8", "ComboBox2")->setCurrentIndex(0);  // "A"
    program.child<QComboBox>("TForm8", "ComboBox3")->setCurrentIndex(25); // "Z"
    program.press("TForm8", "Button2");
}

void expectBankListed(Program& program, int bank) {
    listBank(program, bank);
    EXPECT_GT(program.child<QLineEdit>("TForm8", "Edit2")->text().toInt(), 0);
    EXPECT_NE(program.child<QLabel>("TForm8", "StaticText1")->text().trimmed(), "");
    EXPECT_EQ(program.fakeEngineOf("TForm8").calls.back(),
              "SpeakText(" + program.child<QLabel>("TForm8", "StaticText1")->text() + ")");
}

void drawTest(Program& program) {
    program.open(QStringLiteral("模拟测试"));
    program.press("TForm7", "Button1");
}

// A page window shown; a page that cannot be read says why in the page itself.
void showPage(Program& program, const QString& caption, const char* window) {
    program.open(caption);
    const QString page = program.child<QTextBrowser>(window, "WebBrowser1")->toPlainText();
    if (page.startsWith(QStringLiteral("Cannot "))) {
        program.boxes() << QStringLiteral("page: ") + page.trimmed();
    }
}

void expectPageShown(Program& program, const QString& caption, const char* window) {
    program.window(window)->close();
    showPage(program, caption, window);
    EXPECT_GT(program.child<QTextBrowser>(window, "WebBrowser1")->toPlainText().size(), 100);
}

void openAnswers(Program& program, int row) {
    program.open(QStringLiteral("课后答案"));
    program.doubleClick("TForm6", "ListBox1", row);
}

// ---- The files. ----

struct DataFile {
    const char* key; // in the cases' names
    QString path;
    // How many times the program reads it for the gesture (start-up's readings included).
    int readings;
    // The gesture that has the file read.
    std::function<void(Program&)> read;
    // Something good done in the same window afterwards (the file may have been put right).
    std::function<void(Program&, Installation&)> goOn;
    // The file with a line of a megabyte in its own format, first or in place of the text.
    std::function<std::string(const std::string& original)> withLongLine;
};

std::string megabyteOf(char letter) {
    return std::string(kMegabyte, letter);
}

std::string lineFirst(const std::string& line, const std::string& original) {
    return line + "\r\n" + original;
}

const std::vector<DataFile>& dataFiles() {
    static const std::vector<DataFile> files = {
        {"catalogue", "textindex.txt", 1, [](Program& p) { openLesson(p, 0); },
         [](Program& p, Installation&) {
             // Whatever the pane shows is read aloud.
             p.press("TForm2", "BitBtn1");
             EXPECT_TRUE(p.fakeEngineOf("TForm2").calls.back().startsWith("SpeakText("));
         },
         [](const std::string& o) { return lineFirst("Lesson " + megabyteOf('L'), o); }},
        {"lesson", "text/0.txt", 1, [](Program& p) { openLesson(p, 0); },
         [](Program& p, Installation& data) { expectLessonShown(p, data, 1); },
         [](const std::string&) {
             return tedstr::encode(megabyteOf('w'), LessonStudy::kLessonKey) + "\r\n";
         }},
        {"translation", "cn/0.txt", 1, [](Program& p) { openLesson(p, 0); },
         [](Program& p, Installation& data) { expectLessonShown(p, data, 1); },
         [](const std::string&) {
             return tedstr::encode(megabyteOf('t'), LessonStudy::kTranslationKey);
         }},
        {"lesson_groups", "ti.txt", 2, [](Program& p) { p.open(QStringLiteral("生词学习")); },
         [](Program& p, Installation&) { expectWordsListed(p, 1); },
         [](const std::string& o) { return lineFirst(megabyteOf('g'), o); }},
        {"letter_groups", "ai.txt", 1, [](Program& p) { openWordGroup(p, 1, 0); },
         [](Program& p, Installation&) { expectWordsListed(p, 0); },
         [](const std::string& o) { return lineFirst(megabyteOf('a'), o); }},
        {"words_by_lesson", "dat/kwdc1.txt", 1,
         [](Program& p) {
             openWordGroup(p, 0, 0);
             p.press("TForm3", "Button1");
         },
         [](Program& p, Installation&) { expectWordsListed(p, 1); },
         [](const std::string& o) { return lineFirst(megabyteOf('w') + "@x@y@0", o); }},
        {"words_by_letter", "dat/kwdc2.txt", 1,
         [](Program& p) {
             openWordGroup(p, 1, 0);
             p.press("TForm3", "Button1");
         },
         [](Program& p, Installation&) { expectWordsListed(p, 0); },
         [](const std::string& o) { return lineFirst("a" + megabyteOf('w') + "@x@y", o); }},
        {"word_details", "dat/bookw.txt", 1,
         [](Program& p) {
             openWordGroup(p, 0, 0);
             p.press("TForm3", "Button1"); // the first word's details are looked up
         },
         [](Program& p, Installation&) {
             p.child<QLineEdit>("TForm3", "Edit1")->setText(QStringLiteral("a"));
             p.press("TForm3", "Button2");
             EXPECT_GT(p.child<QLineEdit>("TForm3", "Edit2")->text().toInt(), 0);
         },
         [](const std::string& o) {
             return lineFirst(megabyteOf('m') + "@" + megabyteOf('s') + "@@@@", o);
         }},
        {"bank_course", "dat/zsks.txt", 1, [](Program& p) { listBank(p, 0); },
         [](Program& p, Installation&) { expectBankListed(p, 1); },
         [](const std::string& o) { return lineFirst("a" + megabyteOf('w') + "@x", o); }},
        {"bank_gmat", "dat/gmat.dat", 1, [](Program& p) { listBank(p, 7); },
         [](Program& p, Installation&) { expectBankListed(p, 0); },
         [](const std::string& o) {
             return lineFirst("a" + megabyteOf('w') + "@" + megabyteOf('m'), o);
         }},
        {"questions", "dat/tk.txt", 1, [](Program& p) { drawTest(p); },
         [](Program& p, Installation& data) {
             data.restore(QStringLiteral("dat/tk.txt"));
             p.press("TForm7", "Button1");
             EXPECT_EQ(p.child<QTableView>("TForm7", "ListView1")->model()->rowCount(), 10);
             EXPECT_EQ(p.child<QLabel>("TForm7", "StaticText1")->text(), "测试正在进行中...... ");
         },
         [](const std::string& o) {
             return lineFirst(megabyteOf('q') + "@a@b@c@d@A@" + megabyteOf('e'), o);
         }},
        {"grammar", "abc/grammar.htm", 0,
         [](Program& p) { showPage(p, QStringLiteral("英语语法"), "TForm5"); },
         [](Program& p, Installation& data) {
             data.restore(QStringLiteral("abc/grammar.htm"));
             expectPageShown(p, QStringLiteral("英语语法"), "TForm5");
         },
         [](const std::string&) {
             return "<html><body><p>" + megabyteOf('g') + "</p></body></html>";
         }},
        {"help", "help/help.htm", 0,
         [](Program& p) { showPage(p, QStringLiteral("软件帮助"), "TForm10"); },
         [](Program& p, Installation& data) {
             data.restore(QStringLiteral("help/help.htm"));
             expectPageShown(p, QStringLiteral("软件帮助"), "TForm10");
         },
         [](const std::string&) {
             return "<html><body><p>" + megabyteOf('h') + "</p></body></html>";
         }},
        {"answers", "textkey/0.txt", 1, [](Program& p) { openAnswers(p, 0); },
         [](Program& p, Installation&) {
             openAnswers(p, 1);
             EXPECT_GT(plainText(p.child<QTextEdit>("TForm6", "RichEdit1")).size(), 20);
         },
         [](const std::string&) { return "{\\rtf1 " + megabyteOf('k') + "}"; }},
    };
    return files;
}

// ---- The ways of spoiling a file. ----

// Cut right after the lead byte of the first double-byte character in the second half; a file
// with none is cut in the middle.
std::string cutInACharacter(const std::string& bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += characterLength(bytes, at)) {
        if (at >= bytes.size() / 2 && characterLength(bytes, at) > 1) {
            return bytes.substr(0, at + 1);
        }
    }
    return bytes.substr(0, bytes.size() / 2);
}

// 64 KB of random bytes, the same each run; the first is above "z", where no bank word starts.
std::string garbage() {
    std::mt19937 random(20261211);
    std::string bytes(64 * 1024, '\0');
    for (char& byte : bytes) {
        byte = char(random() & 0xFF);
    }
    bytes[0] = '\xFE';
    return bytes;
}

// A 0 byte in the middle of the second line, a Ctrl-Z in the middle of the fourth; in a file of
// one line (an encoded lesson), at a third and two thirds of it.
std::string withZeroAndCtrlZ(const std::string& bytes) {
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && i + 1 < bytes.size()) {
            starts.push_back(i + 1);
        }
    }
    std::string spoiled = bytes;
    const auto middleOf = [&](std::size_t line) {
        const std::size_t end = line + 1 < starts.size() ? starts[line + 1] : bytes.size();
        return (starts[line] + end) / 2;
    };
    const std::size_t zero = starts.size() >= 4 ? middleOf(1) : bytes.size() / 3;
    const std::size_t ctrlZ = starts.size() >= 4 ? middleOf(3) : 2 * bytes.size() / 3;
    spoiled.insert(ctrlZ, 1, '\x1A');
    spoiled.insert(zero, 1, '\0');
    return spoiled;
}

// Letters of the codec's alphabet at random: an encoded lesson that decodes to garbage.
std::string encodedGarbage() {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::mt19937 random(1211);
    std::string text(12000, 'A');
    for (char& c : text) {
        c = alphabet[random() % alphabet.size()];
    }
    return text + "\r\n";
}

enum class Spoil {
    Missing,
    Folder,
    Unreadable,
    Empty,
    CutInACharacter,
    Garbage,
    LongLine,
    ZeroAndCtrlZ,
    DecodesToGarbage
};

struct SpoilWay {
    const char* key;
    Spoil spoil;
    // The operating system's reason when the file cannot be opened; empty when it can.
    QString reason;
};

const std::vector<SpoilWay>& spoilWays() {
    static const std::vector<SpoilWay> ways = {
        {"missing", Spoil::Missing, "No such file or directory"},
        {"folder", Spoil::Folder, "Is a directory"},
        {"unreadable", Spoil::Unreadable, "Permission denied"},
        {"empty", Spoil::Empty, {}},
        {"cut_in_a_character", Spoil::CutInACharacter, {}},
        {"garbage", Spoil::Garbage, {}},
        {"megabyte_line", Spoil::LongLine, {}},
        {"zero_and_ctrl_z", Spoil::ZeroAndCtrlZ, {}},
        {"decodes_to_garbage", Spoil::DecodesToGarbage, {}},
    };
    return ways;
}

void spoilFile(Installation& data, const DataFile& file, Spoil spoil) {
    const std::string& original = data.original(file.path);
    switch (spoil) {
    case Spoil::Missing:
        data.remove(file.path);
        break;
    case Spoil::Folder:
        data.makeFolder(file.path);
        break;
    case Spoil::Unreadable:
        data.lockAway(file.path);
        break;
    case Spoil::Empty:
        data.write(file.path, {});
        break;
    case Spoil::CutInACharacter:
        data.write(file.path, cutInACharacter(original));
        break;
    case Spoil::Garbage:
        data.write(file.path, garbage());
        break;
    case Spoil::LongLine:
        data.write(file.path, file.withLongLine(original));
        break;
    case Spoil::ZeroAndCtrlZ:
        data.write(file.path, withZeroAndCtrlZ(original));
        break;
    case Spoil::DecodesToGarbage:
        data.write(file.path, encodedGarbage());
        break;
    }
}

// What the learner is told in the cases where the file can be read: the messages that the
// windows give for what they then find. Every case not listed here tells nothing.
const std::map<std::string, QStringList>& messagesForContent() {
    static const std::map<std::string, QStringList> messages = {
        // An empty letter list leaves no entry to double-click: the double-click on none is an
        // error of its own.
        {"letter_groups_empty", {QStringLiteral("error: List index out of bounds (-1)")}},
        // An empty bank lists no word; so does garbage, whose first byte ends a letter range.
        {"bank_course_empty", {kNoWords}},
        {"bank_course_garbage", {kNoWords}},
        {"bank_gmat_empty", {kNoWords}},
        {"bank_gmat_garbage", {kNoWords}},
    };
    return messages;
}

struct HostileCase {
    std::string name;
    const DataFile* file;
    const SpoilWay* way;
};

std::vector<HostileCase> hostileCases() {
    std::vector<HostileCase> cases;
    for (const DataFile& file : dataFiles()) {
        for (const SpoilWay& way : spoilWays()) {
            const bool encoded = file.path.startsWith("text/") || file.path.startsWith("cn/");
            if (way.spoil == Spoil::DecodesToGarbage && !encoded) {
                continue; // only the lesson files are encoded
            }
            cases.push_back({std::string(file.key) + "_" + way.key, &file, &way});
        }
    }
    return cases;
}

QStringList expectedBoxes(const HostileCase& c, const QString& fullPath) {
    if (!c.way->reason.isEmpty()) {
        QStringList boxes;
        const QString text =
            QStringLiteral("Cannot open file \"%1\". %2").arg(fullPath, c.way->reason);
        if (c.file->readings == 0) {
            boxes << QStringLiteral("page: ") + text; // the page says so; no box
        }
        for (int reading = 0; reading < c.file->readings; ++reading) {
            boxes << QStringLiteral("error: ") + text + QLatin1Char('.');
        }
        return boxes;
    }
    const auto found = messagesForContent().find(c.name);
    return found != messagesForContent().end() ? found->second : QStringList{};
}

void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.name;
}

class HostileInstallation : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileInstallation, TellsWhatTheFileGivesAndGoesOn) {
    const HostileCase& c = GetParam();
    if (c.way->spoil == Spoil::Unreadable && geteuid() == 0) {
        GTEST_SKIP() << "running as root, which reads a file whatever its permissions";
    }
    Installation data;
    spoilFile(data, *c.file, c.way->spoil);

    QElapsedTimer clock;
    clock.start();
    Program program(data.folder());
    ASSERT_TRUE(program.started());
    c.file->read(program);
    EXPECT_LT(clock.elapsed(), kBoundMs);
    EXPECT_EQ(program.boxes(), expectedBoxes(c, data.path(c.file->path)));
    EXPECT_EQ(program.oddBoxes(), QStringList{});

    // The program goes on working.
    program.boxes().clear();
    clock.restart();
    c.file->goOn(program, data);
    EXPECT_LT(clock.elapsed(), kBoundMs);
    EXPECT_EQ(program.boxes(), QStringList{});
}

INSTANTIATE_TEST_SUITE_P(EachFileEachWay, HostileInstallation, testing::ValuesIn(hostileCases()),
                         [](const testing::TestParamInfo<HostileCase>& info) {
                             return info.param.name;
                         });

// ---- Every data file missing. ----

// Start-up's three boxes, then each window's reading its own; the program goes on all the same.
TEST(EmptyInstallation, EachWindowTellsWhatItCannotOpenAndGoesOn) {
    QTemporaryDir empty;
    const DataFolder folder(empty.path());
    const auto cannotOpen = [&](const char* kind, const char* file) -> QString {
        const bool box = std::string_view(kind) == "error: ";
        return QString::fromLatin1(kind) +
               QStringLiteral("Cannot open file \"%1\". No such file or directory")
                   .arg(folder.path(QString::fromLatin1(file))) +
               (box ? QStringLiteral(".") : QString());
    };
    Program program(folder);
    ASSERT_TRUE(program.started());
    EXPECT_EQ(program.boxes(),
              (QStringList{cannotOpen("error: ", "textindex.txt"), cannotOpen("error: ", "ti.txt"),
                           cannotOpen("error: ", "ti.txt")}));
    program.boxes().clear();

    openLesson(program, 0); // an empty catalogue: no lesson to load
    openWordGroup(program, 1, 0);
    program.open(QStringLiteral("单词复习"));
    program.child<QComboBox>("TForm4", "ComboBox2")->setCurrentIndex(1);
    listBank(program, 0);
    drawTest(program);
    showPage(program, QStringLiteral("英语语法"), "TForm5");
    showPage(program, QStringLiteral("软件帮助"), "TForm10");
    openAnswers(program, 0);
    EXPECT_EQ(
        program.boxes(),
        (QStringList{
            cannotOpen("error: ", "ai.txt"), QStringLiteral("error: List index out of bounds (-1)"),
            cannotOpen("error: ", "ai.txt"), cannotOpen("error: ", "dat/zsks.txt"),
            cannotOpen("error: ", "dat/tk.txt"), cannotOpen("page: ", "abc/grammar.htm"),
            cannotOpen("page: ", "help/help.htm"), cannotOpen("error: ", "textkey/0.txt")}));
    EXPECT_EQ(program.oddBoxes(), QStringList{});

    // The lesson window reads its welcome aloud; the launcher still shows every window.
    program.boxes().clear();
    program.open(QStringLiteral("课文学习"));
    program.press("TForm2", "BitBtn1");
    EXPECT_EQ(program.fakeEngineOf("TForm2").calls.back(), "SpeakText(welcome to here!)");
    EXPECT_TRUE(program.launcher()->isVisible());
    EXPECT_EQ(program.boxes(), QStringList{});
}

// ---- A bank of 200 MB. ----

// The course's bank with 200 MB of words that start with a capital between its "a" and its "b"
// words: a letter range passes over them without ending, a search reads them all.
class HugeBank : public testing::Test {
protected:
    void SetUp() override {
        QFile bank(data.path(QStringLiteral("dat/zsks.txt")));
        ASSERT_TRUE(bank.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const std::string gbkMeaning = encodeGbk(u"能干的");
        bank.write(("able@" + gbkMeaning + "\r\nabout@x\r\n").c_str());
        std::string block;
        while (block.size() < kMegabyte) {
            block += "Zzzzzzzzzzzzz@y\r\n";
        }
        for (qint64 written = 0; written < kSize; written += qint64(block.size())) {
            ASSERT_EQ(bank.write(block.data(), qint64(block.size())), qint64(block.size()));
        }
        bank.write("bank@z\r\nbeyond@needle\r\ncat@c\r\n");
    }
    void TearDown() override { data.remove(QStringLiteral("dat/zsks.txt")); }

    static constexpr qint64 kSize = 200 * qint64(kMegabyte);
    Installation data;
};

TEST_F(HugeBank, AListingAndASearchReadItInBoundedTime) {
    Program program(data.folder());
    program.open(QStringLiteral("英语词库"));
    QElapsedTimer clock;
    clock.start();
    program.child<QComboBox>("TForm8", "ComboBox3")->setCurrentIndex(1); // "A" to "B"
    program.press("TForm8", "Button2");
    const qint64 listing = clock.restart();
    EXPECT_EQ(program.child<QLineEdit>("TForm8", "Edit2")->text(), "4");
    EXPECT_EQ(program.child<QLabel>("TForm8", "StaticText1")->text(), "able");

    program.child<QComboBox>("TForm8", "ComboBox4")->setCurrentIndex(0);
    program.child<QLineEdit>("TForm8", "Edit1")->setText(QStringLiteral("needle"));
    program.press("TForm8", "Button3");
    const qint64 search = clock.elapsed();
    EXPECT_EQ(program.child<QLineEdit>("TForm8", "Edit2")->text(), "1");
    EXPECT_EQ(program.child<QLabel>("TForm8", "StaticText1")->text(), "beyond");
    EXPECT_EQ(program.boxes(), QStringList{});
    std::printf("200 MB bank: listing %lld ms, search %lld ms\n", listing, search);
    EXPECT_LT(listing, 60000);
    EXPECT_LT(search, 60000);
}

} // namespace
} // namespace quorvella
