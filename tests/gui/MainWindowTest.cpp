#include "GuiTestSupport.h"

#include "core/settings/IniFile.h"
#include "gui/BatchRenamer.h"
#include "gui/QtText.h"
#include "gui/RenResultWindow.h"
#include "gui/ReplayLoader.h"
#include "gui/ReplayPane.h"
#include "gui/RuleDialog.h"
#include "gui/SettingDialog.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QLabel>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>

#include <chrono>
#include <thread>

using namespace quillon;
using namespace quillon::guitest;

namespace {

QTreeView* View(gui::TQuillonMain& w, const char* name) {
    return w.findChild<QTreeView*>(QLatin1String(name));
}

QString Cell(gui::TQuillonMain& w, const char* list, int row, int column) {
    QAbstractItemModel* model = View(w, list)->model();
    return model->data(model->index(row, column)).toString();
}

QToolButton* PageButton(gui::TQuillonMain& w, int i) {
    return w.findChild<QToolButton*>(QStringLiteral("SpeedButton%1").arg(i + 2));
}

QString PageText(gui::TQuillonMain& w) {
    return w.findChild<QLabel*>(QStringLiteral("PageTxt"))->text();
}

// A file system whose renames take their time, so a batch can be stopped halfway.
class TSlowFileSystem : public TRenameFileSystem {
public:
    TRenameResult Rename(const std::string& from, const std::string& to) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        return TRenameFileSystem::Rename(from, to);
    }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void SelectingAFileShowsAllThreeLists();
    void PageButtonsTurnAndDisableAtTheEnds();
    void UncheckingAPlayerHidesTheirRowsOnTheSamePage();
    void LanguageSwitchKeepsThePage();
    void FailedLoadKeepsTheReplayOnShow();
    void NewerSelectionWinsARace();
    void SettingsAreWrittenAtCloseAndReadAtStart();
    void UnwritableSettingsAreSaidAndTheWindowStillCloses();
    void UnusableSettingsAreSaidAndNotWrittenOver();
    void AStoredRuleThatFailsItsCheckIsSaidAtStart();
    void SingleRenameAsksFirst();
    void SingleRenameRefusals();
    void BatchRenameShowsRowsAndEnablesTheWindowAtTheEnd();
    void BatchRenameCanBeStopped();
    void ListModelsPassTheModelTester();
    void FileListRenamesInPlaceWithoutReplacing();
    void DroppingAFileOpensIt();
    void OpenPathShowsFoldersAndTheDefault();
    void ScreenshotsOfARealReplay();
    void ScreenshotOfTheDemo();
    void EveryCorpusReplayShows();
};

