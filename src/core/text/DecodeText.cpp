#include "core/text/DecodeText.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>
#include <stdexcept>

namespace quillon {

namespace {

bool IsUtf8Name(std::string_view name) {
    return name == "UTF-8" || name == "utf-8" || name == "UTF8" || name == "utf8";
}

struct TIconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// One converter per code page and thread, opened on first use.
iconv_t Converter(std::string_view codePage) {
    thread_local std::map<std::string, std::unique_ptr<void, TIconvCloser>, std::less<>> open;
    auto it = open.find(codePage);
    if (it == open.end()) {
        iconv_t cd = iconv_open(std::string(codePage).c_str(), "UTF-32LE");
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("unknown code page " + std::string(codePage));
        it = open.emplace(std::string(codePage), std::unique_ptr<void, TIconvCloser>(cd)).first;
    }
    return static_cast<iconv_t>(it->second.get());
}

void AppendCharacter(std::string& out, char32_t code, iconv_t cd) {
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

} // namespace

std::string DecodeUtf8Text(std::string_view bytes, std::string_view codePage) {
    if (IsUtf8Name(codePage))
        return std::string(bytes);
    iconv_t cd = Converter(codePage);
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
            AppendCharacter(out, code, cd);
            i += 4;
        } else if (b0 >= 0xE0 && i + 2 < bytes.size()) {
            const char32_t code =
                (char32_t(b0 & 0x0F) << 12) | (char32_t(at(i + 1) & 0x3F) << 6) | char32_t(at(i + 2) & 0x3F);
            AppendCharacter(out, code, cd);
            i += 3;
        } else {
            out.push_back(static_cast<char>(b0)); // ASCII, two-byte sequences, stray or cut-off bytes
            ++i;
        }
    }
    return out;
}

} // namespace quillon
