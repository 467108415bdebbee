#pragma once

#include <stdexcept>
#include <string>

namespace quillon {

/// The one error type of replay reading: "Stream read error" for data that ends too early,
/// "Cannot open file ..." when the file layer refuses.
class TReplayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* StreamReadErrorText = "Stream read error";

[[noreturn]] inline void ThrowStreamReadError() {
    throw TReplayError(StreamReadErrorText);
}

} // namespace quillon
