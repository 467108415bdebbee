#include "TestReplays.h"
#include "TestSystem.h"

#include "core/rename/Template.h"

#include "core/replay/ReplayError.h"

#include <ctime>
#include <filesystem>
#include <fstream>

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

TEST(Template, FormatGameTime) {
    struct TCase {
        int32_t Ms;
        const char* Compact;
        const char* Verbose;
        const char* Chinese;
    };
    const TCase cases[] = {
        {0, "00:00", "0sec0", "0秒0"},
        {5004, "00:05", "5sec0", "5秒0"},
        {59999, "00:59", "59sec99", "59秒99"},
        {3600000, "01:00:00", "1hr0min0sec0", "1小时0分0秒0"},
        {3723456, "01:02:03", "1hr2min3sec45", "1小时2分3秒45"},
        {90061000, "01:01:01:01", "1day1hr1min1sec0", "1天1小时1分1秒0"},
        {-5, "00:00", "0sec0", "0秒0"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Ms);
        EXPECT_EQ(FormatGameTime(c.Ms, false, TLanguage::English), c.Compact);
        EXPECT_EQ(FormatGameTime(c.Ms, true, TLanguage::English), c.Verbose);
        EXPECT_EQ(FormatGameTime(c.Ms, true, TLanguage::Chinese), c.Chinese);
    }
    EXPECT_EQ(TwoDigits(7), "07");
    EXPECT_EQ(TwoDigits(12), "12");
    EXPECT_EQ(TwoDigits(0), "00");
}

