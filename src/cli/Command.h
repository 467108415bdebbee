#pragma once
// A command of quillon-cli is one file: it adds its subcommand with its flags, and the callback that runs it.

#include "core/lang/Translations.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace quillon::cli {

/// What a command runs with: the streams, and the exit status it leaves (0 success, 1 a file failed, 2 a usage
/// error).
struct TContext {
    std::istream& In;
    std::ostream& Out;
    std::ostream& Err;
    int Status = 0;
};

/// --lang en|zh, read straight into the language; empty when the flag is not given.
CLI::Option* AddLanguageOption(CLI::App* command, std::optional<TLanguage>& language, const std::string& help);

void AddInfoCommand(CLI::App& app, TContext& context);
void AddActionsCommand(CLI::App& app, TContext& context);
void AddSummaryCommand(CLI::App& app, TContext& context);
void AddNameCommand(CLI::App& app, TContext& context);
void AddCheckRuleCommand(CLI::App& app, TContext& context);
void AddRenameCommand(CLI::App& app, TContext& context);
void AddLibraryCommand(CLI::App& app, TContext& context);
void AddWatchCommand(CLI::App& app, TContext& context);

} // namespace quillon::cli
