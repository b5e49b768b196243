#include "core/splite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvella {
namespace {

TEST(Splite, FieldsOfTheWordListRule) {
    using Fields = std::vector<std::string>;
    struct Case {
        std::string line;
        Fields fields;
    };
    const std::vector<Case> cases = {
        {"abandon@[a'bandon]@\xB7\xC5\xC6\xFA@0",
         {"abandon", "[a'bandon]", "\xB7\xC5\xC6\xFA", "0"}},
        {"word@@meaning", {"word", " ", "meaning"}}, // a blank second field
        {"word@", {"word"}},                         // a trailing "@" adds no field
        {"word@meaning@", {"word", "meaning"}},
        {"@word", {" ", "word"}},
        {"", {}},
        {"@@@@@", {" ", " ", " ", " ", " "}},
        {" a @ b ", {" a ", " b "}}, // fields are never trimmed
        {"a@b@c@d@e@f@g@h@i", {"a", "b", "c", "d", "e", "f", "g", "h", "i"}},
        // 丂 is 81 40: its trail byte is no separator.
        {"\x81\x40@\x81\x40x", {"\x81\x40", "\x81\x40x"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(splite(c.line), c.fields) << c.line;
    }
}

} // namespace
} // namespace quorvella
