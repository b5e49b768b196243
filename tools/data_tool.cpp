#include "tools/data_tool.h"

#include "core/app_error.h"
#include "core/line_readers.h"
#include "lessons/tedstr.h"

#include <QString>
#include <charconv>
#include <cstdint>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>

namespace quorvella {

namespace {

constexpr const char* kUsage =
    R"(Usage: quorvella-data COMMAND [OPTIONS] [FILE]

Commands:
  decode --key KEY [FILE]   Decode an encoded lesson or translation file.
  encode --key KEY [FILE]   Encode plain bytes into the lesson file form.
  --help                    Show this help.

Both read FILE, or standard input when FILE is absent, and write the result to
standard output byte for byte. KEY is the file's 16-bit key, a decimal number
from 0 to 65535.

Exit status: 0 on success, 1 when FILE cannot be read, 2 on a wrong command line.
)";

std::optional<std::uint16_t> parseKey(const std::string& text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, 10);
    if (text.empty() || error != std::errc() || stop != end || value > 65535) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

int usageError(std::ostream& err, const std::string& what) {
    err << "quorvella-data: " << what << " (see quorvella-data --help)\n";
    return kToolUsageError;
}

} // namespace

int runDataTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
    if (args.empty()) {
        return usageError(err, "no command given");
    }
    if (args[0] == "--help" || args[0] == "-h") {
        out << kUsage;
        return kToolOk;
    }
    const std::string& command = args[0];
    if (command != "decode" && command != "encode") {
        return usageError(err, "unknown command \"" + command + "\"");
    }

    std::optional<std::uint16_t> key;
    std::optional<std::string> file;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help") {
            out << kUsage;
            return kToolOk;
        }
        if (args[i] == "--key") {
            if (i + 1 >= args.size()) {
                return usageError(err, "--key needs a value");
            }
            key = parseKey(args[++i]);
            if (!key) {
                return usageError(err, "the key \"" + args[i] +
                                           "\" is not a decimal number from 0 to 65535");
            }
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            return usageError(err, "unknown option \"" + args[i] + "\"");
        } else if (file) {
            return usageError(err, "more than one file given");
        } else {
            file = args[i];
        }
    }
    if (!key) {
        return usageError(err, command + " needs --key KEY");
    }

    std::string input;
    if (file) {
        try {
            input = readFileBytes(QString::fromLocal8Bit(file->c_str()));
        } catch (const AppError& error) {
            err << "quorvella-data: " << error.what() << '\n';
            return kToolFileError;
        }
    } else {
        input.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const std::string output =
        command == "decode" ? tedstr::decode(input, *key) : tedstr::encode(input, *key);
    out.write(output.data(), std::streamsize(output.size()));
    out.flush();
    return out ? kToolOk : kToolFileError;
}

} // namespace quorvella
