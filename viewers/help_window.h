#pragma once
// The help window: the help page, shown afresh each time the window appears.

#include "core/data_folder.h"

#include <QMainWindow>

class QPushButton;

namespace quorvella {

class PageBrowser;

class TForm10 final : public QMainWindow {
    Q_OBJECT

public:
    explicit TForm10(DataFolder folder, QWidget* parent = nullptr);

    // The creation handler: the folder the page is read from is fixed here.
    void FormCreate();
    PageBrowser& browser() const { return *WebBrowser1; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    DataFolder m_folder;
    QString m_pagePath;
    QPushButton* Button1 = nullptr;
    PageBrowser* WebBrowser1 = nullptr;
};

} // namespace quorvella
