// The whole-file line reader (catalogues, group lists, lesson files): the file read as lines must
// be its bytes split as splitLines does, and no line may hold a break or a 0 byte.

#include "core/line_readers.h"
#include "fuzz/fuzz_input.h"

using namespace quorvella;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFolder scratch;
    static const QString path = scratch.folder().path(u"lines.txt");
    const std::string_view input = fuzz::bytesOf(data, size);
    scratch.write(QStringLiteral("lines.txt"), input);

    fuzz::check(readFileBytes(path) == input);
    const std::vector<std::string> lines = readFileLines(path);
    fuzz::check(lines == splitLines(input));
    std::size_t kept = 0;
    for (const std::string& line : lines) {
        fuzz::check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
        kept += line.size();
    }
    fuzz::check(kept <= input.size());
    return 0;
}