void MainWindowTest::SelectingAFileShowsAllThreeLists() {
    TWindowFixture f;
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::DemoGameSpec()));
    f.Window->OpenPath(f.Dir.path());
    QVERIFY(f.SelectAndWait(QStringLiteral("demo.w3g")));
    auto& w = *f.Window;
    QCOMPARE(w.GetLoadedFile(), f.Path(QStringLiteral("demo.w3g")));

    QCOMPARE(View(w, "InfoList")->model()->rowCount(), 8);
    QCOMPARE(Cell(w, "InfoList", 1, 0), QStringLiteral("Game Version"));
    QCOMPARE(Cell(w, "InfoList", 1, 1), QStringLiteral("War3:TFT 1.26 build 6059"));
    QCOMPARE(Cell(w, "InfoList", 4, 1), QStringLiteral("Maps\\FrozenThrone\\(4)TwistedMeadows.w3x"));

    // Four players, the observer and seven open slots; only players have check boxes.
    QAbstractItemModel* players = View(w, "PlayerList")->model();
    QCOMPARE(players->rowCount(), 12);
    QCOMPARE(Cell(w, "PlayerList", 0, 1), QStringLiteral("Arthas"));
    QCOMPARE(Cell(w, "PlayerList", 0, 9), QStringLiteral("Winner"));
    QCOMPARE(Cell(w, "PlayerList", 4, 2), QStringLiteral("Observer"));
    QCOMPARE(players->data(players->index(0, 0), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
    QVERIFY(!players->data(players->index(4, 0), Qt::CheckStateRole).isValid());
    QVERIFY(!players->data(players->index(0, 0), Qt::DecorationRole).isNull());

    QCOMPARE(View(w, "ActionList")->model()->rowCount(), 50);
    QCOMPARE(PageText(w), QStringLiteral("Page:  1/146"));
    QVERIFY(w.statusBar()->currentMessage().contains(QStringLiteral("7,299")));

    // The same file again does nothing.
    QSignalSpy shown(&w, &gui::TQuillonMain::ReplayShown);
    w.OpenPath(f.Path(QStringLiteral("demo.w3g")));
    QTest::qWait(100);
    QCOMPARE(shown.count(), 0);
}

void MainWindowTest::PageButtonsTurnAndDisableAtTheEnds() {
    TWindowFixture f(QStringLiteral("[general]\nactionppage=100\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::DemoGameSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    const auto enabled = [&w] {
        QString s;
        for (int i = 0; i < 4; ++i)
            s += PageButton(w, i)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    };
    QCOMPARE(PageText(w), QStringLiteral("Page:  1/73"));
    QCOMPARE(enabled(), QStringLiteral("0011"));
    QTest::mouseClick(PageButton(w, 2), Qt::LeftButton); // >
    QCOMPARE(PageText(w), QStringLiteral("Page:  2/73"));
    QCOMPARE(enabled(), QStringLiteral("1111"));
    QTest::mouseClick(PageButton(w, 3), Qt::LeftButton); // >>
    QCOMPARE(PageText(w), QStringLiteral("Page:  73/73"));
    QCOMPARE(enabled(), QStringLiteral("1100"));
    QCOMPARE(View(w, "ActionList")->model()->rowCount(), 99); // 7,299 actions: 99 on the last page
    QTest::mouseClick(PageButton(w, 1), Qt::LeftButton);      // <
    QCOMPARE(PageText(w), QStringLiteral("Page:  72/73"));
    QTest::mouseClick(PageButton(w, 0), Qt::LeftButton); // <<
    QCOMPARE(PageText(w), QStringLiteral("Page:  1/73"));
    QCOMPARE(w.GetReplayPane().GetPager().CurrentPage(), 1);
}

void MainWindowTest::UncheckingAPlayerHidesTheirRowsOnTheSamePage() {
    TWindowFixture f;
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::DemoGameSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    QTest::mouseClick(PageButton(w, 2), Qt::LeftButton);
    const auto rowsOf = [&w](const QString& name) {
        int n = 0;
        for (int r = 0; r < View(w, "ActionList")->model()->rowCount(); ++r)
            n += Cell(w, "ActionList", r, 0) == name;
        return n;
    };
    QVERIFY(rowsOf(QStringLiteral("Arthas")) > 0);
    const int before = View(w, "ActionList")->model()->rowCount();

    // Click Arthas's check box as a user would.
    QTreeView* players = View(w, "PlayerList");
    const QRect cell = players->visualRect(players->model()->index(0, 0));
    QTest::mouseClick(players->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 10, cell.center().y()));
    QCOMPARE(players->model()->data(players->model()->index(0, 0), Qt::CheckStateRole).value<Qt::CheckState>(),
             Qt::Unchecked);
    QCOMPARE(rowsOf(QStringLiteral("Arthas")), 0);
    QVERIFY(View(w, "ActionList")->model()->rowCount() < before);
    QCOMPARE(PageText(w), QStringLiteral("Page:  2/146")); // the pages stay as they were

    // The observer row has no check box: nothing to toggle.
    QVERIFY(!players->model()->setData(players->model()->index(4, 0), Qt::Checked, Qt::CheckStateRole));
}

void MainWindowTest::LanguageSwitchKeepsThePage() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::DemoGameSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    QTest::mouseClick(PageButton(w, 2), Qt::LeftButton);
    QTest::mouseClick(PageButton(w, 2), Qt::LeftButton);

    auto* language = w.findChild<QComboBox*>(QStringLiteral("Language"));
    language->setCurrentIndex(1);
    QCOMPARE(w.GetLanguage(), TLanguage::Chinese);
    QCOMPARE(PageText(w), QStringLiteral("页码:  3/146"));
    QCOMPARE(Cell(w, "InfoList", 0, 0), QStringLiteral("文件大小"));
    QCOMPARE(Cell(w, "PlayerList", 0, 2), QStringLiteral("玩家"));
    QCOMPARE(View(w, "PlayerList")->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("玩家名"));
    QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("RenameBtn"))->text(), QStringLiteral("改名(&R)"));
    QCOMPARE(PageButton(w, 0)->text(), QStringLiteral("<<")); // no Chinese caption: the symbol stays
    QCOMPARE(language->itemText(1), QStringLiteral("简体中文"));
    QVERIFY(w.windowTitle().startsWith(QStringLiteral("Quillon ")));
    bool chineseAction = false;
    for (int r = 0; r < View(w, "ActionList")->model()->rowCount(); ++r)
        chineseAction = chineseAction || Cell(w, "ActionList", r, 2).startsWith(QStringLiteral("训练: "));
    QVERIFY(chineseAction);
    // Dialogs follow, opened or not.
    QCOMPARE(w.GetRuleWindow().windowTitle(), QStringLiteral("改名规则"));
    QCOMPARE(w.GetSettingWindow().windowTitle(), QStringLiteral("设置"));

    language->setCurrentIndex(0);
    QCOMPARE(PageText(w), QStringLiteral("Page:  3/146"));
    QCOMPARE(Cell(w, "InfoList", 0, 0), QStringLiteral("File Size"));
    QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("RenameBtn"))->text(), QStringLiteral("&Rename"));
}

