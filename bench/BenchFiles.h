#pragma once

#include <string>
#include <vector>

namespace quillon::bench {

enum class TInflater { Zlib, Libdeflate };

/// The floor of loading a replay: read the whole file and inflate every block into one buffer, nothing else; with
/// zlib (the yardstick) or libdeflate. A GRBN wrapper's replay is read inside it. Returns the inflated bytes.
size_t ReadAndInflate(const std::string& path, TInflater with);

/// The corpus replays, and a collection of them plus hard links to them in 50 folders (made once in the temporary
/// folder; empty without the corpus).
std::vector<std::string> CorpusReplays(const std::string& corpusDir);
std::string WriteCorpusCollection(const std::string& corpusDir, int links);

/// 10,000 small replays in 10 x 10 nested folders (made once, kept in the temporary folder): the batch rename's
/// and the library's collection.
std::string WriteBatchTree();

/// The replays below a folder.
std::vector<std::string> ReplaysBelow(const std::string& root);

} // namespace quillon::bench
