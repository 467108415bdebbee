// quillon-cli name and check-rule: the rename rule without renaming.
#include "cli/Command.h"
#include "cli/Output.h"
#include "cli/RuleFlags.h"

#include "core/lang/StringIds.h"
#include "core/rename/Template.h"
#include "core/replay/LoadReplay.h"
#include "core/replay/ReplayError.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace quillon::cli {

namespace {

struct TRuleOptions {
    TRenameRule Rule;
    std::optional<TLanguage> LanguageFlag;
    TLanguage Language = TLanguage::English;
};

// The three parts, each the default unless its flag is given.
void AddRule(CLI::App* cmd, TRuleOptions& o) {
    cmd->add_option("--player", o.Rule.PlayerTemplate, "Player template (default <name>)");
    cmd->add_option("--conj", o.Rule.Conjunction, "Conjunction between the players of a team (default +)");
    cmd->add_option("--global", o.Rule.GlobalTemplate, "Global template (default <win>-vs-<loss>)");
    AddLanguageOption(cmd, o.LanguageFlag, "Interface language: en or zh");
}

int RunName(const std::string& file, const TRuleOptions& options, std::ostream& out, std::ostream& err) {
    const TRenameRule& rule = options.Rule;
    if (!RuleIsUsable(rule, options.Language, err))
        return 2;
    const auto replay = LoadOrReport(file, 1, options.Language, false, out, err);
    if (!replay)
        return 1;
    std::string name;
    try {
        name = MakeReplayName(rule.PlayerTemplate, rule.Conjunction, rule.GlobalTemplate, *replay);
    } catch (const TReplayError& e) {
        TLoadResult failed;
        failed.Error = TLoadError::CannotOpen;
        failed.Detail = e.what();
        failed.OpenPath = e.Path;
        failed.OpenReason = e.Reason;
        err << "quillon-cli: " << TerminalText(file) << ": " << TerminalText(LoadErrorText(failed, options.Language))
            << "\n";
        return 1;
    }
    if (name.empty()) {
        err << GetString(MainString::CannotName, options.Language) << "\n";
        return 1;
    }
    out << TerminalText(name) << "\n";
    return 0;
}

int RunCheckRule(const TRuleOptions& options, std::ostream& out) {
    const TLanguage language = options.Language;
    const auto problem = CheckRule(options.Rule, language);
    if (!problem)
        return 0;
    out << FormatText(GetString(AppString::RuleProblemShort, language),
                      {GetString(problem->PartNameString(), language), problem->Check.Message,
                       std::to_string(problem->Check.Start), std::to_string(problem->Check.Length)})
        << "\n";
    return 1;
}

} // namespace

void AddNameCommand(CLI::App& app, TContext& context) {
    auto o = std::make_shared<TRuleOptions>();
    auto file = std::make_shared<std::string>();
    auto* cmd = app.add_subcommand("name", "Print the name a rename rule makes for a replay");
    cmd->add_option("FILE", *file, "Replay file")->required();
    AddRule(cmd, *o);
    cmd->callback([o, file, &context] {
        o->Language = o->LanguageFlag.value_or(LanguageFromLocale());
        context.Status = RunName(*file, *o, context.Out, context.Err);
    });
}

void AddCheckRuleCommand(CLI::App& app, TContext& context) {
    auto o = std::make_shared<TRuleOptions>();
    auto* cmd = app.add_subcommand("check-rule", "Check a rename rule; print its first problem");
    AddRule(cmd, *o);
    cmd->callback([o, &context] {
        o->Language = o->LanguageFlag.value_or(LanguageFromLocale());
        context.Status = RunCheckRule(*o, context.Out);
    });
}

} // namespace quillon::cli
