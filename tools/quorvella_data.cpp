// quorvella-data: the command-line tool for course authors.

#include "tools/data_tool.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return quorvella::runDataTool(args, std::cin, std::cout, std::cerr);
}
