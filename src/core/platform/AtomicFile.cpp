#include "core/platform/AtomicFile.h"

#include "core/platform/Files.h"
#include "core/platform/Paths.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <system_error>

namespace quillon {

bool ReadSmallFile(const std::string& path, std::string& text, size_t maxBytes) {
    TReadOnlyFile file(path);
    if (!file.IsOpen() || file.Kind() != TFileKind::File || file.Size() > maxBytes)
        return false;
    text.assign(static_cast<size_t>(file.Size()), '\0');
    return file.ReadAt(0, text.data(), text.size()) == static_cast<int64_t>(text.size());
}

TRenameResult WriteNewFile(const std::string& path, const std::string& text, std::string* reason) {
    static std::atomic<unsigned> counter{0};
    std::error_code ec;
    if (std::filesystem::exists(PathOf(path), ec) || std::filesystem::is_symlink(PathOf(path), ec))
        return TRenameResult::TargetExists;
    // A name no other writer picks: another process, or this one a moment ago.
    const std::string part = path + ".part-" + std::to_string(std::random_device{}()) + "-" + std::to_string(counter++);
    if (!WriteFileAtomically(part, text)) {
        if (reason)
            *reason = "the file could not be written";
        return TRenameResult::Failed;
    }
    const TRenameResult result = RenameNoReplace(part, path, reason);
    if (result != TRenameResult::Renamed)
        std::filesystem::remove(PathOf(part), ec);
    return result;
}

} // namespace quillon
