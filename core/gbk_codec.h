#pragma once
// Converts byte text (GBK, read as GB18030) to QString for display and back, and maps byte
// offsets to QString positions. Deciding where characters start is byte_text.h's job.

#include <QString>
#include <QStringView>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvella {

// Decodes as GB18030; a byte that starts no valid character becomes U+FFFD.
QString decodeGbk(std::string_view bytes);

// Encodes as GB18030, which has a form for every Unicode character.
std::string encodeGbk(QStringView text);

// A byte text decoded, with the positions of one mapped to the other. Every character of the
// bytes (as byte_text.h walks them) becomes one or two UTF-16 units of the text.
class DecodedText {
public:
    explicit DecodedText(std::string_view bytes);

    const QString& text() const { return m_text; }

    // The QString position of the character holding byteOffset (0..byte size); an offset
    // inside a character gives that character's start.
    qsizetype position(std::size_t byteOffset) const;

    // The byte offset of the character holding position (0..text size); the second unit of a
    // surrogate pair gives its character's start.
    std::size_t byteOffset(qsizetype position) const;

private:
    QString m_text;
    std::vector<qsizetype> m_positionOfByte;   // size: bytes + 1
    std::vector<std::size_t> m_byteOfPosition; // size: units + 1
};

} // namespace quorvella
