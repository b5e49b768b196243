#pragma once
// Writing course text in tests: GBK bytes from UTF-8, and lines joined with CR LF as the data
// files have them.

#include "core/gbk_codec.h"

#include <QString>
#include <string>
#include <vector>

namespace quorvella {

inline std::string gbk(const char* utf8) {
    return encodeGbk(QString::fromUtf8(utf8));
}

inline std::string crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

} // namespace quorvella
