#include "core/summary/SummaryWords.h"

#include "core/lang/StringIds.h"

#include <algorithm>

namespace quillon {

std::string BuildKindText(TBuildKind kind, TLanguage language) {
    static constexpr SummaryString Words[] = {SummaryString::KindBuilding, SummaryString::KindUnit,
                                              SummaryString::KindHero, SummaryString::KindUpgrade};
    return GetString(Words[static_cast<size_t>(kind)], language);
}

std::string ChannelText(TChatChannel channel, TLanguage language) {
    static constexpr SummaryString Words[] = {SummaryString::ChannelAll, SummaryString::ChannelAllies,
                                              SummaryString::ChannelObservers, SummaryString::ChannelPrivate};
    return GetString(Words[static_cast<size_t>(channel)], language);
}

std::string LeaveResultText(TLeaveResult result, TLanguage language) {
    static constexpr MainString Words[] = {MainString::Disconnect, MainString::QuitGame, MainString::EventuallyWin};
    return GetString(Words[static_cast<size_t>(result)], language);
}

std::string_view BuildKindKey(TBuildKind kind) {
    static constexpr std::string_view Keys[] = {"building", "unit", "hero", "research"};
    return Keys[static_cast<size_t>(kind)];
}

std::string_view ChannelKey(TChatChannel channel) {
    static constexpr std::string_view Keys[] = {"all", "allies", "observers", "private"};
    return Keys[static_cast<size_t>(channel)];
}

std::string_view LeaveResultKey(TLeaveResult result) {
    static constexpr std::string_view Keys[] = {"disconnect", "quit", "win"};
    return Keys[static_cast<size_t>(result)];
}

std::string Sparkline(const std::vector<int32_t>& perMinute, int32_t peak) {
    static constexpr std::string_view Blocks[] = {"▁", "▂", "▃", "▄", "▅", "▆", "▇", "█"};
    std::string line;
    for (const int32_t n : perMinute) {
        if (n <= 0 || peak <= 0) {
            line += ' ';
            continue;
        }
        const int64_t step = (int64_t{n} * 8 - 1) / peak; // 1..peak onto 0..7
        line += Blocks[static_cast<size_t>(std::min<int64_t>(step, 7))];
    }
    return line;
}

} // namespace quillon
