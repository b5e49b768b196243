#include "lessons/tedstr.h"

#include <algorithm>
#include <array>

namespace quorvella::tedstr {

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::uint8_t, 256> makeValueTable() {
    std::array<std::uint8_t, 256> table{}; // every byte outside the alphabet is worth 0
    for (std::size_t value = 0; value < kAlphabet.size(); ++value) {
        table[static_cast<unsigned char>(kAlphabet[value])] = static_cast<std::uint8_t>(value);
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kValue = makeValueTable();

constexpr std::uint32_t kMultiplier = 52845;
constexpr std::uint32_t kIncrement = 22719;

// Unsigned 32-bit arithmetic: the product reaches 65790 * 52845, beyond int, and only its low
// 16 bits are kept.
std::uint16_t nextKey(std::uint16_t key, unsigned char fedBack) {
    const std::uint32_t sum = std::uint32_t{key} + std::uint32_t{fedBack};
    return static_cast<std::uint16_t>(sum * kMultiplier + kIncrement);
}

} // namespace

std::string decode(std::string_view encoded, std::uint16_t key) {
    return streamdecode(decodegroups(encoded), key);
}

std::string decodegroups(std::string_view encoded) {
    const std::size_t fullGroups = encoded.size() / 4;
    const std::size_t rest = encoded.size() % 4;
    std::string bytes(fullGroups * 3 + (rest > 0 ? rest - 1 : 0), '\0');
    const auto value = [&encoded](std::size_t i) {
        return std::uint32_t(kValue[static_cast<unsigned char>(encoded[i])]);
    };
    std::size_t out = 0;
    for (std::size_t i = 0; i < fullGroups * 4; i += 4) {
        const std::uint32_t packed =
            value(i) | value(i + 1) << 6 | value(i + 2) << 12 | value(i + 3) << 18;
        bytes[out++] = static_cast<char>(packed & 0xFF);
        bytes[out++] = static_cast<char>((packed >> 8) & 0xFF);
        bytes[out++] = static_cast<char>((packed >> 16) & 0xFF);
    }
    // A last group of n < 4 characters gives n - 1 bytes.
    std::uint32_t packed = 0;
    for (std::size_t k = 0; k < rest; ++k) {
        packed |= value(fullGroups * 4 + k) << (6 * k);
    }
    for (std::size_t k = 0; k + 1 < rest; ++k) {
        bytes[out++] = static_cast<char>((packed >> (8 * k)) & 0xFF);
    }
    return bytes;
}

std::string streamdecode(std::string_view bytes, std::uint16_t key) {
    std::string plain(bytes.size(), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        plain[i] = static_cast<char>(b ^ (key >> 8));
        key = nextKey(key, b);
    }
    return plain;
}

std::string encode(std::string_view plain, std::uint16_t key) {
    return encodegroups(streamencode(plain, key));
}

std::string encodegroups(std::string_view bytes) {
    std::string encoded;
    encoded.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t packed = 0;
        for (std::size_t k = 0; k < count; ++k) {
            packed |= std::uint32_t(static_cast<unsigned char>(bytes[i + k])) << (8 * k);
        }
        for (std::size_t k = 0; k <= count; ++k) { // n bytes give n + 1 characters
            encoded += kAlphabet[(packed >> (6 * k)) & 0x3F];
        }
    }
    return encoded;
}

std::string streamencode(std::string_view bytes, std::uint16_t key) {
    std::string encoded(bytes.size(), '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c =
            static_cast<unsigned char>(static_cast<unsigned char>(bytes[i]) ^ (key >> 8));
        encoded[i] = static_cast<char>(c);
        key = nextKey(key, c);
    }
    return encoded;
}

} // namespace quorvella::tedstr
