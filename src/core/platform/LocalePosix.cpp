#include "core/platform/Locale.h"
#include "core/text/CodePageEncoder.h"

#include "core/platform/System.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <stdexcept>

namespace quillon {

bool SystemLocaleIsChinese() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const auto value = EnvironmentText(name))
            return value->substr(0, 5) == "zh_CN";
    return false;
}

TNumberSeparators SystemNumberSeparators() {
    TNumberSeparators separators;
    locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr))
        return separators;
    if (const char* thousands = nl_langinfo_l(THOUSEP, loc))
        separators.Thousands = thousands;
    if (const char* decimal = nl_langinfo_l(RADIXCHAR, loc))
        separators.Decimal = decimal;
    freelocale(loc);
    return separators;
}

TCodePageEncoder::TCodePageEncoder(std::string_view codePage) {
    iconv_t cd = iconv_open(std::string(codePage).c_str(), "UTF-32LE");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("unknown code page " + std::string(codePage));
    Converter = cd;
}

TCodePageEncoder::~TCodePageEncoder() {
    iconv_close(static_cast<iconv_t>(Converter));
}

void TCodePageEncoder::Append(std::string& out, char32_t code) {
    const auto cd = static_cast<iconv_t>(Converter);
    char in[4] = {static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF),
                  static_cast<char>((code >> 16) & 0xFF), static_cast<char>(code >> 24)};
    char buf[16];
    char* inp = in;
    size_t inLeft = sizeof in;
    char* outp = buf;
    size_t outLeft = sizeof buf;
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // fresh shift state
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1)) {
        out.push_back('?'); // the code page has no such character
        return;
    }
    out.append(buf, static_cast<size_t>(outp - buf));
}

} // namespace quillon
