#include "lessons/word_follower.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

using Span = WordFollower::PaneSpan;

// The engine's offsets count each line break as CR LF; the pane's count one character.
TEST(WordFollower, MapsTheEnginesOffsetsToPanePositions) {
    // The pane holds "xxxxxab\ncd\n\nef"; its text from position 5 was spoken.
    const QString spoken = QStringLiteral("ab\r\ncd\r\n\r\nef");
    struct Case {
        int offset, length;
        std::optional<Span> mark;
    };
    const std::vector<Case> cases = {
        {0, 2, Span{5, 2}},   {4, 2, Span{8, 2}},
        {10, 2, Span{12, 2}}, {0, 6, Span{5, 5}}, // a span over a line break
        {11, 2, Span{5, 5}},                      // outside the text: the mark stays where it was
        {-1, 2, Span{5, 5}},
    };
    WordFollower follower;
    follower.started(spoken, 5);
    EXPECT_EQ(follower.mark(), std::nullopt);
    for (const Case& c : cases) {
        follower.wordReached(c.offset, c.length);
        EXPECT_EQ(follower.mark(), c.mark) << c.offset << "," << c.length;
    }
}

TEST(WordFollower, AfterAStopNoWordIsMarkedUntilTheNextText) {
    WordFollower follower;
    follower.started(QStringLiteral("one two"), 0);
    follower.wordReached(4, 3);
    EXPECT_EQ(follower.mark(), (Span{4, 3}));
    follower.stopped();
    EXPECT_EQ(follower.mark(), std::nullopt);
    follower.wordReached(0, 3); // a late word of the stopped text
    EXPECT_EQ(follower.mark(), std::nullopt);
    follower.started(QStringLiteral("three"), 10);
    EXPECT_EQ(follower.mark(), std::nullopt);
    follower.wordReached(0, 5);
    EXPECT_EQ(follower.mark(), (Span{10, 5}));
}

} // namespace
} // namespace quorvella
