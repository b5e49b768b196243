#include "vocabulary/new_word_window.h"

#include "core/gbk_codec.h"
#include "core/message_port.h"
#include "vocabulary/word_widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quorvella {

namespace {

constexpr int kSidePanelWidth = 208;

const std::vector<WordColumn>& newWordColumns() {
    static const std::vector<WordColumn> columns = {
        {QStringLiteral("序号"), 0, 50, Qt::AlignLeft},
        {QStringLiteral("单词"), 1, 150, Qt::AlignHCenter},
        {QStringLiteral("音标"), 2, 150, Qt::AlignHCenter},
        {QStringLiteral("词义"), 3, 250, Qt::AlignHCenter},
    };
    return columns;
}

} // namespace

TForm3::TForm3(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)), spe(makeEngine()),
      m_study(m_folder, *spe, applicationMessages(), m_timer) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("生词学习"));
    resize(800, 600);
    spe->setObjectName(QStringLiteral("spe"));
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(NewWordStudy::kInitialInterval * 1000);
    buildLayout();
    render();
}

TForm3::~TForm3() = default;

void TForm3::buildLayout() {
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

    // A status bar of two panels, 200 pixels each, which nothing writes to.
    for (int panel = 0; panel < 2; ++panel) {
        auto* label = new QLabel(statusBar());
        label->setFixedWidth(200);
        label->setFrameShape(QFrame::StyledPanel);
        statusBar()->addWidget(label);
    }

    connectRendered(m_chooser->ComboBox2, &QComboBox::currentIndexChanged, this,
                    &TForm3::ComboBox2Change, &TForm3::render);
    connectRendered(m_chooser, &GroupChooser::groupDoubleClicked, this, &TForm3::ListBox2DblClick,
                    &TForm3::render);
    connectRendered(ListView1, &WordTableView::rowSelected, this, &TForm3::ListView1SelectItem,
                    &TForm3::render);
    connectRendered(Button1, &QPushButton::clicked, this, &TForm3::Button1Click, &TForm3::render);
    connectRendered(Button7, &QPushButton::clicked, this, &TForm3::Button7Click, &TForm3::render);
    connectRendered(Button8, &QPushButton::clicked, this, &TForm3::Button8Click, &TForm3::render);
    connectRendered(Button9, &QPushButton::clicked, this, &TForm3::Button9Click, &TForm3::render);
    connectRendered(Image1, &QToolButton::clicked, this, &TForm3::Image1Click, &TForm3::render);
    connectRendered(SpinEdit1, &SpinEdit::changed, this, &TForm3::SpinEdit1Change, &TForm3::render);
    connectRendered(Button10, &QPushButton::clicked, this, &TForm3::Button10Click, &TForm3::render);
    connectRendered(&Timer1, &QTimer::timeout, this, &TForm3::Timer1Timer, &TForm3::render);
    connectRendered(Button11, &QPushButton::clicked, this, &TForm3::Button11Click, &TForm3::render);
    connectRendered(Button12, &QPushButton::clicked, this, &TForm3::Button12Click, &TForm3::render);
    connectRendered(Button2, &QPushButton::clicked, this, &TForm3::Button2Click, &TForm3::render);
    connect(CheckBox1, &QCheckBox::toggled, this,
            [this](bool ticked) { m_study.setReadsWords(ticked); });
}

QWidget* TForm3::buildSidePanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 2, 0, 2);

    m_chooser = new GroupChooser(panel);
    layout->addWidget(m_chooser, 1);

    auto* find = new QGroupBox(QStringLiteral("查找单词"), panel);
    auto* findLayout = new QGridLayout(find);
    auto* hint = new QLabel(QStringLiteral("请输入查找内容："), find);
    Edit1 = new QLineEdit(find);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("请输入查找内容"));
    hint->setBuddy(Edit1);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("查找"), find);
    findLayout->addWidget(hint, 0, 0, 1, 2);
    findLayout->addWidget(Edit1, 1, 0);
    findLayout->addWidget(Button2, 1, 1);
    layout->addWidget(find);

    m_readingSettings = new ReadingSettingsGroup(*spe, WindowKind::NewWord, panel);
    layout->addWidget(m_readingSettings);
    return panel;
}

