#pragma once
// Decides how a pane shows a file's bytes: as Rich Text Format when they read as such, else as
// plain GBK text. Reading the file and filling the pane's document are left to the callers.

#include "richtext/rtf_reader.h"

#include <QString>

#include <optional>
#include <string_view>

namespace quorvella {

struct PaneContent {
    std::optional<RtfDocument> rtf; // set when the bytes are shown as RTF
    QString plainText;              // otherwise the text, paragraphs separated by '\n'
};

// RTF when the bytes start with "{\rtf" and give a whole document or some text; otherwise
// plain text. Throws AppError "Failed to Load Stream" when the bytes are not empty and neither
// form gives anything to show (no usable RTF, and a 0 byte before any plain text).
PaneContent readPaneContent(std::string_view bytes);

// Plain text as a pane shows it: the bytes up to the first 0 byte, decoded as GB18030, with
// CR LF, a lone CR and a lone LF each ending a paragraph ('\n').
QString plainPaneText(std::string_view bytes);

} // namespace quorvella
