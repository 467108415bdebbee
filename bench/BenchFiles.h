#pragma once

#include <string>
#include <vector>

namespace quillon::bench {

/// 10,000 small replays in 10 x 10 nested folders (made once, kept in the temporary folder): the batch rename's
/// and the library's collection.
std::string WriteBatchTree();

/// The replays below a folder.
std::vector<std::string> ReplaysBelow(const std::string& root);

} // namespace quillon::bench
