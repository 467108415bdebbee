#pragma once

#include <atomic>
#include <memory>

namespace quillon {

/// Asks long work (a batch rename, a library scan) to stop at its next safe point: between two files, after the
/// batch being written. The side that asks and the side that works hold copies of one flag.
class TStopFlag {
public:
    TStopFlag() : Flag(std::make_shared<std::atomic<bool>>(false)) {}
    /// A flag set from elsewhere, such as Ctrl+C's; it must outlive the work.
    static TStopFlag Watching(std::atomic<bool>& flag) {
        return TStopFlag(std::shared_ptr<std::atomic<bool>>(std::shared_ptr<void>(), &flag));
    }

    void Request() const { Flag->store(true); }
    bool Requested() const { return Flag->load(); }

private:
    explicit TStopFlag(std::shared_ptr<std::atomic<bool>> flag) : Flag(std::move(flag)) {}
    std::shared_ptr<std::atomic<bool>> Flag;
};

} // namespace quillon
