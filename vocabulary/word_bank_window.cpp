#include "vocabulary/word_bank_window.h"

#include "core/gbk_codec.h"
#include "core/push_button.h"
#include "core/selectable_label.h"
#include "vocabulary/word_widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quorvella {

namespace {

const std::vector<WordColumn>& bankColumns() {
    static const std::vector<WordColumn> columns = {
        {QStringLiteral("序号"), 0, 0, Qt::AlignLeft},
        {QStringLiteral("单词"), 1, 150, Qt::AlignHCenter},
        {QStringLiteral("词义"), 2, 250, Qt::AlignLeft},
    };
    return columns;
}

// A pick-only box: the learner chooses one of its items and types nothing.
QComboBox* makeChoice(const QString& name, const QString& caption, const QStringList& items,
                      QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(caption);
    box->setEditable(false);
    box->addItems(items);
    box->setCurrentIndex(0);
    return box;
}

QStringList bankNames() {
    QStringList names;
    for (const WordBank& bank : wordBanks()) {
        names << bank.name;
    }
    return names;
}

QStringList letters() {
    QStringList letters;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        letters << QString(QLatin1Char(letter));
    }
    return letters;
}

QLabel* makeCaption(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

QLabel* makeDisplay(const QString& name, const QString& role, const QFont& font, QWidget* parent) {
    auto* label = new SelectableLabel(QStringLiteral(" "), parent);
    label->setObjectName(name);
    label->setAccessibleDescription(role); // a screen reader reads the shown text itself
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setFont(font);
    return label;
}

} // namespace

void TForm8::Messages::showMessage(const QString& text) {
    m_window.render();
    applicationMessages().showMessage(text);
}

void TForm8::Messages::showError(const QString& text) {
    applicationMessages().showError(text);
}

void TForm8::Messages::showApplicationError(const QString& text) {
    applicationMessages().showApplicationError(text);
}

TForm8::TForm8(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)), spe1(makeEngine()),
      m_browser(m_folder, *spe1, m_messages, m_timer) {
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("英语词库"));
    resize(800, 600);
    spe1->setObjectName(QStringLiteral("spe1"));
    // A child of the window, found by its name as the controls are.
    Timer1.setParent(this);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    buildLayout();
    render();
}

TForm8::~TForm8() = default;

void TForm8::buildLayout() {
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(buildLeftPane());
    layout->addWidget(buildRightPane(), 1);
    setCentralWidget(central);
    statusBar(); // never written

    // "Button1" first, then the controls as they stand from top to bottom, left to right.
    QWidget* const order[] = {Button1,   ComboBox1, ComboBox2, ComboBox3, CheckBox1,
                              Button2,   ComboBox4, Edit1,     Button3,   Edit2,
                              SpinEdit1, Button8,   Button9,   Button10,  ListView1,
                              Button4,   Button5,   Button6,   Button7};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    connectRendered(Button2, &QPushButton::clicked, this, &TForm8::Button2Click, &TForm8::render);
    connectRendered(Button3, &QPushButton::clicked, this, &TForm8::Button3Click, &TForm8::render);
    connectRendered(ListView1, &WordTableView::rowSelected, this, &TForm8::ListView1SelectItem,
                    &TForm8::render);
    connectRendered(Button4, &QPushButton::clicked, this, &TForm8::Button4Click, &TForm8::render);
    connectRendered(Button5, &QPushButton::clicked, this, &TForm8::Button5Click, &TForm8::render);
    connectRendered(Button6, &QPushButton::clicked, this, &TForm8::Button6Click, &TForm8::render);
    connectRendered(Button7, &QPushButton::clicked, this, &TForm8::Button7Click, &TForm8::render);
    connectRendered(Button8, &QPushButton::clicked, this, &TForm8::Button8Click, &TForm8::render);
    connectRendered(&Timer1, &QTimer::timeout, this, &TForm8::Timer1Timer, &TForm8::render);
    connectRendered(Button9, &QPushButton::clicked, this, &TForm8::Button9Click, &TForm8::render);
    connectRendered(Button10, &QPushButton::clicked, this, &TForm8::Button10Click, &TForm8::render);
    connectRendered(Button1, &QPushButton::clicked, this, &TForm8::Button1Click, &TForm8::render);
    connect(CheckBox1, &QCheckBox::toggled, this,
            [this](bool ticked) { m_browser.setSpeaks(ticked); });
}

