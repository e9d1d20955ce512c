#pragma once

// Runs the command-line tool in-process and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace anitrope::test {

struct CliResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline CliResult RunCliWith(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliResult result;
    result.status = RunCli(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

}  // namespace anitrope::test
