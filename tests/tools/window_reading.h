#pragma once
// How the lesson window reads a lesson file, written out again for the tests: the file's lines,
// each followed by CR LF, decoded with the key, up to the first 0 byte.

#include "core/line_readers.h"
#include "lessons/tedstr.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvella::testing_tools {

inline std::string windowReading(std::string_view fileBytes, std::uint16_t key) {
    std::string joined;
    for (const std::string& line : splitLines(fileBytes)) {
        joined += line + "\r\n";
    }
    const std::string decoded = tedstr::decode(joined, key);
    return decoded.substr(0, decoded.find('\0'));
}

} // namespace quorvella::testing_tools
