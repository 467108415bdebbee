#pragma once

#ifndef QUILLON_REPLAY_INTERNAL
#error "parser internals: include core/replay/ReplayInfo.h instead"
#endif

#include "core/replay/ReplayError.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quillon {

/// Little-endian cursor over a byte span. Every read checks what is left first and throws
/// "Stream read error" instead of reading past the end.
class TByteReader {
public:
    TByteReader() = default;
    explicit TByteReader(std::span<const uint8_t> bytes) : Bytes(bytes) {}

    size_t Position() const { return Pos; }
    size_t Size() const { return Bytes.size(); }
    size_t Remaining() const { return Bytes.size() - Pos; }
    bool AtEnd() const { return Pos >= Bytes.size(); }

    void Seek(size_t pos) {
        if (pos > Bytes.size())
            ThrowStreamReadError();
        Pos = pos;
    }
    void Skip(size_t n) {
        Require(n);
        Pos += n;
    }
    uint8_t ReadU8() {
        Require(1);
        return Bytes[Pos++];
    }
    uint16_t ReadU16Le() {
        Require(2);
        uint16_t v = static_cast<uint16_t>(Bytes[Pos] | (Bytes[Pos + 1] << 8));
        Pos += 2;
        return v;
    }
    uint32_t ReadU32Le() {
        Require(4);
        uint32_t v = LoadU32Le(Bytes.data() + Pos);
        Pos += 4;
        return v;
    }
    std::span<const uint8_t> ReadBytes(size_t n) {
        Require(n);
        auto out = Bytes.subspan(Pos, n);
        Pos += n;
        return out;
    }
    /// Bytes up to a zero byte; the zero is consumed and not part of the text.
    std::string ReadZString() {
        size_t start = Pos;
        while (true) {
            uint8_t b = ReadU8();
            if (b == 0)
                return std::string(reinterpret_cast<const char*>(Bytes.data() + start), Pos - 1 - start);
        }
    }

    static uint32_t LoadU32Le(const uint8_t* p) {
        return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
               (static_cast<uint32_t>(p[3]) << 24);
    }

private:
    void Require(size_t n) const {
        if (n > Remaining())
            ThrowStreamReadError();
    }

    std::span<const uint8_t> Bytes;
    size_t Pos = 0;
};

} // namespace quillon
