// The word details "dat/bookw.txt": the input's first line is the word looked up, the rest the
// details file. A word's details are always six fields, none empty.

#include "fuzz/fuzz_input.h"
#include "vocabulary/word_groups.h"

using namespace quorvella;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFolder scratch;
    const fuzz::FirstLine input = fuzz::firstLine(fuzz::bytesOf(data, size));
    scratch.write(QStringLiteral("dat/bookw.txt"), input.rest);

    WordGroups groups(scratch.folder());
    groups.splite2(input.line);
    for (const std::string& field : groups.details().fields) {
        fuzz::check(!field.empty());
    }
    return 0;
}
