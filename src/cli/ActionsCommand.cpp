// quillon-cli actions: a page of the action list in words, or (--raw) every recorded action of the model.
#include "cli/Commands.h"
#include "cli/ReplayJson.h"

#include "core/present/ListRows.h"

#include "core/text/Utf8.h"

#include <cstdio>
#include <ostream>

namespace quillon::cli {

namespace {

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

} // namespace

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

} // namespace quillon::cli
