#pragma once
// Prepares a text for an English voice: Chinese characters are skipped (their punctuation kept
// as ASCII punctuation), and the text is cut into sentences that are synthesised one by one.

#include <QString>
#include <QStringList>

namespace quorvella {

// Chinese characters become blanks, full-width punctuation and letters their ASCII forms. With
// asciiOnly, accented letters lose their accents and every other character becomes a blank.
QString speakableText(const QString& text, bool asciiOnly);

// Cuts text after each sentence end (".", "!", "?", ";", ":" before a blank) and at line
// breaks, and a run longer than maxLength at its last blank; pieces with nothing but blanks are
// dropped.
QStringList sentencesOf(const QString& text, qsizetype maxLength = 400);

} // namespace quorvella
