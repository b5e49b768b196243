#include "speech/speech_text.h"

namespace quorvella {

namespace {

bool isChinese(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// The ASCII stand-in of a punctuation mark or full-width character, or 0 when it has none.
char32_t asciiForm(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) {
        return c - 0xFEE0; // full-width ASCII
    }
    switch (c) {
    case 0x3000:
        return ' ';
    case 0x3001:
        return ',';
    case 0x3002:
        return '.';
    case 0x2018:
    case 0x2019:
        return '\'';
    case 0x201C:
    case 0x201D:
        return '"';
    case 0x2013:
    case 0x2014:
        return '-';
    case 0x2026:
        return '.';
    case 0x300A:
    case 0x3008:
        return '<';
    case 0x300B:
    case 0x3009:
        return '>';
    case 0x3010:
        return '[';
    case 0x3011:
        return ']';
    default:
        return 0;
    }
}

bool endsSentence(QChar c) {
    return c == u'.' || c == u'!' || c == u'?' || c == u';' || c == u':';
}

} // namespace

QString speakableText(const QString& text, bool asciiOnly) {
    QString result;
    result.reserve(text.size());
    for (const char32_t c : text.toUcs4()) {
        if (const char32_t ascii = asciiForm(c); ascii != 0) {
            result += QChar(ascii);
        } else if (isChinese(c) || (c >= 0xD800 && c <= 0xDFFF)) {
            result += c > 0xFFFF ? QStringLiteral("  ") : QStringLiteral(" ");
        } else if (!asciiOnly || c < 0x80) {
            result += QString::fromUcs4(&c, 1);
        } else {
            // An accented letter keeps its base letter; anything else is not spoken.
            const QString decomposed =
                QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
            if (decomposed.at(0).unicode() < 0x80) {
                result += decomposed.at(0);
            } else {
                result += c > 0xFFFF ? QStringLiteral("  ") : QStringLiteral(" ");
            }
        }
    }
    return result;
}

std::optional<TextPiece> nextSentencePiece(const QString& text, qsizetype& from,
                                           qsizetype maxLength) {
    while (from < text.size()) {
        const qsizetype start = from;
        qsizetype end = text.size(); // one past the piece
        for (qsizetype i = start; i < text.size(); ++i) {
            const QChar c = text.at(i);
            const bool lineBreak = c == u'\n' || c == u'\r';
            const bool sentenceEnd =
                endsSentence(c) && (i + 1 == text.size() || text.at(i + 1).isSpace());
            if (lineBreak || sentenceEnd) {
                end = i + 1;
                break;
            }
            if (i + 1 - start >= maxLength) {
                const qsizetype blank = text.lastIndexOf(u' ', i);
                end = blank > start ? blank + 1 : i + 1;
                break;
            }
        }
        from = end;
        QString piece = text.mid(start, end - start);
        if (!piece.trimmed().isEmpty()) {
            return TextPiece{start, std::move(piece)};
        }
    }
    return std::nullopt;
}

} // namespace quorvella
