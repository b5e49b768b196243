#pragma once
// Byte text: GBK/GB18030 strings kept as bytes, walked character by character.
// Decoding for display lives in gbk_codec.h; reading files in line_readers.h.

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvella {

// Bytes of the character that starts at pos (pos < text.size()): 4 for a GB18030 four-byte
// character, 2 for a double-byte character (lead 0x81-0xFE, trail 0x40-0xFE but 0x7F), else 1.
// A lead byte without a valid partner is a character of its own.
std::size_t characterLength(std::string_view text, std::size_t pos);

// True when pos (0..size) is where a character starts or the end of the text.
bool isCharacterBoundary(std::string_view text, std::size_t pos);

// The text before its first 0 byte; all of it when it holds none. A pane shows no further.
std::string_view upToFirstZero(std::string_view text);

// Removes bytes 0x00-0x20 at both ends; bytes from 0x80 up are never removed.
std::string_view trimmed(std::string_view text);

// Lowers the ASCII letters A-Z that are characters of their own; a trail byte is never changed.
std::string lowerAscii(std::string_view text);

// First occurrence of needle in text at or after from that starts and ends on character
// boundaries of text, byte for byte and case-sensitive; npos when none or when needle is empty.
std::size_t findText(std::string_view text, std::string_view needle, std::size_t from = 0);

inline bool containsText(std::string_view text, std::string_view needle) {
    return findText(text, needle) != std::string_view::npos;
}

} // namespace quorvella
