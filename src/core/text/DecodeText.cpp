#include "core/text/DecodeText.h"

#include "core/text/CodePageEncoder.h"

#include <map>
#include <memory>

namespace quillon {

namespace {

bool IsUtf8Name(std::string_view name) {
    return name == "UTF-8" || name == "utf-8" || name == "UTF8" || name == "utf8";
}

// One encoder per code page and thread, made on first use.
TCodePageEncoder& Encoder(std::string_view codePage) {
    thread_local std::map<std::string, std::unique_ptr<TCodePageEncoder>, std::less<>> made;
    auto it = made.find(codePage);
    if (it == made.end())
        it = made.emplace(std::string(codePage), std::make_unique<TCodePageEncoder>(codePage)).first;
    return *it->second;
}

} // namespace

std::string DecodeUtf8Text(std::string_view bytes, std::string_view codePage) {
    if (IsUtf8Name(codePage))
        return std::string(bytes);
    TCodePageEncoder& encoder = Encoder(codePage);
    std::string out;
    out.reserve(bytes.size());
    const auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    for (size_t i = 0; i < bytes.size();) {
        const unsigned char b0 = at(i);
        const bool four = b0 >= 0xF0 && b0 <= 0xF4 && i + 3 < bytes.size() && (at(i + 1) & 0xC0) == 0x80 &&
                          (at(i + 2) & 0xC0) == 0x80 && (at(i + 3) & 0xC0) == 0x80;
        if (four) {
            const char32_t code = (char32_t(b0 & 0x07) << 18) | (char32_t(at(i + 1) & 0x3F) << 12) |
                                  (char32_t(at(i + 2) & 0x3F) << 6) | char32_t(at(i + 3) & 0x3F);
            encoder.Append(out, code);
            i += 4;
        } else if (b0 >= 0xE0 && i + 2 < bytes.size()) {
            const char32_t code =
                (char32_t(b0 & 0x0F) << 12) | (char32_t(at(i + 1) & 0x3F) << 6) | char32_t(at(i + 2) & 0x3F);
            encoder.Append(out, code);
            i += 3;
        } else {
            out.push_back(static_cast<char>(b0)); // ASCII, two-byte sequences, stray or cut-off bytes
            ++i;
        }
    }
    return out;
}

} // namespace quillon
