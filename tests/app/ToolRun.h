// Runs a command-line tool in the test's own process and keeps what it said.
#pragma once

#include "app/CommandLine.h"

#include <sstream>
#include <string>
#include <vector>

namespace lumivane::testing {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

inline ToolRun runTool(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runLongOption("lumivane", args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace lumivane::testing
