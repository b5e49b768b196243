#include "vocabulary/review_window.h"

#include "core/gbk_codec.h"
#include "core/message_port.h"
#include "core/push_button.h"
#include "vocabulary/word_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quorvella {

namespace {

// The word and phonetic columns are a pixel wide: the list shows the numbers and meanings only.
std::vector<WordColumn> reviewColumns() {
    return {
        {QStringLiteral("序号"), 0, 50, Qt::AlignLeft},
        {QStringLiteral("单词"), 1, 1, Qt::AlignHCenter},
        {QStringLiteral("音标"), 2, 1, Qt::AlignHCenter},
        {QStringLiteral("词义"), 3, 400, Qt::AlignHCenter},
    };
}

QLabel* makeSunkenText(const QString& name, const QString& description, const QColor& colour,
                       QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAccessibleDescription(description);
    label->setTextFormat(Qt::PlainText);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QCheckBox* makeCheckBox(const QString& name, const QString& caption, bool ticked, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setAccessibleName(caption);
    box->setChecked(ticked);
    return box;
}

} // namespace

TForm4::TForm4(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent)
    : WordListWindow(makeEngine, std::move(folder), WindowKind::Review, parent),
      m_dictation(m_folder, *spe, applicationMessages()) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("单词复习"));
    buildWordList(m_dictation, reviewColumns());
    setPanels(buildMainArea(), buildSidePanel());
    // The count after the move buttons; then the dictation: the answer, its check, the word
    // again; closing; the choices of what is shown.
    orderTabStops(
        {Edit2, Edit1, Button2, Image1, Button10, CheckBox1, CheckBox2, CheckBox3, CheckBox4});
    statusBar(); // without panels; nothing writes to it

    connectShown(Button2, &QPushButton::clicked, &TForm4::Button2Click);
    connectShown(Edit1, &QLineEdit::returnPressed, &TForm4::Button2Click);
    connectShown(CheckBox2, &QCheckBox::clicked, &TForm4::CheckBox2Click);
    connectShown(CheckBox3, &QCheckBox::clicked, &TForm4::CheckBox3Click);
    connectShown(CheckBox4, &QCheckBox::clicked, &TForm4::CheckBox4Click);
    connectShown(Image1, &QToolButton::clicked, &TForm4::Image1Click);
    connectShown(Button10, &QPushButton::clicked, &TForm4::Button10Click);
    connect(CheckBox1, &QCheckBox::toggled, this,
            [this](bool ticked) { m_dictation.setReadsWords(ticked); });
    render();
}

TForm4::~TForm4() = default;

QWidget* TForm4::buildSidePanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 2, 0, 2);

    layout->addWidget(m_chooser, 1);
    layout->addWidget(m_readingSettings);

    auto* display = new QGroupBox(QStringLiteral("显示设置"), panel);
    auto* options = new QVBoxLayout(display);
    CheckBox1 =
        makeCheckBox(QStringLiteral("CheckBox1"), QStringLiteral("朗读单词"), true, display);
    CheckBox2 =
        makeCheckBox(QStringLiteral("CheckBox2"), QStringLiteral("是否显示单词"), false, display);
    CheckBox3 =
        makeCheckBox(QStringLiteral("CheckBox3"), QStringLiteral("是否显示音标"), false, display);
    CheckBox4 =
        makeCheckBox(QStringLiteral("CheckBox4"), QStringLiteral("是否显示首字母"), false, display);
    for (QCheckBox* box : {CheckBox1, CheckBox2, CheckBox3, CheckBox4}) {
        options->addWidget(box);
    }
    layout->addWidget(display);
    return panel;
}

QWidget* TForm4::buildMainArea() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(4, 2, 4, 2);

    layout->addWidget(wordListBox(), 3);
    layout->addLayout(makeMoveRow());
    layout->addWidget(m_wordPanel, 2);
    layout->addWidget(buildAnswerPanel(area));
    return area;
}

QWidget* TForm4::buildAnswerPanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("Panel4"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(panel);

    StaticText5 = makeSunkenText(QStringLiteral("StaticText5"), QStringLiteral("首字母提示"),
                                 QColor(0, 128, 0), panel);
    StaticText4 =
        makeSunkenText(QStringLiteral("StaticText4"), QStringLiteral("提示"), Qt::red, panel);
    layout->addWidget(StaticText5);
    layout->addWidget(StaticText4);

    auto* answerRow = new QHBoxLayout;
    Edit1 = new QLineEdit(panel);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("请输入单词"));
    QFont large = Edit1->font();
    large.setPixelSize(32);
    Edit1->setFont(large);
    // English letters go straight in, whatever input method the learner has switched on.
    Edit1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Edit1->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText | Qt::ImhNoAutoUppercase |
                               Qt::ImhPreferLatin);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("确定"), panel);
    Button10 = makeButton(QStringLiteral("Button10"), QStringLiteral("关闭退出"), panel);
    Image1 = makeRereadButton(QStringLiteral("Image1"), panel);
    answerRow->addWidget(Edit1, 1);
    answerRow->addWidget(Button2);
    answerRow->addWidget(Button10);
    answerRow->addWidget(Image1);
    layout->addLayout(answerRow);

    Edit3 = new QLineEdit(panel);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->hide();
    Edit4 = new QLineEdit(panel);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    Edit4->hide();
    return panel;
}

void TForm4::Button2Click() {
    m_dictation.check(encodeGbk(Edit1->text()), [this] { Edit1->clear(); });
    Edit1->setFocus();
}

void TForm4::CheckBox2Click() {
    m_dictation.setShowsWord(CheckBox2->isChecked());
}

void TForm4::CheckBox3Click() {
    m_dictation.setShowsPhonetic(CheckBox3->isChecked());
}

void TForm4::CheckBox4Click() {
    m_dictation.setShowsInitial(CheckBox4->isChecked());
}

void TForm4::Image1Click() {
    m_dictation.rereadWord();
}

void TForm4::Button10Click() {
    close();
}

void TForm4::render() {
    WordListWindow::render();
    m_wordPanel->show(m_dictation.wordDisplay(), m_dictation.phoneticDisplay(),
                      m_dictation.meaningDisplay());
    StaticText5->setText(decodeGbk(m_dictation.hint()));
    StaticText4->setText(m_dictation.prompt());
    Edit3->setText(decodeGbk(m_dictation.currentWord()));
    Edit4->setText(decodeGbk(m_dictation.currentPhonetic()));
}

} // namespace quorvella
