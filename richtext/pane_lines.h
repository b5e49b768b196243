#pragma once
// The "pane lines" of a document: its lines as laid out at a width, as GBK bytes.
// Counting with them is the lesson window's; what the document holds is its pane's.

#include <QTextDocument>
#include <QTextEdit>
#include <QtGlobal>

#include <string>
#include <vector>

namespace quorvella {

// Lays the whole document out at its current text width (a negative width: no wrapping) and
// returns every displayed line as GBK bytes without its line break; a last line that is empty
// does not count, so an empty document has no lines.
std::vector<std::string> paneLines(QTextDocument& document);

// The same, after setting the document's text width to width.
std::vector<std::string> paneLines(QTextDocument& document, qreal width);

// The lines of a pane as it wraps them: at its viewport's width when it wraps at the widget's
// width (a hidden pane's viewport has its size only once it has been shown).
std::vector<std::string> paneLines(QTextEdit& pane);

} // namespace quorvella
