#include "speech/speech_text.h"

#include <gtest/gtest.h>

namespace quorvella {
namespace {

QList<TextPiece> sentencePiecesOf(const QString& text, qsizetype maxLength = 400) {
    QList<TextPiece> pieces;
    qsizetype from = 0;
    while (std::optional<TextPiece> piece = nextSentencePiece(text, from, maxLength)) {
        pieces.push_back(std::move(*piece));
    }
    return pieces;
}

QStringList sentencesOf(const QString& text, qsizetype maxLength = 400) {
    QStringList sentences;
    for (const TextPiece& piece : sentencePiecesOf(text, maxLength)) {
        sentences << piece.text;
    }
    return sentences;
}

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
        // Characters outside the BMP keep their two units, so positions stay the same.
        {QStringLiteral(u"a\U00020000b\U0001F600c"), true, QStringLiteral(u"a  b  c")},
        {QStringLiteral(u"\U00020000x\U0001F600"), false, QStringLiteral(u"  x\U0001F600")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(speakableText(c.text, c.asciiOnly), c.expected) << c.text.toStdString();
        EXPECT_EQ(speakableText(c.text, c.asciiOnly).size(), c.text.size());
    }
}

TEST(SpeechText, SentencesEndAtStopsAndLineBreaks) {
    EXPECT_EQ(sentencesOf(QStringLiteral("One. Two? 3.5 is a number!\n\n  Four")),
              (QStringList{QStringLiteral("One."), QStringLiteral(" Two?"),
                           QStringLiteral(" 3.5 is a number!"), QStringLiteral("  Four")}));
    EXPECT_EQ(sentencesOf(QStringLiteral(" \r\n ")), QStringList());
    const QString text = QStringLiteral("One. Two?\r\n\r\n  Three");
    EXPECT_EQ(sentencePiecesOf(text), (QList<TextPiece>{{0, QStringLiteral("One.")},
                                                        {4, QStringLiteral(" Two?")},
                                                        {13, QStringLiteral("  Three")}}));
    const QStringList pieces = sentencesOf(QStringLiteral("word ").repeated(200), 100);
    EXPECT_EQ(pieces.join(QString()), QStringLiteral("word ").repeated(200));
    for (const QString& piece : pieces) {
        EXPECT_LE(piece.size(), 100);
        EXPECT_TRUE(piece.endsWith(u' '));
    }
}

} // namespace
} // namespace quorvella
