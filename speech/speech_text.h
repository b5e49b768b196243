#pragma once
// Prepares a text for an English voice: Chinese characters are skipped (their punctuation kept
// as ASCII punctuation), and the text is cut into sentences that are synthesised one by one.

#include <QString>
#include <QStringList>
#include <optional>

namespace quorvella {

// Chinese characters become blanks, full-width punctuation and letters their ASCII forms. With
// asciiOnly, accented letters lose their accents and every other character becomes a blank.
// Each UTF-16 unit of text gives one of the result (a character outside the BMP that becomes a
// blank gives two), so a position in the result is the same position in text.
QString speakableText(const QString& text, bool asciiOnly);

// A piece of a text and where it starts in that text.
struct TextPiece {
    qsizetype offset = 0;
    QString text;

    bool operator==(const TextPiece&) const = default;
};

// A text is cut after each sentence end (".", "!", "?", ";", ":" before a blank) and at line
// breaks, and a run longer than maxLength at its last blank; pieces with nothing but blanks are
// dropped. Returns the first piece that starts at from or after it; from moves past it. Cutting
// a text piece by piece costs no more than the pieces taken.
std::optional<TextPiece> nextSentencePiece(const QString& text, qsizetype& from,
                                           qsizetype maxLength = 400);

} // namespace quorvella
