#include "lessons/text_search.h"

#include "core/gbk_codec.h"
#include "tests/support/qt_printers.h"
#include "tests/support/recording_message_port.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace quorvella {

void PrintTo(const ByteSelection& selection, std::ostream* out) {
    *out << "{" << selection.start << ", " << selection.length << "}";
}

namespace {

const QString endReached = QStringLiteral("已经到文章最后了!");
constexpr ByteSelection caretAtStart{0, 0};

// Presses the search button again and again, each time from the selection the last press made.
// Each press gives the selection made and whether the message came.
struct Press {
    ByteSelection selection;
    bool message;

    bool operator==(const Press&) const = default;
};

void PrintTo(const Press& press, std::ostream* out) {
    *out << "{" << press.selection.start << ", " << press.selection.length << "}"
         << (press.message ? " with the message" : "");
}

std::vector<Press> pressSearch(std::string_view text, std::string_view searchText, int presses,
                               ByteSelection selection = {}) {
    RecordingMessagePort port;
    TextSearch search(port);
    std::vector<Press> result;
    for (int i = 0; i < presses; ++i) {
        port.messages.clear();
        selection = search.findNext(text, selection, searchText);
        EXPECT_TRUE(port.messages.isEmpty() || port.messages == QStringList{endReached});
        result.push_back({selection, !port.messages.isEmpty()});
    }
    return result;
}

TEST(TextSearch, PressesWalkThroughTheMatchesThenStartAgain) {
    struct Case {
        const char* name;
        std::string text, searchText;
        ByteSelection handSelection;
        std::vector<Press> presses;
    };
    const std::vector<Case> cases = {
        {"inside words too",
         "This is it",
         "is",
         {},
         {{{2, 2}, false}, {{5, 2}, false}, {caretAtStart, true}, {{2, 2}, false}}},
        {"matches do not overlap",
         "aaaa",
         "aa",
         {},
         {{{0, 2}, false}, {{2, 2}, false}, {{}, true}}},
        {"case-sensitive", "This is it", "THIS", {}, {{caretAtStart, true}}},
        {"after a selection made by hand",
         "is one, is two",
         "is",
         {3, 3},
         {{{8, 2}, false}, {caretAtStart, true}}},
        {"a caret without a selection searches from the start",
         "is one, is two",
         "is",
         {10, 0},
         {{{0, 2}, false}}},
        {"an empty search text finds nothing", "This is it", "", {}, {{caretAtStart, true}}},
        {"a selection past the end finds nothing", "This", "is", {3, 9}, {{caretAtStart, true}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pressSearch(c.text, c.searchText, int(c.presses.size()), c.handSelection),
                  c.presses)
            << c.name;
    }
}

TEST(TextSearch, MatchesOnlyWholeCharactersOfGbkText) {
    struct Case {
        const char* name;
        std::string text, searchText;
        std::vector<Press> presses;
    };
    const std::vector<Case> cases = {
        {"a match would straddle two characters",
         "\xB0\xA1\xB0\xA1",
         "\xA1\xB0",
         {{caretAtStart, true}}},
        {"whole characters match",
         "\xB0\xA1\xB0\xA1",
         "\xB0\xA1",
         {{{0, 2}, false}, {{2, 2}, false}, {caretAtStart, true}}},
        {"a trail byte that reads as a letter is no letter",
         "\x81\x61 a",
         "a",
         {{{3, 1}, false}, {caretAtStart, true}}},
        {"positions count bytes",
         encodeGbk(u"这是 is 它 is"),
         "is",
         {{{5, 2}, false}, {{11, 2}, false}, {caretAtStart, true}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pressSearch(c.text, c.searchText, int(c.presses.size())), c.presses) << c.name;
    }
}

} // namespace
} // namespace quorvella
