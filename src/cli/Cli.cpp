#include "cli/Cli.h"

#include "cli/Command.h"

#include <CLI/CLI.hpp>

#include <iostream>

namespace quillon::cli {

CLI::Option* AddLanguageOption(CLI::App* command, std::optional<TLanguage>& language, const std::string& help) {
    return command
        ->add_option_function<std::string>(
            "--lang",
            [&language](const std::string& text) {
                TLanguage parsed = TLanguage::English;
                if (ParseLanguage(text, parsed))
                    language = parsed;
            },
            help)
        ->check(CLI::IsMember({"en", "zh"}));
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCli(args, std::cin, out, err);
}

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    CLI::App app{"Quillon: reads and renames Warcraft III replays", "quillon-cli"};
    app.set_version_flag("--version", std::string(QUILLON_VERSION));
    app.require_subcommand(1);
    TContext context{in, out, err};
    AddInfoCommand(app, context);
    AddActionsCommand(app, context);
    AddSummaryCommand(app, context);
    AddNameCommand(app, context);
    AddCheckRuleCommand(app, context);
    AddRenameCommand(app, context);
    AddWatchCommand(app, context);
    AddLibraryCommand(app, context);

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed); // the chosen command runs from its callback
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
    return context.Status;
}

} // namespace quillon::cli
