#include "core/settings/IniFile.h"

#include "core/platform/AtomicFile.h"
#include "core/platform/Files.h"
#include "core/settings/SettingsError.h"
#include "core/text/Lines.h"
#include "core/text/Utf8.h"

#include <charconv>
#include <cstring>

namespace quillon {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool SameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

// "[name]" gives name; anything else is no section header.
std::optional<std::string_view> SectionOf(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[')
        return std::nullopt;
    const size_t close = line.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

// Key of a "key=value" line; nothing for comments and lines without "=".
std::optional<std::string_view> KeyOf(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[')
        return std::nullopt;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return Trim(line.substr(0, eq));
}

} // namespace

std::optional<long long> ParseProfileInteger(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.size() > 1 && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    }
    long long value = 0;
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || res.ec != std::errc{} || res.ptr != text.data() + text.size())
        return std::nullopt;
    return negative ? -value : value;
}

TIniFile TIniFile::Parse(std::string_view text) {
    TIniFile ini;
    for (const std::string_view line : SplitLines(text))
        ini.Lines.emplace_back(line);
    return ini;
}

TIniFile::TRead TIniFile::Read(const std::string& path) {
    TRead read;
    // Opening never blocks, so a FIFO named as the settings cannot hold the program.
    TReadOnlyFile file(path);
    if (!file.IsOpen()) {
        read.Missing = file.Missing();
        read.Problem = read.Missing ? "No such file" : file.Failure();
        return read;
    }
    if (file.Kind() == TFileKind::Folder) {
        read.Problem = "It is a folder";
        return read;
    }
    if (file.Kind() != TFileKind::File) {
        read.Problem = "Not a regular file";
        return read;
    }
    if (file.Size() > MaxFileSize) {
        read.Problem = "Larger than 1 MiB: not a settings file";
        return read;
    }
    std::string text(static_cast<size_t>(file.Size()), '\0');
    const int64_t got = file.ReadAt(0, text.data(), text.size());
    if (got < 0) {
        read.Problem = LastSystemError();
        return read;
    }
    text.resize(static_cast<size_t>(got));
    if (text.find('\0') != std::string::npos) {
        read.Problem = "A binary file, not a settings file";
        return read;
    }
    read.File = Parse(text);
    return read;
}

TIniFile TIniFile::Load(const std::string& path) {
    TRead read = Read(path);
    return read.Problem.empty() ? std::move(read.File) : TIniFile{};
}

std::optional<std::string> TIniFile::Read(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const auto& line : Lines) {
        if (const auto name = SectionOf(line)) {
            inSection = SameText(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto k = KeyOf(line); k && SameText(*k, key))
            return line.substr(line.find('=') + 1);
    }
    return std::nullopt;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view fallback) const {
    const auto value = Read(section, key);
    return CutToCharacters(value ? std::string_view(*value) : fallback, MaxStringCharacters);
}

long long TIniFile::ReadInteger(std::string_view section, std::string_view key, long long fallback) const {
    const auto value = Read(section, key);
    if (!value)
        return fallback;
    return ParseProfileInteger(*value).value_or(fallback);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    const std::string entry = std::string(key) + "=" + std::string(value);
    bool inSection = false;
    size_t sectionEnd = std::string::npos; // index after the last non-blank line of the section
    for (size_t i = 0; i < Lines.size(); ++i) {
        if (const auto name = SectionOf(Lines[i])) {
            if (inSection)
                break;
            inSection = SameText(*name, section);
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (const auto k = KeyOf(Lines[i]); k && SameText(*k, key)) {
            Lines[i] = entry;
            return;
        }
        if (!Trim(Lines[i]).empty())
            sectionEnd = i + 1;
    }
    if (sectionEnd == std::string::npos) {
        if (!Lines.empty() && !Trim(Lines.back()).empty())
            Lines.emplace_back();
        Lines.push_back("[" + std::string(section) + "]");
        Lines.push_back(entry);
        return;
    }
    Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), entry);
}

std::string TIniFile::Text() const {
    std::string text;
    for (const auto& line : Lines)
        text += line + "\r\n";
    return text;
}

void TIniFile::Save(const std::string& path) const {
    if (!WriteFileAtomically(path, Text()))
        throw TSettingsError("Unable to write to " + path);
}

bool FitsOneValue(std::string_view text) {
    return text.size() <= TIniFile::MaxStringCharacters && text.find_first_of("\r\n") == std::string_view::npos &&
           (text.empty() || (text.front() != ' ' && text.back() != ' '));
}

} // namespace quillon
