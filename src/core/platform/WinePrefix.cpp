#include "core/platform/WinePrefix.h"

#include "core/platform/Paths.h"
#include "core/platform/ReplayFolder.h"
#include "core/text/Lines.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return out;
}

void AppendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// A quoted registry text starting at text[0] == '"': the unescaped content, and where it ended.
std::optional<std::string> Unquote(std::string_view text, size_t& end) {
    std::string out;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            end = i + 1;
            return out;
        }
        if (c != '\\' || i + 1 >= text.size()) {
            out.push_back(c);
            continue;
        }
        const char e = text[++i];
        if (e == 'x') { // a UTF-16 code unit in up to four hex digits
            unsigned value = 0;
            for (int used = 0;
                 used < 4 && i + 1 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])); ++used)
                value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(text[++i]))
                                                               ? text[i] - '0'
                                                               : (text[i] | 0x20) - 'a' + 10);
            AppendUtf8(out, value);
        } else if (e == 'n') {
            out.push_back('\n');
        } else {
            out.push_back(e); // \\ and \" stand for themselves
        }
    }
    return std::nullopt;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

std::optional<std::string> ReadWineRegistryString(std::string_view regText, std::string_view key,
                                                  std::string_view valueName) {
    // Section headers write each backslash of the key twice: [Software\\Blizzard Entertainment\\Warcraft III]
    std::string header;
    for (char c : key) {
        header.push_back(c);
        if (c == '\\')
            header.push_back('\\');
    }
    const std::string wantedHeader = "[" + Lower(header) + "]";
    const std::string wantedValue = "\"" + Lower(valueName) + "\"=";
    bool inKey = false;
    for (std::string_view line : SplitLines(regText)) {
        if (!line.empty() && line.front() == '[') {
            inKey = Lower(line.substr(0, line.find(']') + 1)) == wantedHeader;
            continue;
        }
        if (!inKey || line.size() < wantedValue.size() || Lower(line.substr(0, wantedValue.size())) != wantedValue)
            continue;
        const std::string_view data = line.substr(wantedValue.size());
        if (data.empty() || data.front() != '"')
            return std::nullopt; // dword:, hex(2): and other types are no plain string
        size_t end = 0;
        return Unquote(data, end);
    }
    return std::nullopt;
}

std::optional<std::string> WinePathToUnix(const std::string& prefix, std::string_view windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != ':' || !std::isalpha(static_cast<unsigned char>(windowsPath[0])))
        return std::nullopt;
    std::string rest(windowsPath.substr(2));
    std::replace(rest.begin(), rest.end(), '\\', '/');
    while (!rest.empty() && rest.front() == '/')
        rest.erase(rest.begin());
    const fs::path drive = PathOf(prefix) / "dosdevices" / (Lower(windowsPath.substr(0, 1)) + ":");
    return Utf8Of(drive / PathOf(rest));
}

std::optional<std::string> WineReplayFolder(const std::string& prefix) {
    const std::string reg = ReadText(PathOf(prefix) / "user.reg");
    if (const auto install =
            ReadWineRegistryString(reg, "Software\\Blizzard Entertainment\\Warcraft III", "InstallPath"))
        if (const auto folder = WinePathToUnix(prefix, *install);
            folder && IsFolder(PathOf(*folder)) && IsFolder(PathOf(*folder) / "replay"))
            return WithTrailingSeparator(Utf8Of(PathOf(*folder) / "replay"));
    // The newer game keeps replays in the user's documents.
    std::error_code ec;
    const fs::path users = PathOf(prefix) / "drive_c" / "users";
    for (fs::directory_iterator user(users, ec), end; !ec && user != end; user.increment(ec))
        if (auto folder = DocumentsReplayFolder(Utf8Of(user->path() / "Documents")))
            return folder;
    return std::nullopt;
}

} // namespace quillon
