#include "vocabulary/review_window.h"

#include "core/gbk_codec.h"
#include "core/message_port.h"
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

constexpr int kSidePanelWidth = 208;

// The word and phonetic columns are a pixel wide: the list shows the numbers and meanings only.
const std::vector<WordColumn>& reviewColumns() {
    static const std::vector<WordColumn> columns = {
        {QStringLiteral("序号"), 0, 50, Qt::AlignLeft},
        {QStringLiteral("单词"), 1, 1, Qt::AlignHCenter},
        {QStringLiteral("音标"), 2, 1, Qt::AlignHCenter},
        {QStringLiteral("词义"), 3, 400, Qt::AlignHCenter},
    };
    return columns;
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
    : QMainWindow(parent), m_folder(std::move(folder)), spe(makeEngine()),
      m_dictation(m_folder, *spe, applicationMessages()) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("单词复习"));
    resize(800, 600);
    spe->setObjectName(QStringLiteral("spe"));
    buildLayout();
    render();
}

TForm4::~TForm4() = default;

void TForm4::buildLayout() {
    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(buildMainArea());
    splitter->addWidget(buildSidePanel());
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setCollapsible(0, false);
    splitter->setCollapsible(1, false);
    // The side panel starts 208 pixels wide and keeps its width when the window grows; the
    // learner can drag the splitter.
    splitter->setSizes({width() - kSidePanelWidth - splitter->handleWidth(), kSidePanelWidth});
    setCentralWidget(splitter);
    statusBar(); // without panels; nothing writes to it

    const auto render = &TForm4::render;
    connectRendered(m_chooser->ComboBox2, &QComboBox::currentIndexChanged, this,
                    &TForm4::ComboBox2Change, render);
    connectRendered(m_chooser, &GroupChooser::groupDoubleClicked, this, &TForm4::ListBox2DblClick,
                    render);
    connectRendered(ListView1, &WordTableView::rowSelected, this, &TForm4::ListView1SelectItem,
                    render);
    connectRendered(Button1, &QPushButton::clicked, this, &TForm4::Button1Click, render);
    connectRendered(Button7, &QPushButton::clicked, this, &TForm4::Button7Click, render);
    connectRendered(Button8, &QPushButton::clicked, this, &TForm4::Button8Click, render);
    connectRendered(Button9, &QPushButton::clicked, this, &TForm4::Button9Click, render);
    connectRendered(Button2, &QPushButton::clicked, this, &TForm4::Button2Click, render);
    connectRendered(Edit1, &QLineEdit::returnPressed, this, &TForm4::Button2Click, render);
    connectRendered(CheckBox2, &QCheckBox::clicked, this, &TForm4::CheckBox2Click, render);
    connectRendered(CheckBox3, &QCheckBox::clicked, this, &TForm4::CheckBox3Click, render);
    connectRendered(CheckBox4, &QCheckBox::clicked, this, &TForm4::CheckBox4Click, render);
    connectRendered(Image1, &QToolButton::clicked, this, &TForm4::Image1Click, render);
    connectRendered(Button10, &QPushButton::clicked, this, &TForm4::Button10Click, render);
    connect(CheckBox1, &QCheckBox::toggled, this,
            [this](bool ticked) { m_dictation.setReadsWords(ticked); });
}

QWidget* TForm4::buildSidePanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 2, 0, 2);

    m_chooser = new GroupChooser(panel);
    layout->addWidget(m_chooser, 1);

    m_readingSettings = new ReadingSettingsGroup(*spe, WindowKind::Review, panel);
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

    auto* listBox = new QGroupBox(QStringLiteral("单词列表"), area);
    m_model = new WordListModel(m_dictation.groups().words(), reviewColumns(), this);
    ListView1 = new WordTableView(m_model, listBox);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("单词列表"));
    (new QVBoxLayout(listBox))->addWidget(ListView1);
    layout->addWidget(listBox, 3);

    auto* moves = new QHBoxLayout;
    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("第一个"), area);
    Button7 = makeButton(QStringLiteral("Button7"), QStringLiteral("上一个"), area);
    Button8 = makeButton(QStringLiteral("Button8"), QStringLiteral("下一个"), area);
    Button9 = makeButton(QStringLiteral("Button9"), QStringLiteral("最后一个"), area);
    for (QPushButton* button : {Button1, Button7, Button8, Button9}) {
        moves->addWidget(button);
    }
    moves->addStretch();
    auto* countCaption = new QLabel(QStringLiteral("单词数："), area);
    Edit2 = makeCountField(QStringLiteral("Edit2"), area);
    countCaption->setBuddy(Edit2);
    moves->addWidget(countCaption);
    moves->addWidget(Edit2);
    layout->addLayout(moves);

    m_wordPanel = new WordPanel(area);
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

void TForm4::FormCreate() {
    // A group list that cannot be read ends the handler: the reading settings stay as they are.
    m_dictation.groups().loadGroupList();
    m_chooser->showGroups(m_dictation.groups().groupList());
    m_readingSettings->fill();
}

void TForm4::ComboBox2Change(int index) {
    m_dictation.groups().setMode(index == 0 ? GroupingMode::ByLesson : GroupingMode::ByLetter);
    m_chooser->showGroups(m_dictation.groups().groupList());
}

void TForm4::ListBox2DblClick() {
    m_dictation.groups().openGroup(m_chooser->selectedGroup());
}

void TForm4::ListView1SelectItem(int row) {
    m_dictation.select(row);
}

void TForm4::moveClick(Move move) {
    if (m_dictation.move(move)) {
        ListView1->setFocus();
    }
}

void TForm4::Button1Click() {
    moveClick(Move::First);
}

void TForm4::Button7Click() {
    moveClick(Move::Previous);
}

void TForm4::Button8Click() {
    moveClick(Move::Next);
}

void TForm4::Button9Click() {
    moveClick(Move::Last);
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

// Shows the state the logic is in. The count field is the learner's to type in as well: it is
// written only when a scan has set another count.
void TForm4::render() {
    const int count = m_dictation.groups().count();
    if (count != m_shownCount) {
        m_shownCount = count;
        Edit2->setText(QString::number(count));
    }
    m_wordPanel->show(m_dictation.wordDisplay(), m_dictation.phoneticDisplay(),
                      m_dictation.meaningDisplay());
    StaticText5->setText(decodeGbk(m_dictation.hint()));
    StaticText4->setText(m_dictation.prompt());
    Edit3->setText(decodeGbk(m_dictation.currentWord()));
    Edit4->setText(decodeGbk(m_dictation.currentPhonetic()));
    ListView1->showSelectedRow(m_dictation.words().selected());
}

} // namespace quorvella
