#include "tools/data_tool.h"

#include "core/app_error.h"
#include "core/line_readers.h"
#include "lessons/tedstr.h"
#include "tools/installation_check.h"
#include "tools/lesson_file.h"
#include "tools/sample_course.h"

#include <QFileInfo>
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
  decode --key KEY [FILE]            Decode an encoded lesson or translation file.
  encode --key KEY [FILE]            Encode plain bytes into the encoded form.
  encode --lesson --key KEY [FILE]   Make a lesson file of the plain text: its lines joined
                                     with CR LF, padded with blanks at line ends (and perhaps
                                     a final CR LF) so that the lesson window's decoding
                                     stops right at the lesson's end; one encoded line and
                                     CR LF.
  sample [--from SOURCE] DIR         Write the sample course into DIR, made from the UTF-8
                                     sources in SOURCE (default: the sources installed with
                                     the tool, ../share/quorvella/sample beside its folder).
  check DIR                          Read the installation in DIR as quorvella does and report
                                     each problem, then one summary line.
  --help                             Show this help.

decode and encode read FILE, or standard input when FILE is absent, and write the result to
standard output byte for byte. KEY is the file's 16-bit key, a decimal number from 0 to 65535
(lessons 33965, translations 40353).

sample converts every text to GB18030 with CR LF line ends and encodes the lessons; it writes
nothing when a source is missing or faulty, and names it: "file:line: what".

check writes one line per problem to standard output, "file:line: problem" (file relative to
DIR; "file: problem" for a whole file, such as a missing one), then "no problems" or
"N problems in M files".

Exit status: 0 on success, 1 when a file cannot be read or written, a source is faulty or check
finds a problem, 2 on a wrong command line.
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

struct Options {
    std::optional<std::uint16_t> key;
    std::optional<std::string> from;
    bool lesson = false;
    std::optional<std::string> file;
};

// Reads the options after the command; the result is the exit status of a wrong command line.
std::optional<int> parseOptions(const std::vector<std::string>& args, Options& options,
                                std::ostream& err) {
    const std::string& command = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool takesValue = (arg == "--key" && (command == "decode" || command == "encode")) ||
                                (arg == "--from" && command == "sample");
        if (takesValue && i + 1 >= args.size()) {
            return usageError(err, arg + " needs a value");
        }
        if (takesValue && arg == "--key") {
            options.key = parseKey(args[++i]);
            if (!options.key) {
                return usageError(err, "the key \"" + args[i] +
                                           "\" is not a decimal number from 0 to 65535");
            }
        } else if (takesValue) {
            options.from = args[++i];
        } else if (arg == "--lesson" && command == "encode") {
            options.lesson = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError(err, "unknown option \"" + arg + "\"");
        } else if (options.file) {
            return usageError(err, "more than one file given");
        } else {
            options.file = arg;
        }
    }
    return std::nullopt;
}

QString localPath(const std::string& path) {
    return QString::fromLocal8Bit(path.c_str());
}

int writeSample(const Options& options, std::ostream& out, std::ostream& err) {
    if (!options.file) {
        return usageError(err, "sample needs the folder DIR to write into");
    }
    try {
        const QString source = options.from ? localPath(*options.from) : defaultSampleSource();
        if (!options.from && !QFileInfo(source).isDir()) {
            err << "quorvella-data: there are no sample sources beside the tool ("
                << source.toStdString() << "); name a folder of them with --from SOURCE\n";
            return kToolFileError;
        }
        const std::vector<InstallationFile> files = makeSampleCourse(source);
        writeInstallation(files, localPath(*options.file));
        out << "quorvella-data: wrote " << files.size() << " files of the sample course into "
            << *options.file << '\n';
        return kToolOk;
    } catch (const SourceError& error) {
        err << error.what() << '\n';
    } catch (const AppError& error) {
        err << "quorvella-data: " << error.what() << '\n';
    }
    return kToolFileError;
}

int checkInstallation(const Options& options, std::ostream& out, std::ostream& err) {
    if (!options.file) {
        return usageError(err, "check needs the folder DIR to check");
    }
    const QString folder = localPath(*options.file);
    if (!QFileInfo(folder).isDir()) {
        err << "quorvella-data: \"" << *options.file << "\" is not a folder\n";
        return kToolFileError;
    }
    const std::vector<InstallationProblem> problems = InstallationCheck(folder).run();
    for (const InstallationProblem& problem : problems) {
        out << formatProblem(problem) << '\n';
    }
    out << problemSummary(problems) << '\n';
    out.flush();
    return problems.empty() && out ? kToolOk : kToolFileError;
}

} // namespace

int runDataTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
    if (args.empty()) {
        return usageError(err, "no command given");
    }
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return kToolOk;
        }
    }
    const std::string& command = args[0];
    if (command != "decode" && command != "encode" && command != "sample" && command != "check") {
        return usageError(err, "unknown command \"" + command + "\"");
    }
    Options options;
    if (const std::optional<int> status = parseOptions(args, options, err)) {
        return *status;
    }
    if (command == "sample") {
        return writeSample(options, out, err);
    }
    if (command == "check") {
        return checkInstallation(options, out, err);
    }
    if (!options.key) {
        return usageError(err, command + " needs --key KEY");
    }

    std::string input;
    if (options.file) {
        try {
            input = readFileBytes(localPath(*options.file));
        } catch (const AppError& error) {
            err << "quorvella-data: " << error.what() << '\n';
            return kToolFileError;
        }
    } else {
        input.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string output;
    if (command == "decode") {
        output = tedstr::decode(input, *options.key);
    } else if (options.lesson) {
        output = makeLessonFile(splitLines(input), *options.key).bytes;
    } else {
        output = tedstr::encode(input, *options.key);
    }
    out.write(output.data(), std::streamsize(output.size()));
    out.flush();
    return out ? kToolOk : kToolFileError;
}

} // namespace quorvella
