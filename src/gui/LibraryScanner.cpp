#include "gui/LibraryScanner.h"

#include "gui/QtText.h"

namespace quillon::gui {

TLibraryScanner::TLibraryScanner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<quillon::TScanResult>("quillon::TScanResult");
}

void TLibraryScanner::Start(const std::string& libraryPath, const QStringList& folders) {
    std::vector<std::string> dirs;
    for (const QString& f : folders)
        dirs.push_back(ToPath(f));
    Job.Start([this, libraryPath, dirs](const TStopFlag& stop, const TBackgroundJob::TPost& post) {
        TScanResult result;
        QString error;
        try {
            TLibrary library(libraryPath);
            TScanOptions options;
            options.Stop = stop;
            options.OnProgress = [this, &post](size_t done, size_t total) {
                post([this, done, total] { emit Progress(done, total); });
            };
            result = ScanFolders(library, dirs, options);
        } catch (const TLibraryError& e) {
            error = ToQString(e.what());
        }
        post([this, result, error] {
            Job.Ended();
            emit Finished(result, error);
        });
    });
}

} // namespace quillon::gui
