#pragma once

#include <algorithm>
#include <filesystem>
#include <vector>

namespace quillon::testing {

/// The shared real replays, sorted by name; none when the folder is not beside the checkout.
inline std::vector<std::filesystem::path> CorpusFiles() {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    const fs::path dir = QUILLON_CORPUS_DIR;
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        return files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".w3g")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace quillon::testing
