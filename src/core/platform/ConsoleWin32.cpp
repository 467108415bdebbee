#include "core/platform/Console.h"

#include "core/platform/Win32Text.h"

#include <windows.h>

#include <cstdlib>
#include <io.h>
#include <shellapi.h>

namespace quillon {

namespace {

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    TInterruptGuard::Interrupted() = true;
    return TRUE; // handled: the process goes on to its safe point
}

} // namespace

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i)
        args.push_back(Utf8OfWide(wide[i]));
    LocalFree(wide);
    return args;
}

void UseUtf8Console() {
    // The code page belongs to the console, which outlives us: the one it had comes back at exit.
    static const UINT previous = GetConsoleOutputCP();
    if (previous == 0 || previous == CP_UTF8 || !SetConsoleOutputCP(CP_UTF8))
        return;
    std::atexit([] { SetConsoleOutputCP(previous); });
}

bool StandardErrorIsTerminal() {
    return _isatty(2) != 0;
}

std::atomic<bool>& TInterruptGuard::Interrupted() {
    static std::atomic<bool> interrupted{false};
    return interrupted;
}

TInterruptGuard::TInterruptGuard() {
    Interrupted() = false;
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

TInterruptGuard::~TInterruptGuard() {
    SetConsoleCtrlHandler(OnConsoleControl, FALSE);
}

} // namespace quillon
