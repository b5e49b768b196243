#include "mocktest/mock_test_window.h"

#include "core/gbk_codec.h"
#include "core/message_port.h"
#include "core/push_button.h"
#include "core/report_table.h"
#include "core/selectable_label.h"
#include "mocktest/question_list_model.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace quorvella {

namespace {

// The generation pane starts this wide; the learner can drag the splitter.
constexpr int kGenerationPaneWidth = 500;
constexpr int kNumberColumnWidth = 50;
constexpr int kQuestionColumnWidth = 400;

// A label that shows a text of the test as it stands (never as rich text); a screen reader reads
// its text, and its description says what it is.
QLabel* makeDisplay(const QString& name, const QString& description, QWidget* parent) {
    auto* label = new SelectableLabel(QString(), parent);
    label->setObjectName(name);
    label->setAccessibleDescription(description);
    return label;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

QFont sizedFont(const QFont& base, int pixelSize, bool bold) {
    QFont font = base;
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// A caption for a button: an "&" of the text is shown, not taken for a shortcut mark.
QString buttonCaption(const QString& text) {
    return QString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

TForm7::TForm7(DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)), m_test(applicationMessages()),
      m_bank(m_folder, applicationMessages()) {
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Tamsora（模拟练习）"));
    resize(800, 600);
    m_model = new QuestionListModel(m_test, this);
    buildLayout();
    m_test.setObserver(this);
    m_bank.setChangeHandler([this] { renderChoices(); });
    renderChoices();
    renderDisplay();
}

TForm7::~TForm7() {
    m_test.setObserver(nullptr);
}

void TForm7::FormCreate() {}

void TForm7::buildLayout() {
    statusBar(); // nothing writes to it

    Splitter1 = new PaneSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->addPane(buildGenerationPane());
    Splitter1->addPane(buildAnswerPane());
    Splitter1->setSidePane(0, kGenerationPaneWidth);
    setCentralWidget(Splitter1);

    connectHandler(ComboBox2, &QComboBox::currentIndexChanged, this, &TForm7::ComboBox2Change);
    connectHandler(ComboBox3, &QComboBox::currentIndexChanged, this, &TForm7::ComboBox3Change);
    connectHandler(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
    connectHandler(Button9, &QPushButton::clicked, this, &TForm7::Button9Click);
    connectHandler(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                   &TForm7::ListView1SelectItem);
    connectHandler(m_options[0], &QRadioButton::toggled, this, &TForm7::RadioButton1Click);
    connectHandler(m_options[1], &QRadioButton::toggled, this, &TForm7::RadioButton2Click);
    connectHandler(m_options[2], &QRadioButton::toggled, this, &TForm7::RadioButton3Click);
    connectHandler(m_options[3], &QRadioButton::toggled, this, &TForm7::RadioButton4Click);
    connectHandler(Button3, &QPushButton::clicked, this, &TForm7::Button3Click);
    connectHandler(Button4, &QPushButton::clicked, this, &TForm7::Button4Click);
    connectHandler(Button5, &QPushButton::clicked, this, &TForm7::Button5Click);
    connectHandler(Button6, &QPushButton::clicked, this, &TForm7::Button6Click);
    connectHandler(CheckBox1, &QCheckBox::toggled, this, &TForm7::CheckBox1Click);
    connectHandler(Button7, &QPushButton::clicked, this, &TForm7::Button7Click);
    connectHandler(Button8, &QPushButton::clicked, this, &TForm7::Button8Click);
}

QWidget* TForm7::buildGenerationPane() {
    auto* pane = new QWidget(this);
    pane->setObjectName(QStringLiteral("Panel1"));
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(4, 4, 2, 4);

    auto* generate = new QGroupBox(QStringLiteral("生成试题"), pane);
    generate->setObjectName(QStringLiteral("GroupBox1"));
    auto* rows = new QGridLayout(generate);
    auto* bankSize = new QLabel(QStringLiteral("题库中共有150题可供选择"), generate);
    bankSize->setObjectName(QStringLiteral("Label1"));
    rows->addWidget(bankSize, 0, 0, 1, 3);

    auto* sizeCaption = new QLabel(QStringLiteral("生成试题数量："), generate);
    ComboBox2 = new QComboBox(generate);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setAccessibleName(QStringLiteral("生成试题数量"));
    ComboBox2->addItems(QuestionBank::sizeItems());
    sizeCaption->setBuddy(ComboBox2);
    rows->addWidget(sizeCaption, 1, 0);
    rows->addWidget(ComboBox2, 1, 1);

    auto* groupCaption = new QLabel(QStringLiteral("请选择试题组："), generate);
    ComboBox3 = new QComboBox(generate);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    ComboBox3->setAccessibleName(QStringLiteral("请选择试题组"));
    ComboBox3->addItems(QuestionBank::groupItems());
    groupCaption->setBuddy(ComboBox3);
    rows->addWidget(groupCaption, 2, 0);
    rows->addWidget(ComboBox3, 2, 1);

    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("生成试题"), generate);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("清除试题"), generate);
    rows->addWidget(Button1, 1, 2);
    rows->addWidget(Button2, 2, 2);
    rows->setColumnStretch(1, 1);
    layout->addWidget(generate);

    auto* drawn = new QGroupBox(QStringLiteral("本次测试试题"), pane);
    drawn->setObjectName(QStringLiteral("GroupBox2"));
    ListView1 = new QTableView(drawn);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("本次测试试题"));
    ListView1->setModel(m_model);
    setUpReportTable(*ListView1);
    ListView1->setColumnWidth(QuestionListModel::NumberColumn, kNumberColumnWidth);
    ListView1->setColumnWidth(QuestionListModel::QuestionColumn, kQuestionColumnWidth);
    (new QVBoxLayout(drawn))->addWidget(ListView1);
    layout->addWidget(drawn, 1);
    return pane;
}

QWidget* TForm7::buildAnswerPane() {
    auto* pane = new QWidget(this);
    pane->setObjectName(QStringLiteral("Panel2"));
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(2, 4, 4, 4);

    Panel3 = makeDisplay(QStringLiteral("Panel3"), QStringLiteral("题号"), pane);
    Panel3->setFrameShape(QFrame::Panel);
    Panel3->setFrameShadow(QFrame::Raised);
    Panel3->setAlignment(Qt::AlignCenter);
    Panel3->setFont(sizedFont(font(), 22, true));
    Panel3->setMinimumHeight(44);
    setTextColour(Panel3, QColor(0xFF, 0x00, 0xFF)); // fuchsia
    layout->addWidget(Panel3);

    auto* content = new QGroupBox(QStringLiteral("试题内容"), pane);
    Label2 = makeDisplay(QStringLiteral("Label2"), QStringLiteral("试题内容"), content);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setFont(sizedFont(font(), 20, true));
    setTextColour(Label2, palette().color(QPalette::Highlight));
    (new QVBoxLayout(content))->addWidget(Label2);
    layout->addWidget(content, 2);

    auto* options = new QGroupBox(QStringLiteral("试题选项"), pane);
    auto* optionRows = new QVBoxLayout(options);
    const QString letters[] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                               QStringLiteral("D")};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(letters[i], options);
        option->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        option->setAccessibleName(letters[i]);
        option->setFont(sizedFont(font(), 17, false));
        // A long option is cut at the pane's edge rather than widening the pane.
        option->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        optionRows->addWidget(option);
        m_options[std::size_t(i)] = option;
    }
    layout->addWidget(options);

    auto* moves = new QHBoxLayout;
    Button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("第一道"), pane);
    Button4 = makeButton(QStringLiteral("Button4"), QStringLiteral("上一道"), pane);
    Button5 = makeButton(QStringLiteral("Button5"), QStringLiteral("下一道"), pane);
    Button6 = makeButton(QStringLiteral("Button6"), QStringLiteral("最后一道"), pane);
    CheckBox1 = new QCheckBox(QStringLiteral("显示解释与答案"), pane);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setAccessibleName(CheckBox1->text());
    for (QWidget* control : {static_cast<QWidget*>(Button3), static_cast<QWidget*>(Button4),
                             static_cast<QWidget*>(Button5), static_cast<QWidget*>(Button6),
                             static_cast<QWidget*>(CheckBox1)}) {
        moves->addWidget(control);
    }
    moves->addStretch();
    layout->addLayout(moves);

    auto* explanation = new QGroupBox(QStringLiteral("试题解释"), pane);
    Label5 = makeDisplay(QStringLiteral("Label5"), QStringLiteral("试题解释"), explanation);
    Label5->setWordWrap(true);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label5->setFont(sizedFont(font(), 16, false));
    setTextColour(Label5, Qt::red);
    (new QVBoxLayout(explanation))->addWidget(Label5);
    layout->addWidget(explanation, 1);

    auto* answer = new QGroupBox(QStringLiteral("正确答案"), pane);
    Label6 = makeDisplay(QStringLiteral("Label6"), QStringLiteral("正确答案"), answer);
    Label6->setFont(sizedFont(font(), 32, true));
    setTextColour(Label6, Qt::red);
    (new QVBoxLayout(answer))->addWidget(Label6);
    layout->addWidget(answer);
    // The two labels keep their room while hidden, so that the pane does not jump.
    for (QLabel* label : {Label5, Label6}) {
        QSizePolicy policy = label->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        label->setSizePolicy(policy);
    }

    StaticText1 = makeDisplay(QStringLiteral("StaticText1"), QStringLiteral("测试状态"), pane);
    StaticText1->setFrameShape(QFrame::Panel);
    StaticText1->setFrameShadow(QFrame::Sunken);
    StaticText1->setFont(sizedFont(font(), 16, true));
    StaticText1->setMinimumHeight(30);
    setTextColour(StaticText1, Qt::red);
    layout->addWidget(StaticText1);

    auto* bottom = new QHBoxLayout;
    Button7 = makeButton(QStringLiteral("Button7"), QStringLiteral("已做完试题"), pane);
    Button8 = makeButton(QStringLiteral("Button8"), QStringLiteral("清除本次结果"), pane);
    Button9 = makeButton(QStringLiteral("Button9"), QStringLiteral("退出关闭"), pane);
    bottom->addStretch();
    for (QPushButton* button : {Button7, Button8, Button9}) {
        bottom->addWidget(button);
    }
    layout->addLayout(bottom);
    return pane;
}

