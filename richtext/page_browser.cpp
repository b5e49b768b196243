#include "richtext/page_browser.h"

#include "core/app_error.h"
#include "core/line_readers.h"
#include "richtext/html_page_text.h"
#include "richtext/rich_text_document.h"

#include <QTextDocument>
#include <QTextDocumentFragment>

namespace quorvella {

PageBrowser::PageBrowser(QWidget* parent) : QTextBrowser(parent) {
    // Links out of the course's pages go to the desktop's browser.
    setOpenExternalLinks(true);
}

void PageBrowser::showPage(const QString& fullPath) {
    const QUrl url = QUrl::fromLocalFile(fullPath);
    if (source().adjusted(QUrl::RemoveFragment) == url) {
        setSource(url);
        reload(); // setSource alone keeps a page that is already shown
    } else {
        setSource(url);
    }
}

void PageBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    QTextBrowser::doSetSource(resolved(name), type);
}

QUrl PageBrowser::resolved(const QUrl& name) const {
    if (!name.isRelative() || name.isEmpty()) {
        return name;
    }
    const QUrl page = source();
    return page.isValid() ? page.resolved(name) : name;
}

QVariant PageBrowser::loadResource(int type, const QUrl& name) {
    const QUrl url = resolved(name);
    if (type != QTextDocument::HtmlResource || !url.isLocalFile()) {
        return QTextBrowser::loadResource(type, url);
    }
    const QString path = url.toLocalFile();
    try {
        const QString page = decodeHtmlPage(readFileBytes(path));
        fitWrapping(*document(), QTextDocumentFragment::fromHtml(page).toPlainText());
        return page;
    } catch (const AppError& error) {
        return QStringLiteral("<html><body><p>%1</p></body></html>")
            .arg(error.text().toHtmlEscaped());
    }
}

} // namespace quorvella
