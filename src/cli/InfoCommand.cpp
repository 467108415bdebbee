// quillon-cli info: the lists the window shows, or the replay model as JSON.
#include "cli/Command.h"
#include "cli/Output.h"
#include "cli/ReplayJson.h"

#include "core/present/ListRows.h"
#include "core/replay/LoadReplay.h"

#include <CLI/CLI.hpp>

#include <iomanip>
#include <ostream>

namespace quillon::cli {

namespace {

struct TInfoOptions {
    std::vector<std::string> Files;
    int Detail = 1;
    bool Json = false;
    bool Model = false; // every field of the model as text, instead of the window's lists
    std::optional<TLanguage> LanguageFlag;
    TLanguage Language = TLanguage::English;
    bool ShowUnused = true;
    bool ShowObservers = true;
};

void PrintRows(const TReplayInfo& r, const TInfoOptions& options, std::ostream& out) {
    const TNumberFormat format = TNumberFormat::FromSystem();
    for (const auto& row : InfoRows(r, format, options.Language))
        out << TerminalText(row.Caption) << "\t" << TerminalText(row.Value.value_or("")) << "\n";
    out << "\n";
    const TPlayerListOptions list{options.ShowUnused, options.ShowObservers};
    for (const auto& row : PlayerRows(r, list, format, options.Language)) {
        out << row.Caption;
        // The last sub-item of a full row is the hidden player id.
        const size_t shown = row.FullRow ? row.SubItems.size() - 1 : row.SubItems.size();
        for (size_t i = 0; i < shown; ++i)
            out << "\t" << TerminalText(row.SubItems[i]);
        out << "\n";
    }
}

void PrintModel(const TReplayInfo& r, uint8_t detail, std::ostream& out) {
    const auto text = [](const std::string& s) { return TerminalText(s); };
    out << "File: " << text(r.FileName) << "\n";
    out << "Header: size " << r.HeaderSize << ", file size " << r.FileSize << ", header version " << r.HeaderVersion
        << ", data size " << r.DataSize << ", blocks " << r.BlockCount << "\n";
    out << "Product: " << text(r.ProductId) << "  Version: " << r.Version << "  Build: " << r.Build << "  Flags: 0x"
        << std::hex << std::setw(4) << std::setfill('0') << r.Flags << std::dec << std::setfill(' ') << "\n";
    out << "Length: " << r.Length << " ms  Checksum: 0x" << std::hex << std::setw(8) << std::setfill('0') << r.Checksum
        << std::dec << std::setfill(' ') << "\n";
    out << "Game name: " << text(r.Game.GameName) << "\n";
    out << "Map: " << text(r.Game.MapPath) << "\n";
    out << "Creator: " << text(r.Game.Creator) << "\n";
    out << "Game type: " << r.Game.GameType << "  Start spots: " << int{r.Game.StartSpots} << "\n";
    out << "Players:\n";
    for (int i = 0; i < r.Players->Count(); ++i) {
        const TPlayerInfo& p = r.Players->At(i);
        out << "  id " << int{p.Id} << "  slot " << int{p.SlotStatus} << "  name \"" << text(p.Name) << "\"  observer "
            << p.Observer << "  team " << int{p.Team} << "  color " << int{p.Color} << "  race " << int{p.Race}
            << "  actions " << p.Actions << "  apm " << std::fixed << std::setprecision(1) << p.Apm << std::defaultfloat
            << "  handicap " << int{p.Handicap} << "  time " << p.Time << "  computer " << p.Computer << "  ai "
            << int{p.AiStrength} << "\n";
    }
    out << "Teams:\n";
    for (int i = 0; i < r.Teams->Count(); ++i) {
        const TTeamInfo& t = r.Teams->At(i);
        out << "  team " << int{t.Number} << ":";
        for (uint8_t id : t.Members)
            out << " " << int{id};
        out << "\n";
    }
    out << "Winner: " << r.Winner << "\n";
    if (detail >= 2 && r.Actions)
        out << "Recorded actions: " << r.Actions->Count() << "\n";
    if (detail >= 1)
        out << "Walk end: " << WalkEndJson(r.WalkEnd).get<std::string>() << "\n";
}

int RunInfo(const TInfoOptions& options, std::ostream& out, std::ostream& err) {
    const auto detail = static_cast<uint8_t>(options.Detail);
    int status = 0;
    bool first = true;
    for (const auto& file : options.Files) {
        const TLoadResult loaded = LoadReplay(file, detail);
        if (!loaded.Ok()) {
            status = 1;
            ReportLoadError(file, LoadErrorText(loaded, options.Language), options.Json, out, err);
            continue;
        }
        if (options.Json) {
            out << ReplayJson(*loaded.Replay, detail).dump() << "\n";
            continue;
        }
        if (!first)
            out << "\n";
        if (options.Files.size() > 1)
            out << "# " << file << "\n";
        if (options.Model)
            PrintModel(*loaded.Replay, detail, out);
        else
            PrintRows(*loaded.Replay, options, out);
        first = false;
    }
    return status;
}

} // namespace

void AddInfoCommand(CLI::App& app, TContext& context) {
    auto o = std::make_shared<TInfoOptions>();
    auto* cmd = app.add_subcommand("info", "Show what a replay holds");
    cmd->add_option("FILE", o->Files, "Replay files")->required();
    cmd->add_option("--detail", o->Detail, "0 header and slots, 1 counts and winner, 2 also every action")
        ->check(CLI::IsMember({0, 1, 2}));
    cmd->add_flag("--json", o->Json, "The replay model as JSON, one object per file and line");
    cmd->add_flag("--model", o->Model, "The replay model as text: header, game, every player field, teams")
        ->excludes("--json");
    AddLanguageOption(cmd, o->LanguageFlag, "Interface language: en or zh");
    cmd->add_option("--show-unused", o->ShowUnused, "List open and closed slots (0 or 1)")
        ->check(CLI::IsMember({"0", "1"}));
    cmd->add_option("--show-observers", o->ShowObservers, "List observers (0 or 1)")->check(CLI::IsMember({"0", "1"}));
    cmd->callback([o, &context] {
        o->Language = o->LanguageFlag.value_or(LanguageFromLocale());
        context.Status = RunInfo(*o, context.Out, context.Err);
    });
}

} // namespace quillon::cli
