#include "TestSystem.h"

#include <chrono>
#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#endif

namespace quillon::test {

namespace {

#ifdef _WIN32
std::wstring Wide(const std::string& utf8) {
    const auto p = std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    return p.wstring();
}

std::optional<std::string> Get(const std::string& name) {
    wchar_t buf[32768];
    const DWORD n = GetEnvironmentVariableW(Wide(name).c_str(), buf, 32768);
    if (n == 0)
        return std::nullopt;
    const std::u8string text = std::filesystem::path(std::wstring(buf, n)).u8string();
    return std::string(text.begin(), text.end());
}

void Set(const std::string& name, const std::optional<std::string>& value) {
    // Both the system's block and the C runtime's copy, so either way of reading sees it.
    SetEnvironmentVariableW(Wide(name).c_str(), value ? Wide(*value).c_str() : nullptr);
    _wputenv_s(Wide(name).c_str(), value ? Wide(*value).c_str() : L"");
}
#else
std::optional<std::string> Get(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void Set(const std::string& name, const std::optional<std::string>& value) {
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
}
#endif

} // namespace

TScopedEnvironment::TScopedEnvironment(std::string name, const std::optional<std::string>& value)
    : Name(std::move(name)), Saved(Get(Name)) {
    Set(Name, value);
}

TScopedEnvironment::~TScopedEnvironment() {
    Set(Name, Saved);
}

void SetModifiedTime(const std::filesystem::path& path, int64_t unixSeconds) {
    const std::chrono::sys_seconds when{std::chrono::seconds{unixSeconds}};
    std::filesystem::last_write_time(path, std::chrono::file_clock::from_sys(when));
}

} // namespace quillon::test
