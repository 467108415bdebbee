#include "cli/Cli.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    const int status = quillon::cli::RunCli(args, std::cout, std::cerr);
    // Output that could not be written (a full disk, a closed pipe) is a failure, never a success.
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "quillon-cli: the output could not be written\n";
        return status == 0 ? 1 : status;
    }
    return status;
}
