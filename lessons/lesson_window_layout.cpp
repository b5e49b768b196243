// The lesson window's controls and how they are laid out and connected; the handlers are in
// lesson_window.cpp.
#include "lessons/lesson_window.h"

#include "core/pane_splitter.h"
#include "core/push_button.h"
#include "lessons/lesson_icons.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTextEdit>
#include <QVBoxLayout>
#include <tuple>
#include <utility>

namespace quorvella {

namespace {

// A read-only field of the lesson's counts, showing "0" at first.
QLineEdit* makeCountField(const QString& name, const QString& caption, QWidget* parent) {
    auto* field = new QLineEdit(QStringLiteral("0"), parent);
    field->setObjectName(name);
    field->setAccessibleName(caption);
    field->setReadOnly(true);
    field->setFixedWidth(89);
    return field;
}

// The panes' font before the learner sets one: bold, pixelSize pixels high.
QFont paneFont(int pixelSize) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

} // namespace

void TForm2::buildLayout() {
    menuBar()->addMenu(QStringLiteral("文件"));
    menuBar()->addMenu(QStringLiteral("操作"));
    menuBar()->addMenu(QStringLiteral("帮助"));
    statusBar();

    auto* splitter = new PaneSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addPane(buildTextArea());
    splitter->addPane(buildColumn());
    // The column starts 216 pixels wide and keeps its width when the window grows.
    splitter->setSidePane(1, 216);
    setCentralWidget(splitter);

    connectHandler(ListBox1, &QListWidget::itemDoubleClicked, this, &TForm2::ListBox1DblClick);
    connectHandler(BitBtn1, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    connectHandler(BitBtn2, &QPushButton::clicked, this, &TForm2::BitBtn2Click);
    connectHandler(BitBtn3, &QPushButton::clicked, this, &TForm2::BitBtn3Click);
    connectHandler(BitBtn4, &QPushButton::clicked, this, &TForm2::BitBtn4Click);
    connectHandler(BitBtn5, &QPushButton::clicked, this, &TForm2::BitBtn5Click);
    connectHandler(spe.get(), &SpeechEngine::TextDataDone, this, &TForm2::speTextDataDone);
    connectHandler(spe.get(), &SpeechEngine::WordReached, this, &TForm2::speWordReached);
    connectHandler(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connectHandler(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
    connectHandler(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
    connectHandler(Button8, &QPushButton::clicked, this, &TForm2::Button8Click);
    connectHandler(Button9, &QPushButton::clicked, this, &TForm2::Button9Click);
    connectHandler(Button10, &QPushButton::clicked, this, &TForm2::Button10Click);
    connectHandler(Button11, &QPushButton::clicked, this, &TForm2::Button11Click);
    RichEdit2->viewport()->installEventFilter(this);
}

QWidget* TForm2::buildColumn() {
    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("Panel2"));
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 2, 0, 2);

    auto* choose = new QGroupBox(QStringLiteral("选择课文"), column);
    choose->setFixedHeight(120);
    ListBox1 = new QListWidget(choose);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(QStringLiteral("选择课文"));
    (new QVBoxLayout(choose))->addWidget(ListBox1);
    layout->addWidget(choose);

    auto* info = new QGroupBox(QStringLiteral("文章信息"), column);
    info->setFixedHeight(96);
    auto* rows = new QGridLayout(info);
    rows->setVerticalSpacing(2);
    Edit3 = makeCountField(QStringLiteral("Edit3"), QStringLiteral("字节数"), info);
    Edit4 = makeCountField(QStringLiteral("Edit4"), QStringLiteral("单词数"), info);
    Edit5 = makeCountField(QStringLiteral("Edit5"), QStringLiteral("段落数"), info);
    const std::pair<const char16_t*, QLineEdit*> counts[] = {
        {u"字节数：", Edit3}, {u"单词数：", Edit4}, {u"段落数：", Edit5}};
    for (int row = 0; row < 3; ++row) {
        auto* label = new QLabel(QString::fromUtf16(counts[row].first), info);
        label->setBuddy(counts[row].second);
        rows->addWidget(label, row, 0);
        rows->addWidget(counts[row].second, row, 1, Qt::AlignLeft);
    }
    layout->addWidget(info);

    auto* import = new QGroupBox(QStringLiteral("导入课外文章朗读"), column);
    import->setFixedHeight(56);
    Button3 = makeButton(QStringLiteral("Button3"), QStringLiteral("导入课外文章朗读"), import);
    (new QVBoxLayout(import))->addWidget(Button3);
    layout->addWidget(import);

    auto* search = new QGroupBox(QStringLiteral("单词查找"), column);
    search->setFixedHeight(96);
    auto* searchLayout = new QGridLayout(search);
    auto* hint = new QLabel(QStringLiteral("请输入字母或单词(区别大小写)"), search);
    edit2 = new QLineEdit(search);
    edit2->setObjectName(QStringLiteral("edit2"));
    edit2->setAccessibleName(hint->text());
    hint->setBuddy(edit2);
    Button2 = makeButton(QStringLiteral("Button2"), QStringLiteral("搜索"), search);
    searchLayout->addWidget(hint, 0, 0, 1, 2);
    searchLayout->addWidget(edit2, 1, 0);
    searchLayout->addWidget(Button2, 1, 1);
    layout->addWidget(search);

    m_readingSettings = new ReadingSettingsGroup(*spe, WindowKind::Lesson, column);
    layout->addWidget(m_readingSettings, 1, Qt::AlignTop);
    return column;
}

QWidget* TForm2::buildTextArea() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* topBar = new QWidget(area);
    topBar->setFixedHeight(40);
    auto* top = new QHBoxLayout(topBar);
    top->setContentsMargins(6, 2, 6, 2);
    auto* lessonLabel = new QLabel(QStringLiteral("课文："), topBar);
    Edit1 = new QLineEdit(topBar);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setAccessibleName(QStringLiteral("课文"));
    Edit1->setFixedWidth(113);
    lessonLabel->setBuddy(Edit1);
    top->addWidget(lessonLabel);
    top->addWidget(Edit1);
    const std::tuple<QPushButton**, const char*, const char16_t*, ReadingIcon> buttons[] = {
        {&BitBtn1, "BitBtn1", u"朗读全文", ReadingIcon::ReadAll},
        {&BitBtn2, "BitBtn2", u"朗读选定", ReadingIcon::ReadSelection},
        {&BitBtn3, "BitBtn3", u"暂停朗读", ReadingIcon::Pause},
        {&BitBtn4, "BitBtn4", u"继续朗读", ReadingIcon::Resume},
        {&BitBtn5, "BitBtn5", u"停止朗读", ReadingIcon::Stop}};
    for (const auto& [member, name, caption, icon] : buttons) {
        *member = makeButton(QString::fromLatin1(name), QString::fromUtf16(caption), topBar);
        (*member)->setIcon(readingIcon(icon));
        (*member)->setFixedSize(81, 25);
        top->addWidget(*member);
    }
    top->addStretch();
    layout->addWidget(topBar);

    auto* panes = new QSplitter(Qt::Vertical, area);
    panes->setObjectName(QStringLiteral("Splitter2"));
    richedit1 = new QTextEdit(panes);
    richedit1->setObjectName(QStringLiteral("richedit1"));
    richedit1->setAccessibleName(QStringLiteral("中文翻译"));
    richedit1->setReadOnly(true);
    richedit1->setFont(paneFont(TextTools::kTranslationPaneHeight));
    richedit1->document()->setDefaultFont(paneFont(TextTools::kTranslationPaneHeight));
    richedit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richedit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    richedit1->hide();
    RichEdit2 = new QTextEdit(panes);
    RichEdit2->setObjectName(QStringLiteral("RichEdit2"));
    RichEdit2->setAccessibleName(QStringLiteral("课文"));
    RichEdit2->setReadOnly(true);
    RichEdit2->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichEdit2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A right or middle press reads aloud, and that is all it does: no context menu.
    RichEdit2->setContextMenuPolicy(Qt::NoContextMenu);
    RichEdit2->setFont(paneFont(TextTools::kLessonPaneHeight));
    RichEdit2->document()->setDefaultFont(paneFont(TextTools::kLessonPaneHeight));
    QPalette palette = RichEdit2->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::ToolTipBase));
    palette.setColor(QPalette::Text, palette.color(QPalette::WindowText));
    RichEdit2->setPalette(palette);
    RichEdit2->setPlainText(QStringLiteral("welcome to here!"));
    panes->addWidget(richedit1);
    panes->addWidget(RichEdit2);
    panes->setSizes({89, 400});
    panes->setStretchFactor(1, 1);
    layout->addWidget(panes, 1);

    auto* bottomBar = new QWidget(area);
    bottomBar->setFixedHeight(41);
    auto* bottom = new QHBoxLayout(bottomBar);
    bottom->setContentsMargins(6, 2, 6, 2);
    Button1 = makeButton(QStringLiteral("Button1"), QStringLiteral("文字设置"), bottomBar);
    Button8 = makeButton(QStringLiteral("Button8"), QStringLiteral("选定设置"), bottomBar);
    Button8->setToolTip(QStringLiteral("选定文字设置"));
    Button10 = makeButton(QStringLiteral("Button10"), QStringLiteral("恢复默认"), bottomBar);
    Button11 = makeButton(QStringLiteral("Button11"), TextTools::showTranslationCaption, bottomBar);
    Button9 = makeButton(QStringLiteral("Button9"), QStringLiteral("退出关闭"), bottomBar);
    for (QPushButton* button : {Button1, Button8, Button10, Button11, Button9}) {
        bottom->addWidget(button);
    }
    bottom->addStretch();
    layout->addWidget(bottomBar);
    return area;
}

} // namespace quorvella
