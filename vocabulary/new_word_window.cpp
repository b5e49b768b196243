#include "vocabulary/new_word_window.h"

#include "core/gbk_codec.h"
#include "core/message_port.h"
#include "core/push_button.h"
#include "core/selectable_label.h"
#include "vocabulary/word_widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quorvella {

namespace {

std::vector<WordColumn> newWordColumns() {
    return {
        {QStringLiteral("序号"), 0, 50, Qt::AlignLeft},
        {QStringLiteral("单词"), 1, 150, Qt::AlignHCenter},
        {QStringLiteral("音标"), 2, 150, Qt::AlignHCenter},
        {QStringLiteral("词义"), 3, 250, Qt::AlignHCenter},
    };
}

} // namespace

TForm3::TForm3(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent)
    : WordListWindow(makeEngine, std::move(folder), WindowKind::NewWord, parent),
      m_study(m_folder, *spe, applicationMessages(), m_timer) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("生词学习"));
    // A child of the window, found by its name as the controls are.
    Timer1.setParent(this);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(NewWordStudy::kInitialInterval * 1000);
    buildWordList(m_study, newWordColumns());
    setPanels(buildMainArea(), buildSidePanel());
    // The reread button and the count follow the move buttons on their row; the search, the
    // automatic reading at the foot of the window.
    orderTabStops(
        {Image1, Edit2, Edit1, Button2, SpinEdit1, CheckBox1, Button10, Button11, Button12});

    // A status bar of two panels, 200 pixels each, which nothing writes to.
    for (int panel = 0; panel < 2; ++panel) {
        auto* label = new QLabel(statusBar());
        label->setFixedWidth(200);
        label->setFrameShape(QFrame::StyledPanel);
        statusBar()->addWidget(label);
    }

    connectShown(Image1, &QToolButton::clicked, &TForm3::Image1Click);
    connectShown(SpinEdit1, &SpinEdit::changed, &TForm3::SpinEdit1Change);
    connectShown(Button10, &QPushButton::clicked, &TForm3::Button10Click);
    connectShown(&Timer1, &QTimer::timeout, &TForm3::Timer1Timer);
    connectShown(Button11, &QPushButton::clicked, &TForm3::Button11Click);
    connectShown(Button12, &QPushButton::clicked, &TForm3::Button12Click);
    connectShown(Button2, &QPushButton::clicked, &TForm3::Button2Click);
    connect(CheckBox1, &QCheckBox::toggled, this,
            [this](bool ticked) { m_study.setReadsWords(ticked); });
    render();
}

TForm3::~TForm3() = default;

QWidget* TForm3::buildSidePanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 2, 0, 2);
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

    layout->addWidget(m_readingSettings);
    return panel;
}

QWidget* TForm3::buildMainArea() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(wordListBox(), 3);
    Image1 = makeRereadButton(QStringLiteral("Image1"), area);
    layout->addLayout(makeMoveRow(Image1));
    layout->addWidget(m_wordPanel, 2);
    layout->addWidget(buildDetails(area), 2);
    layout->addWidget(buildAutomaticReading(area));
    return area;
}

// The six details of the word, each caption with its red value label to its right.
QWidget* TForm3::buildDetails(QWidget* parent) {
    auto* details = new QFrame(parent);
    details->setObjectName(QStringLiteral("Panel4"));
    details->setFrameShape(QFrame::StyledPanel);
    auto* rows = new QGridLayout(details);
    const char16_t* captions[] = {u"助记：",   u"同形词：",   u"同义词：",
                                  u"相反词：", u"英语句子：", u"中文句子："};
    for (int row = 0; row < 6; ++row) {
        auto* caption = new QLabel(QString::fromUtf16(captions[row]), details);
        auto* value = new SelectableLabel(QStringLiteral(" "), details);
        value->setObjectName(QStringLiteral("Label%1").arg(15 + row));
        value->setAccessibleDescription(caption->text().chopped(1));
        value->setWordWrap(true);
        QPalette red = value->palette();
        red.setColor(QPalette::WindowText, Qt::red);
        value->setPalette(red);
        caption->setBuddy(value);
        rows->addWidget(caption, row, 0, Qt::AlignRight | Qt::AlignTop);
        rows->addWidget(value, row, 1);
        m_detailLabels[std::size_t(row)] = value;
    }
    rows->setColumnStretch(1, 1);
    return details;
}

QWidget* TForm3::buildAutomaticReading(QWidget* parent) {
    auto* automatic = new QGroupBox(QStringLiteral("自动朗读设置"), parent);
    auto* row = new QHBoxLayout(automatic);
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
    row->addWidget(intervalCaption);
    row->addWidget(SpinEdit1);
    row->addWidget(CheckBox1);
    row->addStretch();
    row->addWidget(Button10);
    row->addWidget(Button11);
    row->addWidget(Button12);
    return automatic;
}

void TForm3::closeEvent(QCloseEvent* event) {
    m_study.stopAutoReading();
    QMainWindow::closeEvent(event);
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

void TForm3::render() {
    WordListWindow::render();
    m_wordPanel->show(m_study.wordDisplay(), m_study.phoneticDisplay(), m_study.meaningDisplay());
    const WordDetails& details = m_study.details();
    for (std::size_t field = 0; field < details.fields.size(); ++field) {
        m_detailLabels[field]->setText(decodeGbk(details.fields[field]));
    }
}

} // namespace quorvella
