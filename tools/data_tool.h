#pragma once
// quorvella-data, the tool for course authors: its commands, arguments and exit statuses.
// The streams are the caller's, so the tool runs the same in a process and in a test.

#include <iosfwd>
#include <string>
#include <vector>

namespace quorvella {

// Exit statuses of the tool.
enum ToolStatus : int { kToolOk = 0, kToolFileError = 1, kToolUsageError = 2 };

// args are the command-line arguments without the program name.
int runDataTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err);

} // namespace quorvella
