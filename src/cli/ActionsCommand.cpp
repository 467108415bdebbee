// quillon-cli actions: a page of the action list in words, or (--raw) every recorded action of the model.
#include "cli/Command.h"
#include "cli/Output.h"
#include "cli/ReplayJson.h"

#include "core/present/ListRows.h"
#include "core/text/Utf8.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cstdio>
#include <ostream>

namespace quillon::cli {

namespace {

struct TActionsOptions {
    std::string File;
    bool Raw = false;
    bool Json = false;
    std::optional<TLanguage> LanguageFlag;
    TLanguage Language = TLanguage::English;
    int32_t Page = 1;
    int32_t PerPage = 50;
    std::vector<int> PlayerIds;
    std::optional<std::vector<int>> Players; // default: every human player
};

// A parameter for the terminal: printable text as it is, other bytes as \xNN.
std::string Printable(std::string_view param) {
    std::string s = Utf8OrLatin1(param);
    std::string out;
    for (unsigned char c : s) {
        if (c < 0x20 || c == 0x7F || c == '\\') {
            AppendEscaped(out, c);
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

void PrintRaw(const TActionsInfo& actions, bool json, std::ostream& out) {
    if (json) {
        out << ActionsJson(actions).dump() << "\n";
        return;
    }
    for (int32_t i = 0; i < actions.Count(); ++i) {
        const TActionInfo& a = actions.At(i);
        char head[64];
        std::snprintf(head, sizeof head, "%lld\t%u\t0x%02X", static_cast<long long>(a.Time), a.PlayerId, a.Kind);
        out << head;
        for (size_t k = 0; k < a.Params.Count(); ++k)
            out << (k == 0 ? "\t" : " | ") << Printable(a.Params[k]);
        out << "\n";
    }
}

void PrintPage(const TReplayInfo& replay, const TActionsOptions& options, std::ostream& out) {
    TPlayerSet shown;
    if (options.Players) {
        for (int id : *options.Players)
            shown.set(static_cast<size_t>(id));
    } else {
        const auto rows = PlayerRows(replay, {}, TNumberFormat{}, options.Language);
        shown = ComputeShownPlayers(rows, options.Language);
    }
    TGameTables tables;
    tables.Load(options.Language);
    const auto rows = PageRows(replay, options.Page, options.PerPage, shown, tables);
    if (options.Json) {
        nlohmann::json list = nlohmann::json::array();
        for (const auto& row : rows)
            list.push_back({{"player", JsonText(row.Player)}, {"time", row.Time}, {"action", JsonText(row.Action)}});
        out << list.dump() << "\n";
        return;
    }
    for (const auto& row : rows)
        out << TerminalText(row.Player) << "\t" << row.Time << "\t" << TerminalText(row.Action) << "\n";
}

int RunActions(const TActionsOptions& options, std::ostream& out, std::ostream& err) {
    const auto replay = LoadOrReport(options.File, 2, options.Language, options.Json, out, err);
    if (!replay)
        return 1;
    if (options.Raw) {
        PrintRaw(*replay->Actions, options.Json, out);
        return 0;
    }
    const int32_t pages = PageCount(*replay, options.PerPage);
    if (options.Page > pages) // not an error, but the user should know why nothing is listed
        err << "quillon-cli: " << TerminalText(options.File) << " has " << pages << (pages == 1 ? " page" : " pages")
            << " of " << options.PerPage << " actions\n";
    PrintPage(*replay, options, out);
    return 0;
}

} // namespace

void AddActionsCommand(CLI::App& app, TContext& context) {
    auto o = std::make_shared<TActionsOptions>();
    auto* cmd = app.add_subcommand("actions", "List the recorded actions of a replay, page by page");
    cmd->add_option("FILE", o->File, "Replay file")->required();
    cmd->add_flag("--raw", o->Raw, "The raw model: kind and parameter texts of every action");
    cmd->add_flag("--json", o->Json, "JSON output");
    AddLanguageOption(cmd, o->LanguageFlag, "Interface language: en or zh");
    auto* page = cmd->add_option("--page", o->Page, "Page to show (default 1)")
                     ->check(CLI::Validator(
                         [](const std::string& text) {
                             int n = 0;
                             const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
                             return ec == std::errc{} && end == text.data() + text.size() && n >= 1
                                        ? std::string()
                                        : "pages start at 1: --page takes 1, 2, 3 ...";
                         },
                         "N"));
    auto* perPage =
        cmd->add_option("--per-page", o->PerPage, "Actions per page (default 50)")->check(CLI::Range(1, 100000));
    auto* players = cmd->add_option("--players", o->PlayerIds, "Ids of the players to show, as 1,3")
                        ->delimiter(',')
                        ->check(CLI::Range(0, 255));
    // --raw lists the whole model: a page, its size and the players do not apply to it.
    for (CLI::Option* pageOnly : {page, perPage, players})
        pageOnly->excludes("--raw");
    cmd->callback([o, players, &context] {
        o->Language = o->LanguageFlag.value_or(LanguageFromLocale());
        if (players->count() > 0)
            o->Players = o->PlayerIds;
        context.Status = RunActions(*o, context.Out, context.Err);
    });
}

} // namespace quillon::cli
