#pragma once

#include <cstdint>
#include <string>

namespace quillon {

/// Thousands and decimal separators for numbers shown to the user.
struct TNumberFormat {
    std::string Thousands = ",";
    std::string Decimal = ".";

    /// The separators of the system locale (LC_NUMERIC); where it defines none (C, POSIX), "," and ".".
    static TNumberFormat FromSystem();

    /// 1234567 as "1,234,567".
    std::string Integer(int64_t value) const;
    /// value rounded to two decimals: "123.45".
    std::string TwoDecimals(double value) const;
};

} // namespace quillon
