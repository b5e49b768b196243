#pragma once
// The word bank window: the learner browses eight word banks within a range of initial letters,
// searches them, and hears each word, by hand or automatically. The rules are WordBankBrowser's;
// this class shows them.

#include "core/data_folder.h"
#include "core/message_port.h"
#include "speech/speech_engine.h"
#include "vocabulary/interval_timer.h"
#include "vocabulary/word_bank_browser.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quorvella {

class SpinEdit;
class WordListModel;
class WordTableView;

class TForm8 final : public QMainWindow {
    Q_OBJECT

public:
    TForm8(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent = nullptr);
    ~TForm8() override;

    // The creation handler: the first voice.
    void FormCreate();

    SpeechEngine& engine() const { return *spe1; }
    const WordBankBrowser& browser() const { return m_browser; }

protected:
    // Closed by its frame, by "退出关闭" or by "Button1": a hidden window reads no more words.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The messages of the browser, shown with the window showing the state reached so far.
    class Messages final : public MessagePort {
    public:
        explicit Messages(TForm8& window) : m_window(window) {}
        void showMessage(const QString& text) override;
        void showError(const QString& text) override;
        void showApplicationError(const QString& text) override;

    private:
        TForm8& m_window;
    };

    // Handlers.
    void Button2Click();
    void Button3Click();
    void ListView1SelectItem(int row);
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button7Click();
    void Button8Click();
    void Timer1Timer();
    void Button9Click();
    void Button10Click();
    void Button1Click();

    void moveClick(Move move);
    void giveListFocus(bool give);
    void render();
    void buildLayout();
    QWidget* buildLeftPane();
    QWidget* buildRightPane();
    void placeButton1();

    DataFolder m_folder;
    std::unique_ptr<SpeechEngine> spe1;
    QTimer Timer1;
    QtIntervalTimer m_timer{Timer1};
    Messages m_messages{*this};
    WordBankBrowser m_browser;

    QComboBox* ComboBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button2 = nullptr;
    QComboBox* ComboBox4 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button3 = nullptr;
    QLineEdit* Edit2 = nullptr;
    SpinEdit* SpinEdit1 = nullptr;
    QPushButton* Button8 = nullptr;
    QPushButton* Button9 = nullptr;
    QPushButton* Button10 = nullptr;
    QGroupBox* m_listBox = nullptr;
    WordListModel* m_model = nullptr;
    WordTableView* ListView1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QPushButton* Button6 = nullptr;
    QPushButton* Button7 = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
};

} // namespace quorvella
