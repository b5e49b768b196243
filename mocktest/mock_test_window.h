#pragma once
// The mock test window: the learner draws a multiple-choice test, answers it and has it scored.
// The rules are QuestionBank's and MockTest's; this class shows them and passes on what the
// learner does.

#include "core/data_folder.h"
#include "core/pane_splitter.h"
#include "mocktest/mock_test.h"
#include "mocktest/question_bank.h"

#include <QMainWindow>
#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;

namespace quorvella {

class QuestionListModel;

class TForm7 final : public QMainWindow, private MockTestObserver {
    Q_OBJECT

public:
    explicit TForm7(DataFolder folder, QWidget* parent = nullptr);
    ~TForm7() override;

    // The creation handler: nothing is read until a test is drawn.
    void FormCreate();

    const MockTest& test() const { return m_test; }

private:
    // Handlers.
    void ComboBox2Change();
    void ComboBox3Change();
    void Button1Click();
    void Button2Click();
    void Button9Click();
    void ListView1SelectItem();
    // Each runs when its button is checked or unchecked, and acts when it became checked.
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void CheckBox1Click();
    void Button7Click();
    void Button8Click();

    // MockTestObserver: the list and the pane follow the test as it changes.
    void rowsAboutToChange() override;
    void rowsChanged() override;
    void displayChanged() override;

    void buildLayout();
    QWidget* buildGenerationPane();
    QWidget* buildAnswerPane();
    void renderChoices();
    void renderDisplay();

    DataFolder m_folder;
    MockTest m_test;
    QuestionBank m_bank;
    QuestionListModel* m_model = nullptr;
    // Set while the window shows the logic's state, so that the widgets' own change signals
    // are not taken for the learner's.
    bool m_rendering = false;

    PaneSplitter* Splitter1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QTableView* ListView1 = nullptr;
    QLabel* Panel3 = nullptr;
    QLabel* Label2 = nullptr;
    std::array<QRadioButton*, 4> m_options{};
    QPushButton* Button3 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* StaticText1 = nullptr;
    QPushButton* Button7 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
};

} // namespace quorvella
