#pragma once
// The answers window: the after-class answers of the course's 40 units, one file per unit.

#include "core/data_folder.h"

#include <QMainWindow>

class QListWidget;
class QPushButton;
class QTextEdit;

namespace quorvella {

class TForm6 final : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm6(DataFolder folder, QWidget* parent = nullptr);

    void FormCreate() {}

private:
    void ListBox1DblClick();

    DataFolder m_folder;
    QListWidget* ListBox1 = nullptr;
    QTextEdit* RichEdit1 = nullptr;
    QPushButton* Button1 = nullptr;
};

} // namespace quorvella
