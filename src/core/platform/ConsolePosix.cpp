#include "core/platform/Console.h"

#include <csignal>
#include <unistd.h>

namespace quillon {

namespace {

struct sigaction PreviousInterrupt {};
struct sigaction PreviousTerminate {};

extern "C" void OnInterrupt(int) {
    TInterruptGuard::Interrupted() = true;
}

} // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void UseUtf8Console() {}

bool StandardErrorIsTerminal() {
    return ::isatty(2) != 0;
}

std::atomic<bool>& TInterruptGuard::Interrupted() {
    static std::atomic<bool> interrupted{false};
    return interrupted;
}

TInterruptGuard::TInterruptGuard() {
    Interrupted() = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &PreviousInterrupt);
    sigaction(SIGTERM, &action, &PreviousTerminate);
}

TInterruptGuard::~TInterruptGuard() {
    sigaction(SIGINT, &PreviousInterrupt, nullptr);
    sigaction(SIGTERM, &PreviousTerminate, nullptr);
}

} // namespace quillon
