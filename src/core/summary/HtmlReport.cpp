#include "core/summary/HtmlReport.h"

#include "core/lang/StringIds.h"
#include "core/present/GameText.h"
#include "core/present/ListRows.h"
#include "core/summary/SummaryWords.h"
#include "core/text/DecodeText.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace quillon {

namespace {

std::string ColorText(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

bool Plays(const TPlayerSummary& p) {
    return !p.Observer && !p.Computer;
}

class TReport {
public:
    TReport(const TReplayInfo& replay, const TReplaySummary& summary, const TNumberFormat& numbers, TLanguage language)
        : Replay(replay), S(summary), Numbers(numbers), Lang(language) {}

    std::string Page() {
        const std::string file = std::filesystem::path(Replay.FileName).filename().string();
        Out += "<!DOCTYPE html>\n<html lang=\"";
        Out += Lang == TLanguage::Chinese ? "zh-CN" : "en";
        Out += "\">\n<head>\n<meta charset=\"utf-8\">\n<meta name=\"generator\" content=\"Quillon\">\n<title>";
        Out +=
            HtmlEscape(DecodeUtf8Text(file)) + " - Quillon</title>\n<style>\n" + ReportStyle() + "</style>\n</head>\n";
        Out += "<body>\n<h1>" + HtmlEscape(DecodeUtf8Text(file)) + "</h1>\n";
        Information();
        Players();
        Chart();
        Builds();
        Heroes();
        Chat();
        Leaves();
        Out += "<footer>Quillon</footer>\n</body>\n</html>\n";
        return std::move(Out);
    }

private:
    std::string T(SummaryString id) const { return HtmlEscape(GetString(id, Lang)); }
    std::string Caption(std::string_view key) const { return HtmlEscape(FormText(TForm::Main, "caption", key, Lang)); }
    std::string Time(int64_t ms) const { return HtmlEscape(GameTimeText(ms, Lang)); }
    static std::string Swatch(int color) {
        return "<span class=\"swatch\" style=\"background:" + ColorText(SlotColorRgb(color)) + "\"></span>";
    }
    void Section(const char* id, const std::string& title, const std::string& note = {}) {
        Out += std::string("<section id=\"") + id + "\">\n<h2>" + title + "</h2>\n";
        if (!note.empty())
            Out += "<p class=\"note\">" + note + "</p>\n";
    }
    void Row(std::initializer_list<std::string> cells, const char* tag = "td") {
        Out += "<tr>";
        for (const std::string& cell : cells)
            Out += std::string("<") + tag + ">" + cell + "</" + tag + ">";
        Out += "</tr>\n";
    }

    void Information() {
        Section("information", Caption("Label1"));
        Out += "<table>\n";
        for (const TInfoRow& row : InfoRows(Replay, Numbers, Lang))
            Row({HtmlEscape(row.Caption), HtmlEscape(row.Value.value_or(""))});
        Out += "</table>\n</section>\n";
    }

    void Players() {
        Section("players", Caption("Label3"));
        Out += "<table>\n<tr>";
        for (int c = 0; c < 10; ++c)
            Out += "<th>" + Caption("PlayerList.Columns[" + std::to_string(c) + "].Caption") + "</th>";
        Out += "</tr>\n";
        for (const TPlayerRow& row : PlayerRows(Replay, {}, Numbers, Lang)) {
            if (!row.FullRow && row.SubItems.size() < 2)
                continue; // open and closed slots say nothing about the game
            Out +=
                "<tr><td>" + (row.Image >= 0 ? Swatch(row.Image) : std::string()) + HtmlEscape(row.Caption) + "</td>";
            for (size_t i = 0; i < 9; ++i) {
                const bool number = i >= 3 && i <= 6;
                Out += std::string(number ? "<td class=\"n\">" : "<td>") +
                       (i < row.SubItems.size() ? HtmlEscape(row.SubItems[i]) : std::string()) + "</td>";
            }
            Out += "</tr>\n";
        }
        Out += "</table>\n</section>\n";
    }

    void Chart() {
        Section("apm", T(SummaryString::ApmSection), T(SummaryString::ApmLimits));
        int peak = 0;
        for (const auto& p : S.Players)
            if (Plays(p))
                peak = std::max(peak, p.Apm.PeakCount);
        const int top = ApmScaleTop(peak), minutes = std::max(S.MinuteCount, 1);
        constexpr int Width = 760, Height = 280, Left = 48, Right = 12, Top = 16, Bottom = 40;
        const int plotW = Width - Left - Right, plotH = Height - Top - Bottom;
        const auto x = [&](int minute) {
            return minutes <= 1 ? Left + plotW / 2 : Left + plotW * minute / (minutes - 1);
        };
        const auto y = [&](int value) { return Top + plotH - static_cast<int>(int64_t{plotH} * value / top); };
        Out += "<svg class=\"apm\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(Width) +
               "\" height=\"" + std::to_string(Height) + "\" viewBox=\"0 0 " + std::to_string(Width) + " " +
               std::to_string(Height) + "\" role=\"img\" font-family=\"sans-serif\" font-size=\"11\">\n";
        for (int i = 0; i <= 4; ++i) {
            const int value = top * i / 4, at = y(value);
            Out += "<line x1=\"" + std::to_string(Left) + "\" y1=\"" + std::to_string(at) + "\" x2=\"" +
                   std::to_string(Left + plotW) + "\" y2=\"" + std::to_string(at) + "\" stroke=\"#ddd\"/>";
            Out += "<text x=\"" + std::to_string(Left - 6) + "\" y=\"" + std::to_string(at + 4) +
                   "\" text-anchor=\"end\">" + std::to_string(value) + "</text>\n";
        }
        const int step = std::max(1, minutes / 12);
        for (int m = 0; m < minutes; m += step)
            Out += "<text x=\"" + std::to_string(x(m)) + "\" y=\"" + std::to_string(Top + plotH + 16) +
                   "\" text-anchor=\"middle\">" + std::to_string(m + 1) + "</text>";
        Out += "\n<text x=\"" + std::to_string(Left + plotW / 2) + "\" y=\"" + std::to_string(Height - 6) +
               "\" text-anchor=\"middle\">" + T(SummaryString::ChartMinutes) + "</text>";
        Out += "<text x=\"4\" y=\"12\">" + T(SummaryString::ChartApm) + "</text>\n";
        for (const auto& p : S.Players) {
            if (!Plays(p))
                continue;
            Out += "<polyline class=\"apm-line\" data-player=\"" + HtmlEscape(p.Name) + "\" fill=\"none\" stroke=\"" +
                   ColorText(SlotColorRgb(p.Color)) + "\" stroke-width=\"2\" points=\"";
            for (size_t m = 0; m < p.Apm.PerMinute.size(); ++m)
                Out += (m ? " " : "") + std::to_string(x(static_cast<int>(m))) + "," +
                       std::to_string(y(std::min(p.Apm.PerMinute[m], top)));
            Out += "\"><title>" + HtmlEscape(p.Name) + "</title></polyline>\n";
        }
        Out += "</svg>\n<p>";
        for (const auto& p : S.Players)
            if (Plays(p))
                Out += Swatch(p.Color) + HtmlEscape(p.Name) + ": " +
                       HtmlEscape(FormatText(GetString(SummaryString::ApmLine, Lang),
                                             {std::to_string(p.Apm.Total), std::to_string(p.Apm.PeakCount),
                                              std::to_string(p.Apm.PeakMinute + 1)})) +
                       "<br>";
        Out += "</p>\n</section>\n";
    }

    void Builds() {
        Section("builds", T(SummaryString::BuildSection), T(SummaryString::BuildLimits));
        for (const auto& p : S.Players) {
            if (!Plays(p))
                continue;
            Out += "<h3>" + Swatch(p.Color) + HtmlEscape(p.Name) + "</h3>\n";
            if (p.Builds.empty()) {
                Out += "<p>" + T(SummaryString::NoBuilds) + "</p>\n";
                continue;
            }
            Out += "<table class=\"build\">\n";
            for (const TBuildStep& b : p.Builds) {
                const char* kind = b.Kind == TBuildKind::Hero ? "hero" : b.Cancelled ? "cancelled" : "";
                Row({Time(b.Time), HtmlEscape(BuildKindText(b.Kind, Lang)),
                     std::string("<span class=\"") + kind + "\">" + HtmlEscape(b.Name) + "</span>" +
                         (b.Cancelled ? " (" + T(SummaryString::Cancelled) + ")" : std::string())});
            }
            Out += "</table>\n";
        }
        Out += "</section>\n";
    }

    void Heroes() {
        Section("heroes", T(SummaryString::HeroSection), T(SummaryString::HeroLimits));
        bool any = false;
        for (const auto& p : S.Players) {
            if (!Plays(p) || p.Heroes.empty())
                continue;
            any = true;
            Out += "<h3>" + Swatch(p.Color) + HtmlEscape(p.Name) + "</h3>\n<table class=\"heroes\">\n";
            for (const THeroRecord& h : p.Heroes) {
                std::string title = "<span class=\"hero\">" + HtmlEscape(h.Name) + "</span>";
                for (const auto& [on, note] : {std::pair{h.FromTavern, SummaryString::FromTavern},
                                               std::pair{!h.TrainingSeen, SummaryString::GivenByMap},
                                               std::pair{h.Cancelled, SummaryString::Cancelled}})
                    if (on)
                        title += " (" + T(note) + ")";
                Row({Time(h.Time), title,
                     HtmlEscape(FormatText(GetString(SummaryString::HeroLevel, Lang), {std::to_string(h.Level())}))});
                for (const TSkillStep& k : h.Skills)
                    Row({Time(k.Time), "&nbsp;&nbsp;" + HtmlEscape(k.Name) + " " + std::to_string(k.SkillLevel),
                         std::to_string(k.HeroLevel)});
            }
            Out += "</table>\n";
        }
        if (!any)
            Out += "<p>" + T(SummaryString::NoHeroes) + "</p>\n";
        Out += "</section>\n";
    }

    void Chat() {
        Section("chat", T(SummaryString::ChatSection), T(SummaryString::ChatLimits));
        if (S.Chat.empty()) {
            Out += "<p>" + T(SummaryString::NoChat) + "</p>\n</section>\n";
            return;
        }
        Out += "<table class=\"chat\">\n";
        Row({T(SummaryString::ColumnTime), T(SummaryString::ColumnPlayer), T(SummaryString::ColumnChannel),
             T(SummaryString::ColumnMessage)},
            "th");
        for (const TChatLine& c : S.Chat) {
            std::string channel = ChannelText(c.Channel, Lang);
            if (c.Channel == TChatChannel::Private && c.ToPlayerId != 0)
                channel += " " + FormatText(GetString(SummaryString::PrivateTo, Lang), {c.To});
            Row({Time(c.Time), HtmlEscape(c.Sender), HtmlEscape(channel), HtmlEscape(c.Text)});
        }
        Out += "</table>\n</section>\n";
    }

    void Leaves() {
        Section("leaves", T(SummaryString::LeaveSection), T(SummaryString::LeaveLimits));
        if (S.Leaves.empty()) {
            Out += "<p>" + T(SummaryString::NoLeaves) + "</p>\n</section>\n";
            return;
        }
        Out += "<table class=\"leaves\">\n";
        for (const TLeaveLine& l : S.Leaves)
            Row({Time(l.Time), HtmlEscape(l.Name), HtmlEscape(LeaveResultText(l.Result, Lang))});
        Out += "</table>\n</section>\n";
    }

    const TReplayInfo& Replay;
    const TReplaySummary& S;
    const TNumberFormat& Numbers;
    TLanguage Lang;
    std::string Out;
};

} // namespace

std::string ReportStyle() {
    return "body{font-family:system-ui,'Segoe UI','Noto Sans CJK SC','Microsoft YaHei',sans-serif;margin:2em auto;"
           "max-width:60em;padding:0 1em;color:#222;background:#fff}\n"
           "h1{font-size:1.4em;word-break:break-all}h2{font-size:1.15em;border-bottom:1px solid #ccc;"
           "padding-bottom:.2em;margin-top:1.6em}h3{font-size:1em;margin:1em 0 .3em}\n"
           "table{border-collapse:collapse;margin:.4em 0}th,td{text-align:left;padding:.15em .8em .15em 0;"
           "vertical-align:top}th{border-bottom:1px solid #ccc}td.n{text-align:right}\n"
           ".swatch{display:inline-block;width:.8em;height:.8em;border:1px solid #333;margin-right:.4em;"
           "vertical-align:-.05em}.note{color:#666;font-size:.85em}.cancelled{text-decoration:line-through}\n"
           ".hero{font-weight:bold}svg{max-width:100%;height:auto}footer{margin-top:2em;color:#888;"
           "font-size:.8em}\n";
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            // Control characters have no place in a page (and NUL none in a file a browser reads as text).
            if (static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t')
                out += "&#xFFFD;";
            else
                out += c;
        }
    }
    return out;
}

std::string ReplayReportHtml(const TReplayInfo& replay, const TReplaySummary& summary, const TNumberFormat& numbers,
                             TLanguage language) {
    return TReport(replay, summary, numbers, language).Page();
}

} // namespace quillon
