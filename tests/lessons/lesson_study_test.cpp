#include "lessons/lesson_study.h"

#include "core/app_error.h"
#include "lessons/tedstr.h"
#include "tests/support/fake_speech_engine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

using Lines = std::vector<std::string>;

TEST(LessonCounts, BytesWordsAndParagraphsOfPaneLines) {
    struct Case {
        Lines lines;
        LessonCounts counts;
    };
    const std::vector<Case> cases = {
        {{"    Title", "    It is a dog.", "", "    The end."}, {45, 19, 2}},
        {{"It is a dog."}, {14, 3, -1}},
        {{}, {0, -1, -1}},
        {{"a  b"}, {6, 2, -1}},              // both blanks count
        {{"   "}, {5, 0, -1}},               // a line of blanks: nothing examined
        {{"    abc  "}, {11, 3, 0}},         // only the first t = 3 bytes are examined
        {{"\t   x"}, {7, 0, -1}},            // t = 1: the tab alone; no paragraph either
        {{"\xB0\xA1 \xB0\xA1"}, {7, 1, -1}}, // a Chinese character counts two bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lessoncounts(c.lines), c.counts) << testing::PrintToString(c.lines);
        EXPECT_EQ(wordcount(c.lines), c.counts.words);
    }
}

// Records what the window is asked to do, in order; its pane lines are the lesson's lines.
class RecordingPanes final : public LessonPanes {
public:
    void setTitle(const std::string& title) override { calls.push_back("title:" + title); }
    void clearLesson() override {
        calls.push_back("clear");
        lesson.clear();
    }
    void setLesson(const std::string& text) override {
        calls.push_back("lesson");
        lesson = text;
    }
    std::vector<std::string> lessonPaneLines() const override {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = lesson.find("\r\n", start)) != std::string::npos;
             start = end + 2) {
            lines.push_back(lesson.substr(start, end - start));
        }
        if (start < lesson.size()) {
            lines.push_back(lesson.substr(start));
        }
        return lines;
    }
    void setCounts(const LessonCounts& c) override {
        calls.push_back("counts");
        counts = c;
    }
    void setTranslation(const std::string& text) override {
        calls.push_back("translation");
        translation = text;
    }

    std::vector<std::string> calls;
    std::string lesson, translation;
    LessonCounts counts;
};

class LessonStudyTest : public testing::Test {
protected:
    void write(const QString& name, const std::string& bytes) {
        QDir().mkpath(QFileInfo(dir.filePath(name)).path());
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
    }
    // A lesson file as the tool writes it: one line of encoded text, whose end decodes cleanly.
    void writeLesson(int n, const std::string& text, const std::string& chinese) {
        write(QStringLiteral("text/%1.txt").arg(n),
              tedstr::encode(text, LessonStudy::kLessonKey) + "\r\n");
        write(QStringLiteral("cn/%1.txt").arg(n),
              tedstr::encode(chinese, LessonStudy::kTranslationKey));
    }

    QTemporaryDir dir;
    FakeSpeechEngine engine;
    LessonStudy study{DataFolder(dir.path()), engine};
    RecordingPanes panes;
};

TEST_F(LessonStudyTest, TheCatalogueIsEveryLineOfTheIndex) {
    write("textindex.txt", "Lesson 1  The Library\r\n\r\nLesson 3\r\n");
    study.readCatalogue();
    EXPECT_EQ(study.catalogue(), (Lines{"Lesson 1  The Library", "", "Lesson 3"}));
}

TEST_F(LessonStudyTest, LoadsInOrderFromTheFilesOfTheEntrysPosition) {
    write("textindex.txt", "first\r\n\r\nthird\r\n");
    study.readCatalogue();
    writeLesson(2, "    Title\r\n    It is a dog.", "\xB9\xB7"); // 狗
    engine.calls.clear();
    study.load(2, panes);
    EXPECT_EQ(engine.calls, QStringList{"StopSpeech"});
    EXPECT_EQ(panes.calls, (Lines{"title:third", "clear", "lesson", "counts", "translation"}));
    // The CR LF read after the encoded line decodes into bytes after the text; the pane stops at
    // the first 0 byte, if any.
    EXPECT_EQ(panes.lesson.substr(0, 27), "    Title\r\n    It is a dog.");
    EXPECT_EQ(panes.translation.substr(0, 2), "\xB9\xB7");
    EXPECT_EQ(study.uncode(2).substr(0, 27), "    Title\r\n    It is a dog.");
}

TEST_F(LessonStudyTest, AMissingLessonLeavesTheTitleAndAnEmptyPaneAndKeepsTheRest) {
    write("textindex.txt", "one\r\ntwo\r\n");
    study.readCatalogue();
    writeLesson(0, "    One", "\xD2\xBB");
    study.load(0, panes);
    const LessonCounts before = panes.counts;
    const std::string translationBefore = panes.translation;
    panes.calls.clear();
    engine.calls.clear();

    EXPECT_THROW(study.load(1, panes), AppError);
    EXPECT_EQ(engine.calls, QStringList{"StopSpeech"});
    EXPECT_EQ(panes.calls, (Lines{"title:two", "clear"}));
    EXPECT_EQ(panes.lesson, "");
    EXPECT_EQ(panes.counts, before);
    EXPECT_EQ(panes.translation, translationBefore);
}

TEST_F(LessonStudyTest, AMissingTranslationKeepsThePreviousOne) {
    write("textindex.txt", "one\r\ntwo\r\n");
    study.readCatalogue();
    writeLesson(0, "    One", "\xD2\xBB");
    study.load(0, panes);
    const std::string translationBefore = panes.translation;
    write("text/1.txt", tedstr::encode("    Two words", LessonStudy::kLessonKey));
    panes.calls.clear();

    EXPECT_THROW(study.load(1, panes), AppError);
    EXPECT_EQ(panes.calls, (Lines{"title:two", "clear", "lesson", "counts"}));
    EXPECT_EQ(panes.counts.paragraphs, 0);
    EXPECT_EQ(panes.translation, translationBefore);
}

TEST_F(LessonStudyTest, NoEntryOrAMissingCatalogueLoadsNothing) {
    EXPECT_THROW(study.readCatalogue(), AppError);
    EXPECT_TRUE(study.catalogue().empty());
    study.load(-1, panes);
    study.load(0, panes);
    EXPECT_TRUE(panes.calls.empty());
    EXPECT_TRUE(engine.calls.isEmpty());
}

} // namespace
} // namespace quorvella
