#include "core/summary/HeroSkills.h"

#include "core/resources/Resources.h"

#include <string>
#include <unordered_map>

namespace quillon {

namespace {

// The hero-ability table: "AHbz=Hamg", "AHmt=Hamg,6" for an ultimate, "Aamk=*" for every hero.
class THeroSkillTable {
public:
    THeroSkillTable() {
        if (const auto text = LoadResourceText("HEROSKILL"))
            Text = *text;
        std::string_view rest = Text;
        while (!rest.empty()) {
            const size_t end = rest.find_first_of("\r\n");
            const std::string_view line = rest.substr(0, end);
            rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
            const size_t eq = line.find('=');
            if (eq == std::string_view::npos)
                continue;
            std::string_view hero = line.substr(eq + 1);
            const size_t comma = hero.find(',');
            const bool ultimate = comma != std::string_view::npos;
            if (ultimate)
                hero = hero.substr(0, comma);
            Rules.emplace(line.substr(0, eq), THeroSkillRule{hero, ultimate});
        }
    }
    std::optional<THeroSkillRule> Find(std::string_view id) const {
        const auto it = Rules.find(id);
        return it == Rules.end() ? std::nullopt : std::optional(it->second);
    }

private:
    std::string Text; // the views below point into it
    std::unordered_map<std::string_view, THeroSkillRule> Rules;
};

} // namespace

std::optional<THeroSkillRule> HeroSkillRule(std::string_view abilityId) {
    static const THeroSkillTable table;
    return table.Find(abilityId);
}

bool SkillLevelAllowed(const THeroSkillRule& rule, int skillLevel, int newLevel) {
    if (rule.Ultimate)
        return skillLevel == 1 && newLevel >= 6;
    if (rule.Hero == "*")
        return skillLevel >= 1; // the attribute bonus of custom games has no fixed gates
    return skillLevel >= 1 && skillLevel <= 3 && newLevel >= 2 * skillLevel - 1;
}

} // namespace quillon
