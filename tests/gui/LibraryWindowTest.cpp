// The library window: adding a folder in the background, searching, sorting, opening a replay from it, and a
// library file that is no library.
#include "GuiTestSupport.h"

#include <QDir>

#include "SampleGames.h"
#include "TestSystem.h"
#include "core/library/Library.h"
#include "core/library/LibrarySearch.h"
#include "gui/ApmChart.h"
#include "gui/BarChart.h"
#include "gui/LibraryScanner.h"
#include "gui/LibraryTableModel.h"
#include "gui/LibraryWindow.h"
#include "gui/PlayerProfileWindow.h"
#include "gui/QtText.h"
#include "gui/ReplayPane.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace quillon;
using namespace quillon::guitest;
using namespace quillon::testing;

namespace {

gui::TLibraryWindow* OpenLibraryWindow(TWindowFixture& f) {
    QTest::mouseClick(f.Window->findChild<QPushButton*>(QStringLiteral("BtnLibrary")), Qt::LeftButton);
    return f.Window->GetLibraryWindow();
}

// Clicks "Add folder..." (the fake chooser answers folder) and waits for the scan to end.
bool AddFolder(TWindowFixture& f, gui::TLibraryWindow& w, const QString& folder) {
    f.Boxes.Folder = folder;
    QSignalSpy finished(&w.Scanner(), &gui::TLibraryScanner::Finished);
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("LibAddFolder")), Qt::LeftButton);
    return finished.wait(30000);
}

QString Cell(gui::TLibraryWindow& w, int row, int column) {
    const auto& model = w.Model();
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

void WriteDuels(TWindowFixture& f) {
    WriteFile(f.Path(QStringLiteral("replays/1.w3g")), Duel("Grubby", "Moon"));
    WriteFile(f.Path(QStringLiteral("replays/2.w3g")), Duel("Moon", "Grubby"));
    WriteFile(f.Path(QStringLiteral("replays/deeper/3.w3g")), Duel("Sky", "Lyn"));
}

} // namespace

class LibraryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void AddSearchSortAndOpen();
    void StopKeepsWhatWasRead();
    void AFileThatIsNoLibraryIsReplacedOnlyWhenTheUserSaysSo();
    void LanguageSwitch();
    void ScreenshotsOfTheRealReplays();
    void PlayerProfileAgreesWithTheCli();
};

