#pragma once

#include "core/gamedata/GameTables.h"
#include "core/present/ActionText.h"
#include "core/present/NumberFormat.h"
#include "core/replay/ReplayInfo.h"

#include <bitset>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

/// A row of the information list: a caption and, for most rows, a value.
struct TInfoRow {
    std::string Caption;
    std::optional<std::string> Value;
};

/// A player's name as the lists show it: the decoded name, or the computer's strength.
std::string PlayerShownName(const TReplayInfo& replay, const TPlayerInfo& player);

/// "War3:TFT 1.26 build 6059".
std::string GameVersionText(const TReplayInfo& replay, TLanguage language);

/// The eight rows of the information list.
std::vector<TInfoRow> InfoRows(const TReplayInfo& replay, const TNumberFormat& format, TLanguage language);

/// A row of the player list. Full rows (players and computers) have a check box, an image (the slot
/// colour) and ten sub-items, the last one hidden: the player's id.
struct TPlayerRow {
    std::string Caption; // position in the players collection, 1-based
    std::vector<std::string> SubItems;
    bool FullRow = false;
    bool Checked = false;
    int Image = -1; // colour index; -1 for no image
    uint8_t Id = 0;
};

/// Options of the player list.
struct TPlayerListOptions {
    bool ShowUnused = true;
    bool ShowObservers = true;
};

std::vector<TPlayerRow> PlayerRows(const TReplayInfo& replay, const TPlayerListOptions& options,
                                   const TNumberFormat& format, TLanguage language);

/// Player ids 1 to 24 (any id byte fits).
using TPlayerSet = std::bitset<256>;

/// The ids of the checked human player rows: those whose Controller cell is "Player" in this language.
TPlayerSet ComputeShownPlayers(const std::vector<TPlayerRow>& rows, TLanguage language);

/// Pages of ActionsPerPage positions each; 1 when there are no actions.
int32_t PageCount(const TReplayInfo& replay, int32_t actionsPerPage);

/// "Page:  3/12".
std::string PageLabel(int32_t currentPage, int32_t pageCount, TLanguage language);

/// The rows of a page: the actions at its positions whose player is shown.
std::vector<TActionCells> PageRows(const TReplayInfo& replay, int32_t page, int32_t actionsPerPage,
                                   const TPlayerSet& shown, const TGameTables& tables);

} // namespace quillon
