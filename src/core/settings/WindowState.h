#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class TIniFile;

/// How the window looked when it was closed: kept in the section "window" of Quillon.ini, beside the settings.
struct TWindowState {
    static constexpr size_t MaxRecentFolders = 10;

    struct TRect {
        int X = 0, Y = 0, Width = 0, Height = 0;
        bool operator==(const TRect&) const = default;
    };
    std::optional<TRect> Geometry; // the window's normal (not maximized) frame; none: first start
    bool Maximized = false;
    /// Splitter sizes and column widths by the control's name; every number is positive.
    std::map<std::string, std::vector<int>> Sizes;
    int Tab = 0; // the actions or the summary
    std::string LastFolder;
    std::vector<std::string> RecentFolders; // the latest first, at most MaxRecentFolders

    bool operator==(const TWindowState&) const = default;
};

/// Puts a folder first among the recent ones (once), dropping the oldest beyond the limit. A folder name an ini
/// line cannot hold (a line break, or longer than a value reads back) is not kept.
void RememberFolder(TWindowState& state, const std::string& folder);

/// The state from a profile; what is missing or malformed is left at its default.
TWindowState ReadWindowState(const TIniFile& ini);
void WriteWindowState(TIniFile& ini, const TWindowState& state);

} // namespace quillon
