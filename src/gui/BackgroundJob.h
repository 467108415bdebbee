#pragma once

#include "core/task/StopFlag.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>

namespace quillon::gui {

/// Long work for a window on a worker thread, one job at a time. The work gets a stop flag and a way to post
/// what it finds back to the owner's thread; what it posts after the owner is gone is dropped.
class TBackgroundJob {
public:
    /// Runs f on the owner's thread (the work's only way to touch the owner or emit its signals).
    using TPost = std::function<void(std::function<void()> f)>;

    explicit TBackgroundJob(QObject* owner) : Owner(owner) {}
    ~TBackgroundJob() { Stop(); } // the program waits for the worker at exit: let it end soon
    TBackgroundJob(const TBackgroundJob&) = delete;
    TBackgroundJob& operator=(const TBackgroundJob&) = delete;

    /// Starts work(stop, post) unless a job runs; the job runs until its last post calls Ended().
    template <typename Work> bool Start(Work work) {
        if (IsRunning)
            return false;
        IsRunning = true;
        Flag = TStopFlag();
        const QPointer<QObject> owner(Owner);
        TPost post = [owner](std::function<void()> f) {
            if (owner)
                QMetaObject::invokeMethod(
                    owner.data(),
                    [owner, f = std::move(f)] {
                        if (owner)
                            f();
                    },
                    Qt::QueuedConnection);
        };
        (void)QtConcurrent::run([work = std::move(work), stop = Flag, post = std::move(post)] { work(stop, post); });
        return true;
    }
    void Stop() const { Flag.Request(); }
    void Ended() { IsRunning = false; }
    bool Running() const { return IsRunning; }

private:
    QObject* Owner;
    TStopFlag Flag;
    bool IsRunning = false;
};

} // namespace quillon::gui
