#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

/// A profile (ini) file kept as its lines, so that sections and keys of other programs survive a write.
/// Sections and keys compare without regard to letter case; values are stored as they are, with no escaping
/// or quoting, and read back to the end of their line.
class TIniFile {
public:
    /// Longest string value that comes back (the profile functions read into a 2048-character buffer).
    static constexpr size_t MaxStringCharacters = 2047;

    /// Largest settings file that is read: anything bigger is no settings file.
    static constexpr size_t MaxFileSize = 1024 * 1024;

    /// A file read with its problems told: Missing when nothing is there, else Problem says why it cannot be
    /// used (a folder, a device or FIFO, too large, binary, unreadable). Never blocks, never reads unbounded.
    struct TRead;
    static TRead Read(const std::string& path);
    /// The file's content; a missing or unusable file gives an empty profile.
    static TIniFile Load(const std::string& path);
    static TIniFile Parse(std::string_view text);

    std::optional<std::string> Read(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    /// Decimal, or hexadecimal after "0x", "0X" or "$"; the fallback when missing or not a valid integer.
    long long ReadInteger(std::string_view section, std::string_view key, long long fallback) const;
    /// True for any integer other than 0.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

    /// Sets a value in place, or appends the key to its section (the section to the file) when new.
    void Write(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;
    /// Writes the whole file atomically (a temporary file, then a rename over the old one); throws
    /// TSettingsError "Unable to write to PATH" when that fails.
    void Save(const std::string& path) const;

private:
    std::vector<std::string> Lines;
};

struct TIniFile::TRead {
    TIniFile File;
    bool Missing = false;
    std::string Problem; // empty when the file could be used
};

/// Whether a value can be written and read back as it is: no line break, no blank at either end (reading trims
/// them), and no longer than a read gives back. The empty text fits.
bool FitsOneValue(std::string_view text);

/// Reading integers the profile way; nothing for text that is no integer.
std::optional<long long> ParseProfileInteger(std::string_view text);

} // namespace quillon
