#pragma once

// What tests change of the system around them, the same way on Linux and Windows.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace quillon::test {

/// Sets (or, with nothing, removes) an environment variable for its lifetime; the old value comes back after.
class TScopedEnvironment {
public:
    TScopedEnvironment(std::string name, const std::optional<std::string>& value);
    ~TScopedEnvironment();
    TScopedEnvironment(const TScopedEnvironment&) = delete;
    TScopedEnvironment& operator=(const TScopedEnvironment&) = delete;

private:
    std::string Name;
    std::optional<std::string> Saved;
};

/// Gives a file the modification time of that many seconds since 1970.
void SetModifiedTime(const std::filesystem::path& path, int64_t unixSeconds);

} // namespace quillon::test
