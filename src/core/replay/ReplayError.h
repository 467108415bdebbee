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
    std::string Path, Reason; // for Open: the file and the system's reason, to be said in the user's language
};

/// "Cannot open file "PATH". REASON"
[[noreturn]] inline void ThrowCannotOpen(const std::string& path, const std::string& reason) {
    TReplayError e("Cannot open file \"" + path + "\". " + reason, TReplayError::TKind::Open);
    e.Path = path;
    e.Reason = reason;
    throw e;
}

inline constexpr const char* StreamReadErrorText = "Stream read error";
/// The reason for a device, FIFO or socket, which is never read.
inline constexpr const char* NotRegularFileText = "Not a regular file";

[[noreturn]] inline void ThrowStreamReadError() {
    throw TReplayError(StreamReadErrorText);
}

} // namespace quillon
