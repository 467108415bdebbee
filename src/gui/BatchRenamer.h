#pragma once

#include "core/rename/Rename.h"
#include "gui/BackgroundJob.h"

#include <QObject>
#include <QString>

#include <memory>

namespace quillon::gui {

/// Runs a batch rename on a worker thread: lists the whole tree, then renames file by file, reporting each
/// row as it is decided. Stop ends it between two files.
class TBatchRenamer : public QObject {
    Q_OBJECT
public:
    explicit TBatchRenamer(QObject* parent = nullptr);
    /// Tests put their own file system in place of the real one.
    void SetFileSystem(std::shared_ptr<TRenameFileSystem> files) { Files = std::move(files); }

    void Start(const QString& folder, const TRenameRule& rule, TLanguage language);
    void Stop() { Job.Stop(); }
    bool Running() const { return Job.Running(); }

signals:
    void Listed(int total);
    void Row(const quillon::TBatchRow& row);
    /// The walk has ended; stopped tells whether Stop ended it.
    void Finished(bool stopped);

private:
    std::shared_ptr<TRenameFileSystem> Files;
    TBackgroundJob Job{this};
};

} // namespace quillon::gui
