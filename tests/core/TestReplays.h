#pragma once

#include "ReplayWriter.h"
#include "core/replay/ReplayInfo.h"

#include <gtest/gtest.h>

#include <memory>

namespace quillon::testing {

/// A 1v1 of the given patch: host id 1 (team byte 0), player id 2 (team byte 1), records as given.
inline TReplaySpec OneVersusOne(uint32_t version, TBytes records = rec::End(), uint16_t build = 6059) {
    TReplaySpec spec;
    spec.Version = version;
    spec.Build = build;
    spec.HeaderVersion = version <= 6 ? 0 : 1;
    spec.Host = {1, "Alice"};
    spec.Others = {{2, "Bob"}};
    TWriterSlot a;
    a.PlayerId = 1;
    a.Team = 0;
    TWriterSlot b;
    b.PlayerId = 2;
    b.Team = 1;
    b.Race = 0x02;
    spec.Slots = {a, b};
    spec.Records = std::move(records);
    return spec;
}

inline std::unique_ptr<TReplayInfo> FromBytes(TBytes bytes) {
    return TReplayInfo::CreateFromBuffer(std::move(bytes), "memory.w3g");
}

/// Writes and loads a spec; fails the test when Load says false.
inline std::unique_ptr<TReplayInfo> Loaded(const TReplaySpec& spec, uint8_t detail) {
    auto replay = FromBytes(BuildReplayFile(spec));
    EXPECT_TRUE(replay->Load(detail));
    return replay;
}

inline const TPlayerInfo& PlayerById(const TReplayInfo& r, uint8_t id) {
    const uint8_t index = r.Players->IndexOfId(id);
    if (index == NotFound)
        throw std::runtime_error("no player with id " + std::to_string(id));
    return r.Players->At(index);
}

} // namespace quillon::testing
