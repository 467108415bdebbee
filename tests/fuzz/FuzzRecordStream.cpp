// The record stream after the start record, fed through a valid container so the fuzzer works on records.
#include "FuzzTarget.h"
#include "ReplayWriter.h"
#include "SampleGames.h"

#include "core/replay/LoadReplay.h"

namespace {

quillon::testing::TReplaySpec Frame(std::vector<uint8_t> records) {
    quillon::testing::TReplaySpec spec = quillon::testing::SmallGameSpec();
    spec.Records = std::move(records);
    return spec;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto file = quillon::testing::BuildReplayFile(Frame(std::vector<uint8_t>(data, data + size)));
    for (uint8_t detail : {uint8_t{1}, uint8_t{2}}) {
        const auto loaded = quillon::LoadReplayFromBuffer(file, "records.w3g", detail);
        // What was counted must agree with what was recorded.
        if (detail == 2 && loaded.Ok() && !loaded.Replay->Actions)
            __builtin_trap();
    }
    return 0;
}

std::vector<std::vector<uint8_t>> quillon::fuzz::Seeds() {
    using namespace quillon::testing;
    std::vector<std::vector<uint8_t>> seeds = {SmallGameSpec().Records};
    seeds.push_back(rec::Join({rec::Chat(1, 0, "gl hf"), rec::Leave(2, 8), rec::End()}));
    seeds.push_back(rec::Join({rec::TimeSlot(250, {{1, act::Select(1, 3)}, {2, act::SelectGroup(1)}}), rec::End()}));
    return seeds;
}
