#include "Cli.h"

#include "Commands.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

namespace quillon::cli {

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{"Quillon: reads and renames Warcraft III replays", "quillon-cli"};
    app.set_version_flag("--version", std::string(QUILLON_VERSION));
    app.require_subcommand(1);

    TInfoOptions info;
    auto* infoCmd = app.add_subcommand("info", "Show what a replay holds");
    infoCmd->add_option("FILE", info.Files, "Replay files")->required();
    infoCmd->add_option("--detail", info.Detail, "0 header and slots, 1 counts and winner, 2 also every action")
        ->check(CLI::IsMember({0, 1, 2}));
    infoCmd->add_flag("--json", info.Json, "One JSON object per file, one per line");

    TActionsOptions actions;
    auto* actionsCmd = app.add_subcommand("actions", "List the recorded actions of a replay");
    actionsCmd->add_option("FILE", actions.File, "Replay file")->required();
    actionsCmd->add_flag("--raw", actions.Raw, "The raw model: kind and parameter texts");
    actionsCmd->add_flag("--json", actions.Json, "JSON output");

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
    if (infoCmd->parsed())
        return RunInfo(info, out, err);
    if (!actions.Raw) {
        err << "quillon-cli: actions: readable rows are not available yet; use --raw\n";
        return 2;
    }
    return RunActions(actions, out, err);
}

} // namespace quillon::cli