void LibraryWindowTest::AddSearchSortAndOpen() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    WriteDuels(f);
    f.Window->setGeometry(100, 20, 600, 560); // the offscreen screen is 800 by 600
    gui::TLibraryWindow* w = OpenLibraryWindow(f);
    QVERIFY(w && w->isVisible());
    // Over the main window, as far as the screen allows.
    const QRect screen = f.Window->screen()->availableGeometry();
    // (Within a frame's few pixels: the frame is known only once the window is shown.)
    QVERIFY(screen.adjusted(-4, -4, 4, 4).contains(w->geometry()));
    QVERIFY(qAbs(w->geometry().center().y() - f.Window->geometry().center().y()) <= 2);
    QAbstractItemModelTester tester(&w->Model());
    QCOMPARE(w->Model().rowCount(), 0);
    QVERIFY(AddFolder(f, *w, f.Path(QStringLiteral("replays"))));
    QCOMPARE(w->Model().rowCount(), 3);
    QVERIFY(w->findChild<QLabel*>(QStringLiteral("LibStatus"))->text().startsWith(QStringLiteral("Read 3 replays")));
    // Ctrl+C copies whole rows of the table, as the other lists do.
    auto* table = w->findChild<QTableView*>(QStringLiteral("LibraryTable"));
    table->setFocus();
    table->selectRow(0);
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text().count(QLatin1Char('\t')), gui::TLibraryTableModel::ColumnCount - 1);
    QCOMPARE(Cell(*w, 0, gui::TLibraryTableModel::Map), QStringLiteral("(2)Test"));

    auto* player = w->findChild<QLineEdit*>(QStringLiteral("LibPlayer"));
    QTest::keyClicks(player, QStringLiteral("grub"));
    QTest::keyClick(player, Qt::Key_Return);
    QCOMPARE(w->Model().rowCount(), 2);
    QVERIFY(Cell(*w, 0, gui::TLibraryTableModel::Players).contains(QStringLiteral("Grubby (H)")) ||
            Cell(*w, 0, gui::TLibraryTableModel::Players).contains(QStringLiteral("Grubby (O)")));
    auto* race = w->findChild<QComboBox*>(QStringLiteral("LibRace"));
    race->setCurrentIndex(race->findData(2)); // Grubby as orc: the game he lost
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("LibSearch")), Qt::LeftButton);
    QCOMPARE(w->Model().rowCount(), 1);
    QCOMPARE(Cell(*w, 0, gui::TLibraryTableModel::Winner), QStringLiteral("Moon"));

    // A date that is no date says so and searches nothing.
    auto* after = w->findChild<QLineEdit*>(QStringLiteral("LibAfter"));
    QTest::keyClicks(after, QStringLiteral("2026-13-40"));
    QVERIFY(!w->Search());
    QVERIFY(w->findChild<QLabel*>(QStringLiteral("LibStatus"))->text().contains(QStringLiteral("Not a date")));
    after->clear();
    player->clear();
    race->setCurrentIndex(0);
    QVERIFY(w->Search());
    QCOMPARE(w->Model().rowCount(), 3);

    // Sorting by a column re-asks the library.
    auto* view = w->findChild<QTableView*>(QStringLiteral("LibraryTable"));
    view->sortByColumn(gui::TLibraryTableModel::Map, Qt::AscendingOrder);
    QCOMPARE(w->Model().rowCount(), 3);

    // Double-clicking a replay shows it in the main window.
    QSignalSpy shown(f.Window.get(), &gui::TQuillonMain::ReplayShown);
    QSignalSpy asked(w, &gui::TLibraryWindow::OpenRequested);
    const QRect cell = view->visualRect(w->Model().index(0, 0));
    // The view takes a double-click as such only after the press that started it, as a mouse gives them.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(asked.count(), 1);
    QVERIFY(shown.wait(5000));
    // The same file, whichever separator each side writes (Windows' paths take either).
    QCOMPARE(QDir::fromNativeSeparators(f.Window->GetLoadedFile()),
             QDir::fromNativeSeparators(gui::FromPath(w->Model().Entry(0).Path)));
}

void LibraryWindowTest::StopKeepsWhatWasRead() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    for (int i = 0; i < 2000; ++i)
        WriteFile(f.Path(QStringLiteral("many/%1/%2.w3g").arg(i % 20).arg(i)), Duel("P" + std::to_string(i), "Q"));
    gui::TLibraryWindow* w = OpenLibraryWindow(f);
    QSignalSpy finished(&w->Scanner(), &gui::TLibraryScanner::Finished);
    f.Boxes.Folder = f.Path(QStringLiteral("many"));
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("LibAddFolder")), Qt::LeftButton);
    auto* stop = w->findChild<QPushButton*>(QStringLiteral("LibStop"));
    QVERIFY(stop->isEnabled());
    QVERIFY(!w->findChild<QPushButton*>(QStringLiteral("LibAddFolder"))->isEnabled());
    QTest::mouseClick(stop, Qt::LeftButton);
    QVERIFY(finished.wait(30000));
    QVERIFY(!stop->isEnabled());
    // Whatever was written before the stop is listed, and the library agrees with the table.
    QCOMPARE(w->Model().Total(), TLibrary(w->LibraryPath()).Count());
    QVERIFY(AddFolder(f, *w, f.Path(QStringLiteral("many"))));
    QCOMPARE(w->Model().Total(), 2000);
}

