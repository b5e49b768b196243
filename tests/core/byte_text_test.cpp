#include "core/byte_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvella {
namespace {

// Double-byte characters whose trail byte is a character of its own in ASCII:
// 丂 = 81 40 ("@"), 乗 = 81 5C ("\"), 镕 = E9 46 ("F"), 十 = CA AE; a four-byte character
// (ß, U+00DF) is 81 30 89 38, with digits as its second and fourth bytes.
const std::string kAtTrail = "\x81\x40";
const std::string kBackslashTrail = "\x81\x5C";
const std::string kLetterTrail = "\xE9\x46";
const std::string kFourByte = "\x81\x30\x89\x38";

std::vector<std::size_t> lengths(const std::string& text) {
    std::vector<std::size_t> result;
    for (std::size_t i = 0; i < text.size(); i += characterLength(text, i)) {
        result.push_back(characterLength(text, i));
    }
    return result;
}

TEST(CharacterWalk, TellsOneTwoAndFourByteCharacters) {
    struct Case {
        std::string text;
        std::vector<std::size_t> lengths;
    };
    const std::vector<Case> cases = {
        {"ab", {1, 1}},
        {kAtTrail + "a", {2, 1}},
        {kLetterTrail + kBackslashTrail, {2, 2}},
        {kFourByte + "x", {4, 1}},
        {"\x81", {1}},               // a lead byte at the very end
        {"\x81\x7F", {1, 1}},        // 0x7F is no trail byte
        {"\x81\x20x", {1, 1, 1}},    // nor is a blank
        {"\x81\x30\x81", {1, 1, 1}}, // a four-byte character cut short
        {"\x81\x30\x81\x30", {4}},   // ... and whole
        {"\x80\xFF", {1, 1}},        // bytes that lead nothing
        {std::string("\x81\0", 2), {1, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lengths(c.text), c.lengths) << testing::PrintToString(c.text);
    }
}

TEST(CharacterWalk, BoundariesFollowTheWalk) {
    const std::string text = "a" + kAtTrail + kFourByte;
    const std::vector<bool> expected = {true, true, false, true, false, false, false, true};
    for (std::size_t pos = 0; pos <= text.size(); ++pos) {
        EXPECT_EQ(isCharacterBoundary(text, pos), expected[pos]) << pos;
    }
}

TEST(Trimming, RemovesControlBytesAndBlanksButNeverHighBytes) {
    struct Case {
        std::string text, expected;
    };
    const std::vector<Case> cases = {
        {"  word\t\r\n", "word"},
        {std::string("\0\x01 a b \x1F\x20", 7), "a b"},
        {" \xA1\xA1 ", "\xA1\xA1"}, // the ideographic space stays
        {"\x81\x40\x20", "\x81\x40"},
        {"\xFF\x80", "\xFF\x80"},
        {" \t ", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(trimmed(c.text)), c.expected) << testing::PrintToString(c.text);
    }
}

TEST(Lowering, ChangesOnlyAsciiLettersThatStandAlone) {
    EXPECT_EQ(lowerAscii("ABC xyz 09 @Z"), "abc xyz 09 @z");
    EXPECT_EQ(lowerAscii(kLetterTrail + "B"), kLetterTrail + "b"); // E9 46 keeps its "F"
    EXPECT_EQ(lowerAscii("\x81\x41\x41"), "\x81\x41\x61");         // 81 41 is a character, then "A"
    EXPECT_EQ(lowerAscii(kFourByte), kFourByte);
}

TEST(Find, MatchesOnlyAtCharacterBoundaries) {
    struct Case {
        std::string text, needle;
        std::size_t from, expected;
    };
    constexpr auto none = std::string_view::npos;
    const std::vector<Case> cases = {
        {"This is it", "is", 0, 2},
        {"This is it", "is", 3, 5},
        {"This is it", "IS", 0, none}, // case counts
        {"abc", "", 0, none},
        {"ab", "abc", 0, none},
        {"x" + kAtTrail + "@", "@", 0, 3}, // the trail "@" is passed over
        {kLetterTrail + "F", "F", 0, 2},   // so is the trail "F"
        {kBackslashTrail, "\\", 0, none},
        {"\xB0\xA1\xB0\xA1", "\xA1\xB0", 0, none}, // straddling two characters
        {"\xB0\xA1\xB0\xA1", "\xB0\xA1", 1, 2},
        {"\xB0\xA1x", "\xB0", 0, none}, // ends inside a character
        {"x\xB0", "\xB0", 0, 1},        // a lone lead byte is whole
        {kFourByte + "0", "0", 0, 4},   // digits inside a four-byte character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(findText(c.text, c.needle, c.from), c.expected)
            << testing::PrintToString(c.text) << " / " << testing::PrintToString(c.needle);
    }
    EXPECT_TRUE(containsText("and", "an"));
    EXPECT_FALSE(containsText("and", ""));
}

} // namespace
} // namespace quorvella