QWidget* TForm8::buildLeftPane() {
    auto* pane = new QWidget(this);
    pane->setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* settings = new QGroupBox(QStringLiteral("单词设置"), pane);
    settings->setObjectName(QStringLiteral("GroupBox1"));
    auto* settingsGrid = new QGridLayout(settings);
    ComboBox1 =
        makeChoice(QStringLiteral("ComboBox1"), QStringLiteral("单词库"), bankNames(), settings);
    ComboBox2 = makeChoice(QStringLiteral("ComboBox2"), QStringLiteral("从"), letters(), settings);
    ComboBox3 = makeChoice(QStringLiteral("ComboBox3"), QStringLiteral("到"), letters(), settings);
    ComboBox2->setAccessibleDescription(QStringLiteral("范围"));
    ComboBox3->setAccessibleDescription(QStringLiteral("范围"));
    CheckBox1 = new QCheckBox(QStringLiteral("是否发音"), settings);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setAccessibleName(CheckBox1->text());
    CheckBox1->setChecked(true);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("设置"), settings);
    settingsGrid->addWidget(makeCaption(QStringLiteral("单词库："), ComboBox1, settings), 0, 0);
    settingsGrid->addWidget(ComboBox1, 0, 1, 1, 4);
    settingsGrid->addWidget(makeCaption(QStringLiteral("范 围："), ComboBox2, settings), 1, 0);
    settingsGrid->addWidget(makeCaption(QStringLiteral("从"), ComboBox2, settings), 1, 1);
    settingsGrid->addWidget(ComboBox2, 1, 2);
    settingsGrid->addWidget(makeCaption(QStringLiteral("到"), ComboBox3, settings), 1, 3);
    settingsGrid->addWidget(ComboBox3, 1, 4);
    settingsGrid->addWidget(CheckBox1, 2, 0, 1, 3);
    settingsGrid->addWidget(Button2, 2, 3, 1, 2);
    layout->addWidget(settings);

    auto* find = new QGroupBox(QStringLiteral("查找单词"), pane);
    find->setObjectName(QStringLiteral("GroupBox2"));
    auto* findGrid = new QGridLayout(find);
    ComboBox4 =
        makeChoice(QStringLiteral("ComboBox4"), QStringLiteral("单词库"), bankNames(), find);
    Edit1 = new QLineEdit(find);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("内容"));
    Button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("查找"), find);
    findGrid->addWidget(makeCaption(QStringLiteral("单词库："), ComboBox4, find), 0, 0);
    findGrid->addWidget(ComboBox4, 0, 1);
    findGrid->addWidget(makeCaption(QStringLiteral("内容："), Edit1, find), 1, 0);
    findGrid->addWidget(Edit1, 1, 1);
    findGrid->addWidget(Button3, 2, 1, Qt::AlignRight);
    layout->addWidget(find);

    auto* automatic = new QGroupBox(QStringLiteral("自动设置"), pane);
    automatic->setObjectName(QStringLiteral("GroupBox3"));
    auto* autoGrid = new QGridLayout(automatic);
    Edit2 = makeCountField(QStringLiteral("Edit2"), automatic);
    Edit2->setReadOnly(true); // written by the listings, never read
    SpinEdit1 = new SpinEdit(WordBankBrowser::kMinimumDelay, WordBankBrowser::kMaximumDelay,
                             WordBankBrowser::kInitialDelay, automatic);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setCaption(QStringLiteral("朗读延时"));
    SpinEdit1->setFixedWidth(60);
    Button8 = makeButton(QStringLiteral("Button8"), QStringLiteral("自动朗读"), automatic);
    Button9 = makeButton(QStringLiteral("Button9"), QStringLiteral("停止朗读"), automatic);
    autoGrid->addWidget(makeCaption(QStringLiteral("单词数："), Edit2, automatic), 0, 0);
    autoGrid->addWidget(Edit2, 0, 1, Qt::AlignLeft);
    autoGrid->addWidget(makeCaption(QStringLiteral("朗读延时："), SpinEdit1, automatic), 1, 0);
    autoGrid->addWidget(SpinEdit1, 1, 1, Qt::AlignLeft);
    autoGrid->addWidget(Button8, 2, 0);
    autoGrid->addWidget(Button9, 2, 1);
    layout->addWidget(automatic);

    layout->addStretch(1);
    Button10 = makeButton(QStringLiteral("Button10"), QStringLiteral("退出关闭"), pane);
    layout->addWidget(Button10);

    // As wide as its captions and boxes need, and no wider.
    pane->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    return pane;
}

