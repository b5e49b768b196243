#include "viewers/help_window.h"

#include "core/message_port.h"
#include "richtext/page_browser.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quorvella {

TForm10::TForm10(DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)) {
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("软件帮助"));
    resize(640, 480);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* topBar = new QWidget(central);
    topBar->setFixedHeight(33);
    auto* top = new QHBoxLayout(topBar);
    top->setContentsMargins(4, 2, 4, 2);
    Button1 = new QPushButton(QStringLiteral("关闭"), topBar);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(Button1->text());
    auto* caption = new QLabel(QStringLiteral("软件帮助"), topBar);
    caption->setObjectName(QStringLiteral("Panel1"));
    caption->setAlignment(Qt::AlignCenter);
    caption->setStyleSheet(QStringLiteral("color: #FF00FF; font-size: 16px;"));
    top->addWidget(Button1);
    top->addWidget(caption, 1);
    top->addSpacing(Button1->sizeHint().width());
    layout->addWidget(topBar);

    WebBrowser1 = new PageBrowser(central);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setAccessibleName(QStringLiteral("软件帮助"));
    layout->addWidget(WebBrowser1, 1);
    setCentralWidget(central);
    statusBar();

    connectHandler(Button1, &QPushButton::clicked, this, &QWidget::close);
}

void TForm10::FormCreate() {
    m_pagePath = m_folder.path(u"help/help.htm");
}

void TForm10::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) {
        runHandler([this] { FormShow(); });
    }
}

// Each time the window goes from hidden to visible: back to the help page.
void TForm10::FormShow() {
    WebBrowser1->showPage(m_pagePath);
}

} // namespace quorvella
