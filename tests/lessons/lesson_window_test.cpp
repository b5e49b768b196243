#include "lessons/lesson_window.h"

#include "core/gbk_codec.h"
#include "lessons/lesson_study.h"
#include "lessons/tedstr.h"
#include "speech/local_speech_engine.h"
#include "tests/support/event_loop.h"
#include "tests/support/fake_speech_engine.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_message_port.h"
#include "tests/support/splitter_drag.h"
#include "tools/lesson_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace quorvella {
namespace {

class LessonWindow : public testing::Test {
protected:
    void SetUp() override {
        write("textindex.txt", "Lesson 1  The Dog\r\nLesson 2  Empty\r\n");
        lesson = makeLessonFile({"    The Dog", "    It is a dog. It is my dog."},
                                LessonStudy::kLessonKey);
        write("text/0.txt", lesson.bytes);
        write("cn/0.txt", tedstr::encode(encodeGbk(u"    狗\r\n    这是一只狗。"),
                                         LessonStudy::kTranslationKey));
        window = std::make_unique<TForm2>(
            [this] {
                auto engine = std::make_unique<FakeSpeechEngine>();
                fake = engine.get();
                return engine;
            },
            DataFolder(dir.path()));
        window->FormCreate();
        window->resize(1000, 700);
        window->show();
        fake->calls.clear();
    }
    void write(const QString& name, const std::string& bytes) {
        QDir().mkpath(QFileInfo(dir.filePath(name)).path());
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), qint64(bytes.size()));
    }
    template <typename Widget>
    Widget* child(const char* name) {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void click(const char* button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    void openLesson(int row) {
        auto* list = child<QListWidget>("ListBox1");
        list->setCurrentRow(row);
        emit list->itemDoubleClicked(list->item(row));
    }
    QString text(const char* field) { return child<QLineEdit>(field)->text(); }
    QStringList enabledButtons() {
        QStringList enabled;
        for (const char* name : {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5"}) {
            if (child<QPushButton>(name)->isEnabled()) {
                enabled << name;
            }
        }
        return enabled;
    }

    // The lesson as the pane shows it: the file's padding blanks stand at line ends.
    QString shownLesson() const {
        return QString::fromLatin1(lesson.plain.c_str()).replace("\r\n", "\n");
    }

    QTemporaryDir dir;
    LessonFile lesson;
    RecordingMessagePort port;
    FakeSpeechEngine* fake = nullptr;
    std::unique_ptr<TForm2> window;
};

TEST_F(LessonWindow, ADoubleClickLoadsTheLessonItsCountsAndItsTranslation) {
    auto* pane = child<QTextEdit>("RichEdit2");
    EXPECT_EQ(pane->toPlainText(), "welcome to here!");
    EXPECT_EQ(text("Edit3"), "0");
    openLesson(0);
    EXPECT_EQ(fake->calls, QStringList{"StopSpeech"});
    EXPECT_EQ(text("Edit1"), "Lesson 1  The Dog");
    EXPECT_EQ(pane->toPlainText(), shownLesson());
    // Two pane lines at this width: 13 + 32 bytes and the padding; 2 lines + 4 + 11 blanks - 1
    // words (the blanks of the first t bytes of each line, the leading ones included; padding
    // blanks stand past t and count as bytes only); 2 - 1 paragraphs.
    EXPECT_EQ(text("Edit3").toLongLong(), 13 + 32 + qsizetype(lesson.blanks));
    EXPECT_EQ(text("Edit4"), "16");
    EXPECT_EQ(text("Edit5"), "1");
    EXPECT_EQ(child<QTextEdit>("richedit1")->toPlainText(),
              QStringLiteral(u"    狗\n    这是一只狗。"));
    EXPECT_FALSE(child<QTextEdit>("richedit1")->isVisible());
    EXPECT_TRUE(port.errors.isEmpty()) << port.errors.join('\n').toStdString();
}

TEST_F(LessonWindow, AMissingLessonFileKeepsTheCountsAndReportsTheFile) {
    openLesson(0);
    const QString bytes = text("Edit3");
    openLesson(1);
    EXPECT_EQ(text("Edit1"), "Lesson 2  Empty");
    EXPECT_EQ(child<QTextEdit>("RichEdit2")->toPlainText(), "");
    EXPECT_EQ(text("Edit3"), bytes);
    EXPECT_EQ(port.errors,
              QStringList{QStringLiteral("Cannot open file \"%1\". No such file or directory.")
                              .arg(dir.filePath("text/1.txt"))});
}

TEST_F(LessonWindow, TheTranslationButtonShowsAndHidesThePane) {
    auto* button = child<QPushButton>("Button11");
    auto* pane = child<QTextEdit>("richedit1");
    EXPECT_EQ(button->text(), "中文翻译");
    click("Button11");
    EXPECT_TRUE(pane->isVisible());
    EXPECT_EQ(button->text(), "隐藏翻译");
    click("Button11");
    EXPECT_FALSE(pane->isVisible());
    EXPECT_EQ(button->text(), "中文翻译");
    // Pressed while the window is hidden (by an assistive tool), the button still hides the
    // shown pane.
    click("Button11");
    window->hide();
    button->click();
    window->show();
    EXPECT_FALSE(pane->isVisible());
    EXPECT_EQ(button->text(), "中文翻译");
}

TEST_F(LessonWindow, LoadingALessonStopsTheSpeechAndKeepsTheReadingButtons) {
    openLesson(0);
    click("BitBtn1");
    fake->calls.clear();
    openLesson(0);
    EXPECT_EQ(fake->calls, QStringList{"StopSpeech"});
    EXPECT_EQ(enabledButtons(), (QStringList{"BitBtn3", "BitBtn5"}));
    fake->fireTextDataDone();
    EXPECT_EQ(enabledButtons(), (QStringList{"BitBtn1", "BitBtn2"}));
}

TEST_F(LessonWindow, TheSplittersStartAtTheirWidthsAndTheLearnerCanDragThem) {
    auto* column = child<QWidget>("Panel2");
    auto* splitter = child<QSplitter>("Splitter1");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QApplication::processEvents(); // the layout requests posted by showing
    EXPECT_EQ(column->width(), 216);
    dragSplitterHandle(*splitter, 1, QPoint(-60, 0));
    EXPECT_EQ(column->width(), 276);
    // The column keeps its width when the window grows.
    window->resize(1200, 700);
    QApplication::processEvents();
    EXPECT_EQ(column->width(), 276);
}

TEST_F(LessonWindow, ReadingAllFollowsTheEngineBackToIdle) {
    openLesson(0);
    fake->calls.clear();
    EXPECT_EQ(enabledButtons(), (QStringList{"BitBtn1", "BitBtn2"}));
    click("BitBtn1");
    EXPECT_EQ(fake->calls.size(), 2);
    EXPECT_EQ(fake->calls.value(0), "StopSpeech");
    EXPECT_TRUE(fake->calls.value(1).startsWith("SpeakText(    The Dog"));
    EXPECT_EQ(enabledButtons(), (QStringList{"BitBtn3", "BitBtn5"}));
    click("BitBtn3");
    EXPECT_EQ(enabledButtons(), (QStringList{"BitBtn4", "BitBtn5"}));
    click("BitBtn4");
    EXPECT_EQ(enabledButtons(), (QStringList{"BitBtn3", "BitBtn5"}));
    fake->fireTextDataDone();
    EXPECT_EQ(enabledButtons(), (QStringList{"BitBtn1", "BitBtn2"}));
    EXPECT_EQ(fake->calls.mid(2), (QStringList{"PauseSpeech", "ResumeSpeech", "StopSpeech"}));
}

// The word marked in the lesson pane, as the text it covers and its position; empty when none.
std::pair<QString, int> markedWord(const QTextEdit& pane) {
    const QList<QTextEdit::ExtraSelection> marks = pane.extraSelections();
    if (marks.isEmpty()) {
        return {};
    }
    EXPECT_EQ(marks.size(), 1);
    return {marks.first().cursor.selectedText(), marks.first().cursor.selectionStart()};
}

TEST_F(LessonWindow, TheWordBeingReadIsMarkedUntilTheReadingStopsOrEnds) {
    openLesson(0);
    auto* pane = child<QTextEdit>("RichEdit2");
    const QString shown = pane->toPlainText();
    const QString html = pane->toHtml();
    fake->calls.clear();
    click("BitBtn1");
    ASSERT_EQ(fake->calls.size(), 2);
    const QString spoken = fake->calls.at(1).mid(10).chopped(1); // SpeakText(...)
    ASSERT_TRUE(spoken.contains("\r\n")); // the engine's offsets count CR LF; the pane's do not
    const int my = int(spoken.indexOf("my"));
    fake->fireWordReached(my, 2);
    EXPECT_EQ(markedWord(*pane), std::pair(QString("my"), int(shown.indexOf("my"))));
    click("BitBtn3"); // paused: the mark stays
    EXPECT_EQ(markedWord(*pane).first, "my");
    click("BitBtn4");
    fake->fireWordReached(my + 3, 3);
    EXPECT_EQ(markedWord(*pane), std::pair(QString("dog"), int(shown.lastIndexOf("dog"))));
    EXPECT_EQ(pane->toHtml(), html) << "the mark is not part of the text";
    EXPECT_FALSE(pane->textCursor().hasSelection());
    click("BitBtn5");
    EXPECT_EQ(markedWord(*pane), std::pair(QString(), 0));
    fake->fireWordReached(my, 2); // a late word of the stopped text
    EXPECT_EQ(markedWord(*pane), std::pair(QString(), 0));

    click("BitBtn1");
    fake->fireWordReached(my, 2);
    EXPECT_EQ(markedWord(*pane).first, "my");
    fake->fireTextDataDone();
    EXPECT_EQ(markedWord(*pane), std::pair(QString(), 0));
}

TEST_F(LessonWindow, ASelectionReadAloudIsMarkedWhereItStandsAndTheMarkIsKeptInView) {
    auto* pane = child<QTextEdit>("RichEdit2");
    QString text;
    for (int line = 1; line <= 200; ++line) {
        text += QStringLiteral("Line %1 of a long text.\n").arg(line);
    }
    pane->setPlainText(text);
    const int from = int(text.indexOf("Line 190"));
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(int(text.indexOf("Line 195")), QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
    pane->verticalScrollBar()->setValue(0);
    click("BitBtn2");
    ASSERT_EQ(fake->calls.size(), 2);
    const QString spoken = fake->calls.at(1).mid(10).chopped(1);
    const int word = int(spoken.indexOf("Line 193"));
    fake->fireWordReached(word + 5, 3);
    EXPECT_EQ(markedWord(*pane), std::pair(QString("193"), int(text.indexOf("193"))));
    QTextCursor marked(pane->document());
    marked.setPosition(int(text.indexOf("193")));
    EXPECT_TRUE(pane->viewport()->rect().contains(pane->cursorRect(marked)))
        << "the marked word is in view";
    EXPECT_EQ(pane->textCursor().selectedText(), cursor.selectedText()) << "the selection stays";
}

// The right press goes through the window as the learner's does, so the context-menu event that
// Qt sends after it reaches the pane too.
TEST_F(LessonWindow, ARightClickReadsTheSelectionOpensNoMenuAndHidingStops) {
    openLesson(0);
    auto* pane = child<QTextEdit>("RichEdit2");
    const int is = pane->toPlainText().indexOf("is ");
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(is);
    cursor.setPosition(is + 3, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
    fake->calls.clear();
    const QPoint inPane = pane->viewport()->mapTo(window.get(), QPoint(20, 20));
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, inPane);
    runUntil([&] { return fake->calls.size() >= 2; }, 5000);
    EXPECT_EQ(fake->calls, (QStringList{"StopSpeech", "SpeakText(is )"}));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a context menu opened";
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(qobject_cast<QMenu*>(widget) != nullptr && widget->isVisible())
            << "a context menu opened";
    }
    window->hide();
    EXPECT_EQ(fake->calls.last(), "StopSpeech");
    window->show();
    EXPECT_EQ(enabledButtons(), (QStringList{"BitBtn1", "BitBtn2"}));
}

TEST_F(LessonWindow, SearchSelectsEachMatchThenSaysTheEndIsReached) {
    openLesson(0);
    child<QLineEdit>("edit2")->setText("dog");
    auto* pane = child<QTextEdit>("RichEdit2");
    QStringList selections;
    for (int press = 0; press < 3; ++press) {
        click("Button2");
        selections << QStringLiteral("%1+%2")
                          .arg(pane->textCursor().selectionStart())
                          .arg(pane->textCursor().selectedText().size());
    }
    const QString shown = shownLesson();
    const int first = shown.indexOf("dog");
    const int second = shown.indexOf("dog", first + 1);
    EXPECT_EQ(selections, (QStringList{QStringLiteral("%1+3").arg(first),
                                       QStringLiteral("%1+3").arg(second), "0+0"}));
    EXPECT_EQ(port.messages, QStringList{"已经到文章最后了!"});
}

TEST_F(LessonWindow, FontColourAndRestoreDefault) {
    openLesson(0);
    auto* pane = child<QTextEdit>("RichEdit2");
    int colourDialogs = 0;
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPointSize(30);
    window->setDialogs({[&](const FontAndColour&) -> std::optional<FontAndColour> {
                            return FontAndColour{chosen, QColor(Qt::darkGreen)};
                        },
                        [&](const QColor&) -> std::optional<QColor> {
                            ++colourDialogs;
                            return QColor(Qt::red);
                        },
                        {}});
    // Selection settings with nothing selected: the message, and no dialog.
    click("Button8");
    EXPECT_EQ(port.messages, QStringList{"请先选取想要设置的单词或句子"});
    EXPECT_EQ(colourDialogs, 0);

    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor); // "The"
    pane->setTextCursor(cursor);
    click("Button8");
    EXPECT_EQ(colourDialogs, 1);
    QTextCursor probe(pane->document());
    probe.setPosition(5);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(Qt::red));
    // The font carries its colour: the whole pane takes both.
    click("Button1");
    for (const int position : {1, 5, 20}) {
        probe.setPosition(position);
        EXPECT_EQ(probe.charFormat().foreground().color(), QColor(Qt::darkGreen)) << position;
        EXPECT_EQ(probe.charFormat().font().pointSize(), 30) << position;
    }

    click("Button10");
    const QColor windowText = pane->palette().color(QPalette::WindowText);
    EXPECT_EQ(pane->palette().color(QPalette::Base), pane->palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(pane->textCursor().selectedText().size(), pane->toPlainText().size());
    for (const int position : {1, 5, 20}) {
        probe.setPosition(position);
        EXPECT_EQ(probe.charFormat().foreground().color(), windowText) << position;
        // The height the pane started with, in pixels, whatever the screen's resolution.
        EXPECT_EQ(probe.charFormat().font().pixelSize(), 24) << position;
        EXPECT_EQ(probe.charFormat().font().family(), chosen.family()) << position;
    }
}

// The font dialog opens on its own font, not the pane's: first "MS Sans Serif", 8 points, in
// the window text colour, then on the last choice; a cancel changes nothing.
TEST_F(LessonWindow, TheFontDialogOpensOnItsFirstFontThenOnTheLastChoice) {
    openLesson(0);
    auto* pane = child<QTextEdit>("RichEdit2");
    QList<FontAndColour> openedOn;
    std::optional<FontAndColour> answer;
    window->setDialogs({[&](const FontAndColour& initial) {
                            openedOn << initial;
                            return answer;
                        },
                        {},
                        {}});
    QFont serif(QStringLiteral("DejaVu Serif"));
    serif.setPointSize(20);
    serif.setItalic(true);
    answer = FontAndColour{serif, QColor(0x12, 0x34, 0x56)};
    click("Button1");
    answer.reset();
    const QTextCharFormat before = pane->document()->begin().begin().fragment().charFormat();
    click("Button1"); // cancelled
    ASSERT_EQ(openedOn.size(), 2);
    EXPECT_EQ(openedOn[0].font.family(), "MS Sans Serif");
    EXPECT_EQ(openedOn[0].font.pointSize(), 8);
    EXPECT_EQ(openedOn[0].colour, pane->palette().color(QPalette::WindowText));
    EXPECT_EQ(openedOn[1].font.family(), "DejaVu Serif");
    EXPECT_EQ(openedOn[1].font.pointSize(), 20);
    EXPECT_TRUE(openedOn[1].font.italic());
    EXPECT_EQ(openedOn[1].colour, QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(pane->document()->begin().begin().fragment().charFormat(), before);
}

// The real dialog: Qt's font choice with a colour choice of ours.
TEST_F(LessonWindow, TheRealFontDialogCarriesAColour) {
    openLesson(0);
    auto* pane = child<QTextEdit>("RichEdit2");
    window->setDialogs({[this](const FontAndColour& initial) {
                            return FontColourDialog::ask(initial, window.get());
                        },
                        {},
                        {}});
    QColor openedOn;
    QTimer::singleShot(50, [&] {
        auto* dialog = qobject_cast<FontColourDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_NE(dialog->findChild<QPushButton*>("colourButton"), nullptr);
        openedOn = dialog->chosen().colour;
        dialog->setColour(QColor(Qt::blue));
        dialog->accept();
    });
    click("Button1");
    EXPECT_EQ(openedOn, pane->palette().color(QPalette::WindowText));
    QTextCursor probe(pane->document());
    probe.setPosition(5);
    EXPECT_EQ(probe.charFormat().foreground().color(), QColor(Qt::blue));
}

TEST_F(LessonWindow, AnImportReplacesTheTextAndKeepsTheCounts) {
    openLesson(0);
    const QStringList counts = {text("Edit3"), text("Edit4"), text("Edit5")};
    write("article.txt", encodeGbk(u"An article\r\n文章"));
    window->setDialogs({{}, {}, [this](const QString&) -> std::optional<QString> {
                            return dir.filePath("article.txt");
                        }});
    click("Button3");
    EXPECT_EQ(child<QTextEdit>("RichEdit2")->toPlainText(), QStringLiteral(u"An article\n文章"));
    EXPECT_EQ((QStringList{text("Edit3"), text("Edit4"), text("Edit5")}), counts);
    // A file that cannot be opened leaves the pane as it was.
    window->setDialogs({{}, {}, [this](const QString&) -> std::optional<QString> {
                            return dir.filePath("none.txt");
                        }});
    click("Button3");
    EXPECT_EQ(child<QTextEdit>("RichEdit2")->toPlainText(), QStringLiteral(u"An article\n文章"));
    EXPECT_EQ(port.errors.size(), 1);
}

} // namespace
} // namespace quorvella

