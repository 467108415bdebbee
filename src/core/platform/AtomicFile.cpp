#include "core/platform/AtomicFile.h"

#include "core/platform/Files.h"

namespace quillon {

bool ReadSmallFile(const std::string& path, std::string& text, size_t maxBytes) {
    TReadOnlyFile file(path);
    if (!file.IsOpen() || file.Kind() != TFileKind::File || file.Size() > maxBytes)
        return false;
    text.assign(static_cast<size_t>(file.Size()), '\0');
    return file.ReadAt(0, text.data(), text.size()) == static_cast<int64_t>(text.size());
}

} // namespace quillon
