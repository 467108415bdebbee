#include "core/platform/ReplayFolder.h"
#include "core/platform/WinePrefix.h"

#include "core/platform/Paths.h"
#include "core/platform/System.h"

namespace quillon {

std::string DefaultReplayFolder() {
    const std::string home = WithTrailingSeparator(UserFolder(TUserFolder::Home));
    if (const auto folder = WineReplayFolder(EnvironmentText("WINEPREFIX").value_or(home + ".wine")))
        return *folder;
    return home;
}

} // namespace quillon
