#pragma once
// What the new-word and review windows' rules share: the word groups and their list, selecting
// an entry (a new entry is shown, the same one or none is not), and the four moves. How an entry
// is shown is each window's own.

#include "vocabulary/word_groups.h"

namespace quorvella {

class WordGroupStudy {
public:
    virtual ~WordGroupStudy() = default;
    WordGroupStudy(const WordGroupStudy&) = delete;
    WordGroupStudy& operator=(const WordGroupStudy&) = delete;

    WordGroups& groups() { return m_groups; }
    const WordGroups& groups() const { return m_groups; }
    const WordList& words() const { return m_groups.words(); }

    // An entry of the word list becomes the selected one (-1: the selection is removed). A new
    // entry is shown; selecting the entry that is selected already, or removing the selection,
    // shows nothing.
    void select(int row);

    // "第一个", "上一个", "下一个", "最后一个": moves the selection; true when the word list is
    // then to get the keyboard focus.
    bool move(Move move);

protected:
    WordGroupStudy(DataFolder folder, OpenLines openLines)
        : m_groups(std::move(folder), std::move(openLines)) {}

    // Shows the record that has just become the selected one.
    virtual void show(const WordRecord& record) = 0;

private:
    WordGroups m_groups;
};

} // namespace quorvella
