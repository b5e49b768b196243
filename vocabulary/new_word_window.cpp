#include "vocabulary/new_word_window.h"

#include <QVBoxLayout>

namespace quorvella {

TForm3::TForm3(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)), spe(makeEngine()) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("生词学习"));
    resize(640, 480);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    m_readingSettings = new ReadingSettingsGroup(*spe, WindowKind::NewWord, central);
    layout->addWidget(m_readingSettings, 0, Qt::AlignRight | Qt::AlignTop);
    setCentralWidget(central);
}

TForm3::~TForm3() = default;

void TForm3::FormCreate() {
    m_readingSettings->fill();
}

} // namespace quorvella
