#include "core/gbk_codec.h"

#include "core/byte_text.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <QStringEncoder>

#include <type_traits>
#include <vector>

namespace quorvella {

namespace {

constexpr auto kCodecName = "GB18030";

// UTF-16 units of a well-formed character: four-byte characters with a lead of 0x90-0xE3 lie
// beyond the Basic Multilingual Plane.
qsizetype unitsOfValidCharacter(std::string_view bytes, std::size_t pos, std::size_t length) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    return length == 4 && lead >= 0x90 && lead <= 0xE3 ? 2 : 1;
}

// Characters decoded in one go.
constexpr std::size_t kRunCharacters = 1024;

QByteArrayView viewOf(std::string_view bytes) {
    return QByteArrayView(bytes.data(), qsizetype(bytes.size()));
}

// Decodes the characters of a text a run at a time with one decoder. A run with a fault is
// halved until the fault is one character, which becomes U+FFFD, so that a fault neither shifts
// the positions of the characters after it nor slows the rest of the text down.
template <typename OnCharacter>
class CharacterDecoder {
public:
    CharacterDecoder(std::string_view bytes, OnCharacter& onCharacter)
        : m_bytes(bytes), m_onCharacter(onCharacter) {
        m_text.reserve(qsizetype(bytes.size()));
    }

    QString decode() {
        for (std::size_t start = 0; start < m_bytes.size();) {
            m_starts.clear();
            std::size_t end = start;
            while (end < m_bytes.size() && m_starts.size() < kRunCharacters) {
                m_starts.push_back(end);
                end += characterLength(m_bytes, end);
            }
            m_starts.push_back(end);
            decodeCharacters(0, m_starts.size() - 1);
            start = end;
        }
        return std::move(m_text);
    }

private:
    // The run's characters first..last-1.
    void decodeCharacters(std::size_t first, std::size_t last) {
        qsizetype units = 0;
        for (std::size_t i = first; i < last; ++i) {
            units += unitsOfValidCharacter(m_bytes, m_starts[i], m_starts[i + 1] - m_starts[i]);
        }
        const std::string_view bytes =
            m_bytes.substr(m_starts[first], m_starts[last] - m_starts[first]);
        bool failed = false;
        QString decoded = decodeBytes(bytes, failed);
        const bool whole = !failed && decoded.size() == units;
        if (whole || last - first == 1) {
            if (failed || decoded.isEmpty()) {
                // A lone fault, or the start of a character cut off by the end of the text.
                decoded = QString(QChar::ReplacementCharacter);
            }
            m_text += decoded;
            for (std::size_t i = first; i < last; ++i) {
                const std::size_t length = m_starts[i + 1] - m_starts[i];
                m_onCharacter(m_starts[i], length,
                              whole ? unitsOfValidCharacter(m_bytes, m_starts[i], length)
                                    : decoded.size());
            }
            return;
        }
        const std::size_t middle = first + (last - first) / 2;
        decodeCharacters(first, middle);
        decodeCharacters(middle, last);
    }

    // A decoder's error stays with it, so a fault costs a new one.
    QString decodeBytes(std::string_view bytes, bool& failed) {
        m_decoder.resetState();
        QString decoded = m_decoder.decode(viewOf(bytes));
        failed = m_decoder.hasError();
        if (failed) {
            m_decoder = QStringDecoder(kCodecName);
        }
        return decoded;
    }

    std::string_view m_bytes;
    OnCharacter& m_onCharacter;
    QStringDecoder m_decoder{kCodecName};
    QString m_text;
    std::vector<std::size_t> m_starts; // of the run's characters, and its end
};

// Calls onCharacter(bytePos, byteLength, unitCount) for every character and returns the text.
template <typename OnCharacter>
QString decodeCharacters(std::string_view bytes, OnCharacter&& onCharacter) {
    return CharacterDecoder<std::remove_reference_t<OnCharacter>>(bytes, onCharacter).decode();
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
