#include "core/present/GameText.h"

#include <algorithm>
#include <cstdint>

#include "core/lang/StringIds.h"

namespace quillon {

namespace {} // namespace

std::string ComputerName(uint8_t strength) {
    switch (strength) {
    case 0:
        return "Computer(Easy)";
    case 1:
        return "Computer(Normal)";
    default:
        return "Computer(Insane)";
    }
}

std::string GameTimeText(int64_t ms, TLanguage language) {
    return FormatGameTime(static_cast<int32_t>(std::clamp<int64_t>(ms, 0, INT32_MAX)), false, language);
}

std::string TwoDigits(int32_t n) {
    return n < 10 ? "0" + std::to_string(n) : std::to_string(n);
}

std::string FormatGameTime(int32_t ms, bool verbose, TLanguage language) {
    int32_t rest = ms < 0 ? 0 : ms;
    const auto take = [&rest](int32_t unit) {
        if (rest < unit)
            return 0;
        const int32_t n = rest / unit;
        rest %= unit;
        return n;
    };
    const int32_t days = take(86400000), hours = take(3600000), minutes = take(60000), seconds = take(1000);
    const int32_t hundredths = rest / 10;
    if (!verbose) {
        std::string text = TwoDigits(minutes) + ":" + TwoDigits(seconds);
        if (days > 0)
            return TwoDigits(days) + ":" + TwoDigits(hours) + ":" + text;
        if (hours > 0)
            return TwoDigits(hours) + ":" + text;
        return text;
    }
    std::string text;
    if (days > 0)
        text += std::to_string(days) + GetString(RuleString::Day, language);
    if (days > 0 || hours > 0)
        text += std::to_string(hours) + GetString(RuleString::Hour, language);
    if (days > 0 || hours > 0 || minutes > 0)
        text += std::to_string(minutes) + GetString(RuleString::Minute, language);
    return text + std::to_string(seconds) + GetString(RuleString::Second, language) + std::to_string(hundredths);
}

std::string VersionNumberText(uint32_t version) {
    if (version < 10)
        return "1.0" + std::to_string(version);
    if (version < 10000)
        return "1." + std::to_string(version);
    // 1.30 on store 10000 + n: 10030 is 1.30, 10100 is 2.00.
    const uint32_t n = version - 10000;
    return std::to_string(1 + n / 100) + "." + TwoDigits(static_cast<int32_t>(n % 100));
}

uint32_t DisplayVersion(const TReplayInfo& replay) {
    return replay.VersionField > MaxPlausibleVersionField ? replay.Layout.Version : replay.Version;
}

uint32_t SlotColorRgb(int color) {
    // The player colours in slot order; the last twelve came with 24-player games.
    static constexpr uint32_t Rgb[24] = {0xFF0303, 0x0042FF, 0x1CE6B9, 0x540081, 0xFFFC01, 0xFE8A0E,
                                         0x20C000, 0xE55BB0, 0x959697, 0x7EBFF1, 0x106246, 0x4E2A04,
                                         0x9B0000, 0x0000C3, 0x00EAFF, 0xBE00FE, 0xEBCD87, 0xF8A48B,
                                         0xBFFF80, 0xDCB9EB, 0x282828, 0xEBF0FF, 0x00781E, 0xA46F33};
    return color >= 0 && color < 24 ? Rgb[color] : 0x808080;
}

} // namespace quillon
