#include "core/text/Utf8.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(Utf8, SequenceLengths) {
    struct TCase {
        std::string Bytes;
        size_t Length;
    };
    for (const TCase& c : {TCase{"a", 1}, TCase{"\xC3\xA9", 2}, TCase{"\xE4\xBD\xA0", 3}, TCase{"\xF0\x9F\x98\x80", 4},
                           TCase{"\xC3", 0}, TCase{"\xE4\xBD", 0}, TCase{"\xC0\x80", 0}, TCase{"\xED\xA0\x80", 0},
                           TCase{"\xF4\x90\x80\x80", 0}, TCase{"\x80", 0}, TCase{"\xFF", 0}}) {
        SCOPED_TRACE(c.Bytes);
        EXPECT_EQ(Utf8SequenceLength(c.Bytes, 0), c.Length);
    }
}

TEST(Utf8, CutCountsCharactersNotBytes) {
    EXPECT_EQ(CutToCharacters("abc", 2), "ab");
    EXPECT_EQ(CutToCharacters("\xE4\xBD\xA0\xE5\xA5\xBD", 1), "\xE4\xBD\xA0");
    EXPECT_EQ(CutToCharacters("\xE4\xBD\xA0\xE5\xA5", 2), "\xE4\xBD\xA0\xE5"); // stray bytes count one each
    EXPECT_EQ(CutToCharacters("", 5), "");
}

TEST(Utf8, ConversionsForOutput) {
    EXPECT_EQ(Utf8WithReplacement("a\xFF"
                                  "b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(Utf8WithReplacement("\xE4\xBD\xA0"), "\xE4\xBD\xA0");
    EXPECT_EQ(Utf8OrLatin1("\xE4\xBD\xA0"), "\xE4\xBD\xA0");
    EXPECT_EQ(Utf8OrLatin1(std::string(1, '\x01')), "\x01");
    EXPECT_EQ(Utf8OrLatin1("\xFF"), "\xC3\xBF");
}
