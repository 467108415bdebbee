#include "gui/LibraryScanner.h"

#include "gui/QtText.h"

#include <QMetaObject>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

namespace quillon::gui {

TLibraryScanner::TLibraryScanner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<quillon::TScanResult>("quillon::TScanResult");
}

TLibraryScanner::~TLibraryScanner() {
    Stop(); // the program waits for the worker at exit: let it end soon
}

void TLibraryScanner::Start(const std::string& libraryPath, const QStringList& folders) {
    if (IsRunning)
        return;
    IsRunning = true;
    StopFlag = std::make_shared<std::atomic<bool>>(false);
    std::vector<std::string> dirs;
    for (const QString& f : folders)
        dirs.push_back(ToPath(f));
    QPointer<TLibraryScanner> self(this);
    (void)QtConcurrent::run([self, libraryPath, dirs, stop = StopFlag] {
        TScanResult result;
        QString error;
        try {
            TLibrary library(libraryPath);
            TScanOptions options;
            options.Stop = stop.get();
            options.OnProgress = [self](size_t done, size_t total) {
                QMetaObject::invokeMethod(
                    self.data(),
                    [self, done, total] {
                        if (self)
                            emit self->Progress(done, total);
                    },
                    Qt::QueuedConnection);
            };
            result = ScanFolders(library, dirs, options);
        } catch (const TLibraryError& e) {
            error = ToQString(e.what());
        }
        QMetaObject::invokeMethod(
            self.data(),
            [self, result, error] {
                if (!self)
                    return;
                self->IsRunning = false;
                emit self->Finished(result, error);
            },
            Qt::QueuedConnection);
    });
}

} // namespace quillon::gui
