#pragma once
// Running quorvella-data in a test: its exit status and what it printed, from the arguments and
// what it reads on standard input.

#include "tools/data_tool.h"

#include <sstream>
#include <string>
#include <vector>

namespace quorvella {

struct ToolRun {
    int status;
    std::string out, err;
};

inline ToolRun runTool(const std::vector<std::string>& args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = runDataTool(args, in, out, err);
    return {status, out.str(), err.str()};
}

} // namespace quorvella
