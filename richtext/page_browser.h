#pragma once
#include <QTextBrowser>
namespace quorvella {
class PageBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    void showPage(const QString& path) { setSource(QUrl::fromLocalFile(path)); }
};
} // namespace quorvella
