#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace quillon::cli {

struct TInfoOptions {
    std::vector<std::string> Files;
    int Detail = 1;
    bool Json = false;
};

struct TActionsOptions {
    std::string File;
    bool Raw = false;
    bool Json = false;
};

int RunInfo(const TInfoOptions& options, std::ostream& out, std::ostream& err);
int RunActions(const TActionsOptions& options, std::ostream& out, std::ostream& err);

} // namespace quillon::cli
