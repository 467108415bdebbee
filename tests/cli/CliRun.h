#pragma once

#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace quillon::testing {

/// One in-process run of quillon-cli with its own streams.
struct TRun {
    int Status;
    std::string Out;
    std::string Err;
};

inline TRun Cli(std::vector<std::string> args, const std::string& input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = cli::RunCli(args, in, out, err);
    return {status, out.str(), err.str()};
}

} // namespace quillon::testing