void MainWindowTest::FailedLoadKeepsTheReplayOnShow() {
    TWindowFixture f;
    WriteFile(f.Path(QStringLiteral("good.w3g")), Duel("Alice", "Bob"));
    WriteFile(f.Path(QStringLiteral("broken.w3g")), testing::TBytes(100, 'x'));
    f.Window->OpenPath(f.Dir.path());
    QVERIFY(f.SelectAndWait(QStringLiteral("good.w3g")));
    QVERIFY(f.SelectAndWait(QStringLiteral("broken.w3g")));
    auto& w = *f.Window;
    QCOMPARE(w.GetLoadedFile(), f.Path(QStringLiteral("good.w3g")));
    QCOMPARE(Cell(w, "PlayerList", 0, 1), QStringLiteral("Alice"));
    QVERIFY(w.statusBar()->currentMessage().contains(QStringLiteral("broken.w3g")));
    QVERIFY(w.statusBar()->currentMessage().contains(QStringLiteral("Not a Warcraft III replay")));

    // Renaming now refers to the selected file, which is not the one on show: refused, nothing renamed.
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("RenameBtn")), Qt::LeftButton);
    QCOMPARE(f.Boxes.Informed, QStringList{QStringLiteral("Please choose a file!")});
    QVERIFY(QFile::exists(f.Path(QStringLiteral("good.w3g"))));
}

void MainWindowTest::NewerSelectionWinsARace() {
    TWindowFixture f;
    WriteFile(f.Path(QStringLiteral("slow.w3g")), Duel("Slow", "One"));
    WriteFile(f.Path(QStringLiteral("fast.w3g")), Duel("Fast", "Two"));
    f.Window->GetLoader().SetLoadFunction([](const std::string& path, uint8_t detail) {
        if (path.find("slow") != std::string::npos)
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
        return LoadReplay(path, detail);
    });
    QSignalSpy shown(f.Window.get(), &gui::TQuillonMain::ReplayShown);
    f.Window->OpenPath(f.Path(QStringLiteral("slow.w3g")));
    f.Window->OpenPath(f.Path(QStringLiteral("fast.w3g")));
    QVERIFY(shown.wait(5000));
    QTest::qWait(600); // the slow load ends too, and is dropped
    QCOMPARE(shown.count(), 1);
    QCOMPARE(f.Window->GetLoadedFile(), f.Path(QStringLiteral("fast.w3g")));
    QCOMPARE(Cell(*f.Window, "PlayerList", 0, 1), QStringLiteral("Fast"));
}

