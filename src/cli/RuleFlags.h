#pragma once
// The rename rule as the renaming commands take it: each part from its flag, else from the settings file, else
// the default.

#include "core/lang/Translations.h"
#include "core/rename/RenameRule.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace CLI {
class App;
} // namespace CLI

namespace quillon::cli {

struct TRuleFlags {
    std::string Settings;
    std::optional<std::string> Player, Conj, Global;
    std::optional<TLanguage> Language;
};

/// --settings, the three parts under the given flag names, and --lang.
void AddRuleFlags(CLI::App* command, TRuleFlags& flags, const char* player, const char* conj, const char* global);

/// The rule and language to rename with; 2 (after saying why) for an unusable settings file or a bad rule. The
/// language is the flag's, else the file's, else the locale's. Only a missing file at the usual place means the
/// defaults.
int ResolveRule(const TRuleFlags& flags, TRenameRule& rule, TLanguage& language, std::ostream& err);

/// False, after saying why on err, when a part of the rule fails its check: such a rule is never used.
bool RuleIsUsable(const TRenameRule& rule, TLanguage language, std::ostream& err);

} // namespace quillon::cli
