#pragma once

#include "core/lang/Translations.h"
#include "core/library/LibrarySearch.h"
#include "core/rename/Rename.h"
#include "core/rename/RenameRule.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace quillon::cli {

struct TInfoOptions {
    std::vector<std::string> Files;
    int Detail = 1;
    bool Json = false;
    bool Model = false; // every field of the model as text, instead of the window's lists
    TLanguage Language = TLanguage::English;
    bool ShowUnused = true;
    bool ShowObservers = true;
};

struct TActionsOptions {
    std::string File;
    bool Raw = false;
    bool Json = false;
    TLanguage Language = TLanguage::English;
    int32_t Page = 1;
    int32_t PerPage = 50;
    std::optional<std::vector<int>> Players; // default: every human player
};

struct TSummaryOptions {
    std::string File;
    bool Json = false;
    TLanguage Language = TLanguage::English;
};

struct TRuleOptions {
    std::string PlayerTemplate;
    std::string Conjunction;
    std::string GlobalTemplate;
    TLanguage Language = TLanguage::English;
};

struct TRenameOptions {
    std::vector<std::string> Paths;
    bool DryRun = false;
    bool Json = false;
    bool Interactive = false;
    bool ShowProgress = true;
    TRenameRule Rule;
    TLanguage Language = TLanguage::English;
};

struct TLibraryOptions {
    std::string Action; // add, search, stats, rename, reset
    std::string LibraryPath;
    std::vector<std::string> Folders;
    TLibraryQuery Query;
    bool Json = false;
    bool DryRun = false;
    bool ShowProgress = true;
    TRenameRule Rule;
    TLanguage Language = TLanguage::English;
};

/// One row of a batch: "path<TAB>result", or a JSON line with its outcome.
void PrintBatchRow(const TBatchRow& row, bool json, std::ostream& out);
/// Renamed, already named right or skipped by the user.
bool BatchRowSucceeded(const TBatchRow& row);

/// False, after saying why on err, when a part of the rule fails its check: such a rule is never used.
bool RuleIsUsable(const TRenameRule& rule, TLanguage language, std::ostream& err);

int RunInfo(const TInfoOptions& options, std::ostream& out, std::ostream& err);
int RunActions(const TActionsOptions& options, std::ostream& out, std::ostream& err);
int RunSummary(const TSummaryOptions& options, std::ostream& out, std::ostream& err);
int RunName(const std::string& file, const TRuleOptions& rule, std::ostream& out, std::ostream& err);
int RunCheckRule(const TRuleOptions& rule, std::ostream& out, std::ostream& err);
int RunLibrary(const TLibraryOptions& options, std::ostream& out, std::ostream& err);
int RunRename(const TRenameOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace quillon::cli
