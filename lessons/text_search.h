#pragma once
// The search of the lesson pane: from just after its selection to the end of the text, case-
// sensitive, byte for byte on whole characters. Reading the pane and selecting are the view's.

#include "core/message_port.h"

#include <QString>
#include <cstddef>
#include <string_view>

namespace quorvella {

// A selection in the pane's GBK text, in bytes; length 0 is the caret alone.
struct ByteSelection {
    std::size_t start = 0;
    std::size_t length = 0;

    bool operator==(const ByteSelection&) const = default;
};

class TextSearch final {
public:
    static inline const QString endReachedMessage = QStringLiteral("已经到文章最后了!");

    explicit TextSearch(MessagePort& messages);

    // One press of the search button on the pane's text (GBK) with its current selection. The
    // search starts just after the selection, or at the start of the text when nothing is
    // selected (wherever the caret is). Returns the selection the view makes, after which it
    // gives the focus to the pane: the match, or, when there is none (an empty search text finds
    // none), the caret at the start once the message has been shown.
    ByteSelection findNext(std::string_view text, ByteSelection current,
                           std::string_view searchText);

private:
    MessagePort& m_messages;
};

} // namespace quorvella
