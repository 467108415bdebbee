#pragma once

#include <stdexcept>
#include <string>

namespace quillon {

/// The one error type of replay reading: "Stream read error" for data that ends too early,
/// "Cannot open file ..." when the file layer refuses.
class TReplayError : public std::runtime_error {
public:
    enum class TKind { Read, Open };
    explicit TReplayError(const std::string& message, TKind kind = TKind::Read)
        : std::runtime_error(message), Kind(kind) {}
    TKind Kind;
};

inline constexpr const char* StreamReadErrorText = "Stream read error";

[[noreturn]] inline void ThrowStreamReadError() {
    throw TReplayError(StreamReadErrorText);
}

} // namespace quillon
