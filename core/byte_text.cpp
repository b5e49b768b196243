#include "core/byte_text.h"

namespace quorvella {

namespace {

bool isLead(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}

bool isDoubleByteTrail(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

bool isDigitByte(unsigned char b) {
    return b >= 0x30 && b <= 0x39;
}

} // namespace

std::size_t characterLength(std::string_view text, std::size_t pos) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    if (!isLead(at(pos)) || pos + 1 >= text.size()) {
        return 1;
    }
    if (isDigitByte(at(pos + 1))) {
        const bool fourByte =
            pos + 3 < text.size() && isLead(at(pos + 2)) && isDigitByte(at(pos + 3));
        return fourByte ? 4 : 1;
    }
    return isDoubleByteTrail(at(pos + 1)) ? 2 : 1;
}

bool isCharacterBoundary(std::string_view text, std::size_t pos) {
    std::size_t i = 0;
    while (i < pos) {
        i += characterLength(text, i);
    }
    return i == pos;
}

std::string_view upToFirstZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

std::string_view trimmed(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string lowerAscii(std::string_view text) {
    std::string result(text);
    for (std::size_t i = 0; i < result.size();) {
        const std::size_t length = characterLength(result, i);
        if (length == 1 && result[i] >= 'A' && result[i] <= 'Z') {
            result[i] = static_cast<char>(result[i] - 'A' + 'a');
        }
        i += length;
    }
    return result;
}

std::size_t findText(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty()) {
        return std::string_view::npos;
    }
    std::size_t boundary = 0; // the last character start known, never past a candidate
    for (std::size_t candidate = text.find(needle, from); candidate != std::string_view::npos;
         candidate = text.find(needle, candidate + 1)) {
        while (boundary < candidate) {
            boundary += characterLength(text, boundary);
        }
        if (boundary != candidate) {
            continue;
        }
        std::size_t end = candidate;
        while (end < candidate + needle.size()) {
            end += characterLength(text, end);
        }
        if (end == candidate + needle.size()) {
            return candidate;
        }
    }
    return std::string_view::npos;
}

} // namespace quorvella
