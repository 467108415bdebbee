#pragma once

#include "core/lang/Translations.h"
#include "core/replay/ReplayInfo.h"

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <memory>
#include <string>

namespace quillon::cli {

/// "end", "unknown:0xNN@POS", or null when no walk ran.
nlohmann::json WalkEndJson(const TWalkEnd& end);

nlohmann::json ReplayJson(const TReplayInfo& replay, uint8_t detail);
nlohmann::json ActionsJson(const TActionsInfo& actions);

} // namespace quillon::cli
