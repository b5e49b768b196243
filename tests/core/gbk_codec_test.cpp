#include "core/gbk_codec.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace quorvella {
namespace {

TEST(GbkCodec, DecodesGbkAndGb18030Characters) {
    struct Case {
        std::string bytes;
        QString text;
    };
    const std::vector<Case> cases = {
        {"plain", QStringLiteral("plain")},
        {"\xD6\xD0\xCE\xC4", QStringLiteral(u"中文")},
        {"\xE9\x46", QStringLiteral(u"镕")},                    // GBK only, not GB2312
        {"\x81\x30\x89\x38", QStringLiteral(u"\u00DF")},        // four bytes, one unit
        {"\x95\x32\x82\x36", QString::fromUcs4(U"\U00020000")}, // four bytes, a surrogate pair
        {"a\x80z", QStringLiteral(u"a\uFFFDz")},                // no character of GB18030
        {"\xB0", QStringLiteral(u"\uFFFD")},                    // a lead byte cut off
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeGbk(c.bytes), c.text) << testing::PrintToString(c.bytes);
        EXPECT_EQ(DecodedText(c.bytes).text(), c.text);
    }
}

TEST(GbkCodec, EncodesBackToTheSameBytes) {
    const std::string bytes = "Lesson \xD6\xD0\xCE\xC4 \xE9\x46 \x81\x30\x89\x38 \x95\x32\x82\x36";
    EXPECT_EQ(encodeGbk(decodeGbk(bytes)), bytes);
    EXPECT_EQ(encodeGbk(QStringLiteral(u"ɪ")), "\x81\x30\xAE\x31"); // IPA has a GB18030 form
}

TEST(DecodedText, MapsByteOffsetsToPositionsBothWays) {
    // a | 中 (2 bytes) | ß (4 bytes, 1 unit) | U+20000 (4 bytes, 2 units) | bad byte | z
    const std::string bytes = "a\xD6\xD0\x81\x30\x89\x38\x95\x32\x82\x36\x80z";
    const DecodedText decoded(bytes);
    ASSERT_EQ(decoded.text().size(), 7);

    const std::vector<qsizetype> positionOfByte = {0, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 5, 6, 7};
    for (std::size_t offset = 0; offset <= bytes.size(); ++offset) {
        EXPECT_EQ(decoded.position(offset), positionOfByte[offset]) << offset;
    }
    const std::vector<std::size_t> byteOfPosition = {0, 1, 3, 7, 7, 11, 12, 13};
    for (qsizetype position = 0; position <= decoded.text().size(); ++position) {
        EXPECT_EQ(decoded.byteOffset(position), byteOfPosition[std::size_t(position)]) << position;
    }
}

TEST(DecodedText, AFaultDoesNotShiftTheCharactersAfterIt) {
    // A lead byte followed by a blank: the lead alone is one character.
    const DecodedText decoded("\xB0 \xD6\xD0");
    EXPECT_EQ(decoded.text(), QStringLiteral(u"\uFFFD 中"));
    EXPECT_EQ(decoded.position(2), 2);
    EXPECT_EQ(decoded.byteOffset(2), 2u);
}

// A long text is decoded a run of characters at a time: faults anywhere in it, at the edges of a
// run too, each become one U+FFFD, and every other character and position stays in place.
TEST(DecodedText, FaultsInALongTextEachBecomeOneReplacement) {
    const std::vector<std::string> characterBytes = {"a", "b", "\xD6\xD0", "\x95\x32\x82\x36"};
    const QStringList characterTexts = {QStringLiteral("a"), QStringLiteral("b"),
                                        QStringLiteral(u"中"), QString::fromUcs4(U"\U00020000")};
    // Before which of 4,000 characters a stray byte lies.
    for (const std::vector<int>& faults : std::vector<std::vector<int>>{
             {0}, {1023}, {1024}, {1025}, {2047, 2048}, {10, 900, 1800, 3999}}) {
        std::string bytes;
        QString text;
        std::vector<std::size_t> faultBytes;
        for (int character = 0; character < 4000; ++character) {
            if (std::find(faults.begin(), faults.end(), character) != faults.end()) {
                faultBytes.push_back(bytes.size());
                bytes += '\x80';
                text += QChar::ReplacementCharacter;
            }
            bytes += characterBytes[std::size_t(character % 4)];
            text += characterTexts[character % 4];
        }
        const DecodedText decoded(bytes);
        ASSERT_EQ(decoded.text(), text) << testing::PrintToString(faults);
        EXPECT_EQ(decodeGbk(bytes), text);
        for (const std::size_t at : faultBytes) {
            const qsizetype position = decoded.position(at);
            EXPECT_EQ(decoded.text().at(position), QChar::ReplacementCharacter);
            EXPECT_EQ(decoded.byteOffset(position), at);
            EXPECT_EQ(decoded.position(at + 1), position + 1);
        }
    }
}

} // namespace
} // namespace quorvella
