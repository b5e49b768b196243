#include "lessons/text_tools.h"

#include "core/line_readers.h"

namespace quorvella {

TextTools::TextTools(MessagePort& messages) : m_messages(messages) {}

std::optional<Rgb> TextTools::colourDialogColour(bool paneHasSelection) {
    if (!paneHasSelection) {
        m_messages.showMessage(nothingSelectedMessage);
        return std::nullopt;
    }
    return m_colour;
}

PaneContent TextTools::importArticle(const QString& path) {
    m_lastFile = path;
    return readPaneContent(readFileBytes(path));
}

} // namespace quorvella
