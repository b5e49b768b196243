#include "viewers/page_window.h"

#include "core/message_port.h"
#include "richtext/page_browser.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quorvella {

PageWindow::PageWindow(const QString& closeCaption, const QString& pageName, int barHeight,
                       QWidget* parent)
    : QMainWindow(parent) {
    resize(640, 480);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* topBar = new QWidget(central);
    topBar->setFixedHeight(barHeight);
    m_bar = new QHBoxLayout(topBar);
    m_bar->setContentsMargins(4, 2, 4, 2);
    Button1 = new QPushButton(closeCaption, topBar);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAccessibleName(closeCaption);
    m_bar->addWidget(Button1);
    layout->addWidget(topBar);

    WebBrowser1 = new PageBrowser(central);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setAccessibleName(pageName);
    layout->addWidget(WebBrowser1, 1);
    setCentralWidget(central);
    statusBar();

    connectHandler(Button1, &QPushButton::clicked, this, &QWidget::close);
}

void PageWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) {
        runHandler([this] { FormShow(); });
    }
}

// Each time the window goes from hidden to visible: back to its page.
void PageWindow::FormShow() {
    WebBrowser1->showPage(pagePath());
}

} // namespace quorvella
