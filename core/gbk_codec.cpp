#include "core/gbk_codec.h"

#include "core/byte_text.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <QStringEncoder>

namespace quorvella {

namespace {

constexpr auto kCodecName = "GB18030";

// UTF-16 units of a well-formed character: four-byte characters with a lead of 0x90-0xE3 lie
// beyond the Basic Multilingual Plane.
qsizetype unitsOfValidCharacter(std::string_view bytes, std::size_t pos, std::size_t length) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    return length == 4 && lead >= 0x90 && lead <= 0xE3 ? 2 : 1;
}

QString decodeWhole(std::string_view bytes, bool& failed) {
    QStringDecoder decoder(kCodecName);
    QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    failed = decoder.hasError();
    return text;
}

// Calls onCharacter(bytePos, byteLength, unitCount) for every character and returns the text.
// Well-formed text is decoded in one go; text with faults character by character, so that a
// fault cannot shift the positions of the characters after it.
template <typename OnCharacter>
QString decodeCharacters(std::string_view bytes, OnCharacter&& onCharacter) {
    bool failed = false;
    QString whole = decodeWhole(bytes, failed);
    if (!failed) {
        qsizetype units = 0;
        for (std::size_t i = 0; i < bytes.size();) {
            const std::size_t length = characterLength(bytes, i);
            units += unitsOfValidCharacter(bytes, i, length);
            i += length;
        }
        if (units == whole.size()) {
            for (std::size_t i = 0; i < bytes.size();) {
                const std::size_t length = characterLength(bytes, i);
                onCharacter(i, length, unitsOfValidCharacter(bytes, i, length));
                i += length;
            }
            return whole;
        }
    }
    QString text;
    text.reserve(qsizetype(bytes.size()));
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = characterLength(bytes, i);
        QString character = decodeWhole(bytes.substr(i, length), failed);
        if (failed || character.isEmpty()) {
            character = QString(QChar::ReplacementCharacter);
        }
        text += character;
        onCharacter(i, length, character.size());
        i += length;
    }
    return text;
}

} // namespace

QString decodeGbk(std::string_view bytes) {
    return decodeCharacters(bytes, [](std::size_t, std::size_t, qsizetype) {});
}

std::string encodeGbk(QStringView text) {
    QStringEncoder encoder(kCodecName);
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

DecodedText::DecodedText(std::string_view bytes) {
    m_positionOfByte.reserve(bytes.size() + 1);
    m_byteOfPosition.reserve(bytes.size() + 1);
    m_text = decodeCharacters(bytes, [this](std::size_t pos, std::size_t length, qsizetype units) {
        const auto position = qsizetype(m_byteOfPosition.size());
        m_positionOfByte.insert(m_positionOfByte.end(), length, position);
        m_byteOfPosition.insert(m_byteOfPosition.end(), std::size_t(units), pos);
    });
    m_positionOfByte.push_back(m_text.size());
    m_byteOfPosition.push_back(bytes.size());
}

qsizetype DecodedText::position(std::size_t byteOffset) const {
    return m_positionOfByte.at(byteOffset);
}

std::size_t DecodedText::byteOffset(qsizetype position) const {
    return m_byteOfPosition.at(std::size_t(position));
}

} // namespace quorvella