namespace quorvella {
namespace {

// The real engine on an output that plays at real-time pace like the null output and counts what
// it plays, on the first lesson of the sample course that the build writes beside the tests.
TEST(LessonWindowSpeaking, ReadsASampleLessonWithPauseContinueAndStop) {
    const DataFolder sample = DataFolder::application();
    if (!QFile::exists(sample.path(u"textindex.txt"))) {
        GTEST_SKIP() << "the sample course is not beside the tests";
    }
    RecordingMessagePort port;
    CaptureAudioOutput* output = nullptr;
    TForm2 window(
        [&output] {
            auto played = std::make_unique<CaptureAudioOutput>(1.0);
            output = played.get();
            return std::make_unique<LocalSpeechEngine>(std::move(played));
        },
        sample);
    window.FormCreate();
    window.show();
    auto* list = window.findChild<QListWidget*>("ListBox1");
    ASSERT_GE(list->count(), 1);
    list->setCurrentRow(0);
    emit list->itemDoubleClicked(list->item(0));
    ASSERT_TRUE(port.errors.isEmpty()) << port.errors.join('\n').toStdString();

    auto& engine = static_cast<LocalSpeechEngine&>(window.engine());
    auto button = [&](const char* name) { return window.findChild<QPushButton*>(name); };
    auto enabled = [&] {
        QStringList names;
        for (const char* name : {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5"}) {
            if (button(name)->isEnabled()) {
                names << name;
            }
        }
        return names;
    };
    // The output plays only while its clock runs; a stopped clock takes no more frames.
    auto* clock = output->findChild<QTimer*>("playClock");
    ASSERT_NE(clock, nullptr);

    QTest::mouseClick(button("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(enabled(), (QStringList{"BitBtn3", "BitBtn5"}));
    auto* pane = window.findChild<QTextEdit*>("RichEdit2");
    const auto marked = [pane] {
        const auto marks = pane->extraSelections();
        return marks.isEmpty() ? QString() : marks.first().cursor.selectedText();
    };
    runUntil([&] { return output->frameCount() > 0 && !marked().isEmpty(); }, 10000);
    EXPECT_GT(output->frameCount(), 0) << "the first sentence is being heard";
    EXPECT_FALSE(marked().isEmpty()) << "a word of the title is marked";
    QTest::mouseClick(button("BitBtn3"), Qt::LeftButton);
    EXPECT_TRUE(engine.output().isPaused());
    EXPECT_EQ(enabled(), (QStringList{"BitBtn4", "BitBtn5"}));
    const qint64 atPause = output->frameCount();
    EXPECT_FALSE(clock->isActive()) << "the output still plays while paused";
    QApplication::processEvents();
    EXPECT_EQ(output->frameCount(), atPause) << "nothing is played while paused";
    const QString markedAtPause = marked();
    EXPECT_FALSE(markedAtPause.isEmpty());
    QTest::mouseClick(button("BitBtn4"), Qt::LeftButton);
    EXPECT_FALSE(engine.output().isPaused());
    EXPECT_EQ(enabled(), (QStringList{"BitBtn3", "BitBtn5"}));
    runUntil([&] { return output->frameCount() > atPause; }, 10000);
    EXPECT_GT(output->frameCount(), atPause) << "playing goes on";
    QTest::mouseClick(button("BitBtn5"), Qt::LeftButton);
    EXPECT_EQ(enabled(), (QStringList{"BitBtn1", "BitBtn2"}));
    EXPECT_EQ(marked(), QString());
    const qint64 atStop = output->frameCount();
    EXPECT_FALSE(clock->isActive()) << "the output still plays after stop";
    QApplication::processEvents();
    EXPECT_EQ(output->frameCount(), atStop) << "nothing is played after stop";
    EXPECT_EQ(output->queuedSeconds(), 0.0);
}

} // namespace
} // namespace quorvella
