#include "core/platform/Locale.h"
#include "core/text/CodePageEncoder.h"

#include "core/platform/Win32Text.h"

#include <windows.h>

#include <cctype>
#include <charconv>
#include <stdexcept>

namespace quillon {

namespace {

constexpr unsigned Gb18030 = 54936;

// A code page by name: "GBK" and "GB2312" are 936, "GB18030" is 54936, "CP1252" or "1252" its number.
unsigned CodePageNumber(std::string_view name) {
    std::string upper;
    for (char c : name)
        upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    if (upper == "GBK" || upper == "GB2312" || upper == "CP936")
        return 936;
    if (upper == "GB18030")
        return Gb18030;
    if (upper == "UTF-8" || upper == "UTF8")
        return CP_UTF8;
    std::string_view digits = upper;
    if (digits.starts_with("CP"))
        digits.remove_prefix(2);
    else if (digits.starts_with("WINDOWS-"))
        digits.remove_prefix(8);
    unsigned number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || !IsValidCodePage(number))
        return 0;
    return number;
}

std::string LocaleText(LCTYPE what) {
    wchar_t buf[16];
    const int n = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, what, buf, 16);
    return n > 1 ? Utf8OfWide(std::wstring_view(buf, static_cast<size_t>(n - 1))) : std::string();
}

} // namespace

bool SystemLocaleIsChinese() {
    wchar_t value[64];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\International", L"Locale", RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return false;
    const std::wstring_view text(value);
    return text.size() >= 4 && text.substr(text.size() - 4) == L"0804";
}

TNumberSeparators SystemNumberSeparators() {
    return {LocaleText(LOCALE_STHOUSAND), LocaleText(LOCALE_SDECIMAL)};
}

TCodePageEncoder::TCodePageEncoder(std::string_view codePage) : CodePage(CodePageNumber(codePage)) {
    if (CodePage == 0)
        throw std::runtime_error("unknown code page " + std::string(codePage));
}

TCodePageEncoder::~TCodePageEncoder() = default;

void TCodePageEncoder::Append(std::string& out, char32_t code) {
    if (CodePage == Gb18030 && code >= 0x10000 && code <= 0x10FFFF) {
        // Beyond the BMP, GB18030 counts four-byte codes straight up from 0x90308130 (not every system's table
        // goes that far).
        uint32_t linear = code - 0x10000 + 189000;
        char bytes[4];
        bytes[3] = static_cast<char>(0x30 + linear % 10);
        linear /= 10;
        bytes[2] = static_cast<char>(0x81 + linear % 126);
        linear /= 126;
        bytes[1] = static_cast<char>(0x30 + linear % 10);
        bytes[0] = static_cast<char>(0x81 + linear / 10);
        out.append(bytes, 4);
        return;
    }
    wchar_t in[2];
    int inLength = 1;
    if (code >= 0x10000) {
        in[0] = static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
        in[1] = static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        inLength = 2;
    } else {
        in[0] = static_cast<wchar_t>(code);
    }
    char buf[16];
    BOOL usedDefault = FALSE;
    // GB18030 and UTF-8 have every character, and the system takes no default-character question for them.
    const bool complete = CodePage == Gb18030 || CodePage == CP_UTF8;
    const int n = WideCharToMultiByte(CodePage, complete ? 0 : WC_NO_BEST_FIT_CHARS, in, inLength, buf, sizeof buf,
                                      nullptr, complete ? nullptr : &usedDefault);
    if (n <= 0 || usedDefault) {
        out.push_back('?'); // the code page has no such character
        return;
    }
    out.append(buf, static_cast<size_t>(n));
}

} // namespace quillon
