#pragma once

#include "core/lang/Translations.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillon {

enum class MainString : int;

/// The ten name tables, in the order they are loaded.
enum class TGameTable { Command, Ability, Item, Unit, Upgrade, Summon, Building, Use, Enable, Disable };
inline constexpr int GameTableCount = 10;

/// Names of object ids ("hfoo") and command codes ("0003") in one language.
class TGameTables {
public:
    /// (Re)loads all ten tables for a language.
    void Load(TLanguage language);
    TLanguage Language() const { return Lang; }

    /// Value of the first line whose key equals key without regard to letter case.
    std::optional<std::string_view> LookupName(TGameTable table, std::string_view key) const;
    /// Display text of an object id or a command code; with bare false the table's verb goes in front.
    std::string IdText(std::string_view id, bool bare) const;
    std::string ObjectIdText(std::string_view id, bool bare) const;
    std::string CommandCodeText(std::string_view code, bool bare) const;

    /// A table's lines (id, name) in file order.
    const std::vector<std::pair<std::string, std::string>>& Lines(TGameTable table) const {
        return Tables[static_cast<size_t>(table)].Lines;
    }
    /// Number of lines of a table (0 when its resource is missing).
    size_t LineCount(TGameTable table) const { return Tables[static_cast<size_t>(table)].Lines.size(); }

private:
    struct TTable {
        std::vector<std::pair<std::string, std::string>> Lines; // key, value
        std::unordered_map<std::string, size_t> FirstLine;      // lower-case key to its first line
    };
    void LoadTable(TGameTable table, std::string_view resourceName);
    std::string Text(MainString n) const;

    std::array<TTable, GameTableCount> Tables;
    TLanguage Lang = TLanguage::English;
};

/// The tables of a language, loaded at first use and shared (read-only) by every thread.
const TGameTables& SharedTables(TLanguage language);

} // namespace quillon
