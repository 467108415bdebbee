#pragma once

#include "core/gamedata/GameTables.h"
#include "core/present/ListRows.h"
#include "core/replay/ReplayInfo.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

/// The first action at or after position from (wrapping past the end to the start) of a shown player whose
/// cells, as the action list shows them in the tables' language, hold the text; A-Z match a-z. Nothing when no
/// action does, or the text is empty.
std::optional<int32_t> FindAction(const TReplayInfo& replay, int32_t from, std::string_view text,
                                  const TPlayerSet& shown, const TGameTables& tables);

/// Whether a text holds another, A-Z matching a-z.
bool ContainsIgnoringAsciiCase(std::string_view haystack, std::string_view needle);

} // namespace quillon
