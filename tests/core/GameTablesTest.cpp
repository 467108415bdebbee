#include "core/gamedata/GameTables.h"
#include "TestTables.h"
#include "core/resources/Resources.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace quillon;

namespace {

const TGameTables& Tables(TLanguage language) {
    return quillon::testing::TablesIn(language);
}

std::vector<std::string> Keys(const std::string& resource) {
    std::vector<std::string> keys;
    const auto text = LoadResourceText(resource);
    EXPECT_TRUE(text.has_value()) << resource;
    size_t pos = 0;
    while (text && pos < text->size()) {
        const size_t end = text->find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << resource << ": every line ends with CR LF";
        if (end == std::string::npos)
            break;
        const std::string line = text->substr(pos, end - pos);
        EXPECT_NE(line.find('='), std::string::npos) << line;
        keys.push_back(line.substr(0, line.find('=')));
        pos = end + 2;
    }
    return keys;
}

} // namespace

TEST(GameTables, IdTexts) {
    struct TCase {
        std::string Id;
        bool Bare;
        const char* English;
        const char* Chinese;
    };
    const TCase cases[] = {
        {"hfoo", false, "Train: Footman", "训练: 步兵"},
        {"hfoo", true, "Footman", "步兵"},
        {"Rhme", false, "Research: Forged Swords", "研究: 铁剑术/钢剑术/毒剑术"},
        {"Hpal", false, "Summon: Paladin", "召唤: 圣骑士"},
        {"hwat", false, "Summon: Water Elemental", "召唤: 水元素"},
        {"halt", false, "Build: Altar of Kings", "建造: 国王祭坛"},
        {"ankh", false, "Use item: Ankh of Reincarnation", "使用物品: 重生十字章"},
        {"TWN2", true, "Keep or Stronghold or Tree of Ages or Halls of the Dead", nullptr},
        {"TWN3", true, "Castle or Fortress or Tree of Eternity or Black Citadel", nullptr},
        {"TALT", true, "An Altar", "一个祭坛"},
        {"Amls", false, "Use ability: Aerial Shackles", "使用技能: 空中锁镣"},
        {"Bmlt", true, "Aerial Shackles", nullptr},
        {"AHbz", false, "Use ability: Blizzard", "使用技能: 暴风雪"},
        {"Arep", true, "Repair", "修理"},
        {"Aimp", false, "Use ability: Vorpal Blades", "使用技能: 穿刺剑刃"}, // both languages know it
        {"0003", false, "Right Click", "点击右键"},
        {"0003", true, "Right Click", "点击右键"},
        {"0079", false, "Use ability: Blizzard", "使用技能: 暴风雪"},
        {"0079", true, "Blizzard", "暴风雪"},
        {"0039", false, "Enable: Repair", "激活: 修理"},
        {"003A", false, "Disable: Repair", "取消: 修理"},
        {"00C6", false, "Use ability: Unknown ID: Uproot", "使用技能: 未知ID: Uproot"},
        {"00B6", false, "Enable: Unknown ID: Afea", "激活: 未知ID: Afea"},
        {"0209", false, "Use ability: Unknown ID: AHps", nullptr},
        {"zzzz", false, "Unknown ID: zzzz", "未知ID: zzzz"},
        {"zzzz", true, "Unknown ID: zzzz", nullptr},
        {"0001", false, "Unknown ID: 0001", "未知ID: 0001"},
        {"\xFF\xFF\xFF\xFF", false, "", ""},
        {"HPAL", true, "Paladin", "圣骑士"}, // keys compare without regard to case
        {"01EE", false, "Revive 1st Hero in Tavern", "在小酒馆复活英雄1"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Id);
        EXPECT_EQ(Tables(TLanguage::English).IdText(c.Id, c.Bare), c.English);
        if (c.Chinese) {
            EXPECT_EQ(Tables(TLanguage::Chinese).IdText(c.Id, c.Bare), c.Chinese);
        }
    }
}

TEST(GameTables, TellingRowsStandInTheirTables) {
    struct TCase {
        TGameTable Table;
        const char* Key;
        const char* Value;
    };
    for (const TCase& c :
         {TCase{TGameTable::Ability, "Amls", "Aerial Shackles"}, TCase{TGameTable::Ability, "Bmlt", "Aerial Shackles"},
          TCase{TGameTable::Ability, "Awar", "Pulverize"}, TCase{TGameTable::Unit, "hfoo", "Footman"},
          TCase{TGameTable::Summon, "Hpal", "Paladin"}, TCase{TGameTable::Summon, "hwat", "Water Elemental"},
          TCase{TGameTable::Building, "halt", "Altar of Kings"}, TCase{TGameTable::Upgrade, "Rhme", "Forged Swords"},
          TCase{TGameTable::Item, "TALT", "An Altar"}, TCase{TGameTable::Command, "0004", "Stop"},
          TCase{TGameTable::Use, "0079", "AHbz"}, TCase{TGameTable::Enable, "0262", "ANba"},
          TCase{TGameTable::Disable, "0263", "ANba"}}) {
        SCOPED_TRACE(c.Key);
        EXPECT_EQ(Tables(TLanguage::English).LookupName(c.Table, c.Key), std::optional<std::string_view>(c.Value));
    }
    EXPECT_EQ(Tables(TLanguage::English).LookupName(TGameTable::Unit, "Hpal"), std::nullopt);
    EXPECT_EQ(Tables(TLanguage::English).LineCount(TGameTable::Command), 35u);
    EXPECT_EQ(Tables(TLanguage::English).LineCount(TGameTable::Use), 154u);
    EXPECT_EQ(Tables(TLanguage::English).LineCount(TGameTable::Enable), 39u);
    EXPECT_EQ(Tables(TLanguage::English).LineCount(TGameTable::Disable), 38u);
}

TEST(GameTables, BothLanguagesHoldTheSameKeysAndNoKeyIsInTwoObjectTables) {
    std::map<std::string, std::string> owner;
    for (const char* table : {"ABILITY", "ITEM", "UNIT", "UPGRADE", "SUMMON", "BUILDING", "COMMAND"}) {
        SCOPED_TRACE(table);
        const auto english = Keys(table);
        EXPECT_EQ(english, Keys(std::string(table) + "_CN"));
        EXPECT_FALSE(english.empty());
        for (const auto& key : english) {
            std::string lower = key;
            for (char& c : lower)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            const auto [it, fresh] = owner.emplace(lower, table);
            EXPECT_TRUE(fresh) << key << " stands in " << it->second << " and " << table;
        }
    }
}
