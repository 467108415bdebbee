#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace quillon {

/// The program's arguments as UTF-8, without the program's name. Windows hands them over as UTF-16 (argv would be
/// in the system's code page), so there they are read from the wide command line.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

/// Makes the console show UTF-8 output as such until the program ends (Windows); redirected output is UTF-8 bytes
/// everywhere.
void UseUtf8Console();

/// Whether standard error is a terminal (progress lines go only there).
bool StandardErrorIsTerminal();

/// While it lives, Ctrl+C (and a termination request) sets Interrupted() instead of ending the process, so work in
/// progress can stop at a safe point; the previous handling comes back afterwards.
class TInterruptGuard {
public:
    TInterruptGuard();
    ~TInterruptGuard();
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;
    static std::atomic<bool>& Interrupted();
};

} // namespace quillon
