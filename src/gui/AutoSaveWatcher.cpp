#include "gui/AutoSaveWatcher.h"

#include "gui/QtText.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <chrono>

namespace quillon::gui {

namespace {

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

TAutoSaveWatcher::TAutoSaveWatcher(QObject* parent)
    : QObject(parent), Watcher(new QFileSystemWatcher(this)), Timer(new QTimer(this)),
      Look(new QFutureWatcher<std::vector<TSaveEvent>>(this)) {
    Timer->setInterval(1000);
    connect(Timer, &QTimer::timeout, this, &TAutoSaveWatcher::LookNow);
    connect(Watcher, &QFileSystemWatcher::directoryChanged, this, &TAutoSaveWatcher::LookNow);
    connect(Look, &QFutureWatcher<std::vector<TSaveEvent>>::finished, this, &TAutoSaveWatcher::Finished);
}

TAutoSaveWatcher::~TAutoSaveWatcher() {
    Stop();
    Look->waitForFinished();
}

void TAutoSaveWatcher::Start(const TAutoSaveOptions& options, const std::vector<std::string>& folders) {
    Stop();
    Look->waitForFinished();
    StopFlag = TStopFlag();
    Saver = std::make_shared<TAutoSaver>(options);
    Folders = folders;
    QStringList watched;
    for (const std::string& folder : folders)
        if (QFileInfo(FromPath(folder)).isDir())
            watched << FromPath(folder);
    if (!watched.isEmpty())
        Watcher->addPaths(watched);
    Timer->start();
    LookNow();
}

void TAutoSaveWatcher::Stop() {
    StopFlag.Request();
    Saver.reset();
    Timer->stop();
    if (!Watcher->directories().isEmpty())
        Watcher->removePaths(Watcher->directories());
}

void TAutoSaveWatcher::LookNow() {
    if (!Saver)
        return;
    if (Look->isRunning()) {
        LookAgain = true;
        return;
    }
    // The auto-saver is the look's alone while it runs; a Stop meanwhile only drops this side's share.
    Look->setFuture(QtConcurrent::run(
        [saver = Saver, folders = Folders, stop = StopFlag] { return saver->Poll(folders, NowMs(), stop); }));
}

void TAutoSaveWatcher::Finished() {
    for (const TSaveEvent& event : Look->result())
        if (Saver)
            emit Event(event);
    // A folder that appeared since (the game installed, a disk plugged in) is watched from now on.
    for (const std::string& folder : Folders)
        if (Saver && QFileInfo(FromPath(folder)).isDir() && !Watcher->directories().contains(FromPath(folder)))
            Watcher->addPath(FromPath(folder));
    if (LookAgain) {
        LookAgain = false;
        LookNow();
    }
}

} // namespace quillon::gui
