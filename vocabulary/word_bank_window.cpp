#include "vocabulary/word_bank_window.h"

namespace quorvella {

TForm8::TForm8(const SpeechEngineFactory& makeEngine, DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)), spe1(makeEngine()) {
    setObjectName(QStringLiteral("TForm8"));
    setWindowTitle(QStringLiteral("英语词库"));
    resize(640, 480);
}

TForm8::~TForm8() = default;

void TForm8::FormCreate() {}

} // namespace quorvella
