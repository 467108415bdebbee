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

// The rename rule's flags: each part from its flag, else from the settings file, else the default.
struct TRuleFlags {
    std::string Settings;
    std::optional<std::string> Player, Conj, Global;
    std::string Language;
};

void AddRuleFlags(CLI::App* cmd, TRuleFlags& f, const char* player, const char* conj, const char* global) {
    cmd->add_option("--settings", f.Settings, "Settings file to read the rule from");
    cmd->add_option(player, f.Player, "Player template");
    cmd->add_option(conj, f.Conj, "Conjunction");
    cmd->add_option(global, f.Global, "Global template");
    cmd->add_option("--lang", f.Language, "Language of the messages: en or zh")->check(CLI::IsMember({"en", "zh"}));
}

// The rule and language to rename with; 2 (after saying why) for an unusable settings file or a bad rule. The
// language is the flag's, else the file's, else the locale's. Only a missing file at the usual place means the
// defaults.
int ResolveRule(const TRuleFlags& f, TRenameRule& rule, TLanguage& language, std::ostream& err) {
    const std::string settingsPath = SettingsPath(ProgramDir(), f.Settings);
    const TSettingsRead read = ReadSettings(settingsPath);
    if (!read.Problem.empty() || (read.Missing && !f.Settings.empty())) {
        err << "quillon-cli: settings file " << TerminalText(settingsPath) << ": "
            << (read.Missing ? "No such file" : read.Problem) << "\n";
        return 2;
    }
    rule = read.Settings.Rule;
    if (f.Player)
        rule.PlayerTemplate = *f.Player;
    if (f.Conj)
        rule.Conjunction = *f.Conj;
    if (f.Global)
        rule.GlobalTemplate = *f.Global;
    if (f.Language.empty() || !ParseLanguage(f.Language, language))
        language = LanguageFromSettingOrLocale(read.Settings.Language);
    return RuleIsUsable(rule, language, err) ? 0 : 2; // before any file is touched
}

// Search flags whose text needs reading before use.
struct TQueryFlags {
    std::string Race, VsRace, After, Before, Sort = "date";
    int64_t MinLength = 0; // minutes
    int Limit = 0;         // 0: not given
    bool Ascending = false;
};

void AddQueryFlags(CLI::App* cmd, TQueryFlags& f, TLibraryQuery& q) {
    cmd->add_option("--player", q.Player, "A player's name or its start, in any letter case");
    cmd->add_option("--race", f.Race, "That player's race (any player's without --player): human, orc, ...");
    cmd->add_option("--vs-race", f.VsRace, "An opponent's race");
    cmd->add_option("--map", q.Map, "The map's name or its start");
    cmd->add_option("--version", q.Version, "The patch, as 1.26 (or its start, as 1.3)");
    cmd->add_option("--after", f.After, "Played on or after this day (YYYY-MM-DD)");
    cmd->add_option("--before", f.Before, "Played before this day (YYYY-MM-DD)");
    // Bounded, so the minutes can never overflow into a length every replay has: a replay lasts under 36,000.
    cmd->add_option("--min-length", f.MinLength, "At least this many minutes long")
        ->check(CLI::Range(int64_t{0}, int64_t{1000000}));
    cmd->add_option("--winner", q.Winner, "A player on the winning team");
    cmd->add_option("--text", q.Text, "Words in game names, maps and player names");
    cmd->add_option("--sort", f.Sort, "date, length, apm, map or version (default date, newest first)")
        ->check(CLI::IsMember({"date", "length", "apm", "map", "version"}));
    cmd->add_flag("--asc", f.Ascending, "Sort from the lowest up");
    cmd->add_option("--limit", f.Limit, "At most this many replays (search: default 50)")
        ->check(CLI::Range(1, 100000000));
    cmd->add_flag("--with-unreadable", q.WithUnreadable, "Also list files that could not be read");
}

