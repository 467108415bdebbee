#pragma once

#include "core/autosave/AutoSaver.h"

#include <QFutureWatcher>
#include <QObject>
#include <QStringList>

#include <memory>

class QFileSystemWatcher;
class QTimer;

namespace quillon::gui {

/// Auto-save in the window: the folders watched with QFileSystemWatcher (and looked at every second while a
/// file settles, so a missing folder that appears or a disk plugged in again is found), the keeping done off the
/// window's thread by the same auto-saver as quillon-cli watch.
class TAutoSaveWatcher : public QObject {
    Q_OBJECT
public:
    explicit TAutoSaveWatcher(QObject* parent = nullptr);
    ~TAutoSaveWatcher() override;

    /// Starts watching these folders with these options, or anew with others; Stop ends it (after the file in
    /// hand).
    void Start(const TAutoSaveOptions& options, const std::vector<std::string>& folders);
    void Stop();
    bool Running() const { return Saver != nullptr; }
    /// Looks at the folders now (the next turn of the event loop when a look is under way).
    void LookNow();

signals:
    void Event(const quillon::TSaveEvent& event);

private:
    void Finished();

    std::shared_ptr<TAutoSaver> Saver;
    std::vector<std::string> Folders;
    TStopFlag StopFlag;
    QFileSystemWatcher* Watcher;
    QTimer* Timer;
    QFutureWatcher<std::vector<TSaveEvent>>* Look;
    bool LookAgain = false;
};

} // namespace quillon::gui
