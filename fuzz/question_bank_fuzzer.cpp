// The question bank "dat/tk.txt": the input's first line chooses the size and the group (its
// first two bytes), the rest is the bank. The chosen test is drawn, answered, graded and reset.

#include "fuzz/fuzz_input.h"
#include "mocktest/question_bank.h"
#include "tests/support/recording_message_port.h"

using namespace quorvella;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFolder scratch;
    const fuzz::FirstLine input = fuzz::firstLine(fuzz::bytesOf(data, size));
    const auto byteAt = [&input](std::size_t i) {
        return i < input.line.size() ? static_cast<unsigned char>(input.line[i]) : 0;
    };
    scratch.write(QStringLiteral("dat/tk.txt"), input.rest);

    RecordingMessagePort messages;
    QuestionBank bank(scratch.folder(), messages);
    bank.sizeChanged(byteAt(0) % QuestionBank::kSizes);
    bank.groupChanged(byteAt(1) % QuestionBank::kGroups);
    MockTest test(messages);
    bank.draw(test);
    fuzz::check(test.rowCount() <= QuestionBank::sizeAt(bank.sizePosition()));
    for (int row = 0; row < test.rowCount(); ++row) {
        fuzz::check(test.rows()[std::size_t(row)].number == row + 1);
    }

    test.grade();
    for (int row = 0; row < test.rowCount(); row += 2) {
        test.select(row);
        test.choose(MockTest::Option((row / 2) % 4));
    }
    test.first();
    test.next();
    test.setAnswerShown(true);
    test.last();
    test.previous();
    test.grade();
    test.resetAnswers();
    test.select(-1);
    test.grade();
    test.clear();
    return 0;
}
