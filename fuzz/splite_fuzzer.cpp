// splite on any line: no field is empty and no field holds an "@" that is a character of its own;
// the mock test's row of the line, and the character walks that splitting relies on.

#include "core/byte_text.h"
#include "core/splite.h"
#include "fuzz/fuzz_input.h"
#include "mocktest/mock_test.h"

using namespace quorvella;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::bytesOf(data, size);
    const std::vector<std::string> fields = splite(input);
    std::size_t total = 0;
    for (const std::string& field : fields) {
        fuzz::check(!field.empty());
        for (std::size_t pos = 0; pos < field.size(); pos += characterLength(field, pos)) {
            fuzz::check(field[pos] != '@' || characterLength(field, pos) != 1);
        }
        total += field.size();
    }
    fuzz::check(total <= input.size() + fields.size());

    const QuestionRecord record = questionRecord(input, 1);
    fuzz::check(!record.question.empty() && !record.answer.empty() && !record.explanation.empty());
    lowerAscii(input);
    findText(input, trimmed(input.substr(input.size() / 2)));
    return 0;
}
