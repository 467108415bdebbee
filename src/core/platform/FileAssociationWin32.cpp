#include "core/platform/FileAssociation.h"

#include "core/platform/Win32Text.h"

#include <windows.h>

#include <shlobj.h>

namespace quillon {

namespace {

// Sets the default value of a key below HKCU\Software\Classes when it differs; true when written.
bool SetDefault(const std::wstring& subKey, const std::wstring& value, bool& refused) {
    const std::wstring key = L"Software\\Classes\\" + subKey;
    wchar_t current[1024];
    DWORD size = sizeof current;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, current, &size) ==
            ERROR_SUCCESS &&
        value == current)
        return false;
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    if (RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, REG_SZ, value.c_str(), bytes) != ERROR_SUCCESS) {
        refused = true;
        return false;
    }
    return true;
}

} // namespace

bool RegisterFileTypeForUser(const std::string& openVerb, const std::string& programPath) {
    const std::wstring program = WideOf(programPath);
    bool refused = false;
    bool written = false;
    // In the order a shell needs them: the extension last, once its class is complete.
    written |= SetDefault(L"Quillon", L"Warcraft III Replay File", refused);
    written |= SetDefault(L"Quillon\\DefaultIcon", program + L",0", refused);
    written |= SetDefault(L"Quillon\\shell\\open", WideOf(openVerb), refused);
    written |= SetDefault(L"Quillon\\shell\\open\\command", L"\"" + program + L"\" \"%1\"", refused);
    if (!refused)
        written |= SetDefault(L".w3g", L"Quillon", refused);
    if (written)
        SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); // Explorer shows the new verb at once
    return written;
}

TRegistration RegisterReplayTypeForUser(const std::string& openVerb, const std::string& programPath) {
    TRegistration done;
    done.DesktopWritten = RegisterFileTypeForUser(openVerb, programPath);
    return done;
}

} // namespace quillon