// 2 (after saying why) for a race or date that cannot be read.
int FinishQuery(const TQueryFlags& f, TLibraryQuery& q, std::ostream& err) {
    for (const auto& [text, race] : {std::pair{&f.Race, &q.Race}, std::pair{&f.VsRace, &q.VsRace}})
        if (!text->empty() && (*race = ParseRaceName(*text)) == 0) {
            err << "quillon-cli: unknown race \"" << TerminalText(*text)
                << "\" (human, orc, nightelf, undead, random)\n";
            return 2;
        }
    for (const auto& [text, date] : {std::pair{&f.After, &q.After}, std::pair{&f.Before, &q.Before}})
        if (!text->empty() && !(*date = ParseDate(*text))) {
            err << "quillon-cli: \"" << TerminalText(*text) << "\" is no date: write YYYY-MM-DD\n";
            return 2;
        }
    static constexpr std::pair<std::string_view, TLibrarySort> Sorts[] = {{"date", TLibrarySort::Date},
                                                                          {"length", TLibrarySort::Length},
                                                                          {"apm", TLibrarySort::Apm},
                                                                          {"map", TLibrarySort::Map},
                                                                          {"version", TLibrarySort::Version}};
    for (const auto& [name, sort] : Sorts)
        if (f.Sort == name)
            q.Sort = sort;
    q.Descending = !f.Ascending;
    q.MinLength = f.MinLength * 60000;
    q.Limit = f.Limit > 0 ? f.Limit : 50;
    return 0;
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
    infoCmd->add_option("--show-unused", info.ShowUnused, "List open and closed slots (0 or 1)")
        ->check(CLI::IsMember({"0", "1"}));
    infoCmd->add_option("--show-observers", info.ShowObservers, "List observers (0 or 1)")
        ->check(CLI::IsMember({"0", "1"}));

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
    TRuleFlags renameRule;
    auto* renameCmd =
        app.add_subcommand("rename", "Rename replays by the rename rule: files, or folders and all below");
    renameCmd->add_option("PATH", rename.Paths, "Replay files or folders")->required();
    renameCmd->add_flag("--dry-run", rename.DryRun, "Decide and report everything, change nothing");
    renameCmd->add_flag("--json", rename.Json, "One JSON object per file and line");
    renameCmd->add_flag("--interactive", rename.Interactive, "Ask before renaming a single file");
    AddRuleFlags(renameCmd, renameRule, "--player", "--conj", "--global");

    TLibraryOptions library;
    library.Language = LanguageFromLocale();
    TQueryFlags libraryQuery;
    TRuleFlags libraryRule;
    std::string libraryLang;
    auto* libraryCmd = app.add_subcommand("library", "A searchable index of whole replay collections");
    libraryCmd->require_subcommand(1);
    auto* addCmd = libraryCmd->add_subcommand("add", "Index the replays below folders (again: only what changed)");
    addCmd->add_option("DIR", library.Folders, "Folders")->required();
    auto* searchCmd = libraryCmd->add_subcommand("search", "Find replays by player, race, map, date ...");
    auto* statsCmd = libraryCmd->add_subcommand("stats", "Counts by version, race and map; the top players");
    auto* libRenameCmd = libraryCmd->add_subcommand("rename", "Rename what a search finds, as Batch Rename does");
    auto* resetCmd = libraryCmd->add_subcommand("reset", "Replace the library file with an empty library");
    for (CLI::App* cmd : {addCmd, searchCmd, statsCmd, libRenameCmd, resetCmd})
        cmd->add_option("--library", library.LibraryPath, "Library file (default: the user's data folder)");
    for (CLI::App* cmd : {addCmd, searchCmd, statsCmd, libRenameCmd})
        cmd->add_flag("--json", library.Json, "JSON output");
    for (CLI::App* cmd : {searchCmd, libRenameCmd})
        AddQueryFlags(cmd, libraryQuery, library.Query);
    AddRuleFlags(libRenameCmd, libraryRule, "--rule-player", "--rule-conj", "--rule-global");
    libRenameCmd->add_flag("--dry-run", library.DryRun, "Decide and report everything, change nothing");
    searchCmd->add_option("--lang", libraryLang, "Language of the times: en or zh")->check(CLI::IsMember({"en", "zh"}));

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
        const int status = ResolveRule(renameRule, rename.Rule, rename.Language, err);
        return status != 0 ? status : RunRename(rename, in, out, err);
    }
    if (libraryCmd->parsed()) {
        for (CLI::App* action : libraryCmd->get_subcommands())
            library.Action = action->get_name();
        if (const int status = FinishQuery(libraryQuery, library.Query, err))
            return status;
        ParseLanguage(libraryLang, library.Language);
        if (library.Action == "rename") {
            if (libraryQuery.Limit == 0)
                library.Query.Limit = -1; // every match, unless a limit is given
            const int status = ResolveRule(libraryRule, library.Rule, library.Language, err);
            if (status != 0)
                return status;
        }
        return RunLibrary(library, out, err);
    }
    return RunCheckRule(checkRule, out, err);
}

} // namespace quillon::cli
