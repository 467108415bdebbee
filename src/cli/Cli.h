#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace quillon::cli {

/// Runs quillon-cli with the given arguments (without the program name) and streams.
/// Returns the exit status: 0 success, 1 a file failed, 2 a usage error.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
/// The same with the stream that answers questions (rename --interactive).
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace quillon::cli