// Showing the logic's state.

void TForm7::renderChoices() {
    const QScopedValueRollback rendering(m_rendering, true);
    ComboBox2->setCurrentIndex(m_bank.sizePosition());
    ComboBox3->setCurrentIndex(m_bank.groupPosition());
}

void TForm7::renderDisplay() {
    const QScopedValueRollback rendering(m_rendering, true);
    const TestPane& pane = m_test.pane();
    Panel3->setText(pane.numberLine);
    Label2->setText(decodeGbk(pane.question));
    for (std::size_t i = 0; i < 4; ++i) {
        QRadioButton* option = m_options[i];
        const QString caption = decodeGbk(pane.optionCaptions[i]);
        option->setText(buttonCaption(caption));
        option->setAccessibleName(caption);
        // An exclusive button cannot be unchecked by itself; the checks are set one by one.
        option->setAutoExclusive(false);
        option->setChecked(pane.checked == int(i));
    }
    for (QRadioButton* option : m_options) {
        option->setAutoExclusive(true);
    }
    Label6->setText(decodeGbk(pane.answer));
    Label5->setText(decodeGbk(pane.explanation));
    CheckBox1->setChecked(pane.answerShown);
    Label5->setVisible(pane.answerShown);
    Label6->setVisible(pane.answerShown);
    StaticText1->setText(m_test.status());

    showSelectedRow(*ListView1, m_test.current());
}

