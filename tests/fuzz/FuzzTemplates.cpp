// The three template checks, the expansion and the name, on rules made of the input (parts split at zero bytes).
#include "FuzzTarget.h"
#include "ReplayWriter.h"
#include "SampleGames.h"

#include "core/rename/Template.h"
#include "core/replay/LoadReplay.h"
#include "core/replay/ReplayError.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quillon;
    static const TLoadResult game = LoadReplayFromBuffer(testing::BuildReplayFile(testing::SmallGameSpec()), "", 1);
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::string parts[3];
    size_t part = 0;
    for (char c : input) {
        if (c == '\0' && part < 2)
            ++part;
        else
            parts[part].push_back(c);
    }
    const TRenameRule rule{parts[0], parts[1], parts[2]};
    for (TLanguage language : {TLanguage::English, TLanguage::Chinese})
        if (const auto problem = CheckRule(rule, language)) {
            const auto& c = problem->Check;
            if (c.Start < 0 || c.Length < 0 || static_cast<size_t>(c.Start) + static_cast<size_t>(c.Length) > size)
                __builtin_trap(); // the part to select must lie inside the text
        }
    TPlayerInfo player = game.Replay->Players->At(0);
    ExpandPlayerTemplate(rule.PlayerTemplate, player);
    RuleSampleName(rule.PlayerTemplate, rule.Conjunction, rule.GlobalTemplate, "261210");
    std::string name;
    try {
        name = MakeReplayName(rule.PlayerTemplate, rule.Conjunction, rule.GlobalTemplate, *game.Replay);
    } catch (const TReplayError&) {
        // "<date>" (also one that a player template brings into the team texts) reads the file's date, and
        // this replay has no file: the documented read error.
    }
    {
        if (name.size() > MaxFileNameBytes - 4 || (!name.empty() && name.front() == '.'))
            __builtin_trap(); // a name the file system would refuse, or a hidden file
        for (unsigned char c : name)
            if (c < 0x20 || c == 0x7F || IsBadNameChar(c))
                __builtin_trap();
    }
    return 0;
}

std::vector<std::vector<uint8_t>> quillon::fuzz::Seeds() {
    const auto rule = [](const std::string& p, const std::string& c, const std::string& g) {
        std::string s = p + '\0' + c + '\0' + g;
        return std::vector<uint8_t>(s.begin(), s.end());
    };
    return {rule("<name>", "+", "<win>-vs-<loss>"), rule("<name>(<raceshort>)", " & ", "<map> <length> <win>"),
            rule("<color><apm><actions><handicap>", ",", "<game><version><type><tag><tag2><loss>"),
            rule("<name", "a/b", "x-<win")};
}
