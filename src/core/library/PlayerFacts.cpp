#include "core/library/PlayerFacts.h"

#include <charconv>

namespace quillon {

namespace {

void PutVarint(std::string& out, uint64_t v) {
    while (v >= 0x80) {
        out += static_cast<char>((v & 0x7F) | 0x80);
        v >>= 7;
    }
    out += static_cast<char>(v);
}

// False when the bytes end inside the number or it would not fit.
bool GetVarint(std::string_view bytes, size_t& at, uint64_t& v) {
    v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        if (at >= bytes.size())
            return false;
        const auto b = static_cast<uint8_t>(bytes[at++]);
        v |= static_cast<uint64_t>(b & 0x7F) << shift;
        if ((b & 0x80) == 0)
            return true;
    }
    return false;
}

// Build times are kept to a tenth of a second.
constexpr int64_t TimeUnitMs = 100;

uint64_t ZigZag(int64_t v) {
    return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63);
}

int64_t UnZigZag(uint64_t v) {
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
}

// The race whose buildings and heroes these are, by their ids' first letters ("hbar", "Obla"); neutral heroes and
// a mix of races (a map that gives others) tell nothing.
uint8_t RaceOfOrders(const TPlayerFacts& f) {
    static constexpr std::pair<char, uint8_t> Letters[] = {{'h', 1}, {'o', 2}, {'e', 3}, {'u', 4}};
    uint8_t race = 0;
    const auto see = [&race](char letter) {
        for (const auto& [l, r] : Letters)
            if (letter == l) {
                if (race != 0 && race != r)
                    return false;
                race = r;
            }
        return true;
    };
    for (const TLibraryBuild& b : f.Builds)
        if (b.Kind == static_cast<uint8_t>(TBuildKind::Building) && !see(b.Id[0]))
            return 0;
    for (const TLibraryHero& h : f.Heroes)
        if (!see(static_cast<char>(h.Id[0] - 'A' + 'a')))
            return 0;
    return race;
}

} // namespace

std::vector<std::string> TPlayerFacts::Opening() const {
    std::vector<std::string> ids;
    for (const TLibraryBuild& b : Builds)
        if (b.Kind == static_cast<uint8_t>(TBuildKind::Building))
            ids.push_back(b.Id);
    return ids;
}

TPlayerFacts FactsOf(const TPlayerSummary& player) {
    TPlayerFacts f;
    for (const THeroRecord& h : player.Heroes)
        if (h.Id.size() == 4 && (!h.Cancelled || h.Level() > 0))
            f.Heroes.push_back({h.Id, h.Level()});
    size_t kept[4] = {};
    for (const TBuildStep& b : player.Builds) {
        const auto kind = static_cast<size_t>(b.Kind);
        if (b.Cancelled || b.Kind == TBuildKind::Hero || b.Id.size() != 4 || kind >= std::size(kept) ||
            kept[kind] >= KeptBuildsPerKind)
            continue;
        ++kept[kind];
        f.Builds.push_back({static_cast<uint8_t>(kind), b.Id, b.Time});
    }
    f.ApmPerMinute = player.Apm.PerMinute;
    f.PeakApm = player.Apm.PeakCount;
    f.PlayedRace = RaceOfOrders(f);
    return f;
}

std::string HeroesText(const std::vector<TLibraryHero>& heroes) {
    std::string text = ",";
    for (const TLibraryHero& h : heroes)
        text += h.Id + ":" + std::to_string(h.Level) + ",";
    return heroes.empty() ? std::string() : text;
}

std::vector<TLibraryHero> ParseHeroesText(std::string_view text) {
    std::vector<TLibraryHero> heroes;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find(',', at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view item = text.substr(at, end - at);
        const size_t colon = item.find(':');
        if (colon != std::string_view::npos) {
            int level = 0;
            std::from_chars(item.data() + colon + 1, item.data() + item.size(), level);
            heroes.push_back({std::string(item.substr(0, colon)), level});
        }
        at = end + 1;
    }
    return heroes;
}

std::string OpeningText(const TPlayerFacts& facts) {
    std::string text;
    for (const std::string& id : facts.Opening())
        text += id;
    return text;
}

std::string EncodeBuilds(const std::vector<TLibraryBuild>& builds) {
    std::string out;
    int64_t last = 0;
    for (const TLibraryBuild& b : builds) {
        if (b.Id.size() != 4)
            continue;
        const int64_t tenths = std::max<int64_t>(b.Time, 0) / TimeUnitMs;
        out += static_cast<char>(b.Kind);
        out += b.Id;
        // Times as steps from the order before (in the order given), which mostly fit one or two bytes.
        PutVarint(out, ZigZag(tenths - last));
        last = tenths;
    }
    return out;
}

std::vector<TLibraryBuild> DecodeBuilds(std::string_view bytes) {
    std::vector<TLibraryBuild> builds;
    size_t at = 0;
    int64_t tenths = 0;
    while (at + 5 <= bytes.size()) {
        TLibraryBuild b;
        b.Kind = static_cast<uint8_t>(bytes[at]);
        b.Id = std::string(bytes.substr(at + 1, 4));
        at += 5;
        uint64_t step = 0;
        if (!GetVarint(bytes, at, step))
            break;
        tenths += UnZigZag(step);
        if (tenths < 0 || tenths > INT64_MAX / TimeUnitMs)
            break;
        b.Time = tenths * TimeUnitMs;
        builds.push_back(std::move(b));
    }
    return builds;
}

std::string EncodeMinutes(const std::vector<int32_t>& minutes) {
    std::string out;
    for (const int32_t n : minutes)
        PutVarint(out, static_cast<uint32_t>(std::max(n, 0)));
    return out;
}

std::vector<int32_t> DecodeMinutes(std::string_view bytes) {
    std::vector<int32_t> minutes;
    size_t at = 0;
    uint64_t n = 0;
    while (at < bytes.size() && GetVarint(bytes, at, n))
        minutes.push_back(static_cast<int32_t>(std::min<uint64_t>(n, INT32_MAX)));
    return minutes;
}

TPlayerFacts ReadFacts(const TSqlStatement& row, int first) {
    TPlayerFacts f;
    f.Heroes = ParseHeroesText(row.Text(first));
    f.Builds = DecodeBuilds(row.Blob(first + 1));
    f.ApmPerMinute = DecodeMinutes(row.Blob(first + 2));
    f.PeakApm = static_cast<int32_t>(row.Int(first + 3));
    f.PlayedRace = static_cast<uint8_t>(row.Int(first + 4));
    return f;
}

} // namespace quillon
