#include "lessons/text_search.h"

#include "core/byte_text.h"

namespace quorvella {

TextSearch::TextSearch(MessagePort& messages) : m_messages(messages) {}

ByteSelection TextSearch::findNext(std::string_view text, ByteSelection current,
                                   std::string_view searchText) {
    const std::size_t from = current.length == 0 ? 0 : current.start + current.length;
    const std::size_t found =
        from <= text.size() ? findText(text, searchText, from) : std::string_view::npos;
    if (found == std::string_view::npos) {
        m_messages.showMessage(endReachedMessage);
        return {};
    }
    return {found, searchText.size()};
}

} // namespace quorvella
