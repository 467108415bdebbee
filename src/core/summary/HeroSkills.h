#pragma once

#include <optional>
#include <string_view>

namespace quillon {

/// What the game allows for one hero ability: which hero learns it and how its levels are gated.
struct THeroSkillRule {
    std::string_view Hero; // the hero's object id, or "*" for an ability every hero can learn
    bool Ultimate = false; // one level, from hero level 6
};

/// The rule of a hero ability id ("AHbz"), or nothing when the id is no hero ability. Letter case counts:
/// "AHbz" is a hero ability, "Ahbz" is not.
std::optional<THeroSkillRule> HeroSkillRule(std::string_view abilityId);

/// Whether a hero whose level becomes newLevel by this learn may take level skillLevel of the ability.
/// Normal abilities have three levels, open at hero levels 1, 3 and 5; an ultimate has one, open at 6.
bool SkillLevelAllowed(const THeroSkillRule& rule, int skillLevel, int newLevel);

} // namespace quillon
