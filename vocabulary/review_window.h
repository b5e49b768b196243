#pragma once
// The review window: a dictation of the words of a lesson or an initial letter. The learner hears
// a word, sees its meaning, types it and confirms. The rules are Dictation's; this class shows
// them.

#include "vocabulary/dictation.h"
#include "vocabulary/word_list_window.h"

class QCheckBox;
class QLabel;
class QToolButton;

namespace quorvella {

class TForm4 final : public WordListWindow {
    Q_OBJECT

public:
    TForm4(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent = nullptr);
    ~TForm4() override;

    const Dictation& dictation() const { return m_dictation; }

protected:
    void render() override;

private:
    // Handlers.
    void Button2Click();
    void CheckBox2Click();
    void CheckBox3Click();
    void CheckBox4Click();
    void Image1Click();
    void Button10Click();

    QWidget* buildSidePanel();
    QWidget* buildMainArea();
    QWidget* buildAnswerPanel(QWidget* parent);

    Dictation m_dictation;

    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QLabel* StaticText5 = nullptr;
    QLabel* StaticText4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button10 = nullptr;
    QToolButton* Image1 = nullptr;
    QLineEdit* Edit3 = nullptr; // the current word, never shown
    QLineEdit* Edit4 = nullptr; // its phonetic, never shown
};

} // namespace quorvella