TEST(Template, Checks) {
    enum TWhich { Player, Conj, Global };
    struct TCase {
        TWhich Which;
        std::string Text;
        bool Ok;
        const char* Message;
        int Start;
        int Length;
    };
    const TCase cases[] = {
        {Player, "<name>-<race>", false, "Unknown template: <race>", 7, 6},
        {Player, "a>b", false, "Error template signal!", 1, 1},
        {Player, "<na<me>", false, "Error template signal!", 3, 1},
        {Player, "x:y", false, "Error filename character!", 1, 1},
        {Player, "<na?me>", false, "Error filename character!", 3, 1},
        {Player, "<win>", false, "Unknown template: <win>", 0, 5},
        {Player, "<name", false, "Error template signal! The token \"<name\" has no \">\".", 0, 5},
        {Player, "", true, "", 0, 0},
        {Player, "<name>(<racelong>,<raceshort>,<color>,<apm>,<actions>,<handicap>)", true, "", 0, 0},
        {Conj, "<+>", false, "Error filename character!", 0, 1},
        {Conj, " & ", true, "", 0, 0},
        {Global, "<win>", true, "", 0, 0},
        {Global, "<map> <game> <version> <length> <type> <tag> <tag2> <win> <loss> <date>", true, "", 0, 0},
        {Global, "<name>", false, "Unknown template: <name>", 0, 6},
        {Global, "a|b", false, "Error filename character!", 1, 1},
        {Global, "\xE7\x8E\xA9<win>", true, "", 0, 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        const TTemplateCheck check = c.Which == Player ? CheckPlayerTemplate(c.Text, TLanguage::English)
                                     : c.Which == Conj ? CheckConjunction(c.Text, TLanguage::English)
                                                       : CheckGlobalTemplate(c.Text, TLanguage::English);
        EXPECT_EQ(check.Ok, c.Ok);
        EXPECT_EQ(check.Message, c.Message);
        EXPECT_EQ(check.Start, c.Start);
        EXPECT_EQ(check.Length, c.Length);
    }
    EXPECT_EQ(CheckPlayerTemplate("<race>", TLanguage::Chinese).Message, "未知模板: <race>");
}

TEST(Template, ExpandPlayerTemplate) {
    TPlayerInfo p;
    p.Name = "Grubby";
    p.Race = 2;
    p.Color = 9;
    p.Apm = 100.5;
    p.Actions = 1234;
    p.Handicap = 100;
    const std::string all = "<name>|<racelong>|<raceshort>|<color>|<apm>|<actions>|<handicap>";
    EXPECT_EQ(ExpandPlayerTemplate(all, p), "Grubby|Orc|Orc|LightBlue|100|1234|100");
    p.Apm = 101.5;
    EXPECT_EQ(ExpandPlayerTemplate("<apm>", p), "102");
    p.Race = 0;
    p.Color = 12;
    EXPECT_EQ(ExpandPlayerTemplate("<racelong><raceshort><color>", p), "<racelong><raceshort><color>");
    p.Computer = true;
    p.AiStrength = 1;
    EXPECT_EQ(ExpandPlayerTemplate("<name><name>", p), "Computer(Normal)Computer(Normal)");
    p.Computer = false;
    p.Name = "a<color>";
    p.Color = 0;
    EXPECT_EQ(ExpandPlayerTemplate("<name>", p), "aRed"); // later tokens are replaced in inserted values
}

TEST(Template, MapShortName) {
    const std::pair<const char*, const char*> cases[] = {
        {"Maps\\FrozenThrone\\(4)LostTemple.w3m", "LostTemple"},
        {"Maps\\(2)EchoIsles.w3x", "EchoIsles"},
        {"Maps/FrozenThrone/(6)StranglethornVale.w3x", "StranglethornVale"},
        {"C:(8)Market.Square.w3x", "Market.Square"},
        {"", ""},
        {"Maps\\(12)", ""},
        {"NoExtension", "NoExtension"},
    };
    for (auto [path, name] : cases)
        EXPECT_EQ(MapShortName(path), name) << path;
}

TEST(Template, VersionNumbers) {
    const std::pair<uint32_t, const char*> cases[] = {{4, "1.04"},     {9, "1.09"},     {11, "1.11"},
                                                      {26, "1.26"},    {10030, "1.30"}, {10032, "1.32"},
                                                      {10036, "1.36"}, {10100, "2.00"}};
    for (auto [version, text] : cases)
        EXPECT_EQ(VersionNumberText(version), text) << version;
}

namespace {

// Two teams of two: Alice(1)+Carol(3) against Bob(2)+Dave(4); team 2 wins unless said otherwise.
TReplaySpec TwoVersusTwo(TBytes records) {
    TReplaySpec spec = OneVersusOne(26, std::move(records));
    spec.GameName = "Who? me";
    spec.MapPath = "Maps/FrozenThrone/(4)TwistedMeadows.w3x";
    spec.Length = 15 * 60000 + 20000;
    spec.GameTypeCode = 1;
    spec.Others = {{2, "Bob", TBytes(8, 0)}, {3, "Carol", TBytes(8, 0)}, {4, "Dave", TBytes(8, 0)}};
    spec.Slots.clear();
    for (uint8_t id = 1; id <= 4; ++id) {
        TWriterSlot s;
        s.PlayerId = id;
        s.Team = static_cast<uint8_t>((id - 1) % 2);
        s.Race = static_cast<uint8_t>(1u << ((id - 1) % 4));
        spec.Slots.push_back(s);
    }
    return spec;
}

std::string Name(const TReplaySpec& spec, const char* player, const char* conj, const char* global) {
    return MakeReplayName(player, conj, global, *Loaded(spec, 1));
}

} // namespace

TEST(Template, MakeReplayName) {
    const TBytes team1Leaves = rec::Join({rec::Leave(1, 8), rec::Leave(3, 8), rec::End()});
    const TReplaySpec game = TwoVersusTwo(team1Leaves);
    EXPECT_EQ(Name(game, "<name>", "+", "<win>-vs-<loss>"), "Bob+Dave-vs-Alice+Carol");
    EXPECT_EQ(Name(game, "<name>(<raceshort>)", " & ", "<map> <length> <type> <tag> <tag2> <version> <game>"),
              "TwistedMeadows 1520 Ladder W3XP TFT 1.26 Who me");
    EXPECT_EQ(Name(game, "", "+", "<win>"), "+"); // a team of two: one conjunction
    EXPECT_EQ(Name(game, "<name>", "+", ""), "");
    EXPECT_EQ(Name(TwoVersusTwo(rec::End()), "<name>", "+", "<win>-vs-<loss>"), "Alice+Carol-vs-Bob+Dave");

    TReplaySpec three = TwoVersusTwo(rec::End());
    three.Slots[3].Team = 2;
    EXPECT_EQ(Name(three, "<name>", "+", "<map>"), ""); // three teams: no name at all
    TReplaySpec withObserver = TwoVersusTwo(team1Leaves);
    withObserver.Slots[3].Team = 12;
    EXPECT_EQ(Name(withObserver, "<name>", "+", "<win>-vs-<loss>"), "Bob-vs-Alice+Carol");

    TReplaySpec roc = TwoVersusTwo(rec::End());
    roc.Version = 4;
    roc.HeaderVersion = 0;
    roc.Build = 4531;
    roc.GameTypeCode = 0;
    EXPECT_EQ(Name(roc, "<name>", "+", "<tag> <tag2> <version> <type>"), "WAR3 ROC 1.04 Custom");
    TReplaySpec reforged = TwoVersusTwo(rec::End());
    reforged.Version = 10100;
    reforged.Build = 6117;
    reforged.Product = "WAR3";
    EXPECT_EQ(Name(reforged, "<name>", "+", "<tag> <tag2> <version>"), "WAR3 ROC 2.00");
}

TEST(Template, DateComesFromTheFile) {
    const fs::path path = fs::temp_directory_path() / "quillon-template-date.w3g";
    const TBytes bytes = BuildReplayFile(TwoVersusTwo(rec::End()));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::tm when{};
    when.tm_year = 103, when.tm_mon = 6, when.tm_mday = 25, when.tm_hour = 12;
    test::SetModifiedTime(path, std::mktime(&when));
    auto r = TReplayInfo::Create(path.string());
    ASSERT_TRUE(r->Load(1));
    EXPECT_EQ(MakeReplayName("<name>", "+", "<date> <game>", *r), "030725 Who me");
    fs::remove(path);
    EXPECT_THROW(MakeReplayName("<name>", "+", "<date>", *r), TReplayError);
}

TEST(Template, BadNameCharsAreBytes) {
    for (int c = 0; c < 256; ++c) {
        const bool bad = std::string_view("\"*/:<>?\\|").find(static_cast<char>(c)) != std::string_view::npos && c != 0;
        EXPECT_EQ(IsBadNameChar(static_cast<unsigned char>(c)), bad) << c;
    }
}

TEST(Template, RuleSample) {
    struct TCase {
        const char *Player, *Conj, *Global, *Sample;
    };
    for (const TCase& c : {
             TCase{"<name>", "+", "<win>-vs-<loss>", "P1+P2-vs-P3+P4"},
             TCase{"<name>(<raceshort>)", " & ", "<win> vs <loss>", "P1(Hum) & P2(Orc) vs P3(NE) & P4(UD)"},
             TCase{"<color>-<apm>-<actions>-<handicap>", ",", "<win>", "Blue-100-500-100,Teal-100-500-100"},
             TCase{"<name>", "+", "<map>:<length>", "LostTemple:15:20"}, // the sample keeps what a name loses
             TCase{"<name>", "+", "<game> <version> <type> <tag> <tag2> <date>", "BNet 1.11 Ladder W3XP TFT 261210"},
             TCase{"<name>", "+", "", ""},
         }) {
        SCOPED_TRACE(c.Global);
        EXPECT_EQ(RuleSampleName(c.Player, c.Conj, c.Global, "261210"), c.Sample);
    }
}
