// quillon-cli summary: how the game went, from APM per minute to who left when.
#include "cli/Command.h"
#include "cli/Output.h"
#include "cli/SummaryOutput.h"

#include "core/lang/StringIds.h"
#include "core/platform/AtomicFile.h"
#include "core/present/GameText.h"
#include "core/summary/HtmlReport.h"
#include "core/summary/SummaryWords.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

namespace quillon::cli {

namespace {

using nlohmann::json;

// Players a section lists: the ones who play (observers and computers give no orders worth a section).
bool Plays(const TPlayerSummary& p) {
    return !p.Observer && !p.Computer;
}

} // namespace

json SummaryJson(const std::string& file, const TReplaySummary& s, TLanguage language) {
    json out;
    AddPath(out, "file", file);
    out["minutes"] = s.MinuteCount;
    json players = json::array(), apm = json::array(), builds = json::array(), heroes = json::array();
    for (const auto& p : s.Players) {
        players.push_back({{"id", p.Id},
                           {"name", JsonText(p.Name)},
                           {"color", p.Color},
                           {"observer", p.Observer},
                           {"computer", p.Computer}});
        apm.push_back({{"playerId", p.Id},
                       {"perMinute", p.Apm.PerMinute},
                       {"total", p.Apm.Total},
                       {"peakMinute", p.Apm.PeakMinute},
                       {"peak", p.Apm.PeakCount}});
        json steps = json::array();
        for (const auto& b : p.Builds)
            steps.push_back({{"time", b.Time},
                             {"kind", BuildKindKey(b.Kind)},
                             {"id", JsonText(b.Id)},
                             {"name", b.Name},
                             {"cancelled", b.Cancelled}});
        builds.push_back({{"playerId", p.Id}, {"steps", steps}});
        json list = json::array();
        for (const auto& h : p.Heroes) {
            json skills = json::array();
            for (const auto& k : h.Skills)
                skills.push_back({{"time", k.Time},
                                  {"id", JsonText(k.Id)},
                                  {"name", k.Name},
                                  {"skillLevel", k.SkillLevel},
                                  {"heroLevel", k.HeroLevel}});
            list.push_back({{"time", h.Time},
                            {"id", JsonText(h.Id)},
                            {"name", h.Name},
                            {"fromTavern", h.FromTavern},
                            {"trainingSeen", h.TrainingSeen},
                            {"cancelled", h.Cancelled},
                            {"level", h.Level()},
                            {"skills", skills}});
        }
        heroes.push_back({{"playerId", p.Id}, {"heroes", list}});
    }
    json chat = json::array();
    for (const auto& c : s.Chat) {
        json line = {{"time", c.Time},
                     {"playerId", c.PlayerId},
                     {"sender", JsonText(c.Sender)},
                     {"channel", ChannelKey(c.Channel)},
                     {"text", JsonText(c.Text)}};
        if (c.Channel == TChatChannel::Private) {
            line["toPlayerId"] = c.ToPlayerId == 0 ? json(nullptr) : json(c.ToPlayerId);
            line["to"] = c.ToPlayerId == 0 ? json(nullptr) : json(JsonText(c.To));
        }
        chat.push_back(std::move(line));
    }
    json leaves = json::array();
    for (const auto& l : s.Leaves)
        leaves.push_back({{"time", l.Time},
                          {"playerId", l.PlayerId},
                          {"name", JsonText(l.Name)},
                          {"result", LeaveResultKey(l.Result)},
                          {"resultText", LeaveResultText(l.Result, language)}});
    out["players"] = players;
    out["apm"] = apm;
    out["builds"] = builds;
    out["heroes"] = heroes;
    out["chat"] = chat;
    out["leaves"] = leaves;
    return out;
}

namespace {

class TSummaryPrinter {
public:
    TSummaryPrinter(const TReplaySummary& s, TLanguage language, std::ostream& out) : S(s), Lang(language), Out(out) {}

    void Print() {
        PrintApm();
        PrintBuilds();
        PrintHeroes();
        PrintChat();
        PrintLeaves();
    }

private:
    std::string Text(SummaryString n) const { return GetString(n, Lang); }
    std::string Time(int64_t ms) const { return GameTimeText(ms, Lang); }
    void Heading(SummaryString title, SummaryString limits) {
        Out << "== " << Text(title) << " ==\n" << Text(limits) << "\n";
    }

    void PrintApm() {
        Heading(SummaryString::ApmSection, SummaryString::ApmLimits);
        int32_t peak = 0;
        size_t nameWidth = 0;
        for (const auto& p : S.Players)
            if (Plays(p)) {
                peak = std::max(peak, p.Apm.PeakCount);
                nameWidth = std::max(nameWidth, TerminalText(p.Name).size());
            }
        for (const auto& p : S.Players) {
            if (!Plays(p))
                continue;
            const std::string name = TerminalText(p.Name);
            Out << "  " << name << std::string(nameWidth - name.size(), ' ') << "  |"
                << Sparkline(p.Apm.PerMinute, peak) << "|  ";
            if (p.Apm.PeakMinute < 0)
                Out << Text(SummaryString::NoActions) << "\n";
            else
                Out << FormatText(Text(SummaryString::ApmLine),
                                  {std::to_string(p.Apm.Total), std::to_string(p.Apm.PeakCount),
                                   std::to_string(p.Apm.PeakMinute + 1)})
                    << "\n";
        }
        for (const auto& p : S.Players) {
            if (!Plays(p))
                continue;
            Out << "  " << TerminalText(p.Name) << ":";
            for (const int32_t n : p.Apm.PerMinute)
                Out << " " << n;
            Out << "\n";
        }
        Out << "\n";
    }

