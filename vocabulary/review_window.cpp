#include "vocabulary/review_window.h"

#include <QVBoxLayout>

namespace quorvella {

TForm4::TForm4(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)), spe(makeEngine()) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("单词复习"));
    resize(640, 480);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    m_readingSettings = new ReadingSettingsGroup(*spe, WindowKind::Review, central);
    layout->addWidget(m_readingSettings, 0, Qt::AlignRight | Qt::AlignTop);
    setCentralWidget(central);
}

TForm4::~TForm4() = default;

void TForm4::FormCreate() {
    m_readingSettings->fill();
}

} // namespace quorvella
