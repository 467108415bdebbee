#include "cli/ReplayJson.h"

#include "cli/Output.h"

#include "core/text/Utf8.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace quillon::cli {

nlohmann::json WalkEndJson(const TWalkEnd& end) {
    switch (end.Reason) {
    case TWalkEnd::TReason::End:
        return "end";
    case TWalkEnd::TReason::UnknownRecord: {
        char buf[48];
        std::snprintf(buf, sizeof buf, "unknown:0x%02X@%zu", end.Identifier, end.Position);
        return buf;
    }
    case TWalkEnd::TReason::NotWalked:
        break;
    }
    return nullptr;
}

nlohmann::json ReplayJson(const TReplayInfo& r, uint8_t detail) {
    using nlohmann::json;
    json players = json::array();
    for (int i = 0; r.Players && i < r.Players->Count(); ++i) {
        const TPlayerInfo& p = r.Players->At(i);
        players.push_back({{"id", p.Id},
                           {"slotStatus", p.SlotStatus},
                           {"name", JsonText(p.Name)},
                           {"observer", p.Observer},
                           {"team", p.Team},
                           {"color", p.Color},
                           {"race", p.Race},
                           {"actions", p.Actions},
                           {"apm", p.Apm},
                           {"handicap", p.Handicap},
                           {"time", p.Time},
                           {"computer", p.Computer},
                           {"aiStrength", p.AiStrength}});
    }
    json teams = json::array();
    for (int i = 0; r.Teams && i < r.Teams->Count(); ++i) {
        const TTeamInfo& t = r.Teams->At(i);
        teams.push_back({{"number", t.Number}, {"members", t.Members}});
    }
    json replay = {{"header",
                    {{"headerSize", r.HeaderSize},
                     {"fileSize", r.FileSize},
                     {"headerVersion", r.HeaderVersion},
                     {"dataSize", r.DataSize},
                     {"blockCount", r.BlockCount},
                     {"version", r.Version},
                     {"build", r.Build},
                     {"flags", r.Flags},
                     {"length", r.Length},
                     {"checksum", r.Checksum},
                     {"productId", JsonText(r.ProductId)}}},
                   {"game",
                    {{"gameName", JsonText(r.Game.GameName)},
                     {"mapPath", JsonText(r.Game.MapPath)},
                     {"creator", JsonText(r.Game.Creator)},
                     {"gameType", r.Game.GameType},
                     {"startSpots", r.Game.StartSpots}}},
                   {"players", players},
                   {"teams", teams},
                   {"winner", r.Winner},
                   {"actionCount", detail >= 2 && r.Actions ? json(r.Actions->Count()) : json(nullptr)},
                   {"walkEnd", WalkEndJson(r.WalkEnd)}};
    AddPath(replay, "file", r.FileName);
    return replay;
}

nlohmann::json ActionsJson(const TActionsInfo& actions) {
    using nlohmann::json;
    json out = json::array();
    for (int32_t i = 0; i < actions.Count(); ++i) {
        const TActionInfo& a = actions.At(i);
        json params = json::array();
        for (size_t k = 0; k < a.Params.Count(); ++k)
            params.push_back(Utf8OrLatin1(a.Params[k]));
        out.push_back({{"time", a.Time}, {"playerId", a.PlayerId}, {"kind", a.Kind}, {"params", params}});
    }
    return out;
}

} // namespace quillon::cli