    // Each playing player's name, then their list (or the text for none).
    template <typename List, typename PrintItem>
    void PerPlayer(List TPlayerSummary::*list, SummaryString none, PrintItem print) {
        for (const auto& p : S.Players) {
            if (!Plays(p))
                continue;
            Out << TerminalText(p.Name) << "\n";
            if ((p.*list).empty())
                Out << "  " << Text(none) << "\n";
            for (const auto& item : p.*list)
                print(item);
        }
        Out << "\n";
    }

    void PrintBuilds() {
        Heading(SummaryString::BuildSection, SummaryString::BuildLimits);
        PerPlayer(&TPlayerSummary::Builds, SummaryString::NoBuilds, [this](const TBuildStep& b) {
            Out << "  " << Time(b.Time) << "  " << BuildKindText(b.Kind, Lang) << "  " << TerminalText(b.Name);
            if (b.Cancelled)
                Out << "  (" << Text(SummaryString::Cancelled) << ")";
            Out << "\n";
        });
    }

    void PrintHeroes() {
        Heading(SummaryString::HeroSection, SummaryString::HeroLimits);
        PerPlayer(&TPlayerSummary::Heroes, SummaryString::NoHeroes, [this](const THeroRecord& h) {
            Out << "  " << Time(h.Time) << "  " << TerminalText(h.Name) << ", "
                << FormatText(Text(SummaryString::HeroLevel), {std::to_string(h.Level())});
            for (const auto& note : {std::pair{h.FromTavern, SummaryString::FromTavern},
                                     std::pair{!h.TrainingSeen, SummaryString::GivenByMap},
                                     std::pair{h.Cancelled, SummaryString::Cancelled}})
                if (note.first)
                    Out << "  (" << Text(note.second) << ")";
            Out << "\n";
            for (const auto& k : h.Skills)
                Out << "    " << Time(k.Time) << "  " << k.HeroLevel << "  " << TerminalText(k.Name) << " "
                    << k.SkillLevel << "\n";
        });
    }

    void PrintChat() {
        Heading(SummaryString::ChatSection, SummaryString::ChatLimits);
        if (S.Chat.empty())
            Out << "  " << Text(SummaryString::NoChat) << "\n";
        for (const auto& c : S.Chat) {
            Out << "  " << Time(c.Time) << "  [" << ChannelText(c.Channel, Lang);
            if (c.Channel == TChatChannel::Private && c.ToPlayerId != 0)
                Out << " " << FormatText(Text(SummaryString::PrivateTo), {TerminalText(c.To)});
            Out << "]  " << TerminalText(c.Sender) << ": " << TerminalText(c.Text) << "\n";
        }
        Out << "\n";
    }

    void PrintLeaves() {
        Heading(SummaryString::LeaveSection, SummaryString::LeaveLimits);
        if (S.Leaves.empty())
            Out << "  " << Text(SummaryString::NoLeaves) << "\n";
        for (const auto& l : S.Leaves)
            Out << "  " << Time(l.Time) << "  " << TerminalText(l.Name) << "  " << LeaveResultText(l.Result, Lang)
                << "\n";
    }

    const TReplaySummary& S;
    TLanguage Lang;
    std::ostream& Out;
};

} // namespace

void PrintSummary(const TReplaySummary& s, TLanguage language, std::ostream& out) {
    TSummaryPrinter(s, language, out).Print();
}

void AddSummaryCommand(CLI::App& app, TContext& context) {
    struct TOptions {
        std::string File;
        bool Json = false;
        std::optional<TLanguage> Language;
        std::string Html;
    };
    auto o = std::make_shared<TOptions>();
    auto* cmd = app.add_subcommand("summary", "How the game went: APM per minute, build orders, heroes, chat, leaves");
    cmd->add_option("FILE", o->File, "Replay file")->required();
    cmd->add_flag("--json", o->Json, "One JSON object with the five lists (times in ms)");
    cmd->add_option("--html", o->Html,
                    "Write the replay's report to OUT instead: one HTML page that opens offline in any browser "
                    "(an existing file is never written over)")
        ->type_name("OUT");
    AddLanguageOption(cmd, o->Language, "Interface language: en or zh");
    cmd->callback([o, &context] {
        const TLanguage language = o->Language.value_or(LanguageFromLocale());
        const auto replay = LoadOrReport(o->File, 2, language, o->Json, context.Out, context.Err);
        if (!replay) {
            context.Status = 1;
            return;
        }
        TGameTables tables;
        tables.Load(language);
        const TReplaySummary summary = SummarizeReplay(*replay, tables);
        if (!o->Html.empty()) {
            const std::string page = ReplayReportHtml(*replay, summary, TNumberFormat::FromSystem(), language);
            context.Status = WriteReport(o->Html, page, language, context.Err);
            return;
        }
        if (o->Json)
            context.Out << SummaryJson(o->File, summary, language).dump() << "\n";
        else
            PrintSummary(summary, language, context.Out);
    });
}

} // namespace quillon::cli
