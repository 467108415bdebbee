// Auto-save in the window: its settings, a game kept while the window runs, and the start with the system.
#include "GuiTestSupport.h"

#include "core/platform/Autostart.h"
#include "core/settings/IniFile.h"
#include "gui/AutoSaveDialog.h"
#include "gui/AutoSaveWatcher.h"
#include "gui/QtText.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>

using namespace quillon;
using namespace quillon::guitest;

class AutoSaveWindowTest : public QObject {
    Q_OBJECT
private slots:
    void AFinishedGameIsKeptWhileTheWindowRuns();
    void TheDialogKeepsTheGamesFoldersAndEditsTheRest();
    void StartWithTheSystem();
};

void AutoSaveWindowTest::AFinishedGameIsKeptWhileTheWindowRuns() {
    QTemporaryDir dir;
    const QString game = dir.filePath(QStringLiteral("game")), kept = dir.filePath(QStringLiteral("kept"));
    QDir().mkpath(game);
    TWindowFixture f(
        QStringLiteral("[general]\nlanguage=0\n[autosave]\nenabled=1\ncollection=%1\nfolder0=%2\n").arg(kept, game));
    QVERIFY(f.Window->GetAutoSaveWatcher().Running());
    QSignalSpy keptSpy(f.Window.get(), &gui::TQuillonMain::GameKept);
    // The game ends: LastReplay.w3g appears, then rests.
    WriteFile(game + QStringLiteral("/LastReplay.w3g"), Duel("Grubby", "Moon"));
    QVERIFY(keptSpy.wait(10000));
    QCOMPARE(keptSpy.first().first().toString(), kept + QStringLiteral("/Grubby-vs-Moon.w3g"));
    QVERIFY(QFile::exists(kept + QStringLiteral("/Grubby-vs-Moon.w3g")));
    QVERIFY(QFile::exists(game + QStringLiteral("/LastReplay.w3g"))); // copied, never moved
    QVERIFY(f.Window->statusBar()->currentMessage().contains(QStringLiteral("Grubby-vs-Moon.w3g")));
    // The settings stay in their own section across a restart.
    f.Restart();
    QVERIFY(f.Window->GetAutoSave().Enabled);
    QCOMPARE(gui::FromPath(f.Window->GetAutoSave().Collection), kept);
    const TIniFile ini = TIniFile::Load(gui::ToPath(f.SettingsFile));
    QCOMPARE(ini.ReadString("autosave", "folder0", ""), gui::ToPath(game));
}

void AutoSaveWindowTest::TheDialogKeepsTheGamesFoldersAndEditsTheRest() {
    TFakeBoxes boxes;
    gui::TAutoSaveDialog dialog(boxes, TLanguage::Chinese);
    TAutoSaveSettings s;
    s.Enabled = true;
    s.Collection = "/games/kept";
    s.FolderTemplate = "<version>";
    s.Folders = {"/mine/a"};
    dialog.SetValues(s, {"/wine/replay/"});
    auto* folders = dialog.findChild<QListWidget*>(QStringLiteral("AutoSaveFolders"));
    QCOMPARE(folders->count(), 2);
    // The game's folder cannot be removed; the user's can; a new one is added through the chooser.
    folders->setCurrentRow(0);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("AutoSaveRemove")), Qt::LeftButton);
    QCOMPARE(folders->count(), 2);
    folders->setCurrentRow(1);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("AutoSaveRemove")), Qt::LeftButton);
    boxes.Folder = QStringLiteral("/mine/b");
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("AutoSaveAdd")), Qt::LeftButton);
    dialog.findChild<QCheckBox*>(QStringLiteral("AutoSaveKeepInTray"))->setChecked(false);
    const TAutoSaveSettings back = dialog.Values();
    QCOMPARE(back.Folders, std::vector<std::string>{"/mine/b"});
    QCOMPARE(back.Collection, std::string("/games/kept"));
    QCOMPARE(back.FolderTemplate, std::string("<version>"));
    QVERIFY(back.Enabled && !back.KeepInTray);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("自动保存"));
    dialog.show();
    QVERIFY(dialog.grab().save(ScreenshotPath(QStringLiteral("autosave-chinese"))));
}

void AutoSaveWindowTest::StartWithTheSystem() {
#ifdef Q_OS_WIN
    QSKIP("the Run key is the Wine prefix's; the other tests of the registry take turns for it");
#else
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    TWindowFixture f;
    TAutoSaveSettings s;
    s.StartWithSystem = true;
    f.Window->SetAutoSave(s);
    QVERIFY(StartsWithSystem());
    QFile entry(config.filePath(QStringLiteral("autostart/io.github.quillon.Quillon-autosave.desktop")));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    // Quoted by the desktop-entry rules.
    QVERIFY2(text.contains(QStringLiteral("Exec=\"") + QCoreApplication::applicationFilePath() +
                           QStringLiteral("\" \"--tray\"\n")),
             qPrintable(text));
    s.StartWithSystem = false;
    f.Window->SetAutoSave(s);
    QVERIFY(!StartsWithSystem());
    QVERIFY(f.Boxes.Errors.isEmpty());
    qunsetenv("XDG_CONFIG_HOME");
#endif
}

QTEST_MAIN(AutoSaveWindowTest)
#include "AutoSaveWindowTest.moc"