void TForm7::rowsAboutToChange() {
    m_model->rowsAboutToChange();
}

void TForm7::rowsChanged() {
    m_model->rowsChanged();
}

void TForm7::displayChanged() {
    renderDisplay();
}

// Drawing and clearing.

void TForm7::ComboBox2Change() {
    if (!m_rendering) {
        m_bank.sizeChanged(ComboBox2->currentIndex());
    }
}

void TForm7::ComboBox3Change() {
    if (!m_rendering) {
        m_bank.groupChanged(ComboBox3->currentIndex());
    }
}

void TForm7::Button1Click() {
    m_bank.draw(m_test);
}

void TForm7::Button2Click() {
    m_test.clear();
}

void TForm7::Button9Click() {
    m_test.clear();
    close();
}

// Taking the test.

void TForm7::ListView1SelectItem() {
    if (m_rendering) {
        return;
    }
    m_test.select(selectedRow(*ListView1));
}

void TForm7::RadioButton1Click() {
    if (m_options[0]->isChecked() && !m_rendering) {
        m_test.choose(MockTest::A);
    }
}

void TForm7::RadioButton2Click() {
    if (m_options[1]->isChecked() && !m_rendering) {
        m_test.choose(MockTest::B);
    }
}

void TForm7::RadioButton3Click() {
    if (m_options[2]->isChecked() && !m_rendering) {
        m_test.choose(MockTest::C);
    }
}

void TForm7::RadioButton4Click() {
    if (m_options[3]->isChecked() && !m_rendering) {
        m_test.choose(MockTest::D);
    }
}

void TForm7::Button3Click() {
    m_test.first();
}

void TForm7::Button4Click() {
    m_test.previous();
}

void TForm7::Button5Click() {
    m_test.next();
}

void TForm7::Button6Click() {
    m_test.last();
}

void TForm7::CheckBox1Click() {
    if (!m_rendering) {
        m_test.setAnswerShown(CheckBox1->isChecked());
    }
}

void TForm7::Button7Click() {
    m_test.grade();
}

void TForm7::Button8Click() {
    m_test.resetAnswers();
}

} // namespace quorvella
