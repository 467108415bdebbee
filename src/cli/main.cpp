#include "cli/Cli.h"

#include "core/platform/Console.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    quillon::UseUtf8Console();
    const std::vector<std::string> args = quillon::CommandLineArguments(argc, argv);
    const int status = quillon::cli::RunCli(args, std::cout, std::cerr);
    // Output that could not be written (a full disk, a closed pipe) is a failure, never a success.
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "quillon-cli: the output could not be written\n";
        return status == 0 ? 1 : status;
    }
    return status;
}
