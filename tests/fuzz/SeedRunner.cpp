// The plain runner of a fuzz target: every seed made in code, then every file in the folders named on the
// command line (saved inputs, the shared replays). --write-seeds DIR writes the seeds for the real fuzzer.
#include "FuzzTarget.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    size_t runs = 0;
    const auto seeds = quillon::fuzz::Seeds();
    if (argc == 3 && std::string(argv[1]) == "--write-seeds") {
        fs::create_directories(argv[2]);
        for (size_t i = 0; i < seeds.size(); ++i)
            std::ofstream(fs::path(argv[2]) / ("seed-" + std::to_string(i)), std::ios::binary)
                .write(reinterpret_cast<const char*>(seeds[i].data()), static_cast<std::streamsize>(seeds[i].size()));
        return 0;
    }
    for (const auto& seed : seeds) {
        LLVMFuzzerTestOneInput(seed.data(), seed.size());
        ++runs;
    }
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (!fs::is_directory(argv[i], ec))
            continue; // the shared replays are not always beside the checkout
        for (const auto& entry : fs::recursive_directory_iterator(argv[i], ec)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++runs;
        }
    }
    std::printf("%zu inputs ran without a fault\n", runs);
    return 0;
}
