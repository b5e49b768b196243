// The line-by-line reader (word lists, word banks, the question bank) against the rule it keeps:
// a Ctrl-Z ends the file, LF ends a line, every CR is dropped, and a last line without LF is a
// line when any byte is left for it.

#include "core/line_readers.h"
#include "fuzz/fuzz_input.h"

using namespace quorvella;

namespace {

std::vector<std::string> expectedLines(std::string_view input) {
    input = input.substr(0, input.find('\x1A'));
    std::vector<std::string> lines;
    while (!input.empty()) {
        const std::size_t end = std::min(input.find('\n'), input.size());
        std::string line;
        for (const char c : input.substr(0, end)) {
            if (c != '\r') {
                line += c;
            }
        }
        lines.push_back(std::move(line));
        input.remove_prefix(std::min(end + 1, input.size()));
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFolder scratch;
    static const QString path = scratch.folder().path(u"stream.txt");
    const std::string_view input = fuzz::bytesOf(data, size);
    scratch.write(QStringLiteral("stream.txt"), input);

    LineReader reader(path);
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line)) {
        lines.push_back(line);
    }
    fuzz::check(line.empty() && reader.atEnd() && !reader.readLine(line));
    fuzz::check(lines == expectedLines(input));
    return 0;
}
