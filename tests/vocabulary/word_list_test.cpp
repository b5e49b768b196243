#include "vocabulary/word_list.h"

#include "core/app_error.h"
#include "tests/vocabulary/word_folder.h"
#include "vocabulary/word_groups.h"

#include <gtest/gtest.h>

#include <ostream>

namespace quorvella {

void PrintTo(const MoveOutcome& outcome, std::ostream* out) {
    *out << "{selected " << outcome.selected << ", focus " << outcome.giveFocus << "}";
}

namespace {

TEST(MoveSelection, FollowsTheTableForEveryListState) {
    struct Case {
        Move move;
        int count;
        int selected;
        MoveOutcome outcome;
    };
    const Case cases[] = {
        // An empty list: nothing.
        {Move::First, 0, -1, {-1, false}},
        {Move::Previous, 0, -1, {-1, false}},
        {Move::Next, 0, -1, {-1, false}},
        {Move::Last, 0, -1, {-1, false}},
        // An entry selected.
        {Move::First, 5, 3, {0, true}},
        {Move::First, 5, 0, {0, true}},
        {Move::Previous, 5, 3, {2, true}},
        {Move::Previous, 5, 0, {-1, true}}, // the selection goes, no wrap to the last
        {Move::Next, 5, 3, {4, true}},
        {Move::Next, 5, 4, {0, false}}, // the first after the last, without focus
        {Move::Last, 5, 1, {4, true}},
        {Move::Last, 5, 4, {4, false}}, // on the last: nothing
        {Move::Next, 1, 0, {0, false}},
        // No entry selected.
        {Move::First, 5, -1, {0, true}},
        {Move::Previous, 5, -1, {-1, true}},
        {Move::Next, 5, -1, {0, true}},
        {Move::Last, 5, -1, {4, true}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(moveSelection(c.move, c.count, c.selected), c.outcome)
            << "move " << int(c.move) << " in " << c.count << " rows from " << c.selected;
    }
}

struct CountingObserver final : WordListObserver {
    void wordsAboutToChange() override { events += "<"; }
    void wordsChanged() override { events += ">"; }
    void wordListDestroyed() override { events += "x"; }
    std::string events;
};

// A view resets once for a whole group, however many words it holds, and also when the opening
// fails half-way, so that it never shows rows that are gone.
TEST(WordListObserver, SeesOneChangePerOperationAlsoOnErrors) {
    WordFolder data;
    data.write("ti.txt", Lines{"Lesson 0", "Lesson 1"});
    data.write("dat/kwdc1.txt", Lines{"a@p@m@0", "b@p@m@1", "c@p@m@1", "d@p@m@1"});
    CountingObserver observer; // outlives the list, as a view's model may not
    WordGroups groups(data.folder());
    groups.loadGroupList();
    groups.words().setObserver(&observer);

    groups.openGroup(1);
    EXPECT_EQ(observer.events, "<>");
    EXPECT_EQ(groups.words().size(), 3);

    observer.events.clear();
    EXPECT_THROW(groups.openGroup(-1), AppError);
    EXPECT_EQ(observer.events, "<>");
    EXPECT_TRUE(groups.words().empty());

    data.remove("dat/kwdc1.txt");
    observer.events.clear();
    EXPECT_THROW(groups.openGroup(0), AppError);
    EXPECT_EQ(observer.events, "<>");
}

// A view's model may outlive the list it shows: it is told when the list goes.
TEST(WordListObserver, IsToldWhenTheListIsDestroyed) {
    CountingObserver observer;
    {
        WordList list;
        list.setObserver(&observer);
        list.append(WordRecord{1, {"word"}});
    }
    EXPECT_EQ(observer.events, "<>x");
}

TEST(WordRecord, MissingFieldsReadAsBlanks) {
    const WordRecord record{1, {"word"}};
    EXPECT_EQ(record.field(1), "word");
    EXPECT_EQ(record.field(2), " ");
    EXPECT_EQ(record.field(3), " ");
    EXPECT_EQ(WordRecord{}.field(1), " ");
}

} // namespace
} // namespace quorvella
