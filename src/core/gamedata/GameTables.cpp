#include "core/gamedata/GameTables.h"

#include "core/lang/StringIds.h"
#include "core/resources/Resources.h"
#include "core/text/AsciiCase.h"

namespace quillon {

namespace {

// Resource names of the first seven tables are strings of the main window, so each language
// names its own resources.
constexpr MainString ResourceNameString[] = {
    MainString::CommandTable, MainString::AbilityTable, MainString::ItemTable,    MainString::UnitTable,
    MainString::UpgradeTable, MainString::SummonTable,  MainString::BuildingTable};

struct TObjectTable {
    TGameTable Table;
    MainString Verb;
};
// Lookup order of object ids, with the verb string of each table.
constexpr TObjectTable ObjectOrder[] = {
    {TGameTable::Upgrade, MainString::Research},   {TGameTable::Unit, MainString::Train},
    {TGameTable::Building, MainString::Build},     {TGameTable::Item, MainString::UseItem},
    {TGameTable::Ability, MainString::UseAbility}, {TGameTable::Summon, MainString::Summon}};

} // namespace

void TGameTables::Load(TLanguage language) {
    Lang = language;
    for (auto& t : Tables)
        t = {};
    for (int i = 0; i < 7; ++i)
        LoadTable(static_cast<TGameTable>(i), Text(ResourceNameString[i]));
    LoadTable(TGameTable::Use, "USE");
    LoadTable(TGameTable::Enable, "ENABLE");
    LoadTable(TGameTable::Disable, "DISABLE");
}

void TGameTables::LoadTable(TGameTable table, std::string_view resourceName) {
    TTable& t = Tables[static_cast<size_t>(table)];
    const auto text = LoadResourceText(resourceName);
    if (!text)
        return; // a missing table stays empty; lookups then fall back to "Unknown ID: "
    std::string_view rest = *text;
    while (!rest.empty()) {
        const size_t end = rest.find_first_of("\r\n");
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (line.empty())
            continue; // the empty piece between CR and LF
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos)
            continue; // never matches
        t.Lines.emplace_back(std::string(line.substr(0, eq)), std::string(line.substr(eq + 1)));
        t.FirstLine.emplace(AsciiLower(line.substr(0, eq)), t.Lines.size() - 1); // keeps the first of duplicates
    }
}

std::optional<std::string_view> TGameTables::LookupName(TGameTable table, std::string_view key) const {
    const TTable& t = Tables[static_cast<size_t>(table)];
    const auto it = t.FirstLine.find(AsciiLower(key));
    if (it == t.FirstLine.end())
        return std::nullopt;
    return std::string_view(t.Lines[it->second].second);
}

std::string TGameTables::Text(MainString n) const {
    return GetString(n, Lang);
}

std::string TGameTables::IdText(std::string_view id, bool bare) const {
    if (id == "\xFF\xFF\xFF\xFF")
        return {}; // no object given
    std::string text = !id.empty() && id.front() == '0' ? CommandCodeText(id, bare) : ObjectIdText(id, bare);
    if (text.empty())
        text = Text(MainString::UnknownId) + std::string(id);
    return text;
}

std::string TGameTables::ObjectIdText(std::string_view id, bool bare) const {
    for (const auto& [table, verb] : ObjectOrder)
        if (const auto name = LookupName(table, id))
            return bare ? std::string(*name) : Text(verb) + std::string(*name);
    return Text(MainString::UnknownId) + std::string(id);
}

std::string TGameTables::CommandCodeText(std::string_view code, bool bare) const {
    if (const auto name = LookupName(TGameTable::Command, code))
        return std::string(*name);
    static constexpr std::pair<TGameTable, MainString> CodeTables[] = {{TGameTable::Enable, MainString::Enable},
                                                                       {TGameTable::Disable, MainString::Disable},
                                                                       {TGameTable::Use, MainString::UseAbility}};
    for (const auto& [table, verb] : CodeTables)
        if (const auto ability = LookupName(table, code)) {
            const std::string name = ObjectIdText(*ability, true);
            return bare ? name : Text(verb) + name;
        }
    return Text(MainString::UnknownId) + std::string(code);
}

const TGameTables& SharedTables(TLanguage language) {
    static const auto load = [](TLanguage l) {
        TGameTables t;
        t.Load(l);
        return t;
    };
    static const TGameTables english = load(TLanguage::English), chinese = load(TLanguage::Chinese);
    return language == TLanguage::Chinese ? chinese : english;
}

} // namespace quillon
