#include "cli/RuleFlags.h"

#include "cli/Command.h"
#include "cli/Output.h"
#include "core/lang/StringIds.h"
#include "core/platform/System.h"
#include "core/rename/Template.h"
#include "core/settings/Settings.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace quillon::cli {

void AddRuleFlags(CLI::App* command, TRuleFlags& flags, const char* player, const char* conj, const char* global) {
    command->add_option("--settings", flags.Settings, "Settings file to read the rule from");
    command->add_option(player, flags.Player, "Player template");
    command->add_option(conj, flags.Conj, "Conjunction");
    command->add_option(global, flags.Global, "Global template");
    AddLanguageOption(command, flags.Language, "Language of the messages: en or zh");
}

int ResolveRule(const TRuleFlags& flags, TRenameRule& rule, TLanguage& language, std::ostream& err) {
    const std::string settingsPath = SettingsPath(ProgramDir(), flags.Settings);
    const TSettingsRead read = ReadSettings(settingsPath);
    if (!read.Problem.empty() || (read.Missing && !flags.Settings.empty())) {
        err << "quillon-cli: settings file " << TerminalText(settingsPath) << ": "
            << (read.Missing ? "No such file" : read.Problem) << "\n";
        return 2;
    }
    rule = read.Settings.Rule;
    if (flags.Player)
        rule.PlayerTemplate = *flags.Player;
    if (flags.Conj)
        rule.Conjunction = *flags.Conj;
    if (flags.Global)
        rule.GlobalTemplate = *flags.Global;
    language = flags.Language.value_or(LanguageFromSettingOrLocale(read.Settings.Language));
    return RuleIsUsable(rule, language, err) ? 0 : 2; // before any file is touched
}

bool RuleIsUsable(const TRenameRule& rule, TLanguage language, std::ostream& err) {
    const auto problem = CheckRule(rule, language);
    if (!problem)
        return true;
    err << "quillon-cli: "
        << FormatText(GetString(AppString::RuleProblem, language),
                      {GetString(problem->PartNameString(), language), problem->Check.Message,
                       std::to_string(problem->Check.Start), std::to_string(problem->Check.Length)})
        << "\n";
    return false;
}

} // namespace quillon::cli
