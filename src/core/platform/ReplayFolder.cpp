#include "core/platform/ReplayFolder.h"

#include "core/platform/Paths.h"

#include <filesystem>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

std::optional<std::string> DocumentsReplayFolder(const std::string& documents) {
    std::error_code ec;
    const fs::path game = PathOf(documents) / "Warcraft III";
    for (fs::directory_iterator account(game / "BattleNet", ec), end; !ec && account != end; account.increment(ec))
        if (IsFolder(account->path() / "Replays"))
            return WithTrailingSeparator(Utf8Of(account->path() / "Replays"));
    if (IsFolder(game / "Replay"))
        return WithTrailingSeparator(Utf8Of(game / "Replay"));
    return std::nullopt;
}

} // namespace quillon
