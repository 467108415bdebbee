#include "core/platform/ReplayFolder.h"

#include "core/platform/Files.h"
#include "core/platform/Paths.h"
#include "core/platform/System.h"
#include "core/platform/Win32Text.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

namespace quillon {

namespace {

bool IsFolder(const std::string& path) {
    return FileStatus(path).Kind == TFileKind::Folder;
}

// The game's install folder from the registry (an expandable text expanded); empty when the key or value is absent.
std::string InstallPath() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Blizzard Entertainment\\Warcraft III", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    const bool present = RegQueryValueExW(key, L"InstallPath", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS;
    std::wstring value;
    LSTATUS status = ERROR_MORE_DATA;
    if (present && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        // The expanded text can outgrow the stored one: ask for the size, read, and again if it grew meanwhile.
        for (DWORD size = 0; status == ERROR_MORE_DATA;) {
            value.assign(size / sizeof(wchar_t) + 1, L'\0');
            size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
            status = RegGetValueW(key, nullptr, L"InstallPath", RRF_RT_REG_SZ, nullptr, value.data(), &size);
        }
    }
    RegCloseKey(key);
    if (present && type != REG_SZ && type != REG_EXPAND_SZ)
        throw TRegistryError("Invalid data type for 'InstallPath'");
    if (status != ERROR_SUCCESS)
        return {};
    value.resize(wcsnlen(value.c_str(), value.size()));
    return Utf8OfWide(value);
}

std::string DocumentsFolder() {
    wchar_t* path = nullptr;
    std::string folder;
    if (SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &path) == S_OK)
        folder = Utf8OfWide(path);
    CoTaskMemFree(path);
    return folder;
}

} // namespace

std::string DefaultReplayFolder() {
    const std::string install = InstallPath();
    if (!install.empty() && IsFolder(install)) {
        const std::string replays = WithTrailingSeparator(install) + "replay\\";
        if (IsFolder(replays))
            return replays;
    }
    if (const std::string documents = DocumentsFolder(); !documents.empty())
        if (auto folder = DocumentsReplayFolder(documents))
            return *folder;
    return WithTrailingSeparator(UserFolder(TUserFolder::Home));
}

} // namespace quillon
