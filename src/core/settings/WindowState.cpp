#include "core/settings/WindowState.h"

#include "core/settings/IniFile.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace quillon {

namespace {

constexpr std::string_view Section = "window";

// "1,2,3": every part a whole number; nothing when any part is not.
std::optional<std::vector<int>> ParseNumbers(std::string_view text) {
    std::vector<int> numbers;
    if (!text.empty() && text.back() == ',')
        return std::nullopt;
    while (!text.empty()) {
        const size_t comma = std::min(text.find(','), text.size());
        int value = 0;
        const std::string_view part = text.substr(0, comma);
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (error != std::errc() || end != part.data() + part.size())
            return std::nullopt;
        numbers.push_back(value);
        text.remove_prefix(std::min(comma + 1, text.size()));
    }
    return numbers;
}

std::string JoinNumbers(const std::vector<int>& numbers) {
    std::string text;
    for (const int n : numbers)
        text += (text.empty() ? "" : ",") + std::to_string(n);
    return text;
}

// A folder name the ini can keep: one that fits a value, and not nothing.
bool FitsFolderValue(const std::string& text) {
    return !text.empty() && FitsOneValue(text);
}

// A size name is the program's own control name: letters and digits only, so "name:1,2|..." stays unambiguous.
bool IsSizeName(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c); });
}

} // namespace

void RememberFolder(TWindowState& state, const std::string& folder) {
    if (!FitsFolderValue(folder))
        return;
    auto& recent = state.RecentFolders;
    recent.erase(std::remove(recent.begin(), recent.end(), folder), recent.end());
    recent.insert(recent.begin(), folder);
    if (recent.size() > TWindowState::MaxRecentFolders)
        recent.resize(TWindowState::MaxRecentFolders);
    state.LastFolder = folder;
}

TWindowState ReadWindowState(const TIniFile& ini) {
    TWindowState state;
    if (const auto geometry = ParseNumbers(ini.ReadString(Section, "geometry", ""));
        geometry && geometry->size() == 4 && (*geometry)[2] > 0 && (*geometry)[3] > 0)
        state.Geometry = TWindowState::TRect{(*geometry)[0], (*geometry)[1], (*geometry)[2], (*geometry)[3]};
    state.Maximized = ini.ReadBool(Section, "maximized", false);
    state.Tab = static_cast<int>(std::clamp<long long>(ini.ReadInteger(Section, "tab", 0), 0, 1));
    // sizes=Splitter1:370,153|ActionList:64,60
    const std::string sizesText = ini.ReadString(Section, "sizes", "");
    std::string_view sizes = sizesText;
    while (!sizes.empty()) {
        const size_t bar = std::min(sizes.find('|'), sizes.size());
        const std::string_view entry = sizes.substr(0, bar);
        sizes.remove_prefix(std::min(bar + 1, sizes.size()));
        const size_t colon = entry.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string name(entry.substr(0, colon));
        const auto numbers = ParseNumbers(entry.substr(colon + 1));
        if (IsSizeName(name) && numbers && !numbers->empty() &&
            std::all_of(numbers->begin(), numbers->end(), [](int n) { return n > 0; }))
            state.Sizes[name] = *numbers;
    }
    state.LastFolder = ini.ReadString(Section, "lastfolder", "");
    for (size_t i = 0; i < TWindowState::MaxRecentFolders; ++i) {
        const std::string folder = ini.ReadString(Section, "recent" + std::to_string(i), "");
        if (FitsFolderValue(folder) &&
            std::find(state.RecentFolders.begin(), state.RecentFolders.end(), folder) == state.RecentFolders.end())
            state.RecentFolders.push_back(folder);
    }
    return state;
}

void WriteWindowState(TIniFile& ini, const TWindowState& state) {
    if (state.Geometry) {
        const auto& g = *state.Geometry;
        ini.Write(Section, "geometry", JoinNumbers({g.X, g.Y, g.Width, g.Height}));
    }
    ini.Write(Section, "maximized", state.Maximized ? "1" : "0");
    ini.Write(Section, "tab", std::to_string(state.Tab));
    std::string sizes;
    for (const auto& [name, numbers] : state.Sizes)
        if (IsSizeName(name) && !numbers.empty())
            sizes += (sizes.empty() ? "" : "|") + name + ":" + JoinNumbers(numbers);
    ini.Write(Section, "sizes", sizes);
    ini.Write(Section, "lastfolder", FitsFolderValue(state.LastFolder) ? state.LastFolder : "");
    for (size_t i = 0; i < TWindowState::MaxRecentFolders; ++i) {
        const bool kept = i < state.RecentFolders.size() && FitsFolderValue(state.RecentFolders[i]);
        ini.Write(Section, "recent" + std::to_string(i), kept ? state.RecentFolders[i] : "");
    }
}

} // namespace quillon
