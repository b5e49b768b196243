#pragma once
// The review window: a dictation of the words of a lesson or an initial letter. The learner hears
// a word, sees its meaning, types it and confirms. The rules are Dictation's; this class shows
// them.

#include "core/data_folder.h"
#include "speech/reading_settings_group.h"
#include "speech/speech_engine.h"
#include "vocabulary/dictation.h"

#include <QMainWindow>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace quorvella {

class GroupChooser;
class WordListModel;
class WordPanel;
class WordTableView;

class TForm4 final : public QMainWindow {
    Q_OBJECT

public:
    TForm4(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent = nullptr);
    ~TForm4() override;

    // The creation handler: the group list of the lesson groups, then the reading settings.
    void FormCreate();

    SpeechEngine& engine() const { return *spe; }
    const Dictation& dictation() const { return m_dictation; }

private:
    // Handlers.
    void ComboBox2Change(int index);
    void ListBox2DblClick();
    void ListView1SelectItem(int row);
    void Button1Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Button2Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void Image1Click();
    void Button10Click();

    void moveClick(Move move);
    void render();
    void buildLayout();
    QWidget* buildSidePanel();
    QWidget* buildMainArea();
    QWidget* buildAnswerPanel(QWidget* parent);

    DataFolder m_folder;
    std::unique_ptr<SpeechEngine> spe;
    Dictation m_dictation;

    GroupChooser* m_chooser = nullptr;
    ReadingSettingsGroup* m_readingSettings = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    WordListModel* m_model = nullptr;
    WordTableView* ListView1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QLineEdit* Edit2 = nullptr;
    WordPanel* m_wordPanel = nullptr;
    QLabel* StaticText5 = nullptr;
    QLabel* StaticText4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button10 = nullptr;
    QToolButton* Image1 = nullptr;
    QLineEdit* Edit3 = nullptr; // the current word, never shown
    QLineEdit* Edit4 = nullptr; // its phonetic, never shown
    int m_shownCount = 0;
};

} // namespace quorvella
