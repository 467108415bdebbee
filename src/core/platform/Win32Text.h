#pragma once

// UTF-8 and the UTF-16 of the Windows interfaces; only the Windows files of this folder use it.

#include <string>
#include <string_view>

namespace quillon {

std::wstring WideOf(std::string_view utf8);
std::string Utf8OfWide(std::wstring_view wide);

/// The system's text for an error code, without its line break.
std::string Win32ErrorText(unsigned long code);

} // namespace quillon
