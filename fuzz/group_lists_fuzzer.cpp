// The group lists "ti.txt" and "ai.txt" and opening each group: the input's parts are the two
// group lists, then the word lists by lesson and by letter that the groups are opened from.

#include "core/app_error.h"
#include "core/line_readers.h"
#include "fuzz/fuzz_input.h"
#include "vocabulary/word_groups.h"

using namespace quorvella;

namespace {

void openEveryGroup(WordGroups& groups) {
    const int entries = int(groups.groupList().size());
    for (int position = -1; position <= std::min(entries, 12); ++position) {
        try {
            groups.openGroup(position);
            fuzz::check(position >= 0 && position < entries);
            fuzz::check(groups.count() == groups.words().size());
        } catch (const AppError&) {
            fuzz::check(position < 0 || position >= entries);
        }
    }
    if (entries > 12) {
        groups.openGroup(entries - 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFolder scratch;
    const std::vector<std::string_view> files = fuzz::parts(fuzz::bytesOf(data, size), 4);
    scratch.write(QStringLiteral("ti.txt"), files[0]);
    scratch.write(QStringLiteral("ai.txt"), files[1]);
    scratch.write(QStringLiteral("dat/kwdc1.txt"), files[2]);
    scratch.write(QStringLiteral("dat/kwdc2.txt"), files[3]);

    WordGroups groups(scratch.folder());
    groups.setMode(GroupingMode::ByLesson);
    fuzz::check(groups.groupList() == splitLines(files[0]));
    openEveryGroup(groups);
    groups.setMode(GroupingMode::ByLetter);
    fuzz::check(groups.groupList() == splitLines(files[1]));
    openEveryGroup(groups);
    return 0;
}
