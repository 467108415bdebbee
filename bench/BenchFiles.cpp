#include "BenchFiles.h"

#include "SampleGames.h"
#include "core/replay/ReplayInfo.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>

namespace quillon::bench {

namespace fs = std::filesystem;

namespace {

uint32_t U32At(std::span<const uint8_t> b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// One block into out: zlib as the game's blocks were always inflated, or libdeflate after the zlib header with an
// empty final block after the sync flush (block has two spare bytes at its end).
void InflateInto(TInflater with, libdeflate_decompressor* d, std::vector<uint8_t>& block, size_t packed, uint8_t* out,
                 size_t unpacked) {
    if (with == TInflater::Libdeflate && packed > 2) {
        block[packed] = 0x03;
        block[packed + 1] = 0x00;
        size_t used = 0, produced = 0;
        libdeflate_deflate_decompress_ex(d, block.data() + 2, packed, out, unpacked, &used, &produced);
        return;
    }
    z_stream zs{};
    inflateInit(&zs);
    zs.next_in = block.data();
    zs.avail_in = static_cast<uInt>(packed);
    zs.next_out = out;
    zs.avail_out = static_cast<uInt>(unpacked);
    inflate(&zs, Z_SYNC_FLUSH);
    inflateEnd(&zs);
}

} // namespace

size_t ReadAndInflate(const std::string& path, TInflater with) {
    static libdeflate_decompressor* const decompressor = libdeflate_alloc_decompressor();
    // The file in one read of its size, as cheaply as a program can read it.
    std::vector<uint8_t> whole;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::error_code ec;
        whole.resize(static_cast<size_t>(fs::file_size(path, ec)));
        whole.resize(std::fread(whole.data(), 1, whole.size(), f));
        std::fclose(f);
    }
    // A GRBN wrapper holds an unchanged replay after its own header: the floor reads that one too.
    const std::span<const uint8_t> file = ReplayInside(whole);
    if (file.size() < 0x30)
        return 0;
    const uint32_t headerSize = U32At(file, 0x1C);
    const uint32_t blocks = U32At(file, 0x2C);
    const uint32_t version = U32At(file, 0x24) == 1 ? U32At(file, 0x34) : 0;
    const bool wide = version >= 10032 && version <= 20000;
    std::vector<uint8_t> data, block;
    data.reserve(std::max<size_t>(U32At(file, 0x28), size_t{blocks} * 8192)); // every block declares 8 KiB
    size_t pos = headerSize;
    for (uint32_t i = 0; i < blocks && pos + 12 <= file.size(); ++i) {
        const uint32_t packed = wide ? U32At(file, pos) : (file[pos] | (file[pos + 1] << 8));
        const uint32_t unpacked = wide ? U32At(file, pos + 4) : (file[pos + 2] | (file[pos + 3] << 8));
        pos += wide ? 12 : 8;
        if (pos + packed > file.size())
            break;
        const size_t at = data.size();
        data.resize(at + unpacked);
        block.resize(packed + 2); // the two spare bytes libdeflate's final block takes
        std::copy_n(file.begin() + static_cast<ptrdiff_t>(pos), packed, block.begin());
        InflateInto(with, decompressor, block, packed, data.data() + at, unpacked);
        pos += packed;
    }
    return data.size();
}

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

std::vector<std::string> CorpusReplays(const std::string& corpusDir) {
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::directory_iterator it(corpusDir, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == ".w3g")
            files.push_back(it->path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string WriteCorpusCollection(const std::string& corpusDir, int links) {
    const auto corpus = CorpusReplays(corpusDir);
    const fs::path root = fs::temp_directory_path() / ("quillon-bench-corpus-" + std::to_string(links));
    if (corpus.empty() || fs::exists(root / "done"))
        return corpus.empty() ? std::string() : root.string();
    fs::remove_all(root);
    fs::create_directories(root / "corpus");
    for (const auto& file : corpus)
        fs::copy_file(file, root / "corpus" / fs::path(file).filename());
    for (int i = 0; i < links; ++i) {
        const fs::path dir = root / ("copies" + std::to_string(i % 50));
        fs::create_directories(dir);
        const fs::path from = root / "corpus" / fs::path(corpus[static_cast<size_t>(i) % corpus.size()]).filename();
        fs::create_hard_link(from, dir / (std::to_string(i) + ".w3g"));
    }
    std::ofstream(root / "done") << "";
    return root.string();
}

} // namespace quillon::bench