QWidget* TForm3::buildMainArea() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(4, 2, 4, 2);

    auto* listBox = new QGroupBox(QStringLiteral("单词列表"), area);
    m_model = new WordListModel(m_study.groups().words(), newWordColumns(), this);
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
    Image1 = makeRereadButton(QStringLiteral("Image1"), area);
    for (QWidget* control : {static_cast<QWidget*>(Button1), static_cast<QWidget*>(Button7),
                             static_cast<QWidget*>(Button8), static_cast<QWidget*>(Button9),
                             static_cast<QWidget*>(Image1)}) {
        moves->addWidget(control);
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

    auto* details = new QFrame(area);
    details->setObjectName(QStringLiteral("Panel4"));
    details->setFrameShape(QFrame::StyledPanel);
    auto* detailRows = new QGridLayout(details);
    const char16_t* captions[] = {u"助记：",   u"同形词：",   u"同义词：",
                                  u"相反词：", u"英语句子：", u"中文句子："};
    for (int row = 0; row < 6; ++row) {
        auto* caption = new QLabel(QString::fromUtf16(captions[row]), details);
        auto* value = new QLabel(QStringLiteral(" "), details);
        value->setObjectName(QStringLiteral("Label%1").arg(15 + row));
        value->setAccessibleDescription(caption->text().chopped(1));
        value->setTextFormat(Qt::PlainText);
        value->setWordWrap(true);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        QPalette red = value->palette();
        red.setColor(QPalette::WindowText, Qt::red);
        value->setPalette(red);
        caption->setBuddy(value);
        detailRows->addWidget(caption, row, 0, Qt::AlignRight | Qt::AlignTop);
        detailRows->addWidget(value, row, 1);
        m_detailLabels[std::size_t(row)] = value;
    }
    detailRows->setColumnStretch(1, 1);
    layout->addWidget(details, 2);

    auto* automatic = new QGroupBox(QStringLiteral("自动朗读设置"), area);
    auto* autoRow = new QHBoxLayout(automatic);
    auto* intervalCaption = new QLabel(QStringLiteral("间隔时间："), automatic);
    SpinEdit1 = new SpinEdit(NewWordStudy::kMinimumInterval, NewWordStudy::kMaximumInterval,
                             NewWordStudy::kInitialInterval, automatic);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setCaption(QStringLiteral("间隔时间"));
    SpinEdit1->setFixedWidth(60);
    intervalCaption->setBuddy(SpinEdit1);
    CheckBox1 = new QCheckBox(QStringLiteral("朗读单词"), automatic);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setAccessibleName(CheckBox1->text());
    CheckBox1->setChecked(true);
    Button10 = makeButton(QStringLiteral("Button10"), QStringLiteral("自动朗读"), automatic);
    Button11 = makeButton(QStringLiteral("Button11"), QStringLiteral("停止朗读"), automatic);
    Button12 = makeButton(QStringLiteral("Button12"), QStringLiteral("关闭退出"), automatic);
    autoRow->addWidget(intervalCaption);
    autoRow->addWidget(SpinEdit1);
    autoRow->addWidget(CheckBox1);
    autoRow->addStretch();
    autoRow->addWidget(Button10);
    autoRow->addWidget(Button11);
    autoRow->addWidget(Button12);
    layout->addWidget(automatic);
    return area;
}

void TForm3::FormCreate() {
    // A group list that cannot be read ends the handler: the reading settings stay as they are.
    m_study.groups().loadGroupList();
    m_chooser->showGroups(m_study.groups().groupList());
    m_readingSettings->fill();
}

void TForm3::closeEvent(QCloseEvent* event) {
    m_study.stopAutoReading();
    QMainWindow::closeEvent(event);
}

void TForm3::ComboBox2Change(int index) {
    m_study.groups().setMode(index == 0 ? GroupingMode::ByLesson : GroupingMode::ByLetter);
    m_chooser->showGroups(m_study.groups().groupList());
}

void TForm3::ListBox2DblClick() {
    m_study.groups().openGroup(m_chooser->selectedGroup());
}

void TForm3::ListView1SelectItem(int row) {
    m_study.select(row);
}

void TForm3::moveClick(Move move) {
    if (m_study.move(move)) {
        ListView1->setFocus();
    }
}

void TForm3::Button1Click() {
    moveClick(Move::First);
}

void TForm3::Button7Click() {
    moveClick(Move::Previous);
}

void TForm3::Button8Click() {
    moveClick(Move::Next);
}

void TForm3::Button9Click() {
    moveClick(Move::Last);
}

void TForm3::Image1Click() {
    m_study.rereadWord();
}

void TForm3::SpinEdit1Change() {
    m_study.setInterval(SpinEdit1->value());
}

void TForm3::Button10Click() {
    m_study.startAutoReading();
}

void TForm3::Timer1Timer() {
    if (m_study.tick()) {
        ListView1->setFocus();
    }
}

void TForm3::Button11Click() {
    m_study.stopAutoReading();
}

void TForm3::Button12Click() {
    m_study.stopAutoReading();
    close();
}

void TForm3::Button2Click() {
    m_study.search(encodeGbk(Edit1->text()));
}

// Shows the state the logic is in. The count field is the learner's to type in as well: it is
// written only when a scan or search has set another count.
void TForm3::render() {
    const int count = m_study.groups().count();
    if (count != m_shownCount) {
        m_shownCount = count;
        Edit2->setText(QString::number(count));
    }
    m_wordPanel->show(m_study.wordDisplay(), m_study.phoneticDisplay(), m_study.meaningDisplay());
    const WordDetails& details = m_study.details();
    for (std::size_t field = 0; field < details.fields.size(); ++field) {
        m_detailLabels[field]->setText(decodeGbk(details.fields[field]));
    }
    ListView1->showSelectedRow(m_study.words().selected());
}

} // namespace quorvella
