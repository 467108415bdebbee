// The HTML report of a replay: complete, self-contained, and safe whatever the replay's names hold.
#include "TestReplays.h"

#include "core/platform/AtomicFile.h"
#include "core/summary/HtmlReport.h"
#include "core/summary/ReplaySummary.h"

#include "SampleGames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

using namespace quillon;
using namespace quillon::testing;

namespace {

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

std::string Report(const TReplaySpec& spec, TLanguage language) {
    const auto replay = Loaded(spec, 2);
    TGameTables tables;
    tables.Load(language);
    return ReplayReportHtml(*replay, SummarizeReplay(*replay, tables), TNumberFormat{}, language);
}

} // namespace

TEST(HtmlReport, HasEverySectionAndOneChartLinePerPlayerInEitherLanguage) {
    for (const auto& [language, lang, build] : {std::tuple{TLanguage::English, "lang=\"en\"", "Build orders"},
                                                std::tuple{TLanguage::Chinese, "lang=\"zh-CN\"", "建造顺序"}}) {
        const std::string page = Report(TeamGameSpec(2, 3), language);
        EXPECT_NE(page.find(lang), std::string::npos);
        EXPECT_NE(page.find(build), std::string::npos);
        for (const char* id : {"information", "players", "apm", "builds", "heroes", "chat", "leaves"})
            EXPECT_NE(page.find(std::string("<section id=\"") + id + "\""), std::string::npos) << id;
        EXPECT_EQ(Count(page, "<polyline class=\"apm-line\""), 4u); // the observer plays no line
        // Nothing to fetch: no scripts, no links, no images from elsewhere.
        for (const char* outside : {"<script", "<link", "<img", "src=", "@import", "url("})
            EXPECT_EQ(page.find(outside), std::string::npos) << outside;
    }
}

TEST(HtmlReport, NamesAndChatFromTheReplayAreEscaped) {
    TReplaySpec spec = DuelSpec("<i>x</i>", "a\"b'c&d");
    spec.Records = rec::Join(
        {rec::Chat(1, 0, "<script>alert(1)</script></td><img src=x onerror=alert(2)>"), rec::Leave(2, 8), rec::End()});
    const std::string page = Report(spec, TLanguage::English);
    EXPECT_EQ(page.find("<script"), std::string::npos);
    EXPECT_EQ(page.find("<img"), std::string::npos);
    EXPECT_EQ(page.find("<i>"), std::string::npos);
    EXPECT_NE(page.find("<h3><span class=\"swatch\" style=\"background:#FF0303\"></span>&lt;i&gt;x&lt;/i&gt;</h3>"),
              std::string::npos);
    EXPECT_NE(page.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(page.find("data-player=\"a&quot;b&#39;c&amp;d\""), std::string::npos);
    EXPECT_NE(page.find("&lt;/td&gt;&lt;img src=x onerror=alert(2)&gt;"), std::string::npos);
}

TEST(HtmlReport, Escaping) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain 文字", "plain 文字"},
        {"<&>\"'", "&lt;&amp;&gt;&quot;&#39;"},
        {std::string("a\0b\x1b", 4), "a&#xFFFD;b&#xFFFD;"},
        {"line\nnext\ttab", "line\nnext\ttab"},
    };
    for (const auto& [text, escaped] : cases)
        EXPECT_EQ(HtmlEscape(text), escaped) << text;
}

TEST(HtmlReport, ANewFileNeverReplacesOne) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quillon-report-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "report.html").string();
    EXPECT_EQ(WriteNewFile(path, "first"), TRenameResult::Renamed);
    EXPECT_EQ(WriteNewFile(path, "second"), TRenameResult::TargetExists);
    {
        std::ifstream in(path); // closed before the folder goes: Windows keeps an open file's folder
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "first");
    }
    std::string reason;
    EXPECT_EQ(WriteNewFile((dir / "missing" / "report.html").string(), "x", &reason), TRenameResult::Failed);
    EXPECT_FALSE(reason.empty());
    // Nothing half-written is left beside them.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    std::filesystem::remove_all(dir);
}