void MainWindowTest::SettingsAreWrittenAtCloseAndReadAtStart() {
    QString settingsFile;
    {
        TWindowFixture f(QStringLiteral("[general]\nlanguage=0\nactionppage=30\n[template]\nconj= & \n"));
        settingsFile = f.SettingsFile;
        QCOMPARE(f.Window->GetSettings().ActionsPerPage, 30);
        QCOMPARE(f.Window->GetSettings().Rule.Conjunction, std::string(" & "));
        f.Window->findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(1);
        QVERIFY(f.Window->close());
        const TIniFile ini = TIniFile::Load(gui::ToPath(settingsFile));
        QCOMPARE(ini.ReadInteger("general", "language", -1), 1LL);
        QCOMPARE(ini.ReadInteger("general", "actionppage", -1), 30LL);
        QCOMPARE(ini.ReadString("template", "conj", ""), std::string(" & "));
        QCOMPARE(ini.ReadString("template", "global", ""), std::string("<win>-vs-<loss>"));

        // The next start reads it.
        gui::TMainWindowOptions options;
        options.SettingsPath = gui::ToPath(settingsFile);
        options.Boxes = &f.Boxes;
        gui::TQuillonMain again(std::move(options));
        QCOMPARE(again.GetLanguage(), TLanguage::Chinese);
        QCOMPARE(again.GetSettings().ActionsPerPage, 30);
    }
    {
        // A stored actionlist of 0: the action area is disabled from the start.
        TWindowFixture f(QStringLiteral("[general]\nactionlist=0\n"));
        QVERIFY(!f.Window->findChild<QWidget*>(QStringLiteral("Panel4"))->isEnabled());
    }
}

void MainWindowTest::UnwritableSettingsAreSaidAndTheWindowStillCloses() {
    TWindowFixture f;
    gui::TMainWindowOptions options;
    options.SettingsPath = "/proc/quillon-cannot-write/Quillon.ini";
    options.Boxes = &f.Boxes;
    gui::TQuillonMain w(std::move(options));
    w.show();
    QVERIFY(w.close());
    QCOMPARE(f.Boxes.Errors.size(), 1);
    QVERIFY(f.Boxes.Errors.front().startsWith(QStringLiteral("Unable to write to /proc/quillon-cannot-write")));
}

void MainWindowTest::UnusableSettingsAreSaidAndNotWrittenOver() {
    TWindowFixture f;
    const QString binary = WriteFile(f.Path(QStringLiteral("binary.ini")), {'[', 0, 1, 2, ']'});
    gui::TMainWindowOptions options;
    options.SettingsPath = gui::ToPath(binary);
    options.Boxes = &f.Boxes;
    gui::TQuillonMain w(std::move(options));
    w.show();
    QTRY_COMPARE(f.Boxes.Errors.size(), 1);
    QVERIFY(f.Boxes.Errors.front().contains(QStringLiteral("A binary file")));
    QCOMPARE(w.GetSettings().ActionsPerPage, 50);
    QVERIFY(w.close());
    QCOMPARE(QFileInfo(binary).size(), 5); // left as it was
}

void MainWindowTest::AStoredRuleThatFailsItsCheckIsSaidAtStart() {
    // The window keeps using the rule as the settings file has it, and says once where it fails.
    TWindowFixture f(QStringLiteral("[general]\nlanguage=1\n[template]\nglobal=<Name>-<win>\n"));
    QTRY_COMPARE(f.Boxes.Informed.size(), 1);
    QVERIFY2(f.Boxes.Informed.front().contains(QStringLiteral("全局模板")), qPrintable(f.Boxes.Informed.front()));
    QVERIFY(f.Boxes.Informed.front().contains(QStringLiteral("<Name>")));
    QCOMPARE(f.Window->GetSettings().Rule.GlobalTemplate, std::string("<Name>-<win>"));
    TWindowFixture sound(QStringLiteral("[template]\nglobal=<win>-vs-<loss>\n"));
    QTest::qWait(50);
    QVERIFY(sound.Boxes.Informed.isEmpty());
}

