#include "lessons/lesson_window.h"

#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quorvella {

TForm2::TForm2(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)), spe(makeEngine()) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Tamsora课文学习"));
    resize(544, 375);
    menuBar()->addMenu(QStringLiteral("文件"));
    menuBar()->addMenu(QStringLiteral("操作"));
    menuBar()->addMenu(QStringLiteral("帮助"));
    statusBar();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    m_readingSettings = new ReadingSettingsGroup(*spe, WindowKind::Lesson, central);
    layout->addWidget(m_readingSettings, 0, Qt::AlignRight | Qt::AlignTop);
    setCentralWidget(central);
}

TForm2::~TForm2() = default;

void TForm2::FormCreate() {
    m_readingSettings->fill();
}

} // namespace quorvella
