#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

/// Length of the well-formed UTF-8 sequence that starts at s[pos], or 0 when the bytes there are not one
/// (overlong forms, surrogates and code points above U+10FFFF are not well formed).
size_t Utf8SequenceLength(std::string_view s, size_t pos);

bool IsValidUtf8(std::string_view s);

/// The first maxChars characters of s. A character is a whole well-formed UTF-8 sequence; a byte that
/// starts none counts as one character, so a cut never splits a sequence.
std::string CutToCharacters(std::string_view s, size_t maxChars);

/// s with every byte that is not part of a well-formed sequence replaced by U+FFFD.
std::string Utf8WithReplacement(std::string_view s);

/// s itself when it is valid UTF-8, else every byte as the code point of the same value (U+0000 to U+00FF),
/// so no byte value is lost.
std::string Utf8OrLatin1(std::string_view s);

/// Appends one byte as \xNN.
void AppendEscaped(std::string& out, unsigned char c);

/// bytes with every byte outside a well-formed sequence as \xNN; control characters (C0, DEL, C1) too when
/// controlsToo, so nothing a replay or a file name holds can drive a terminal.
std::string EscapedText(std::string_view bytes, bool controlsToo);

} // namespace quillon