void MainWindowTest::SingleRenameAsksFirst() {
    TWindowFixture f;
    WriteFile(f.Path(QStringLiteral("a.w3g")), Duel("Alice", "Bob"));
    f.Window->OpenPath(f.Dir.path());
    QVERIFY(f.SelectAndWait(QStringLiteral("a.w3g")));
    auto* rename = f.Window->findChild<QPushButton*>(QStringLiteral("RenameBtn"));

    f.Boxes.Answers = {false};
    QTest::mouseClick(rename, Qt::LeftButton);
    QCOMPARE(f.Boxes.Asked, QStringList{QStringLiteral("Rename a.w3g to Alice-vs-Bob.w3g?")});
    QVERIFY(QFile::exists(f.Path(QStringLiteral("a.w3g"))));

    f.Boxes.Answers = {true};
    QTest::mouseClick(rename, Qt::LeftButton);
    QVERIFY(!QFile::exists(f.Path(QStringLiteral("a.w3g"))));
    QVERIFY(QFile::exists(f.Path(QStringLiteral("Alice-vs-Bob.w3g"))));
    QVERIFY(f.Boxes.Informed.isEmpty());
    // The list shows the new name, selected, and the replay on show follows it.
    auto* list = f.Window->findChild<QListView*>(QStringLiteral("FileList"));
    QTRY_COMPARE(list->currentIndex().data().toString(), QStringLiteral("Alice-vs-Bob.w3g"));
    QCOMPARE(f.Window->GetLoadedFile(), f.Path(QStringLiteral("Alice-vs-Bob.w3g")));

    // Asked again, the file already follows the rule.
    QTest::mouseClick(rename, Qt::LeftButton);
    QCOMPARE(f.Boxes.Informed.last(), QStringLiteral("Filename follows the rule, no need to rename!"));
}

void MainWindowTest::SingleRenameRefusals() {
    TWindowFixture f;
    WriteFile(f.Path(QStringLiteral("a.w3g")), Duel("Alice", "Bob"));
    WriteFile(f.Path(QStringLiteral("Alice-vs-Bob.w3g")), Duel("Carol", "Dave"));
    auto* rename = f.Window->findChild<QPushButton*>(QStringLiteral("RenameBtn"));
    f.Window->OpenPath(f.Dir.path());
    QTest::mouseClick(rename, Qt::LeftButton); // nothing selected
    QCOMPARE(f.Boxes.Informed.last(), QStringLiteral("Please choose a file!"));
    QVERIFY(f.SelectAndWait(QStringLiteral("a.w3g")));
    QTest::mouseClick(rename, Qt::LeftButton);
    QCOMPARE(f.Boxes.Informed.last(), QStringLiteral("Alice-vs-Bob already exists, rename failed!"));
    QVERIFY(f.Boxes.Asked.isEmpty());
}

void MainWindowTest::BatchRenameShowsRowsAndEnablesTheWindowAtTheEnd() {
    TWindowFixture f;
    const QString batch = f.Path(QStringLiteral("batch"));
    WriteFile(batch + QStringLiteral("/1.w3g"), Duel("A", "B"));
    WriteFile(batch + QStringLiteral("/2.w3g"), Duel("A", "B"));
    WriteFile(batch + QStringLiteral("/sub/3.w3g"), Duel("C", "D"));
    f.Boxes.Folder = batch;
    auto& w = *f.Window;
    QSignalSpy ended(&w.GetBatchRenamer(), &gui::TBatchRenamer::Finished);
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("BtnBatcnRen")), Qt::LeftButton);
    QVERIFY(!w.isEnabled());
    QVERIFY(w.GetResultWindow().isVisible());
    QVERIFY(ended.wait(5000));
    QCOMPARE(w.GetResultWindow().RowCount(), 3);
    auto* close = w.GetResultWindow().findChild<QPushButton*>(QStringLiteral("BtnClose"));
    QCOMPARE(close->text(), QStringLiteral("&Close"));
    QVERIFY(close->isEnabled());
    QVERIFY(!w.isEnabled()); // until the result window is hidden
    auto* rows = w.GetResultWindow().findChild<QTreeWidget*>(QStringLiteral("ResultList"));
    // Paths are shown with the system's separators.
    QCOMPARE(rows->topLevelItem(0)->text(1), QDir::toNativeSeparators(batch + QStringLiteral("/sub/C-vs-D.w3g")));
    QCOMPARE(rows->topLevelItem(2)->text(1), QDir::toNativeSeparators(batch + QStringLiteral("/A-vs-B2.w3g")));
    QCOMPARE(w.GetResultWindow().findChild<QLabel*>(QStringLiteral("Progress"))->text(), QStringLiteral("3 of 3"));
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!w.GetResultWindow().isVisible());
    QVERIFY(w.isEnabled());
}

