#pragma once
// The grammar window: the grammar guide's page, shown afresh each time the window appears.

#include "core/data_folder.h"

#include <QMainWindow>

class QPushButton;

namespace quorvella {

class PageBrowser;

class TForm5 final : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm5(DataFolder folder, QWidget* parent = nullptr);

    void FormCreate() {}
    PageBrowser& browser() const { return *WebBrowser1; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    DataFolder m_folder;
    QPushButton* Button1 = nullptr;
    PageBrowser* WebBrowser1 = nullptr;
};

} // namespace quorvella
