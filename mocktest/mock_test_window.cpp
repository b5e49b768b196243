#include "mocktest/mock_test_window.h"

namespace quorvella {

TForm7::TForm7(DataFolder folder, QWidget* parent)
    : QMainWindow(parent), m_folder(std::move(folder)) {
    setObjectName(QStringLiteral("TForm7"));
    setWindowTitle(QStringLiteral("Tamsora（模拟练习）"));
    resize(640, 480);
}

TForm7::~TForm7() = default;

void TForm7::FormCreate() {}

} // namespace quorvella
