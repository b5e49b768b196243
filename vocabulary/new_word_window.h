#pragma once
// The new-word window: the learner studies the words of a lesson or an initial letter one by one,
// with their phonetics, meanings, details and speech, by hand or automatically. The rules are
// NewWordStudy's; this class shows them.

#include "core/data_folder.h"
#include "speech/reading_settings_group.h"
#include "speech/speech_engine.h"
#include "vocabulary/interval_timer.h"
#include "vocabulary/new_word_study.h"

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QToolButton;

namespace quorvella {

class GroupChooser;
class SpinEdit;
class WordListModel;
class WordPanel;
class WordTableView;

class TForm3 final : public QMainWindow {
    Q_OBJECT

public:
    TForm3(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent = nullptr);
    ~TForm3() override;

    // The creation handler: the group list of the lesson groups, then the reading settings.
    void FormCreate();

    SpeechEngine& engine() const { return *spe; }
    const NewWordStudy& study() const { return m_study; }

protected:
    // Closed by its frame or by "关闭退出": a hidden window reads no more words.
    void closeEvent(QCloseEvent* event) override;

private:
    // Handlers.
    void ComboBox2Change(int index);
    void ListBox2DblClick();
    void ListView1SelectItem(int row);
    void Button1Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    void Image1Click();
    void SpinEdit1Change();
    void Button10Click();
    void Timer1Timer();
    void Button11Click();
    void Button12Click();
    void Button2Click();

    void moveClick(Move move);
    void render();
    void buildLayout();
    QWidget* buildSidePanel();
    QWidget* buildMainArea();

    DataFolder m_folder;
    std::unique_ptr<SpeechEngine> spe;
    QTimer Timer1;
    QtIntervalTimer m_timer{Timer1};
    NewWordStudy m_study;

    GroupChooser* m_chooser = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button2 = nullptr;
    ReadingSettingsGroup* m_readingSettings = nullptr;
    WordListModel* m_model = nullptr;
    WordTableView* ListView1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QToolButton* Image1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    WordPanel* m_wordPanel = nullptr;
    std::array<QLabel*, 6> m_detailLabels{}; // Label15 to Label20
    SpinEdit* SpinEdit1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button10 = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* Button12 = nullptr;
    int m_shownCount = 0;
};

} // namespace quorvella
