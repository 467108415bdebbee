#pragma once

#include "core/library/LibraryScan.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

namespace quillon::gui {

/// Scans folders into a library on a worker thread, with its own connection to the database; Stop ends it after
/// the batch being written.
class TLibraryScanner : public QObject {
    Q_OBJECT
public:
    explicit TLibraryScanner(QObject* parent = nullptr);
    ~TLibraryScanner() override;

    void Start(const std::string& libraryPath, const QStringList& folders);
    void Stop() {
        if (StopFlag)
            *StopFlag = true;
    }
    bool Running() const { return IsRunning; }

signals:
    void Progress(qulonglong done, qulonglong total);
    /// The scan has ended: its counts, or (error not empty) why the library could not be used.
    void Finished(const quillon::TScanResult& result, const QString& error);

private:
    std::shared_ptr<std::atomic<bool>> StopFlag;
    bool IsRunning = false;
};

} // namespace quillon::gui
