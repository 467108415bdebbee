#pragma once

#include <string>

namespace quillon {

/// The rename rule: a template per player, the text between the players of a team, the template of the name.
struct TRenameRule {
    std::string PlayerTemplate = "<name>";
    std::string Conjunction = "+";
    std::string GlobalTemplate = "<win>-vs-<loss>";
};

} // namespace quillon
