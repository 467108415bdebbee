#pragma once

#include <string>
#include <string_view>

namespace quillon {

/// Replay text (UTF-8) for display in a code page. Our program text is UTF-8, so under "UTF-8" valid text
/// stays as it is. Under another code page (such as "GBK") every three- and four-byte sequence becomes that
/// code page's form of its character ("?" where it has none); other bytes stay unchanged.
std::string DecodeUtf8Text(std::string_view bytes, std::string_view codePage = "UTF-8");

} // namespace quillon
