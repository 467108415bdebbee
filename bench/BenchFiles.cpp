#include "BenchFiles.h"

#include "SampleGames.h"

#include <filesystem>
#include <fstream>

namespace quillon::bench {

namespace fs = std::filesystem;

std::string WriteBatchTree() {
    const fs::path root = fs::temp_directory_path() / "quillon-bench-batch";
    if (fs::exists(root / "done"))
        return root.string();
    fs::remove_all(root);
    testing::TReplaySpec spec = testing::DemoGameSpec();
    spec.Records.resize(4000); // the first seconds of the game, then the end record
    spec.Records.push_back(0);
    for (int a = 0; a < 10; ++a)
        for (int b = 0; b < 10; ++b) {
            const fs::path dir = root / ("season" + std::to_string(a)) / ("week" + std::to_string(b));
            fs::create_directories(dir);
            for (int i = 0; i < 100; ++i) {
                spec.GameName = "game " + std::to_string(i);
                const auto bytes = testing::BuildReplayFile(spec);
                std::ofstream(dir / ("replay" + std::to_string(i) + ".w3g"), std::ios::binary)
                    .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            }
        }
    std::ofstream(root / "done") << "";
    return root.string();
}

std::vector<std::string> ReplaysBelow(const std::string& root) {
    std::vector<std::string> paths;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.path().extension() == ".w3g")
            paths.push_back(e.path().string());
    return paths;
}

} // namespace quillon::bench
