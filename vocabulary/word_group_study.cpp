#include "vocabulary/word_group_study.h"

namespace quorvella {

void WordGroupStudy::select(int row) {
    WordList& words = m_groups.words();
    if (row == words.selected()) {
        return;
    }
    words.setSelected(row);
    if (row >= 0) {
        show(words.at(row));
    }
}

bool WordGroupStudy::move(Move move) {
    const WordList& words = m_groups.words();
    const MoveOutcome outcome = moveSelection(move, words.size(), words.selected());
    select(outcome.selected);
    return outcome.giveFocus;
}

} // namespace quorvella
