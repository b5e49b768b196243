#include "viewers/help_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace quorvella {

TForm10::TForm10(DataFolder folder, QWidget* parent)
    : PageWindow(QStringLiteral("关闭"), QStringLiteral("软件帮助"), 33, parent),
      m_folder(std::move(folder)) {
    setObjectName(QStringLiteral("TForm10"));
    setWindowTitle(QStringLiteral("软件帮助"));
    auto* caption = new QLabel(QStringLiteral("软件帮助"));
    caption->setObjectName(QStringLiteral("Panel1"));
    caption->setAlignment(Qt::AlignCenter);
    caption->setStyleSheet(QStringLiteral("color: #FF00FF; font-size: 16px;"));
    bar().addWidget(caption, 1);
    bar().addSpacing(Button1->sizeHint().width()); // the caption stays centred
}

void TForm10::FormCreate() {
    m_pagePath = m_folder.path(u"help/help.htm");
}

} // namespace quorvella
