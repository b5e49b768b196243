#pragma once
// What the new-word and review windows share on screen: the group chooser, the reading settings,
// the word list with its four move buttons and count, the sky-blue word panel and the splitter
// before the 208-pixel side panel, with the handlers of these. Each window lays them out with its
// own controls and shows its own logic's state.

#include "core/data_folder.h"
#include "speech/reading_settings_group.h"
#include "speech/speech_engine.h"
#include "vocabulary/word_group_study.h"
#include "vocabulary/word_list_model.h"
#include "vocabulary/word_widgets.h"

#include <QMainWindow>
#include <initializer_list>
#include <memory>
#include <vector>

class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;

namespace quorvella {

class GroupChooser;
class WordPanel;
class WordTableView;

class WordListWindow : public QMainWindow {
    Q_OBJECT

public:
    ~WordListWindow() override;

    // The creation handler: the group list of the lesson groups, then the reading settings.
    void FormCreate();

    SpeechEngine& engine() const { return *spe; }

protected:
    static constexpr int kSidePanelWidth = 208;

    WordListWindow(const SpeechEngineFactory& makeEngine, DataFolder folder, WindowKind kind,
                   QWidget* parent);

    // Makes the shared controls over study, the window's logic, with the word list's columns,
    // and connects their handlers. Called once the window's logic exists.
    void buildWordList(WordGroupStudy& study, std::vector<WordColumn> columns);
    // The group box "单词列表" with the list; the row of move buttons, then extra controls, then
    // the count; the splitter with the main area and the side panel, as the central widget.
    QGroupBox* wordListBox() const { return m_listBox; }
    QHBoxLayout* makeMoveRow(QWidget* extra = nullptr) const;
    void setPanels(QWidget* mainArea, QWidget* sidePanel);
    // The Tab order: where the learner starts, the group choice, then the word list and its move
    // buttons, then controls in the order given, then the reading settings.
    void orderTabStops(std::initializer_list<QWidget*> controls);

    // Connects a signal to one of the window's handlers, rendering afterwards.
    template <typename Sender, typename Signal, typename Window>
    void connectShown(Sender* sender, Signal signal, void (Window::*handler)()) {
        connectRendered(sender, signal, static_cast<WordListWindow*>(this),
                        static_cast<void (WordListWindow::*)()>(handler), &WordListWindow::render);
    }

    // Shows the logic's state: the shared controls, then the window's own.
    virtual void render();

    // Handlers.
    void ComboBox2Change(int index);
    void ListBox2DblClick();
    void ListView1SelectItem(int row);
    void Button1Click();
    void Button7Click();
    void Button8Click();
    void Button9Click();
    // A move; the word list gets the focus where the move says so.
    void moveClick(Move move);

    DataFolder m_folder;
    std::unique_ptr<SpeechEngine> spe;
    WordGroupStudy* m_study = nullptr;
    GroupChooser* m_chooser = nullptr;
    ReadingSettingsGroup* m_readingSettings = nullptr;
    WordListModel* m_model = nullptr;
    WordTableView* ListView1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QLineEdit* Edit2 = nullptr;
    WordPanel* m_wordPanel = nullptr;

private:
    QGroupBox* m_listBox = nullptr;
    int m_shownCount = 0;
};

} // namespace quorvella
