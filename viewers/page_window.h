#pragma once
// A window that shows one HTML page under a bar with a close button: the page is shown afresh
// each time the window goes from hidden to visible, never while it stays visible.

#include <QMainWindow>

class QHBoxLayout;
class QPushButton;

namespace quorvella {

class PageBrowser;

class PageWindow : public QMainWindow {
    Q_OBJECT

public:
    PageBrowser& browser() const { return *WebBrowser1; }

protected:
    // caption: the close button's; name: the page's, for screen readers.
    PageWindow(const QString& closeCaption, const QString& pageName, int barHeight,
               QWidget* parent);

    // The bar's layout, the close button already at its left.
    QHBoxLayout& bar() const { return *m_bar; }

    // The full path of the page to show now.
    virtual QString pagePath() const = 0;

    void showEvent(QShowEvent* event) override;

    QPushButton* Button1 = nullptr;
    PageBrowser* WebBrowser1 = nullptr;

private:
    void FormShow();

    QHBoxLayout* m_bar = nullptr;
};

} // namespace quorvella
