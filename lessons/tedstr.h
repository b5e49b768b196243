#pragma once
// The lesson text codec: encoded lesson files back to plain bytes (and, for course authors and
// tests, plain bytes to the encoded form). Reading the files is left to the lesson catalogue.

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvella::tedstr {

// Group unpacking, then the key stream.
std::string decode(std::string_view encoded, std::uint16_t key);

// Base64-alphabet characters to bytes, up to four characters at a time, the first character in
// the lowest bits; bytes outside the alphabet count as 0 and keep their place; no padding.
std::string decodegroups(std::string_view encoded);

// XOR with the high byte of a 16-bit running key fed back with each input byte. Inputs longer
// than 65535 bytes are decoded by the same rule: the key stream runs on.
std::string streamdecode(std::string_view bytes, std::uint16_t key);

// The inverse of decode: streamencode, then encodegroups.
std::string encode(std::string_view plain, std::uint16_t key);

// Three bytes to four characters; a final one or two bytes to two or three.
std::string encodegroups(std::string_view bytes);

// The key stream, feeding back each output byte.
std::string streamencode(std::string_view bytes, std::uint16_t key);

} // namespace quorvella::tedstr
