#pragma once

#include <string>
#include <string_view>

namespace quillon {

/// True when the user's locale asks for Chinese (PRC): LC_ALL, LC_MESSAGES or LANG starting with "zh_CN" here,
/// the "Locale" value of HKCU\Control Panel\International ending in "0804" on Windows.
bool SystemLocaleIsChinese();

/// The user's thousands separator and decimal mark; empty where the locale names none.
struct TNumberSeparators {
    std::string Thousands;
    std::string Decimal;
};
TNumberSeparators SystemNumberSeparators();

/// Turns single characters into a code page's bytes ("GBK", "GB18030", "CP1252", ...).
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
