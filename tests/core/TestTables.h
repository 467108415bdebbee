#pragma once

#include "core/gamedata/GameTables.h"

namespace quillon::testing {

/// The game-data tables of a language, loaded once per test program.
inline const TGameTables& TablesIn(TLanguage language) {
    static const auto load = [](TLanguage l) {
        TGameTables t;
        t.Load(l);
        return t;
    };
    static const TGameTables english = load(TLanguage::English), chinese = load(TLanguage::Chinese);
    return language == TLanguage::Chinese ? chinese : english;
}

} // namespace quillon::testing
