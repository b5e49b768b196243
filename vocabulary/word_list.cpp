#include "vocabulary/word_list.h"

#include <cassert>
#include <utility>

namespace quorvella {

const std::string& WordRecord::field(std::size_t n) const {
    static const std::string blank = " ";
    return n >= 1 && n <= fields.size() ? fields[n - 1] : blank;
}

WordList::Change::Change(WordList& list) : m_list(list) {
    if (m_list.m_changeDepth++ == 0 && m_list.m_observer) {
        m_list.m_observer->wordsAboutToChange();
    }
}

WordList::Change::~Change() {
    if (--m_list.m_changeDepth == 0 && m_list.m_observer) {
        m_list.m_observer->wordsChanged();
    }
}

WordList::~WordList() {
    if (m_observer) {
        m_observer->wordListDestroyed();
    }
}

void WordList::clear() {
    Change change(*this);
    m_records.clear();
    m_selected = -1;
}

void WordList::append(WordRecord record) {
    Change change(*this);
    m_records.push_back(std::move(record));
}

void WordList::setSelected(int row) {
    assert(row >= -1 && row < size());
    m_selected = row;
}

MoveOutcome moveSelection(Move move, int count, int selected) {
    if (count <= 0) {
        return {selected, false};
    }
    const int last = count - 1;
    switch (move) {
    case Move::First:
        return {0, true};
    case Move::Previous:
        return {selected > 0 ? selected - 1 : -1, true};
    case Move::Next:
        if (selected < 0) {
            return {0, true};
        }
        return selected == last ? MoveOutcome{0, false} : MoveOutcome{selected + 1, true};
    case Move::Last:
        return selected == last ? MoveOutcome{selected, false} : MoveOutcome{last, true};
    }
    return {selected, false};
}

} // namespace quorvella
