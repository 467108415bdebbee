#include "cli/Cli.h"

#include "cli/Commands.h"
#include "cli/ReplayJson.h"
#include "core/rename/RenameRule.h"
#include "core/settings/Settings.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <iostream>

namespace quillon::cli {

namespace {

// --lang en|zh; the locale's language when absent.
void AddLanguage(CLI::App* cmd, TLanguage& language, std::string& text) {
    language = LanguageFromLocale();
    cmd->add_option("--lang", text, "Interface language: en or zh")->check(CLI::IsMember({"en", "zh"}));
}

void AddRule(CLI::App* cmd, TRuleOptions& rule) {
    const TRenameRule defaults;
    rule.PlayerTemplate = defaults.PlayerTemplate;
    rule.Conjunction = defaults.Conjunction;
    rule.GlobalTemplate = defaults.GlobalTemplate;
    cmd->add_option("--player", rule.PlayerTemplate, "Player template (default <name>)");
    cmd->add_option("--conj", rule.Conjunction, "Conjunction between the players of a team (default +)");
    cmd->add_option("--global", rule.GlobalTemplate, "Global template (default <win>-vs-<loss>)");
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCli(args, std::cin, out, err);
}

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    CLI::App app{"Quillon: reads and renames Warcraft III replays", "quillon-cli"};
    app.set_version_flag("--version", std::string(QUILLON_VERSION));
    app.require_subcommand(1);

    TInfoOptions info;
    std::string infoLang;
    auto* infoCmd = app.add_subcommand("info", "Show what a replay holds");
    infoCmd->add_option("FILE", info.Files, "Replay files")->required();
    infoCmd->add_option("--detail", info.Detail, "0 header and slots, 1 counts and winner, 2 also every action")
        ->check(CLI::IsMember({0, 1, 2}));
    infoCmd->add_flag("--json", info.Json, "The replay model as JSON, one object per file and line");
    infoCmd->add_flag("--model", info.Model, "The replay model as text: header, game, every player field, teams")
        ->excludes("--json");
    AddLanguage(infoCmd, info.Language, infoLang);
    infoCmd->add_option("--show-unused", info.ShowUnused, "List open and closed slots (0 or 1)");
    infoCmd->add_option("--show-observers", info.ShowObservers, "List observers (0 or 1)");

