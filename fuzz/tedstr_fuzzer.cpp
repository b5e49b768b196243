// Lesson and translation files through the lesson codec: the first two bytes are the key, the
// rest the encoded text. Encoding the bytes back must give them again.

#include "core/byte_text.h"
#include "core/line_readers.h"
#include "fuzz/fuzz_input.h"
#include "lessons/lesson_study.h"
#include "lessons/tedstr.h"

using namespace quorvella;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input = fuzz::bytesOf(data, size);
    if (input.size() < 2) {
        return 0;
    }
    const auto key = static_cast<std::uint16_t>(static_cast<unsigned char>(input[0]) << 8 |
                                                static_cast<unsigned char>(input[1]));
    input.remove_prefix(2);

    const std::string plain = tedstr::decode(input, key);
    fuzz::check(plain.size() ==
                input.size() / 4 * 3 + (input.size() % 4 > 0 ? input.size() % 4 - 1 : 0));
    fuzz::check(tedstr::decode(tedstr::encode(input, key), key) == input);
    fuzz::check(tedstr::streamdecode(tedstr::streamencode(input, key), key) == input);

    const std::string lesson = uncodeLessonFile(input, key);
    lessoncounts(splitLines(upToFirstZero(lesson)));
    return 0;
}
