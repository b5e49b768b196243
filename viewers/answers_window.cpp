#include "viewers/answers_window.h"

#include "core/message_port.h"
#include "core/pane_splitter.h"
#include "richtext/rich_text_document.h"
#include "viewers/answer_units.h"
#include "viewers/raised_label.h"

#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTextEdit>
#include <QVBoxLayout>

namespace quorvella {

TForm6::TForm6(DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)) {
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("课后答案"));
    resize(640, 480);

    auto* splitter = new PaneSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    auto* left = new QWidget;
    splitter->addPane(left);
    left->setObjectName(QStringLiteral("Panel1"));
    auto* column = new QVBoxLayout(left);
    column->addWidget(new RaisedLabel(QStringLiteral("课后习题答案"), Qt::red, 24, left));

    ListBox1 = new QListWidget(left);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(QStringLiteral("课后习题答案"));
    ListBox1->setFixedWidth(153);
    ListBox1->addItems(AnswerUnits::titles());
    for (int row = 0; row < ListBox1->count(); ++row) {
        ListBox1->item(row)->setSizeHint(QSize(0, 16));
    }
    column->addWidget(ListBox1, 1, Qt::AlignLeft);

    Button1 = new QPushButton(QStringLiteral("关闭退出"), left);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(Button1->text());
    column->addWidget(Button1, 0, Qt::AlignLeft);

    RichEdit1 = new QTextEdit;
    splitter->addPane(RichEdit1);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAccessibleName(QStringLiteral("课后答案"));
    QFont serif(QStringLiteral("MS Serif"));
    serif.setStyleHint(QFont::Serif);
    serif.setPixelSize(19);
    RichEdit1->setFont(serif);
    RichEdit1->document()->setDefaultFont(serif);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setPlainText(QStringLiteral("请用鼠标双击左边课目"));
    // Tab moves on to the next control, as everywhere else: the area never holds the keyboard.
    RichEdit1->setTabChangesFocus(true);
    // The left pane starts 233 pixels wide and keeps its width when the window grows.
    splitter->setSidePane(0, 233);
    setCentralWidget(splitter);
    statusBar();

    connectHandler(ListBox1, &QListWidget::itemDoubleClicked, this, &TForm6::ListBox1DblClick);
    connectHandler(Button1, &QPushButton::clicked, this, &QWidget::close);
}

void TForm6::ListBox1DblClick() {
    const std::optional<QString> path = AnswerUnits::filePath(m_folder, ListBox1->currentRow());
    if (!path) {
        return; // nothing selected: there is no file to show
    }
    RichEdit1->clear();
    loadRichText(*path, *RichEdit1->document());
}

} // namespace quorvella
