#include "core/present/ListRows.h"

#include "core/lang/StringIds.h"
#include "core/present/GameText.h"
#include "core/text/DecodeText.h"

#include <algorithm>
#include <charconv>

namespace quillon {

namespace {

std::string RaceText(uint8_t race, TLanguage language) {
    static constexpr MainString Races[] = {MainString::Human, MainString::Orc, MainString::NightElf, MainString::Undead,
                                           MainString::Demon};
    return GetString(race >= 1 && race <= 5 ? Races[race - 1] : MainString::Random, language);
}

// Before 1.03 the game stored no computer strength.
std::string ComputerCellName(const TReplayInfo& replay, uint8_t strength) {
    return replay.Version <= 2 ? "Computer" : ComputerName(strength);
}

std::string ResultText(const TReplayInfo& replay, const TPlayerInfo& p, TLanguage language) {
    if (replay.Winner == 0)
        return GetString(MainString::Draw, language);
    return GetString(p.Team == replay.Winner ? MainString::Winner : MainString::Loser, language);
}

std::string TimeText(int64_t ms, TLanguage language) {
    return FormatGameTime(static_cast<int32_t>(static_cast<uint32_t>(ms & 0xFFFFFFFF)), true, language);
}

} // namespace

std::string PlayerShownName(const TReplayInfo& replay, const TPlayerInfo& player) {
    return player.Computer ? ComputerCellName(replay, player.AiStrength) : DecodeUtf8Text(player.Name);
}

std::string GameVersionText(const TReplayInfo& replay, TLanguage language) {
    const uint32_t version = DisplayVersion(replay);
    const std::string label = GetString(
        version >= 7 && replay.ProductId == "W3XP" ? MainString::EditionTft : MainString::EditionRoc, language);
    return label + VersionNumberText(version) + " build " + std::to_string(replay.Build);
}

std::vector<TInfoRow> InfoRows(const TReplayInfo& r, const TNumberFormat& format, TLanguage language) {
    static constexpr const char* GameTypes[] = {"Ladder", "Custom Game", "Single Loacl Game", "Team Game"};
    std::vector<TInfoRow> rows;
    rows.push_back({GetString(MainString::FileSize, language), format.Integer(r.FileSize) + " Bytes"});
    rows.push_back({GetString(MainString::GameVersion, language), GameVersionText(r, language)});
    rows.push_back({GetString(MainString::ReplayLength, language), FormatGameTime(r.Length, true, language)});
    rows.push_back({GetString(MainString::GameName, language), DecodeUtf8Text(r.Game.GameName)});
    rows.push_back({GetString(MainString::Map, language), DecodeUtf8Text(r.Game.MapPath)});
    rows.push_back({GetString(MainString::Creator, language), DecodeUtf8Text(r.Game.Creator)});
    std::optional<std::string> type;
    if (r.Game.GameType >= 1 && r.Game.GameType <= 4)
        type = GameTypes[r.Game.GameType - 1];
    rows.push_back({GetString(MainString::GameType, language), type});
    rows.push_back({GetString(MainString::StartSpot, language), std::to_string(r.Game.StartSpots)});
    if (!r.SlotsRecorded) // say what the list below cannot know
        rows.push_back(
            {GetString(AppString::SlotsCaption, language), GetString(AppString::SlotsNotRecorded, language)});
    return rows;
}

std::vector<TPlayerRow> PlayerRows(const TReplayInfo& r, const TPlayerListOptions& options, const TNumberFormat& format,
                                   TLanguage language) {
    std::vector<TPlayerRow> rows;
    if (!r.Players)
        return rows;
    for (int i = 0; i < r.Players->Count(); ++i) {
        const TPlayerInfo& p = r.Players->At(i);
        TPlayerRow row;
        row.Caption = std::to_string(i + 1);
        row.Id = p.Id;
        if (p.SlotStatus == 0 || p.SlotStatus == 1) {
            if (!options.ShowUnused)
                continue;
            row.SubItems = {GetString(p.SlotStatus == 0 ? MainString::Open : MainString::Closed, language)};
        } else if (p.SlotStatus == 2 && p.Observer) {
            if (!options.ShowObservers)
                continue;
            row.SubItems = {DecodeUtf8Text(p.Name), GetString(MainString::Observer, language)};
        } else if (p.SlotStatus == 2) {
            row.FullRow = true;
            row.Checked = !p.Computer;
            row.Image = r.SlotsRecorded ? p.Color : -1;
            row.SubItems = {PlayerShownName(r, p),
                            GetString(p.Computer ? MainString::Computer : MainString::Player, language),
                            r.SlotsRecorded ? RaceText(p.Race, language) : std::string(),
                            r.SlotsRecorded ? std::to_string(p.Team) : std::string(),
                            r.Version >= 7 && r.SlotsRecorded ? std::to_string(p.Handicap) : std::string(),
                            p.Computer ? std::string() : std::to_string(p.Actions),
                            p.Computer ? std::string() : format.TwoDecimals(p.Apm),
                            TimeText(p.Time, language),
                            r.SlotsRecorded ? ResultText(r, p, language) : std::string(),
                            std::to_string(p.Id)};
        } else {
            continue;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

TPlayerSet ComputeShownPlayers(const std::vector<TPlayerRow>& rows, TLanguage language) {
    TPlayerSet shown;
    const std::string player = GetString(MainString::Player, language);
    for (const auto& row : rows) {
        if (row.SubItems.size() < 10 || row.SubItems[1] != player || !row.Checked)
            continue;
        int id = 0;
        const std::string& text = row.SubItems[9];
        if (std::from_chars(text.data(), text.data() + text.size(), id).ec == std::errc{} && id >= 0 && id < 256)
            shown.set(static_cast<size_t>(id));
    }
    return shown;
}

int32_t PageCount(const TReplayInfo& replay, int32_t actionsPerPage) {
    const int32_t perPage = std::max<int32_t>(actionsPerPage, 1);
    if (!replay.Actions || replay.Actions->Count() <= 0)
        return 1;
    return (replay.Actions->Count() - 1) / perPage + 1;
}

std::string PageLabel(int32_t currentPage, int32_t pageCount, TLanguage language) {
    return GetString(MainString::PagePrefix, language) + std::to_string(currentPage) + "/" + std::to_string(pageCount);
}

std::vector<TActionCells> PageRows(const TReplayInfo& replay, int32_t page, int32_t actionsPerPage,
                                   const TPlayerSet& shown, const TGameTables& tables) {
    std::vector<TActionCells> rows;
    if (!replay.Actions || page < 1)
        return rows;
    const int64_t perPage = std::max<int32_t>(actionsPerPage, 1);
    const int64_t first = perPage * (page - 1);
    const int64_t last = std::min<int64_t>(perPage * page - 1, replay.Actions->Count() - 1);
    const TPlayerNames names(replay);
    for (int64_t k = first; k <= last; ++k) {
        const TActionInfo& a = replay.Actions->At(static_cast<int32_t>(k));
        if (shown.test(a.PlayerId))
            rows.push_back(ActionCells(a, replay, tables, names));
    }
    return rows;
}

} // namespace quillon
