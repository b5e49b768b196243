#pragma once
// The new-word window: the learner studies the words of a lesson or an initial letter one by one,
// with their phonetics, meanings, details and speech, by hand or automatically. The rules are
// NewWordStudy's; this class shows them.

#include "vocabulary/interval_timer.h"
#include "vocabulary/new_word_study.h"
#include "vocabulary/word_list_window.h"

#include <QTimer>
#include <array>

class QCheckBox;
class QLabel;
class QToolButton;

namespace quorvella {

class SpinEdit;

class TForm3 final : public WordListWindow {
    Q_OBJECT

public:
    TForm3(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent = nullptr);
    ~TForm3() override;

    const NewWordStudy& study() const { return m_study; }

protected:
    // Closed by its frame or by "关闭退出": a hidden window reads no more words.
    void closeEvent(QCloseEvent* event) override;
    void render() override;

private:
    // Handlers.
    void Image1Click();
    void SpinEdit1Change();
    void Button10Click();
    void Timer1Timer();
    void Button11Click();
    void Button12Click();
    void Button2Click();

    QWidget* buildSidePanel();
    QWidget* buildMainArea();
    QWidget* buildDetails(QWidget* parent);
    QWidget* buildAutomaticReading(QWidget* parent);

    QTimer Timer1;
    QtIntervalTimer m_timer{Timer1};
    NewWordStudy m_study;

    QLineEdit* Edit1 = nullptr;
    QPushButton* Button2 = nullptr;
    QToolButton* Image1 = nullptr;
    std::array<QLabel*, 6> m_detailLabels{}; // Label15 to Label20
    SpinEdit* SpinEdit1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button10 = nullptr;
    QPushButton* Button11 = nullptr;
    QPushButton* Button12 = nullptr;
};

} // namespace quorvella
