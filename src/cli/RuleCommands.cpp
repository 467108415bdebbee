// quillon-cli name and check-rule: the rename rule without renaming.
#include "cli/Commands.h"
#include "cli/ReplayJson.h"

#include "core/lang/StringIds.h"
#include "core/rename/Template.h"
#include "core/replay/ReplayError.h"

#include <ostream>

namespace quillon::cli {

int RunName(const std::string& file, const TRuleOptions& rule, std::ostream& out, std::ostream& err) {
    TLoaded loaded = LoadReplay(file, 1);
    if (!loaded.Replay) {
        ReportLoadError(file, loaded.Error, false, out, err);
        return 1;
    }
    std::string name;
    try {
        name = MakeReplayName(rule.PlayerTemplate, rule.Conjunction, rule.GlobalTemplate, *loaded.Replay);
    } catch (const TReplayError& e) {
        err << "quillon-cli: " << file << ": " << e.what() << "\n";
        return 1;
    }
    if (name.empty()) {
        err << GetString(MainString::CannotName, rule.Language) << "\n";
        return 1;
    }
    out << name << "\n";
    return 0;
}

int RunCheckRule(const TRuleOptions& rule, std::ostream& out, std::ostream&) {
    struct TPart {
        const char* Name;
        TTemplateCheck Check;
    };
    const TPart parts[] = {{"player template", CheckPlayerTemplate(rule.PlayerTemplate, rule.Language)},
                           {"conjunction", CheckConjunction(rule.Conjunction, rule.Language)},
                           {"global template", CheckGlobalTemplate(rule.GlobalTemplate, rule.Language)}};
    for (const auto& part : parts) {
        if (part.Check.Ok)
            continue;
        out << part.Name << ": " << part.Check.Message << " (position " << part.Check.Start << ", length "
            << part.Check.Length << ")\n";
        return 1;
    }
    return 0;
}

} // namespace quillon::cli
