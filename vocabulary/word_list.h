#pragma once
// A window's word list: its records in order and the one entry selected (or none), and the moves
// of the first, previous, next and last buttons. Showing the list is left to views, which learn
// of each change through an observer.

#include <string>
#include <vector>

namespace quorvella {

// One entry of the word list: its 1-based number and the fields of its line (GBK bytes, none
// empty). Field 1 is the word, field 2 its phonetic, field 3 its meaning; the rest are kept.
struct WordRecord {
    int number = 0;
    std::vector<std::string> fields;

    // Field n (1-based), or a blank " " when the record has fewer fields.
    const std::string& field(std::size_t n) const;

    bool operator==(const WordRecord&) const = default;
};

// Told before the records change and after they have changed, so that a view resets once for a
// whole listing however many records it appends.
class WordListObserver {
public:
    virtual ~WordListObserver() = default;
    virtual void wordsAboutToChange() = 0;
    virtual void wordsChanged() = 0;
    // The list is being destroyed: the observer lets go of it.
    virtual void wordListDestroyed() = 0;
};

class WordList final {
public:
    // A run of changes that observers see as one: they are told before the first change and
    // after the last, also when an error ends the run. Runs may nest.
    class Change {
    public:
        explicit Change(WordList& list);
        ~Change();
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;

    private:
        WordList& m_list;
    };

    WordList() = default;
    ~WordList();
    WordList(const WordList&) = delete;
    WordList& operator=(const WordList&) = delete;

    void setObserver(WordListObserver* observer) { m_observer = observer; }

    const std::vector<WordRecord>& records() const { return m_records; }
    int size() const { return int(m_records.size()); }
    bool empty() const { return m_records.empty(); }
    const WordRecord& at(int row) const { return m_records.at(std::size_t(row)); }

    // Removes every record; no entry is selected afterwards.
    void clear();
    void append(WordRecord record);

    // The selected row, or -1.
    int selected() const { return m_selected; }
    // row must be -1 or a row of the list.
    void setSelected(int row);

private:
    std::vector<WordRecord> m_records;
    int m_selected = -1;
    WordListObserver* m_observer = nullptr;
    int m_changeDepth = 0;
};

// The buttons that move the selection of a word list.
enum class Move { First, Previous, Next, Last };

// Where a move of the new-word and review windows leaves the selection: the row to select (-1:
// none), and whether the list then gets the keyboard focus.
struct MoveOutcome {
    int selected = -1;
    bool giveFocus = false;

    bool operator==(const MoveOutcome&) const = default;
};

// The moves of a list of count rows with row selected (-1: none). "第一个" selects the first row;
// "上一个" the row before, none before the first, with no wrap; "下一个" the row after, the first
// after the last (without focus); "最后一个" the last row, nothing when it is selected. An empty
// list does nothing.
MoveOutcome moveSelection(Move move, int count, int selected);

} // namespace quorvella
