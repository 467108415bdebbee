#pragma once

#include <string>
#include <string_view>

namespace quillon {

/// Turns single characters into a code page's bytes ("GBK", "GB18030", "CP1252", ...). The system does the
/// converting, so platform/Locale*.cpp implement it.
class TCodePageEncoder {
public:
    /// Throws std::runtime_error for a code page the system does not know.
    explicit TCodePageEncoder(std::string_view codePage);
    ~TCodePageEncoder();
    TCodePageEncoder(const TCodePageEncoder&) = delete;
    TCodePageEncoder& operator=(const TCodePageEncoder&) = delete;
    /// Appends the code page's form of the character, or "?" where it has none.
    void Append(std::string& out, char32_t code);

private:
    void* Converter = nullptr;
    unsigned CodePage = 0;
};

} // namespace quillon
