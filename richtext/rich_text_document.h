#pragma once
// Fills a pane's QTextDocument from an RTF document or from a file (RTF, else plain GBK text).
// How a file's bytes are read is pane_content.h's; laying the text out is Qt's.

#include "richtext/pane_content.h"
#include "richtext/rtf_reader.h"

#include <QString>
#include <QTextDocument>

namespace quorvella {

// Sets how the document wraps its lines for text about to replace its content: at word
// boundaries, or anywhere when the text holds a run too long to lay out at word boundaries
// (line_wrapping.h). A document whose wrapping changes is emptied first, so that its old content
// is not laid out again.
void fitWrapping(QTextDocument& document, QStringView text);

// Replaces the document's content: a block per paragraph, a character format per run. Formats
// that the RTF leaves unset (size, font, colours) are the document's default font's.
void setRtfDocument(QTextDocument& document, const RtfDocument& rtf);

// Replaces the document's content with the content read from a file: RTF, or plain text in
// the document's default font; its wrapping fits the content.
void setPaneContent(QTextDocument& document, const PaneContent& content);

// Clears the document, then loads the file at path into it (readPaneContent's rules). Throws
// AppError `Cannot open file "<path>". <reason>` or "Failed to Load Stream"; the document is
// then left empty.
void loadRichText(const QString& path, QTextDocument& document);

} // namespace quorvella
