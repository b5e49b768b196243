#include "viewers/grammar_window.h"

#include "core/message_port.h"
#include "richtext/page_browser.h"
#include "viewers/raised_label.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quorvella {

TForm5::TForm5(DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("英语语法"));
    resize(640, 480);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* topBar = new QWidget(central);
    topBar->setFixedHeight(41);
    auto* top = new QHBoxLayout(topBar);
    Button1 = new QPushButton(QStringLiteral("关闭窗口"), topBar);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(Button1->text());
    top->addWidget(Button1);
    top->addSpacing(24);
    top->addWidget(new RaisedLabel(QStringLiteral("英语语法"), QColor(0, 0, 128), 27, topBar));
    top->addStretch();
    layout->addWidget(topBar);

    WebBrowser1 = new PageBrowser(central);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setAccessibleName(QStringLiteral("英语语法"));
    layout->addWidget(WebBrowser1, 1);
    setCentralWidget(central);
    statusBar();

    connectHandler(Button1, &QPushButton::clicked, this, &QWidget::close);
}

void TForm5::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) {
        runHandler([this] { FormShow(); });
    }
}

// Each time the window goes from hidden to visible: back to the grammar page.
void TForm5::FormShow() {
    WebBrowser1->showPage(m_folder.path(u"abc/grammar.htm"));
}

} // namespace quorvella
