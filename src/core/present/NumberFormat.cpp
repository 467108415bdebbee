#include "core/present/NumberFormat.h"

#include "core/platform/Locale.h"

#include <charconv>

namespace quillon {

TNumberFormat TNumberFormat::FromSystem() {
    TNumberFormat format;
    const TNumberSeparators system = SystemNumberSeparators();
    if (!system.Thousands.empty())
        format.Thousands = system.Thousands;
    if (!system.Decimal.empty())
        format.Decimal = system.Decimal;
    return format;
}

std::string TNumberFormat::Integer(int64_t value) const {
    const std::string digits = std::to_string(value < 0 ? -static_cast<uint64_t>(value) : static_cast<uint64_t>(value));
    std::string out = value < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += Thousands;
        out.push_back(digits[i]);
    }
    return out;
}

std::string TNumberFormat::TwoDecimals(double value) const {
    char buf[64];
    // to_chars ignores the process locale, so the separator is ours to choose.
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    std::string out(buf, res.ptr);
    const size_t dot = out.find('.');
    if (dot != std::string::npos)
        out.replace(dot, 1, Decimal);
    return out;
}

} // namespace quillon
