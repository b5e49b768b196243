#include "vocabulary/word_list_window.h"

#include "core/pane_splitter.h"
#include "core/push_button.h"
#include "vocabulary/word_widgets.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quorvella {

WordListWindow::WordListWindow(const SpeechEngineFactory& makeEngine, DataFolder folder,
                               WindowKind kind, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)), spe(makeEngine()) {
    resize(800, 600);
    spe->setObjectName(QStringLiteral("spe"));
    m_chooser = new GroupChooser(this);
    m_readingSettings = new ReadingSettingsGroup(*spe, kind, this);
}

WordListWindow::~WordListWindow() = default;

void WordListWindow::buildWordList(WordGroupStudy& study, std::vector<WordColumn> columns) {
    m_study = &study;
    m_listBox = new QGroupBox(QStringLiteral("单词列表"), this);
    m_model = new WordListModel(study.groups().words(), std::move(columns), this);
    ListView1 = new WordTableView(m_model, m_listBox);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setAccessibleName(QStringLiteral("单词列表"));
    (new QVBoxLayout(m_listBox))->addWidget(ListView1);

    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("第一个"), this);
    Button7 = makeButton(QStringLiteral("Button7"), QStringLiteral("上一个"), this);
    Button8 = makeButton(QStringLiteral("Button8"), QStringLiteral("下一个"), this);
    Button9 = makeButton(QStringLiteral("Button9"), QStringLiteral("最后一个"), this);
    Edit2 = makeCountField(QStringLiteral("Edit2"), this);
    m_wordPanel = new WordPanel(this);

    connectShown(m_chooser, &GroupChooser::groupDoubleClicked, &WordListWindow::ListBox2DblClick);
    connectShown(Button1, &QPushButton::clicked, &WordListWindow::Button1Click);
    connectShown(Button7, &QPushButton::clicked, &WordListWindow::Button7Click);
    connectShown(Button8, &QPushButton::clicked, &WordListWindow::Button8Click);
    connectShown(Button9, &QPushButton::clicked, &WordListWindow::Button9Click);
    connectRendered(m_chooser->ComboBox2, &QComboBox::currentIndexChanged, this,
                    &WordListWindow::ComboBox2Change, &WordListWindow::render);
    connectRendered(ListView1, &WordTableView::rowSelected, this,
                    &WordListWindow::ListView1SelectItem, &WordListWindow::render);
}

QHBoxLayout* WordListWindow::makeMoveRow(QWidget* extra) const {
    auto* row = new QHBoxLayout;
    for (QPushButton* button : {Button1, Button7, Button8, Button9}) {
        row->addWidget(button);
    }
    if (extra) {
        row->addWidget(extra);
    }
    row->addStretch();
    auto* countCaption = new QLabel(QStringLiteral("单词数："), Edit2->parentWidget());
    countCaption->setBuddy(Edit2);
    row->addWidget(countCaption);
    row->addWidget(Edit2);
    return row;
}

void WordListWindow::setPanels(QWidget* mainArea, QWidget* sidePanel) {
    auto* splitter = new PaneSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addPane(mainArea);
    splitter->addPane(sidePanel);
    // The side panel starts 208 pixels wide and keeps its width when the window grows.
    splitter->setSidePane(1, kSidePanelWidth);
    setCentralWidget(splitter);
}

void WordListWindow::orderTabStops(std::initializer_list<QWidget*> controls) {
    std::vector<QWidget*> order = {
        m_chooser->ComboBox2, m_chooser->ListBox2, ListView1, Button1, Button7, Button8, Button9};
    order.insert(order.end(), controls);
    const std::vector<QWidget*> settings = m_readingSettings->tabStops();
    order.insert(order.end(), settings.begin(), settings.end());
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void WordListWindow::FormCreate() {
    // A group list that cannot be read ends the handler: the reading settings stay as they are.
    m_study->groups().loadGroupList();
    m_chooser->showGroups(m_study->groups().groupList());
    m_readingSettings->fill();
}

void WordListWindow::ComboBox2Change(int index) {
    m_study->groups().setMode(index == 0 ? GroupingMode::ByLesson : GroupingMode::ByLetter);
    m_chooser->showGroups(m_study->groups().groupList());
}

void WordListWindow::ListBox2DblClick() {
    m_study->groups().openGroup(m_chooser->selectedGroup());
}

void WordListWindow::ListView1SelectItem(int row) {
    m_study->select(row);
}

void WordListWindow::moveClick(Move move) {
    if (m_study->move(move)) {
        ListView1->setFocus();
    }
}

void WordListWindow::Button1Click() {
    moveClick(Move::First);
}

void WordListWindow::Button7Click() {
    moveClick(Move::Previous);
}

void WordListWindow::Button8Click() {
    moveClick(Move::Next);
}

void WordListWindow::Button9Click() {
    moveClick(Move::Last);
}

// The count field is the learner's to type in as well: it is written only when a scan or search
// has set another count.
void WordListWindow::render() {
    const int count = m_study->groups().count();
    if (count != m_shownCount) {
        m_shownCount = count;
        Edit2->setText(QString::number(count));
    }
    ListView1->showSelectedRow(m_study->words().selected());
}

} // namespace quorvella
