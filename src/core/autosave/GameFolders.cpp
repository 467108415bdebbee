#include "core/autosave/GameFolders.h"

#include "core/platform/Paths.h"
#include "core/platform/ReplayFolder.h"
#include "core/platform/System.h"
#include "core/platform/WinePrefix.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

namespace {

void AddOnce(std::vector<std::string>& folders, const std::string& folder) {
    const std::string kept = WithTrailingSeparator(folder);
    if (std::find(folders.begin(), folders.end(), kept) == folders.end())
        folders.push_back(kept);
}

} // namespace

std::vector<std::string> DocumentsReplayFolders(const std::string& documents) {
    std::vector<std::string> folders;
    std::error_code ec;
    const fs::path game = PathOf(documents) / "Warcraft III";
    for (fs::directory_iterator account(game / "BattleNet", ec), end; !ec && account != end; account.increment(ec)) {
        const fs::path replays = account->path() / "Replays";
        if (!IsFolder(replays))
            continue;
        AddOnce(folders, Utf8Of(replays));
        std::error_code inner;
        for (fs::recursive_directory_iterator it(replays, inner), stop; !inner && it != stop; it.increment(inner))
            if (it->is_directory(inner) && it->path().filename() == "Autosaved")
                AddOnce(folders, Utf8Of(it->path()));
    }
    if (IsFolder(game / "Replay"))
        AddOnce(folders, Utf8Of(game / "Replay"));
    return folders;
}

std::vector<std::string> GameReplayFolders() {
    std::vector<std::string> folders;
    const std::string home = WithTrailingSeparator(UserFolder(TUserFolder::Home));
#ifdef _WIN32
    try {
        if (const std::string install = DefaultReplayFolder(); install != home)
            AddOnce(folders, install);
    } catch (const TRegistryError&) { // an InstallPath that is no text: the documents still count
    }
    for (const std::string& f : DocumentsReplayFolders(home + "Documents"))
        AddOnce(folders, f);
#else
    const std::string prefix = EnvironmentText("WINEPREFIX").value_or(home + ".wine");
    if (const auto install = WineReplayFolder(prefix))
        AddOnce(folders, *install);
    std::error_code ec;
    for (fs::directory_iterator user(PathOf(prefix) / "drive_c" / "users", ec), end; !ec && user != end;
         user.increment(ec))
        for (const char* documents : {"Documents", "My Documents"})
            for (const std::string& f : DocumentsReplayFolders(Utf8Of(user->path() / documents)))
                AddOnce(folders, f);
#endif
    return folders;
}

std::string DefaultCollectionFolder() {
    return WithTrailingSeparator(UserFolder(TUserFolder::Home)) + "Warcraft III Replays";
}

} // namespace quillon
