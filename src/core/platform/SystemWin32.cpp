#include "core/platform/System.h"

#include "core/platform/Paths.h"
#include "core/platform/Win32Text.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace quillon {

namespace fs = std::filesystem;

std::optional<std::string> EnvironmentText(const char* name) {
    const std::wstring wide = WideOf(name);
    const DWORD n = GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
    if (n <= 1)
        return std::nullopt;
    std::wstring value(n, L'\0');
    value.resize(GetEnvironmentVariableW(wide.c_str(), value.data(), n));
    return Utf8OfWide(value);
}

std::string ProgramDir() {
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
        if (n == 0)
            return {};
        if (n < exe.size()) {
            exe.resize(n);
            break;
        }
        exe.resize(exe.size() * 2); // a long path: try again with room for it
    }
    return WithTrailingSeparator(Utf8Of(fs::path(exe).parent_path()));
}

std::string UserFolder(TUserFolder kind) {
    const char* variable = kind == TUserFolder::Settings ? "APPDATA"
                           : kind == TUserFolder::Data   ? "LOCALAPPDATA"
                                                         : "USERPROFILE";
    if (const auto folder = EnvironmentText(variable))
        return *folder;
    std::error_code ec;
    return Utf8Of(fs::temp_directory_path(ec));
}

std::string CurrentUserKey() {
    wchar_t name[257];
    DWORD size = 257;
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    return (GetUserNameW(name, &size) ? Utf8OfWide(name) : std::string()) + "-" + std::to_string(session);
}

TPrivateFolder PrivateRuntimeFolder() {
    return {};
}

namespace {

// The user of a process's token, copied into buffer; nullptr when the system does not tell.
PSID TokenUserOf(HANDLE process, std::vector<unsigned char>& buffer) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return nullptr;
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    buffer.resize(size);
    const bool ok = size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
    CloseHandle(token);
    return ok ? reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid : nullptr;
}

} // namespace

bool LocalPeerIsCurrentUser(intptr_t descriptor, bool peerIsServer) {
    const auto pipe = reinterpret_cast<HANDLE>(descriptor);
    ULONG pid = 0;
    if (!(peerIsServer ? GetNamedPipeServerProcessId(pipe, &pid) : GetNamedPipeClientProcessId(pipe, &pid)))
        return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return false; // another user's process is not ours to look at
    std::vector<unsigned char> theirs, ours;
    const PSID peer = TokenUserOf(process, theirs);
    CloseHandle(process);
    const PSID self = TokenUserOf(GetCurrentProcess(), ours);
    return peer && self && EqualSid(peer, self);
}

void KillThisProcess() {
    TerminateProcess(GetCurrentProcess(), 137);
    std::abort(); // not reached
}

std::tm LocalTime(std::time_t t) {
    std::tm local{};
    localtime_s(&local, &t);
    return local;
}

} // namespace quillon
