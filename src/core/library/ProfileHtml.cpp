#include "core/library/ProfileHtml.h"

#include "core/lang/StringIds.h"
#include "core/library/ProfileWords.h"
#include "core/summary/HtmlReport.h"
#include "core/summary/ReplaySummary.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

namespace quillon {

namespace {

constexpr int Width = 640;
constexpr int LabelWidth = 150;
constexpr int BarRow = 26;
constexpr const char* WinColor = "#3a8f3a";
constexpr const char* LossColor = "#c0392b";
constexpr const char* LineColor = "#1f5fa8";

std::string N(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

std::string SvgStart(const char* cls, int height, const std::string& title) {
    const std::string w = std::to_string(Width), h = std::to_string(height);
    return std::string("<svg class=\"") + cls + "\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w +
           "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\" role=\"img\"><title>" + HtmlEscape(title) +
           "</title>\n";
}

std::string Label(int x, int y, const std::string& text, const char* anchor = "start") {
    return "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" text-anchor=\"" + anchor + "\">" +
           HtmlEscape(text) + "</text>";
}

std::string Bar(double x, double y, double w, double h, const char* color, const std::string& title) {
    return "<rect x=\"" + N(x) + "\" y=\"" + N(y) + "\" width=\"" + N(std::max(w, 0.0)) + "\" height=\"" + N(h) +
           "\" fill=\"" + color + "\"><title>" + HtmlEscape(title) + "</title></rect>";
}

// One row of a bar chart: a label, the bar in parts (value, colour, tooltip), and a text after it.
struct TSvgBar {
    std::string Label;
    std::vector<std::tuple<int64_t, const char*, std::string>> Parts;
    std::string Text;
};

std::string BarChart(const char* cls, const std::string& title, const std::vector<TSvgBar>& bars) {
    int64_t most = 1;
    for (const TSvgBar& bar : bars) {
        int64_t total = 0;
        for (const auto& [value, color, tip] : bar.Parts)
            total += value;
        most = std::max(most, total);
    }
    const double scale = (Width - LabelWidth - 60.0) / static_cast<double>(most);
    std::string svg = SvgStart(cls, BarRow * static_cast<int>(bars.size()) + 8, title);
    int y = 4;
    for (const TSvgBar& bar : bars) {
        svg += Label(0, y + 16, bar.Label);
        double x = LabelWidth;
        for (const auto& [value, color, tip] : bar.Parts) {
            const double w = static_cast<double>(value) * scale;
            svg += Bar(x, y + 3, w, BarRow - 8, color, tip);
            x += w;
        }
        svg += Label(static_cast<int>(x + 6), y + 16, bar.Text) + "\n";
        y += BarRow;
    }
    return svg + "</svg>\n";
}

// Wins and losses against each race, as one bar each split in two.
std::string MatchupChart(const TPlayerProfile& p, TLanguage language) {
    std::vector<TSvgBar> bars;
    for (const auto& [race, r] : p.ByOpponentRace) {
        const std::string name = RaceWord(race, language);
        bars.push_back(
            {name,
             {{r.Wins, WinColor,
               name + ": " + std::to_string(r.Wins) + " " + GetString(LibraryString::ColumnWins, language)},
              {r.Losses, LossColor,
               name + ": " + std::to_string(r.Losses) + " " + GetString(LibraryString::ColumnLosses, language)}},
             std::to_string(r.Wins) + " – " + std::to_string(r.Losses)});
    }
    return BarChart("matchups", GetString(LibraryString::ChartMatchups, language), bars);
}

// Games with each hero.
std::string HeroChart(const TPlayerProfile& p, TLanguage language) {
    std::vector<TSvgBar> bars;
    for (const THeroUse& h : p.Heroes) {
        const std::string name = ObjectWord(h.Id, language);
        bars.push_back({name, {{h.Games, LineColor, name + ": " + std::to_string(h.Games)}}, std::to_string(h.Games)});
    }
    return BarChart("heroes", GetString(LibraryString::ChartHeroes, language), bars);
}

// The median APM of each month as a line, the lowest and highest game around it as a band.
std::string ApmChart(const TPlayerProfile& p, TLanguage language) {
    const auto& months = p.ApmByMonth;
    constexpr int Height = 240, Left = 44, Bottom = 24, Top = 8;
    double highest = 0;
    for (const TApmMonth& m : months)
        highest = std::max(highest, m.Highest);
    const int top = ApmScaleTop(static_cast<int>(std::ceil(highest)));
    const double plotW = Width - Left - 10.0, plotH = Height - Bottom - Top;
    const auto x = [&](size_t i) {
        return months.size() < 2 ? Left + plotW / 2 : Left + plotW * static_cast<double>(i) / (months.size() - 1.0);
    };
    const auto y = [&](double apm) { return Top + plotH * (1 - apm / top); };
    std::string svg = SvgStart("apm-months", Height, GetString(LibraryString::ChartApm, language));
    for (const int tick : {0, top / 2, top}) {
        svg += "<line x1=\"" + std::to_string(Left) + "\" x2=\"" + std::to_string(Width - 10) + "\" y1=\"" +
               N(y(tick)) + "\" y2=\"" + N(y(tick)) + "\" stroke=\"#ddd\"/>";
        svg += Label(Left - 4, static_cast<int>(y(tick)) + 4, std::to_string(tick), "end");
    }
    std::string band, line;
    for (size_t i = 0; i < months.size(); ++i) {
        band += N(x(i)) + "," + N(y(months[i].Highest)) + " ";
        line += N(x(i)) + "," + N(y(months[i].Median)) + " ";
    }
    for (size_t i = months.size(); i-- > 0;)
        band += N(x(i)) + "," + N(y(months[i].Lowest)) + " ";
    if (months.size() == 1) // one month: its range as a bar
        svg += "<line class=\"apm-range\" x1=\"" + N(x(0)) + "\" x2=\"" + N(x(0)) + "\" y1=\"" +
               N(y(months[0].Lowest)) + "\" y2=\"" + N(y(months[0].Highest)) + "\" stroke=\"" + LineColor +
               "\" stroke-opacity=\"0.3\" stroke-width=\"10\"/>\n";
    if (months.size() > 1)
        svg += "<polygon class=\"apm-range\" points=\"" + band + "\" fill=\"" + LineColor +
               "\" fill-opacity=\"0.18\" stroke=\"none\"/>\n";
    if (!months.empty()) {
        svg += "<polyline class=\"apm-median\" points=\"" + line + "\" fill=\"none\" stroke=\"" + LineColor +
               "\" stroke-width=\"2\"/>\n";
    }
    const size_t step = std::max<size_t>(1, (months.size() + 5) / 6); // at most about six month labels
    for (size_t i = 0; i < months.size(); ++i) {
        svg += "<circle cx=\"" + N(x(i)) + "\" cy=\"" + N(y(months[i].Median)) + "\" r=\"3\" fill=\"" + LineColor +
               "\"><title>" + HtmlEscape(months[i].Month) + ": " + N(months[i].Median) + "</title></circle>";
        if (i % step == 0 || i + 1 == months.size())
            svg += Label(static_cast<int>(x(i)), Height - 6, months[i].Month, "middle");
    }
    return svg + "\n</svg>\n";
}

std::string Table(const TProfileTable& t) {
    std::string html = "<table class=\"" + t.Id + "\"><tr>";
    for (const std::string& h : t.Headings)
        html += "<th>" + HtmlEscape(h) + "</th>";
    html += "</tr>\n";
    for (const auto& row : t.Rows) {
        html += "<tr>";
        for (size_t i = 0; i < row.size(); ++i)
            html += std::string(i >= t.FirstNumberColumn ? "<td class=\"n\">" : "<td>") + HtmlEscape(row[i]) + "</td>";
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

} // namespace

std::string ProfileHtml(const TPlayerProfile& profile, const std::vector<std::string>& asked, TLanguage language) {
    const std::string title = ProfileTitle(profile, asked, language);
    std::string out = std::string("<!DOCTYPE html>\n<html lang=\"") +
                      (language == TLanguage::Chinese ? "zh-CN" : "en") +
                      "\">\n<head>\n<meta charset=\"utf-8\">\n<meta name=\"generator\" content=\"Quillon\">\n<title>" +
                      HtmlEscape(title) + " - Quillon</title>\n<style>\n" + ReportStyle() + "svg{font-size:13px}\n" +
                      "</style>\n</head>\n<body>\n<h1>" + HtmlEscape(title) + "</h1>\n<p class=\"totals\">" +
                      HtmlEscape(ProfileTotalsText(profile, language)) + "</p>\n";
    for (TProfileTable& t : ProfileTables(profile, language)) {
        out += "<section id=\"" + t.Id + "\">\n<h2>" + HtmlEscape(t.Title) + "</h2>\n";
        if (t.Id == "matchups" && !profile.ByOpponentRace.empty())
            out += MatchupChart(profile, language);
        else if (t.Id == "heroes" && !profile.Heroes.empty())
            out += HeroChart(profile, language);
        else if (t.Id == "apm" && !profile.ApmByMonth.empty())
            out += ApmChart(profile, language);
        out += Table(t) + "</section>\n";
    }
    return out + "<footer>Quillon</footer>\n</body>\n</html>\n";
}

} // namespace quillon
