// The course word lists "dat/kwdc1.txt" (by lesson) and "dat/kwdc2.txt" (alphabetical): the
// input's first line is the group key and the search text, the rest the word list.

#include "fuzz/fuzz_input.h"
#include "vocabulary/word_groups.h"

using namespace quorvella;

namespace {

void checkRecords(const WordGroups& groups, int expected) {
    fuzz::check(groups.count() == expected && groups.words().size() == expected);
    int number = 0;
    for (const WordRecord& record : groups.words().records()) {
        fuzz::check(record.number == ++number);
        for (std::size_t field = 1; field <= 4; ++field) {
            fuzz::check(!record.field(field).empty());
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFolder scratch;
    const fuzz::FirstLine input = fuzz::firstLine(fuzz::bytesOf(data, size));
    scratch.write(QStringLiteral("dat/kwdc1.txt"), input.rest);
    scratch.write(QStringLiteral("dat/kwdc2.txt"), input.rest);

    WordGroups groups(scratch.folder());
    groups.loaddata1(input.line);
    checkRecords(groups, groups.words().size());
    groups.words().clear();
    groups.loaddata2(input.line);
    checkRecords(groups, groups.words().size());
    const int found = groups.searchLessonWords(input.line);
    checkRecords(groups, found);
    return 0;
}