void MainWindowTest::BatchRenameCanBeStopped() {
    TWindowFixture f;
    const QString batch = f.Path(QStringLiteral("batch"));
    for (int i = 1; i <= 6; ++i)
        WriteFile(batch + QStringLiteral("/%1.w3g").arg(i), Duel("A", "B"));
    f.Boxes.Folder = batch;
    auto& w = *f.Window;
    w.GetBatchRenamer().SetFileSystem(std::make_shared<TSlowFileSystem>());
    QSignalSpy ended(&w.GetBatchRenamer(), &gui::TBatchRenamer::Finished);
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("BtnBatcnRen")), Qt::LeftButton);
    QTRY_VERIFY(w.GetResultWindow().RowCount() >= 1);
    auto* close = w.GetResultWindow().findChild<QPushButton*>(QStringLiteral("BtnClose"));
    QCOMPARE(close->text(), QStringLiteral("Renaming..."));
    QVERIFY(!close->isEnabled());
    w.GetResultWindow().close(); // refused while the batch runs
    QVERIFY(w.GetResultWindow().isVisible());
    QTest::mouseClick(w.GetResultWindow().findChild<QPushButton*>(QStringLiteral("BtnStop")), Qt::LeftButton);
    QVERIFY(ended.wait(5000));
    QCOMPARE(ended.front().front().toBool(), true);
    QVERIFY(w.GetResultWindow().RowCount() < 6);
    QVERIFY(w.GetResultWindow()
                .findChild<QLabel*>(QStringLiteral("Progress"))
                ->text()
                .startsWith(QStringLiteral("Stopped after")));
    QVERIFY(QDir(batch).entryList({QStringLiteral("?.w3g")}).size() > 0); // the rest was left alone
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(w.isEnabled());
}

void MainWindowTest::ListModelsPassTheModelTester() {
    TWindowFixture f;
    auto& w = *f.Window;
    QAbstractItemModelTester info(View(w, "InfoList")->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester players(View(w, "PlayerList")->model(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester actions(View(w, "ActionList")->model(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest);
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::DemoGameSpec()));
    WriteFile(f.Path(QStringLiteral("duel.w3g")), Duel("A", "B"));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    QTest::mouseClick(PageButton(w, 3), Qt::LeftButton);
    w.findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(1);
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("duel.w3g"))));
}

void MainWindowTest::FileListRenamesInPlaceWithoutReplacing() {
    TWindowFixture f;
    WriteFile(f.Path(QStringLiteral("UPPER.W3G")), Duel("A", "B"));
    WriteFile(f.Path(QStringLiteral("taken.w3g")), {'t', 'h', 'e', 'i', 'r', 's'});
    WriteFile(f.Path(QStringLiteral("notes.txt")), {'x'});
    f.Window->OpenPath(f.Dir.path());
    QVERIFY(f.SelectAndWait(QStringLiteral("UPPER.W3G"))); // the filter ignores letter case
    auto* list = f.Window->findChild<QListView*>(QStringLiteral("FileList"));
    QTRY_COMPARE(list->model()->rowCount(list->rootIndex()), 2); // no notes.txt

    QAbstractItemModel* model = list->model();
    const QModelIndex upper = list->currentIndex();
    QVERIFY(!model->setData(upper, QStringLiteral("taken.w3g"), Qt::EditRole));
    QCOMPARE(f.Boxes.Informed, QStringList{QStringLiteral("taken.w3g already exists, rename failed!")});
    QVERIFY(QFile::exists(f.Path(QStringLiteral("UPPER.W3G"))));
    QCOMPARE(QFileInfo(f.Path(QStringLiteral("taken.w3g"))).size(), 6); // theirs, untouched

    QVERIFY(model->setData(upper, QStringLiteral("lower.w3g"), Qt::EditRole));
    QVERIFY(QFile::exists(f.Path(QStringLiteral("lower.w3g"))));
    QCOMPARE(f.Window->GetLoadedFile(), f.Path(QStringLiteral("lower.w3g"))); // the replay on show follows it
}

