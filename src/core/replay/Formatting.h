#pragma once

#include <cstdint>
#include <string>

namespace quillon {

/// Object id of 4 stored bytes b0..b3: "HHLL" hex of b1, b0 when b2 is 0x0D (an order code such as "0003"),
/// else the characters b3 b2 b1 b0 ("hpea").
std::string FormatObjectId(const uint8_t* bytes);
/// The same four characters into a buffer, for callers that build many texts.
void FormatObjectIdTo(const uint8_t* bytes, char (&out)[4]);

/// 4 bytes as a little-endian signed 32-bit number in decimal.
std::string FormatInt32(const uint8_t* bytes);

/// The digits "1" to "5" for each of bits 0 to 4 that is set, in that order.
std::string FormatFlagBits(uint8_t flags);

/// "1" for 0x40, "2" for 0x42, "3" for 0x44, "0" otherwise.
std::string FormatOrderCode(uint8_t code);

} // namespace quillon
