#include "core/text/DecodeText.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(DecodeUtf8Text, KeepsUtf8AndConvertsToACodePage) {
    struct TCase {
        std::string In;
        const char* CodePage;
        std::string Out;
    };
    const TCase cases[] = {
        {"\xE4\xBD\xA0\xE5\xA5\xBD", "GBK", "\xC4\xE3\xBA\xC3"},
        {"\xE4\xBD\xA0\xE5\xA5\xBD", "UTF-8", "\xE4\xBD\xA0\xE5\xA5\xBD"},
        {"plain ascii", "GBK", "plain ascii"},
        {"\xC3\xA9", "GBK", "\xC3\xA9"},                     // two-byte sequences stay as they are
        {"\xE0\xA4\xA8", "GBK", "?"},                        // a three-byte character GBK lacks
        {"\xF0\xA0\x80\x80", "GB18030", "\x95\x32\x82\x36"}, // a four-byte sequence is its character
        {"\xF0\x9F\x98\x80", "GBK", "?"},                    // and not three characters plus a stray byte
        {"ab\xE4\xBD", "GBK", "ab\xE4\xBD"},                 // a sequence cut by the end is not read past it
        {"\xF0\x9F", "GBK", "\xF0\x9F"},
        {"", "GBK", ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.In);
        EXPECT_EQ(DecodeUtf8Text(c.In, c.CodePage), c.Out);
    }
}

TEST(DecodeUtf8Text, UnknownCodePageIsAnError) {
    EXPECT_THROW(DecodeUtf8Text("\xE4\xBD\xA0", "NO-SUCH-CODEPAGE"), std::runtime_error);
}
