// The whole-process floor: a program that reads each replay and inflates its blocks, nothing else (no parsing, no
// output but a total). quillon-floor [--libdeflate] FILE...
#include "BenchFiles.h"

#include <cstdio>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    using quillon::bench::TInflater;
    TInflater with = TInflater::Zlib;
    size_t total = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--libdeflate") == 0)
            with = TInflater::Libdeflate;
        else
            total += quillon::bench::ReadAndInflate(argv[i], with);
    }
    std::printf("%zu bytes inflated\n", total);
    return 0;
}
