// Writes the bundled demo replay: quillon-demo-replay OUT.w3g
#include "SampleGames.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillon-demo-replay OUT.w3g\n");
        return 2;
    }
    const auto bytes = quillon::testing::BuildReplayFile(quillon::testing::PlausibleDuelSpec());
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
