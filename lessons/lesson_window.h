#pragma once
// The lesson window: the catalogue of lessons, a lesson's text with its counts and its Chinese
// translation, reading aloud, and the text tools. The rules are LessonStudy's,
// ReadAloudController's, TextSearch's and TextTools'; this class shows them.

#include "core/data_folder.h"
#include "lessons/font_colour_dialog.h"
#include "lessons/lesson_study.h"
#include "lessons/read_aloud_controller.h"
#include "lessons/text_tools.h"
#include "lessons/word_follower.h"
#include "speech/reading_settings_group.h"
#include "speech/speech_engine.h"

#include <QColor>
#include <QFont>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSplitter;
class QTextEdit;
class QToolButton;

namespace quorvella {

class TForm2 final : public QMainWindow, private LessonPanes {
    Q_OBJECT

public:
    // The dialogs of the text tools; tests answer them without showing one. Each returns nothing
    // when the learner cancels.
    struct Dialogs {
        std::function<std::optional<FontAndColour>(const FontAndColour& initial)> font;
        std::function<std::optional<QColor>(const QColor& initial)> colour;
        std::function<std::optional<QString>(const QString& lastFile)> file;
    };

    TForm2(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent = nullptr);
    ~TForm2() override;

    // The creation handler: reads the catalogue, then fills the reading settings group.
    void FormCreate();

    SpeechEngine& engine() const { return *spe; }
    void setDialogs(Dialogs dialogs) { m_dialogs = std::move(dialogs); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Handlers.
    void ListBox1DblClick();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void speTextDataDone();
    void speWordReached(int offset, int length);
    void RichEdit2MouseDown(Qt::MouseButton button);
    void Button2Click();
    void Button1Click();
    void Button8Click();
    void Button10Click();
    void Button11Click();
    void Button3Click();
    void Button9Click();
    void FormShow();
    void FormHide();

    // LessonPanes: what loading a lesson does to the window.
    void setTitle(const std::string& title) override;
    void clearLesson() override;
    void setLesson(const std::string& text) override;
    std::vector<std::string> lessonPaneLines() const override;
    void setCounts(const LessonCounts& counts) override;
    void setTranslation(const std::string& text) override;

    void buildLayout();
    QWidget* buildColumn();
    QWidget* buildTextArea();
    void renderTranslation();
    // The lesson pane's text as GBK bytes, its line breaks as CR LF; and its selection.
    std::string paneText() const;
    std::string selectedText() const;
    bool paneHasSelection() const;
    void showReading(ReadAloudController::PaneFocus focus);
    void applyFocus(ReadAloudController::PaneFocus focus);
    void renderReadingControls();
    // After a reading event given the pane's text and its selection: the one of them that went to
    // the engine is followed from its start.
    void followSpoken(std::uint64_t spokenBefore, const std::string& pane,
                      const std::string& selection);
    void renderWordMark();

    DataFolder m_folder;
    std::unique_ptr<SpeechEngine> spe;
    LessonStudy m_study;
    ReadAloudController m_reading;
    WordFollower m_follower;
    TextTools m_tools;
    Dialogs m_dialogs;

    QListWidget* ListBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* edit2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn4 = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QTextEdit* richedit1 = nullptr;
    QTextEdit* RichEdit2 = nullptr;
    ReadingSettingsGroup* m_readingSettings = nullptr;
};

} // namespace quorvella
