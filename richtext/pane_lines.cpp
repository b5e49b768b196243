#include "richtext/pane_lines.h"

#include "core/gbk_codec.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>

namespace quorvella {

namespace {

// A line ended by a break inside its paragraph (\line, Shift+Enter) holds that break.
QStringView withoutBreak(QStringView line) {
    while (!line.isEmpty() &&
           (line.back() == QChar::LineSeparator || line.back() == QChar::ParagraphSeparator)) {
        line.chop(1);
    }
    return line;
}

// Qt lays a document out lazily, a part at a time. Asking for its size finishes the layout of
// every block; a pane whose scroll bar comes or goes meanwhile sets a new width, so ask again.
void layOutWholly(QTextDocument& document) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const qreal width = document.textWidth();
        document.documentLayout()->documentSize();
        if (document.textWidth() == width) {
            return;
        }
    }
}

} // namespace

std::vector<std::string> paneLines(QTextDocument& document) {
    layOutWholly(document);
    std::vector<std::string> lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const QTextLayout* layout = block.layout();
        if (layout == nullptr || layout->lineCount() == 0) {
            lines.push_back(encodeGbk(withoutBreak(text)));
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines.push_back(encodeGbk(
                withoutBreak(QStringView(text).mid(line.textStart(), line.textLength()))));
        }
    }
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

std::vector<std::string> paneLines(QTextDocument& document, qreal width) {
    if (document.textWidth() != width) {
        document.setTextWidth(width);
    }
    return paneLines(document);
}

std::vector<std::string> paneLines(QTextEdit& pane) {
    if (pane.lineWrapMode() == QTextEdit::WidgetWidth) {
        return paneLines(*pane.document(), pane.viewport()->width());
    }
    return paneLines(*pane.document());
}

} // namespace quorvella
