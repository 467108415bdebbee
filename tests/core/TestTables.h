#pragma once

#include "core/gamedata/GameTables.h"

namespace quillon::testing {

/// The game-data tables of a language, loaded once per test program.
inline const TGameTables& TablesIn(TLanguage language) {
    return SharedTables(language);
}

} // namespace quillon::testing