    TActionsOptions actions;
    std::string actionsLang;
    std::vector<int> players;
    auto* actionsCmd = app.add_subcommand("actions", "List the recorded actions of a replay, page by page");
    actionsCmd->add_option("FILE", actions.File, "Replay file")->required();
    actionsCmd->add_flag("--raw", actions.Raw, "The raw model: kind and parameter texts of every action");
    actionsCmd->add_flag("--json", actions.Json, "JSON output");
    AddLanguage(actionsCmd, actions.Language, actionsLang);
    auto* pageOpt = actionsCmd->add_option("--page", actions.Page, "Page to show (default 1)")
                        ->check(CLI::Validator(
                            [](const std::string& text) {
                                int page = 0;
                                const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), page);
                                return ec == std::errc{} && end == text.data() + text.size() && page >= 1
                                           ? std::string()
                                           : "pages start at 1: --page takes 1, 2, 3 ...";
                            },
                            "N"));
    actionsCmd->add_option("--per-page", actions.PerPage, "Actions per page (default 50)")
        ->check(CLI::Range(1, 100000));
    auto* playersOpt = actionsCmd->add_option("--players", players, "Ids of the players to show, as 1,3")
                           ->delimiter(',')
                           ->check(CLI::Range(0, 255));
    // --raw lists the whole model: a page, its size and the players do not apply to it.
    for (CLI::Option* pageOnly : {pageOpt, actionsCmd->get_option("--per-page"), playersOpt})
        pageOnly->excludes("--raw");

    TSummaryOptions summary;
    std::string summaryLang;
    auto* summaryCmd =
        app.add_subcommand("summary", "How the game went: APM per minute, build orders, heroes, chat, leaves");
    summaryCmd->add_option("FILE", summary.File, "Replay file")->required();
    summaryCmd->add_flag("--json", summary.Json, "One JSON object with the five lists (times in ms)");
    AddLanguage(summaryCmd, summary.Language, summaryLang);

    std::string nameFile;
    TRuleOptions nameRule;
    std::string nameLang;
    auto* nameCmd = app.add_subcommand("name", "Print the name a rename rule makes for a replay");
    nameCmd->add_option("FILE", nameFile, "Replay file")->required();
    AddRule(nameCmd, nameRule);
    AddLanguage(nameCmd, nameRule.Language, nameLang);

    TRuleOptions checkRule;
    std::string checkLang;
    auto* checkCmd = app.add_subcommand("check-rule", "Check a rename rule; print its first problem");
    AddRule(checkCmd, checkRule);
    AddLanguage(checkCmd, checkRule.Language, checkLang);

    TRenameOptions rename;
    std::string renameLang;
    std::optional<std::string> renamePlayer, renameConj, renameGlobal;
    auto* renameCmd =
        app.add_subcommand("rename", "Rename replays by the rename rule: files, or folders and all below");
    renameCmd->add_option("PATH", rename.Paths, "Replay files or folders")->required();
    renameCmd->add_flag("--dry-run", rename.DryRun, "Decide and report everything, change nothing");
    renameCmd->add_flag("--json", rename.Json, "One JSON object per file and line");
    renameCmd->add_flag("--interactive", rename.Interactive, "Ask before renaming a single file");
    std::string renameSettings;
    renameCmd->add_option("--settings", renameSettings, "Settings file to read the rule from");
    renameCmd->add_option("--player", renamePlayer, "Player template");
    renameCmd->add_option("--conj", renameConj, "Conjunction");
    renameCmd->add_option("--global", renameGlobal, "Global template");
    renameCmd->add_option("--lang", renameLang, "Language of the messages: en or zh")
        ->check(CLI::IsMember({"en", "zh"}));

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return 0;
    } catch (const CLI::CallForVersion&) {
        out << QUILLON_VERSION << "\n";
        return 0;
    } catch (const CLI::ParseError& e) {
        err << "quillon-cli: " << e.what() << "\n"
            << "Run with --help for usage.\n";
        return 2;
    }
    for (auto [text, language] : {std::pair{&infoLang, &info.Language}, std::pair{&actionsLang, &actions.Language},
                                  std::pair{&summaryLang, &summary.Language}, std::pair{&nameLang, &nameRule.Language},
                                  std::pair{&checkLang, &checkRule.Language}})
        if (!text->empty())
            ParseLanguage(*text, *language);

    if (infoCmd->parsed())
        return RunInfo(info, out, err);
    if (actionsCmd->parsed()) {
        if (playersOpt->count() > 0)
            actions.Players = players;
        return RunActions(actions, out, err);
    }
    if (summaryCmd->parsed())
        return RunSummary(summary, out, err);
    if (nameCmd->parsed())
        return RunName(nameFile, nameRule, out, err);
    if (renameCmd->parsed()) {
        // Each part of the rule: the flag, else the settings file, else the default; the language likewise,
        // with the locale's after the file's. A settings file that cannot be used is an error, not the defaults
        // (only a missing one at the usual place means the defaults).
        const std::string settingsPath = SettingsPath(ProgramDir(), renameSettings);
        const TSettingsRead read = ReadSettings(settingsPath);
        if (!read.Problem.empty() || (read.Missing && !renameSettings.empty())) {
            err << "quillon-cli: settings file " << TerminalText(settingsPath) << ": "
                << (read.Missing ? "No such file" : read.Problem) << "\n";
            return 2;
        }
        const TSettings& settings = read.Settings;
        rename.Rule = settings.Rule;
        if (renamePlayer)
            rename.Rule.PlayerTemplate = *renamePlayer;
        if (renameConj)
            rename.Rule.Conjunction = *renameConj;
        if (renameGlobal)
            rename.Rule.GlobalTemplate = *renameGlobal;
        if (renameLang.empty() || !ParseLanguage(renameLang, rename.Language))
            rename.Language = LanguageFromSettingOrLocale(settings.Language);
        if (!RuleIsUsable(rename.Rule, rename.Language, err))
            return 2; // before any file is touched
        return RunRename(rename, in, out, err);
    }
    return RunCheckRule(checkRule, out, err);
}

} // namespace quillon::cli
