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

} // namespace quillon
