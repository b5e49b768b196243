#pragma once
// The question bank "dat/tk.txt" and the choice of a test from it: the size and group boxes with
// the number of groups a size allows, and drawing the chosen group's lines into a MockTest.
// Showing the boxes and the test is left to the view.

#include "core/data_folder.h"
#include "core/message_port.h"
#include "mocktest/mock_test.h"

#include <QStringList>
#include <functional>

namespace quorvella {

class QuestionBank final {
public:
    // The bank holds 150 questions: fifteen sizes of test, and fifteen groups at the smallest.
    static constexpr int kSizes = 15;
    static constexpr int kGroups = 15;

    // The size box's items "10", "20", ... "150" and the group box's "第一组" ... "第十五组".
    static const QStringList& sizeItems();
    static const QStringList& groupItems();

    // The number of questions at a position of the size box (0-based): 10, 20, ... 150.
    static int sizeAt(int sizePosition) { return 10 * (sizePosition + 1); }
    // The number of groups offered for a position of the size box: ceil(15 / n), n = position + 1.
    // A box with no size chosen (position -1, or any below) offers none.
    static int groupCount(int sizePosition);

    QuestionBank(DataFolder folder, MessagePort& messages);

    // Told after the boxes' choices changed, before any message about it is shown.
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

    int sizePosition() const { return m_sizePosition; }
    int groupPosition() const { return m_groupPosition; }

    // The size box changed: the group goes back to the first one, without a message.
    void sizeChanged(int position);
    // The group box changed: a group beyond the number of groups for the size is refused, the
    // group going back to the first one, then the message says how many groups there are.
    void groupChanged(int position);

    // Draws the chosen group: the test list is emptied, then lines size * group + 1 to
    // size * (group + 1) of the bank become its rows, numbered from 1 (fewer when the bank ends
    // first); then the test is in progress, its first row current. A bank that cannot be opened
    // throws AppError with the list left empty and nothing else changed.
    void draw(MockTest& test) const;

private:
    void changed();

    DataFolder m_folder;
    MessagePort& m_messages;
    std::function<void()> m_changed;
    int m_sizePosition = 0;
    int m_groupPosition = 0;
};

} // namespace quorvella
