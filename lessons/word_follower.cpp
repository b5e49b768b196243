#include "lessons/word_follower.h"

#include <algorithm>

namespace quorvella {

void WordFollower::started(const QString& spokenText, int panePosition) {
    m_textLength = int(spokenText.size());
    m_panePosition = panePosition;
    m_returns.clear();
    for (int i = 0; i + 1 < spokenText.size(); ++i) {
        if (spokenText.at(i) == u'\r' && spokenText.at(i + 1) == u'\n') {
            m_returns << i;
        }
    }
    m_mark.reset();
}

void WordFollower::wordReached(int offset, int length) {
    if (offset < 0 || length <= 0 || offset + length > m_textLength) {
        return;
    }
    const int start = panePositionOf(offset);
    m_mark = PaneSpan{start, panePositionOf(offset + length) - start};
}

void WordFollower::stopped() {
    m_textLength = 0; // words of the text still coming belong to no text in the pane
    m_returns.clear();
    m_mark.reset();
}

// Each CR LF before offset is one line break in the pane.
int WordFollower::panePositionOf(int offset) const {
    const auto before = std::lower_bound(m_returns.begin(), m_returns.end(), offset);
    return m_panePosition + offset - int(before - m_returns.begin());
}

} // namespace quorvella
