#include "GuiTestSupport.h"

#include "gui/BatchRenamer.h"
#include "gui/QtText.h"
#include "gui/ReplayFileList.h"

#include <QFile>
#include <QListView>
#include <QSignalSpy>
#include <QTest>

namespace quillon::guitest {

using testing::TBytes;

TBytes Duel(const std::string& winner, const std::string& loser) {
    return testing::BuildReplayFile(testing::DuelSpec(winner, loser));
}

QString WriteFile(const QString& path, const TBytes& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return path;
}

TWindowFixture::TWindowFixture(const QString& settingsText) {
    SettingsFile = Dir.filePath(QStringLiteral("settings/Quillon.ini"));
    QDir().mkpath(Dir.filePath(QStringLiteral("settings")));
    if (!settingsText.isEmpty()) {
        QFile file(SettingsFile);
        file.open(QIODevice::WriteOnly);
        file.write(settingsText.toUtf8());
    }
    LibraryFile = Dir.filePath(QStringLiteral("library/library.sqlite"));
    Start();
}

void TWindowFixture::Start() {
    gui::TMainWindowOptions options;
    options.SettingsPath = gui::ToPath(SettingsFile);
    options.Boxes = &Boxes;
    options.LibraryPath = gui::ToPath(LibraryFile);
    Window = std::make_unique<gui::TQuillonMain>(std::move(options));
    Window->show();
}

void TWindowFixture::Restart() {
    Window->close();
    Window.reset();
    Start();
}

TWindowFixture::~TWindowFixture() {
    if (Window)
        Window->GetBatchRenamer().Stop();
}

bool TWindowFixture::SelectAndWait(const QString& name) {
    auto* list = Window->findChild<QListView*>(QStringLiteral("FileList"));
    auto* model = static_cast<gui::TReplayFileModel*>(list->model());
    QModelIndex index;
    // The file list reads its folder in the background.
    for (int i = 0; i < 200 && !index.isValid(); ++i) {
        index = model->index(Dir.filePath(name));
        if (!index.isValid() || index.parent() != list->rootIndex())
            index = {};
        if (!index.isValid())
            QTest::qWait(10);
    }
    if (!index.isValid())
        return false;
    QSignalSpy shown(Window.get(), &gui::TQuillonMain::ReplayShown);
    list->scrollTo(index);
    // The view lays its items out later than the model has them.
    for (int i = 0; i < 200 && list->indexAt(list->visualRect(index).center()) != index; ++i)
        QTest::qWait(10);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    return shown.wait(5000);
}

bool TWindowFixture::OpenAndWait(const QString& path) {
    QSignalSpy shown(Window.get(), &gui::TQuillonMain::ReplayShown);
    Window->OpenPath(path);
    return shown.wait(5000);
}

QString ScreenshotPath(const QString& name) {
    const QString dir = QStringLiteral(QUILLON_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    return QDir(dir).filePath(name + QStringLiteral(".png"));
}

} // namespace quillon::guitest
