#pragma once

#include "core/library/LibraryScan.h"
#include "gui/BackgroundJob.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace quillon::gui {

/// Scans folders into a library on a worker thread, with its own connection to the database; Stop ends it after
/// the batch being written.
class TLibraryScanner : public QObject {
    Q_OBJECT
public:
    explicit TLibraryScanner(QObject* parent = nullptr);

    void Start(const std::string& libraryPath, const QStringList& folders);
    void Stop() { Job.Stop(); }
    bool Running() const { return Job.Running(); }

signals:
    void Progress(qulonglong done, qulonglong total);
    /// The scan has ended: its counts, or (error not empty) why the library could not be used.
    void Finished(const quillon::TScanResult& result, const QString& error);

private:
    TBackgroundJob Job{this};
};

} // namespace quillon::gui
