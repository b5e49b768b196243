#include "speech/speech_text.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

TEST(SpeechText, ChineseIsSkippedAndItsPunctuationKept) {
    struct Case {
        QString text;
        bool asciiOnly;
        QString expected;
    };
    const std::vector<Case> cases = {
        {QStringLiteral(u"Hello，世界。Bye！"), false, QStringLiteral(u"Hello,  .Bye!")},
        {QStringLiteral(u"“Ｑuick”—café"), false, QStringLiteral(u"\"Quick\"-café")},
        {QStringLiteral(u"café ɪt"), true, QStringLiteral(u"cafe  t")},
        {QStringLiteral(u"放弃 abandon"), true, QStringLiteral(u"   abandon")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(speakableText(c.text, c.asciiOnly), c.expected) << c.text.toStdString();
    }
}

TEST(SpeechText, SentencesEndAtStopsAndLineBreaks) {
    EXPECT_EQ(sentencesOf(QStringLiteral("One. Two? 3.5 is a number!\n\n  Four")),
              (QStringList{QStringLiteral("One."), QStringLiteral(" Two?"),
                           QStringLiteral(" 3.5 is a number!"), QStringLiteral("  Four")}));
    EXPECT_EQ(sentencesOf(QStringLiteral(" \r\n ")), QStringList());
    const QStringList pieces = sentencesOf(QStringLiteral("word ").repeated(200), 100);
    EXPECT_EQ(pieces.join(QString()), QStringLiteral("word ").repeated(200));
    for (const QString& piece : pieces) {
        EXPECT_LE(piece.size(), 100);
        EXPECT_TRUE(piece.endsWith(u' '));
    }
}

} // namespace
} // namespace quorvella
