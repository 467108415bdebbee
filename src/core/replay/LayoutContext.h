#pragma once

#include <cstdint>

namespace quillon {

/// The layout generations of command-block actions. Each one changed sizes or numbering.
enum class TActionEra : uint8_t {
    Classic,      // Version 0-6
    Early,        // Version 7-12: 8 bytes after the order code
    Flags16,      // Version 13, and 14 before build 6040: 16-bit ability flags
    NewSelection, // 1.14b to 2.0.1: renumbered selection actions
    Renumbered202 // 2.0.2 on: identifiers from 0x78 moved down by one
};
inline constexpr int ActionEraCount = 5;

/// What the reader needs to know about a replay's patch to pick layouts: the version to compare
/// against (taken from the build when the header's field holds no version) and the two markers
/// that the version number alone does not give.
struct TLayoutContext {
    uint32_t Version = 0;         // effective patch number as stored by the game (26, 10032, 10100 ...)
    bool NewSelectionIds = false; // 1.14b and later
    bool Has202Metadata = false;  // start record carries 0x38 metadata records (2.0.2 on)

    TActionEra Era() const;
    /// Up to 24 players and teams, observer team byte 24.
    bool TwentyFourPlayers() const { return Version >= 29; }
    /// The host's extra-data size no longer tells a custom game.
    bool ExtraDataMarksCustom() const { return Version < 10030; }
};

/// A raw version field above this cannot be a patch (bots store text there).
inline constexpr uint32_t MaxPlausibleVersionField = 20000;

/// Context from the header's raw version field and build number.
TLayoutContext MakeLayoutContext(uint32_t versionField, uint16_t build);

} // namespace quillon