void MainWindowTest::DroppingAFileOpensIt() {
    TWindowFixture f;
    WriteFile(f.Path(QStringLiteral("dropped.w3g")), Duel("Drop", "Ped"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(f.Path(QStringLiteral("dropped.w3g")))});
    QSignalSpy shown(f.Window.get(), &gui::TQuillonMain::ReplayShown);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.Window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.Window.get(), &drop);
    QVERIFY(shown.wait(5000));
    QCOMPARE(f.Window->GetLoadedFile(), f.Path(QStringLiteral("dropped.w3g")));
}

void MainWindowTest::OpenPathShowsFoldersAndTheDefault() {
    TWindowFixture f;
    const QString sub = f.Path(QStringLiteral("sub"));
    QDir().mkpath(sub);
    f.Window->OpenPath(sub);
    QCOMPARE(f.Window->GetReplayDir(), sub + QLatin1Char('/'));
    // A relative path is taken from the working folder.
    const QString old = QDir::currentPath();
    QDir::setCurrent(f.Dir.path());
    WriteFile(f.Path(QStringLiteral("rel.w3g")), Duel("Rel", "Ative"));
    QVERIFY(f.OpenAndWait(QStringLiteral("rel.w3g")));
    QDir::setCurrent(old);
    QCOMPARE(f.Window->GetLoadedFile(), f.Path(QStringLiteral("rel.w3g")));
    // Nothing usable: the default replay folder (here, with no game installed, the home folder).
    qputenv("WINEPREFIX", f.Path(QStringLiteral("no-prefix")).toUtf8());
    f.Window->OpenPath(f.Path(QStringLiteral("missing.w3g")));
    QCOMPARE(f.Window->GetReplayDir(), QDir::homePath() + QLatin1Char('/'));
}

void MainWindowTest::ScreenshotsOfARealReplay() {
    const QString replay =
        QStringLiteral(QUILLON_CORPUS_DIR) + QStringLiteral("/ref-2.0-4v4-largest-Ekrezems_Maze.w3g");
    if (!QFile::exists(replay))
        QSKIP("the shared replays are not beside the checkout");
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    QVERIFY(f.OpenAndWait(replay));
    QVERIFY(f.Window->grab().save(ScreenshotPath(QStringLiteral("main-english"))));
    f.Window->findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(1);
    QVERIFY(f.Window->grab().save(ScreenshotPath(QStringLiteral("main-chinese"))));
}

void MainWindowTest::ScreenshotOfTheDemo() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::PlausibleDuelSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    QTest::qWait(50); // the lists fit their columns once the layout has settled
    QVERIFY(f.Window->grab().save(ScreenshotPath(QStringLiteral("main-demo"))));
}

void MainWindowTest::EveryCorpusReplayShows() {
    const QDir corpus(QStringLiteral(QUILLON_CORPUS_DIR));
    if (!corpus.exists())
        QSKIP("the shared replays are not beside the checkout");
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    auto& w = *f.Window;
    auto* language = w.findChild<QComboBox*>(QStringLiteral("Language"));
    for (const QString& name : corpus.entryList({QStringLiteral("*.w3g")}, QDir::Files, QDir::Name)) {
        QSignalSpy shown(&w, &gui::TQuillonMain::ReplayShown);
        w.OpenPath(corpus.filePath(name));
        QVERIFY2(shown.wait(10000), qPrintable(name));
        QVERIFY2(shown.front().at(1).toBool(), qPrintable(name + QLatin1Char(' ') + w.statusBar()->currentMessage()));
        QVERIFY(View(w, "InfoList")->model()->rowCount() >= 8);
        QVERIFY2(View(w, "PlayerList")->model()->rowCount() > 0, qPrintable(name));
        QTest::mouseClick(PageButton(w, 3), Qt::LeftButton);
        QCOMPARE(w.GetReplayPane().GetPager().CurrentPage(), w.GetReplayPane().GetPager().PageCount());
        language->setCurrentIndex(1 - language->currentIndex());
        QCOMPARE(w.GetReplayPane().GetPager().CurrentPage(), w.GetReplayPane().GetPager().PageCount());
        QVERIFY(View(w, "ActionList")->model()->rowCount() <= w.GetReplayPane().GetPager().PerPage());
    }
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
