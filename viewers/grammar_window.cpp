#include "viewers/grammar_window.h"

#include "viewers/raised_label.h"

#include <QHBoxLayout>

namespace quorvella {

TForm5::TForm5(DataFolder folder, QWidget* parent)
    : PageWindow(QStringLiteral("关闭窗口"), QStringLiteral("英语语法"), 41, parent),
      m_folder(std::move(folder)) {
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(QStringLiteral("英语语法"));
    bar().addSpacing(24);
    bar().addWidget(new RaisedLabel(QStringLiteral("英语语法"), QColor(0, 0, 128), 27));
    bar().addStretch();
}

} // namespace quorvella
