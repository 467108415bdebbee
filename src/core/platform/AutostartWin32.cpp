#include "core/platform/Autostart.h"

#include "core/platform/Win32Text.h"

#include <windows.h>

namespace quillon {

namespace {

const wchar_t* const RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const ValueName = L"Quillon";

} // namespace

bool SetStartWithSystem(bool on, const std::string& programPath, std::string* reason) {
    LSTATUS status;
    if (on) {
        // The program's path quoted as the shell reads a command line; a path cannot hold a quote.
        const std::wstring command = L"\"" + WideOf(programPath) + L"\" " + WideOf(TrayArgument);
        status = RegSetKeyValueW(HKEY_CURRENT_USER, RunKey, ValueName, REG_SZ, command.c_str(),
                                 static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    } else {
        status = RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKey, ValueName);
        if (status == ERROR_FILE_NOT_FOUND)
            status = ERROR_SUCCESS;
    }
    if (status != ERROR_SUCCESS && reason)
        *reason = "the Run key cannot be written (" + std::to_string(status) + ")";
    return status == ERROR_SUCCESS;
}

bool StartsWithSystem() {
    DWORD size = 0;
    return RegGetValueW(HKEY_CURRENT_USER, RunKey, ValueName, RRF_RT_REG_SZ, nullptr, nullptr, &size) == ERROR_SUCCESS;
}

} // namespace quillon
