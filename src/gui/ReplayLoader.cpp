#include "gui/ReplayLoader.h"

#include "gui/QtText.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace quillon::gui {

TReplayLoader::TReplayLoader(QObject* parent)
    : QObject(parent), Load([](const std::string& path, uint8_t detail) { return LoadReplay(path, detail); }) {}

void TReplayLoader::Request(const QString& path, uint8_t detail) {
    const uint64_t generation = ++Generation;
    using TShared = std::shared_ptr<TLoadResult>;
    auto* watcher = new QFutureWatcher<TShared>(this);
    connect(watcher, &QFutureWatcher<TShared>::finished, this, [this, watcher, generation, path] {
        const TShared result = watcher->result();
        watcher->deleteLater();
        if (generation == Generation)
            emit Finished(path, result);
    });
    watcher->setFuture(QtConcurrent::run(
        [load = Load, file = ToPath(path), detail] { return std::make_shared<TLoadResult>(load(file, detail)); }));
}

} // namespace quillon::gui