QWidget* TForm8::buildRightPane() {
    auto* pane = new QWidget(this);
    pane->setObjectName(QStringLiteral("Panel2"));
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);

    m_listBox = new QGroupBox(QStringLiteral("单词列表"), pane);
    m_listBox->setObjectName(QStringLiteral("GroupBox4"));
    // Made before the list, so that the list lies over it.
    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("Button1"), m_listBox);
    m_model = new WordListModel(m_browser.words(), bankColumns(), this);
    ListView1 = new WordTableView(m_model, m_listBox);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("单词列表"));
    ListView1->installEventFilter(this);
    (new QVBoxLayout(m_listBox))->addWidget(ListView1);
    Button1->lower();
    layout->addWidget(m_listBox, 3);

    auto* moves = new QHBoxLayout;
    Button4 = makeButton(QStringLiteral("Button4"), QStringLiteral("第一个"), pane);
    Button5 = makeButton(QStringLiteral("Button5"), QStringLiteral("上一个"), pane);
    Button6 = makeButton(QStringLiteral("Button6"), QStringLiteral("下一个"), pane);
    Button7 = makeButton(QStringLiteral("Button7"), QStringLiteral("最后一个"), pane);
    for (QPushButton* button : {Button4, Button5, Button6, Button7}) {
        moves->addWidget(button);
    }
    moves->addStretch();
    layout->addLayout(moves);

    auto* shown = new QFrame(pane);
    shown->setObjectName(QStringLiteral("Panel3"));
    shown->setFrameShape(QFrame::Panel);
    shown->setFrameShadow(QFrame::Sunken);
    auto* shownLayout = new QVBoxLayout(shown);
    StaticText1 = makeDisplay(QStringLiteral("StaticText1"), QStringLiteral("单词"),
                              wordDisplayFont(56), shown);
    QPalette red = StaticText1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    StaticText1->setPalette(red);
    QFont larger = font();
    larger.setPixelSize(24);
    StaticText2 = makeDisplay(QStringLiteral("StaticText2"), QStringLiteral("词义"), larger, shown);
    shownLayout->addWidget(StaticText1, 3);
    shownLayout->addWidget(StaticText2, 2);
    layout->addWidget(shown, 2);
    return pane;
}

// "Button1" lies under the middle of the list, where it is never seen.
void TForm8::placeButton1() {
    const QRect list = ListView1->geometry();
    Button1->resize(Button1->sizeHint().boundedTo(list.size()));
    Button1->move(list.center() - Button1->rect().center());
    Button1->lower();
}

bool TForm8::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1 &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        placeButton1();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm8::FormCreate() {
    m_browser.create();
}

void TForm8::closeEvent(QCloseEvent* event) {
    m_browser.stopAutoReading();
    QMainWindow::closeEvent(event);
}

void TForm8::giveListFocus(bool give) {
    if (give) {
        ListView1->setFocus();
    }
}

void TForm8::Button2Click() {
    giveListFocus(m_browser.list(ComboBox1->currentIndex(), encodeGbk(ComboBox2->currentText()),
                                 encodeGbk(ComboBox3->currentText())));
}

void TForm8::Button3Click() {
    giveListFocus(m_browser.search(ComboBox4->currentIndex(), encodeGbk(Edit1->text())));
}

void TForm8::ListView1SelectItem(int row) {
    m_browser.select(row);
}

void TForm8::moveClick(Move move) {
    giveListFocus(m_browser.move(move));
}

void TForm8::Button4Click() {
    moveClick(Move::First);
}

void TForm8::Button5Click() {
    moveClick(Move::Previous);
}

void TForm8::Button6Click() {
    moveClick(Move::Next);
}

void TForm8::Button7Click() {
    moveClick(Move::Last);
}

void TForm8::Button8Click() {
    m_browser.startAutoReading(SpinEdit1->value());
}

void TForm8::Timer1Timer() {
    giveListFocus(m_browser.tick());
}

void TForm8::Button9Click() {
    m_browser.stopAutoReading();
}

void TForm8::Button10Click() {
    m_browser.stopAutoReading();
    close();
}

void TForm8::Button1Click() {
    close(); // closing stops automatic reading too
}

// Shows the state the browser is in.
void TForm8::render() {
    Edit2->setText(QString::number(m_browser.count()));
    StaticText1->setText(decodeGbk(m_browser.wordDisplay()));
    StaticText2->setText(decodeGbk(m_browser.meaningDisplay()));
    ListView1->showSelectedRow(m_browser.words().selected());
}

} // namespace quorvella
