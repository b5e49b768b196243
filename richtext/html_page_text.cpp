#include "richtext/html_page_text.h"

#include "core/gbk_codec.h"

#include <QByteArrayView>
#include <QStringConverter>
#include <QStringDecoder>

#include <cctype>

namespace quorvella {

namespace {

char lowered(char c) {
    return char(std::tolower(static_cast<unsigned char>(c)));
}

std::size_t findIgnoringCase(std::string_view text, std::string_view needle, std::size_t from) {
    for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < needle.size() && lowered(text[i + k]) == needle[k]) {
            ++k;
        }
        if (k == needle.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool isNameCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
}

// The charset a meta tag names (lower case), or an empty string when it names none.
std::string charsetOfMetaTag(std::string_view tag) {
    std::size_t at = findIgnoringCase(tag, "charset", 0);
    if (at == std::string_view::npos) {
        return {};
    }
    at += 7;
    auto skip = [&](std::string_view characters) {
        while (at < tag.size() && characters.find(tag[at]) != std::string_view::npos) {
            ++at;
        }
    };
    skip(" \t\r\n");
    if (at >= tag.size() || tag[at] != '=') {
        return {};
    }
    ++at;
    skip(" \t\r\n\"'");
    std::string name;
    while (at < tag.size() && isNameCharacter(tag[at])) {
        name.push_back(lowered(tag[at++]));
    }
    return name;
}

} // namespace

bool declaresUtf8(std::string_view html) {
    std::size_t at = 0;
    while ((at = findIgnoringCase(html, "<meta", at)) != std::string_view::npos) {
        const std::size_t end = html.find('>', at);
        const std::string_view tag =
            html.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        const std::string charset = charsetOfMetaTag(tag);
        if (!charset.empty()) {
            return charset == "utf-8" || charset == "utf8";
        }
        if (end == std::string_view::npos) {
            break;
        }
        at = end;
    }
    return false;
}

QString decodeHtmlPage(std::string_view html) {
    const QByteArrayView data(html.data(), qsizetype(html.size()));
    if (const auto encoding = QStringConverter::encodingForData(data)) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(data);
    }
    if (declaresUtf8(html)) {
        return QString::fromUtf8(data);
    }
    return decodeGbk(html);
}

} // namespace quorvella