void LibraryWindowTest::AFileThatIsNoLibraryIsReplacedOnlyWhenTheUserSaysSo() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    QDir().mkpath(QFileInfo(f.LibraryFile).path());
    QFile file(f.LibraryFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("somebody's notes, not a library");
    file.close();
    f.Boxes.Answers = {false};
    gui::TLibraryWindow* w = OpenLibraryWindow(f);
    QCOMPARE(f.Boxes.Asked.size(), 1);
    QVERIFY(f.Boxes.Asked.front().contains(QStringLiteral("Replace it with an empty library?")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("somebody's notes, not a library"));
    file.close();
    QCOMPARE(w->Model().rowCount(), 0);

    f.Boxes.Answers = {true};
    QVERIFY(w->OpenLibrary());
    QCOMPARE(TLibrary(w->LibraryPath()).Count(), 0);
}

void LibraryWindowTest::LanguageSwitch() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    WriteDuels(f);
    gui::TLibraryWindow* w = OpenLibraryWindow(f);
    QVERIFY(AddFolder(f, *w, f.Path(QStringLiteral("replays"))));
    f.Window->findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(1);
    QCOMPARE(w->windowTitle(), QStringLiteral("录像库"));
    QCOMPARE(w->Model().headerData(gui::TLibraryTableModel::Players, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("玩家"));
    QVERIFY(Cell(*w, 0, gui::TLibraryTableModel::Players).contains(QStringLiteral("(人)")) ||
            Cell(*w, 0, gui::TLibraryTableModel::Players).contains(QStringLiteral("(兽)")));
    QCOMPARE(f.Window->findChild<QPushButton*>(QStringLiteral("BtnLibrary"))->text(), QStringLiteral("录像库(&L)"));
}

void LibraryWindowTest::ScreenshotsOfTheRealReplays() {
    const QString corpus = QStringLiteral(QUILLON_CORPUS_DIR);
    if (!QDir(corpus).exists())
        QSKIP("the shared replays are not beside the checkout");
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    gui::TLibraryWindow* w = OpenLibraryWindow(f);
    QVERIFY(AddFolder(f, *w, corpus));
    QVERIFY(w->Model().rowCount() > 30);
    w->resize(1000, 600);
    QVERIFY(w->grab().save(ScreenshotPath(QStringLiteral("library-english"))));
    f.Window->findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(1);
    QTest::qWait(50); // the layouts take the longer texts in
    QVERIFY(w->grab().save(ScreenshotPath(QStringLiteral("library-chinese"))));
    QVERIFY(f.Window->grab().save(ScreenshotPath(QStringLiteral("main-with-library-button"))));
}

// The profile window opened from the library window's button and from the main window's player list: its
// numbers are quillon-cli library player's, in both languages.
void LibraryWindowTest::PlayerProfileAgreesWithTheCli() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    for (const TOrderedDuel& g : KnownDuels()) {
        const QString path = f.Path(QStringLiteral("replays/") + QString::fromStdString(g.File));
        WriteFile(path, BuildReplayFile(OrderedDuelSpec(g)));
        test::SetModifiedTime(gui::ToPath(path), *ParseDate(g.Date) + 12 * 3600);
    }
    gui::TLibraryWindow* w = OpenLibraryWindow(f);
    QVERIFY(AddFolder(f, *w, f.Path(QStringLiteral("replays"))));
    // What happened in the game, typed into the search fields.
    auto* hero = w->findChild<QLineEdit*>(QStringLiteral("LibHero"));
    QTest::keyClicks(hero, QStringLiteral("blade"));
    QTest::keyClick(hero, Qt::Key_Return);
    QCOMPARE(w->Model().rowCount(), 3);
    QTest::keyClicks(w->findChild<QLineEdit*>(QStringLiteral("LibVsOpening")), QStringLiteral("farm"));
    QTest::keyClick(hero, Qt::Key_Return);
    QCOMPARE(w->Model().rowCount(), 1);
    hero->setText(QStringLiteral("nobody"));
    QTest::keyClick(hero, Qt::Key_Return);
    QCOMPARE(w->findChild<QLabel*>(QStringLiteral("LibStatus"))->text(),
             QStringLiteral("No hero or building is called \"nobody\""));
    hero->clear();
    w->findChild<QLineEdit*>(QStringLiteral("LibVsOpening"))->clear();

    QTest::keyClicks(w->findChild<QLineEdit*>(QStringLiteral("LibPlayer")), QStringLiteral("grubby"));
    QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("LibProfile")), Qt::LeftButton);
    gui::TPlayerProfileWindow* profile = w->GetProfileWindow();
    QVERIFY(profile && profile->isVisible());
    QSignalSpy shown(profile, &gui::TPlayerProfileWindow::ProfileShown);
    QVERIFY(shown.count() > 0 || shown.wait(10000));

    QProcess cli;
    cli.start(QStringLiteral(QUILLON_CLI_PATH),
              {QStringLiteral("library"), QStringLiteral("player"), QStringLiteral("grubby"), QStringLiteral("--json"),
               QStringLiteral("--library"), QString::fromStdString(w->LibraryPath())});
    QVERIFY(cli.waitForFinished(60000));
    const auto json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    const auto label = [profile](const char* name) { return profile->findChild<QLabel*>(QLatin1String(name))->text(); };
    QCOMPARE(label("ProfileTotals"), QStringLiteral("Games: %1 · Wins: %2 · Losses: %3 · Win rate: 50%")
                                         .arg(json[QLatin1String("games")].toInt())
                                         .arg(json[QLatin1String("wins")].toInt())
                                         .arg(json[QLatin1String("losses")].toInt()));
    QCOMPARE(label("ProfileTitle"), QStringLiteral("Profile of Grubby"));
    // Each matchup row: games, wins, losses as the CLI counts them.
    const auto* matchups = profile->findChild<QTableWidget*>(QStringLiteral("ProfileTable-matchups"));
    QVERIFY(matchups);
    const QJsonArray races = json[QLatin1String("byOpponentRace")].toArray();
    QCOMPARE(matchups->rowCount(), races.size());
    for (int r = 0; r < matchups->rowCount(); ++r) {
        QCOMPARE(matchups->item(r, 0)->text(), races[r].toObject()[QLatin1String("race")].toString());
        for (const auto& [column, key] : {std::pair{1, "games"}, {2, "wins"}, {3, "losses"}})
            QCOMPARE(matchups->item(r, column)->text().toInt(), races[r].toObject()[QLatin1String(key)].toInt());
    }
    const auto* heroes = profile->findChild<gui::TBarChart*>(QStringLiteral("HeroChart"));
    QCOMPARE(heroes->Bars().front().Label, QStringLiteral("Blademaster"));
    QCOMPARE(profile->findChild<gui::TApmChart*>(QStringLiteral("ApmTrendChart"))->MinuteCount(),
             json[QLatin1String("apmByMonth")].toArray().size());
    QVERIFY(profile->grab().save(ScreenshotPath(QStringLiteral("profile-english"))));

    f.Window->findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(1);
    QVERIFY(label("ProfileTotals").startsWith(QStringLiteral("场数: 4 · 胜: 2 · 负: 2")));
    QCOMPARE(heroes->Bars().front().Label, QStringLiteral("剑圣"));
    QTest::qWait(50);
    QVERIFY(profile->grab().save(ScreenshotPath(QStringLiteral("profile-chinese"))));

    // From the main window's player list: another player's profile in the same window.
    emit f.Window->GetReplayPane().ProfileRequested(QStringLiteral("Moon"));
    QVERIFY(shown.wait(10000));
    QCOMPARE(profile->Profile().Overall.Games, 4);
    QVERIFY(label("ProfileTitle").contains(QStringLiteral("Moon")));
}

QTEST_MAIN(LibraryWindowTest)
#include "LibraryWindowTest.moc"
