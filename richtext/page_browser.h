#pragma once
// A browser pane for the local HTML pages (grammar guide, help): decodes each page's bytes
// itself and resolves links and images against the page's folder. Which page is shown, and
// when, is the viewer window's.

#include <QTextBrowser>
#include <QUrl>
#include <QVariant>

namespace quorvella {

class PageBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit PageBrowser(QWidget* parent = nullptr);

    // Navigates to the page at fullPath, reading it from disk even when it is already shown.
    void showPage(const QString& fullPath);

    // HTML pages are read as GB18030 unless they declare UTF-8 (html_page_text.h); a page that
    // cannot be read shows the reason. Other resources are QTextBrowser's.
    QVariant loadResource(int type, const QUrl& name) override;

protected:
    // A relative location (a link, "#anchor") is taken relative to the page shown.
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;

private:
    QUrl resolved(const QUrl& name) const;
};

} // namespace quorvella
