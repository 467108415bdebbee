// quillon-cli name and check-rule: the rename rule without renaming.
#include "cli/Commands.h"
#include "cli/ReplayJson.h"

#include "core/lang/StringIds.h"
#include "core/rename/Template.h"
#include "core/replay/LoadReplay.h"
#include "core/replay/ReplayError.h"

#include <ostream>

namespace quillon::cli {

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

int RunName(const std::string& file, const TRuleOptions& rule, std::ostream& out, std::ostream& err) {
    if (!RuleIsUsable({rule.PlayerTemplate, rule.Conjunction, rule.GlobalTemplate}, rule.Language, err))
        return 2;
    TLoaded loaded = LoadReplay(file, 1, rule.Language);
    if (!loaded.Replay) {
        ReportLoadError(file, loaded.Error, false, out, err);
        return 1;
    }
    std::string name;
    try {
        name = MakeReplayName(rule.PlayerTemplate, rule.Conjunction, rule.GlobalTemplate, *loaded.Replay);
    } catch (const TReplayError& e) {
        TLoadResult failed;
        failed.Error = TLoadError::CannotOpen;
        failed.Detail = e.what();
        failed.OpenPath = e.Path;
        failed.OpenReason = e.Reason;
        err << "quillon-cli: " << TerminalText(file) << ": " << TerminalText(LoadErrorText(failed, rule.Language))
            << "\n";
        return 1;
    }
    if (name.empty()) {
        err << GetString(MainString::CannotName, rule.Language) << "\n";
        return 1;
    }
    out << TerminalText(name) << "\n";
    return 0;
}

int RunCheckRule(const TRuleOptions& rule, std::ostream& out, std::ostream&) {
    const auto problem = CheckRule({rule.PlayerTemplate, rule.Conjunction, rule.GlobalTemplate}, rule.Language);
    if (!problem)
        return 0;
    out << FormatText(GetString(AppString::RuleProblemShort, rule.Language),
                      {GetString(problem->PartNameString(), rule.Language), problem->Check.Message,
                       std::to_string(problem->Check.Start), std::to_string(problem->Check.Length)})
        << "\n";
    return 1;
}

} // namespace quillon::cli
