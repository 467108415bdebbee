// What a desktop program does without being asked: it remembers, it answers the usual keys, it copies, it sorts,
// and every list is readable at the first start's size.
#include "GuiTestSupport.h"

#include "core/gamedata/GameTables.h"
#include "core/present/ListRows.h"
#include "core/settings/IniFile.h"
#include "gui/ColumnFit.h"
#include "gui/QtText.h"
#include "gui/ReplayBrowser.h"
#include "gui/ReplayFileList.h"
#include "gui/ReplayPane.h"
#include "gui/SummaryView.h"
#include "gui/WindowGeometry.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

using namespace quillon;
using namespace quillon::guitest;

namespace {

QTreeView* View(gui::TQuillonMain& w, const char* name) {
    return w.findChild<QTreeView*>(QLatin1String(name));
}

QString Cell(QAbstractItemModel* model, int row, int column) {
    return model->data(model->index(row, column)).toString();
}

void ClickTab(QTabWidget& tabs, int index) {
    QTabBar* bar = tabs.tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void ClickHeader(QTreeView* view, int section) {
    QHeaderView* header = view->header();
    const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

// Every (page, row) whose cells hold the text, as the pages show them: what F3 must visit in order.
QList<QPair<int, int>> MatchesByPage(const TReplayInfo& replay, int perPage, const QString& text, TLanguage language) {
    TGameTables tables;
    tables.Load(language);
    TPlayerSet all;
    all.set();
    QList<QPair<int, int>> found;
    for (int page = 1; page <= PageCount(replay, perPage); ++page) {
        const auto rows = PageRows(replay, page, perPage, all, tables);
        for (size_t r = 0; r < rows.size(); ++r)
            for (const std::string* cell : {&rows[r].Player, &rows[r].Time, &rows[r].Action})
                if (gui::ToQString(*cell).contains(text, Qt::CaseInsensitive)) {
                    found << qMakePair(page, static_cast<int>(r));
                    break;
                }
    }
    return found;
}

QPair<int, int> ShownMatch(gui::TQuillonMain& w) {
    const int page = w.GetReplayPane().GetPager().CurrentPage();
    const QModelIndex current = View(w, "ActionList")->currentIndex();
    return {page, current.isValid() ? current.row() : -1};
}

} // namespace

class WindowHabitsTest : public QObject {
    Q_OBJECT
private slots:
    void FirstStartIs800By555Centred();
    void ItRemembersAcrossARestart();
    void AStoredFrameIsKeptOnScreen();
    void TheUsualKeys();
    void FindGoesThroughEveryPageInTheLanguageOnShow();
    void FindInTheChatOfTheSummary();
    void CopyPutsTheShownCellsOnTheClipboard();
    void PlayerHeadingsSortAndGoBackToSlotOrder();
    void SaveReportWritesOnePage();
    void ColumnsGiveWayInOrder();
    void FileNamesKeepTheirExtension();
    void ReadableAtTheDefaultSize_data();
    void ReadableAtTheDefaultSize();
};

void WindowHabitsTest::FirstStartIs800By555Centred() {
    TWindowFixture f;
    QCOMPARE(f.Window->size(), QSize(800, 555));
    // Centred up to the frame's few pixels, which the window has only once it is shown.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint offCentre = f.Window->geometry().center() - screen.center();
    QVERIFY2(qAbs(offCentre.x()) <= 4 && qAbs(offCentre.y()) <= 4,
             qPrintable(QStringLiteral("%1, %2").arg(offCentre.x()).arg(offCentre.y())));
}

void WindowHabitsTest::ItRemembersAcrossARestart() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n[plugins]\nfoo=bar\n"));
    WriteFile(f.Path(QStringLiteral("a/one.w3g")), Duel("Grubby", "Moon"));
    WriteFile(f.Path(QStringLiteral("b/two.w3g")), Duel("Sky", "Th00"));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("a/one.w3g"))));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("b/two.w3g"))));
    auto* w = f.Window.get();
    w->setGeometry(QRect(40, 30, 700, 500)); // the offscreen screen is 800 by 600
    auto* splitter2 = w->findChild<QSplitter*>(QStringLiteral("Splitter2"));
    splitter2->setSizes({240, 640});
    const QList<int> sizes = splitter2->sizes();
    View(*w, "ActionList")->setColumnWidth(0, 150);
    ClickTab(w->GetReplayPane().GetActionTabs(), 1);
    f.Restart();
    w = f.Window.get();

    QCOMPARE(w->geometry(), QRect(40, 30, 700, 500));
    QCOMPARE(w->findChild<QSplitter*>(QStringLiteral("Splitter2"))->sizes(), sizes);
    QCOMPARE(w->GetReplayPane().GetActionTabs().currentIndex(), 1);
    QVERIFY(View(*w, "ActionList")->columnWidth(0) >= 150);
    // A start without a path opens the folder of the last run; the folder box offers the recent ones.
    w->OpenPath(QString());
    QCOMPARE(w->GetReplayDir(), f.Path(QStringLiteral("b/")));
    auto* box = w->findChild<QComboBox*>(QStringLiteral("DirTxt"));
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->itemText(1), QDir::toNativeSeparators(f.Path(QStringLiteral("a/"))));
    // Picking a recent folder shows it.
    box->showPopup();
    QTest::keyClick(box->view(), Qt::Key_Down);
    QTest::keyClick(box->view(), Qt::Key_Return);
    QCOMPARE(w->GetReplayDir(), f.Path(QStringLiteral("a/")));
    // The settings' own keys and other programs' keys are still there.
    f.Restart();
    const TIniFile ini = TIniFile::Load(gui::ToPath(f.SettingsFile));
    QCOMPARE(ini.ReadString("plugins", "foo", ""), std::string("bar"));
    QCOMPARE(ini.ReadString("general", "language", ""), std::string("0"));
    QCOMPARE(QString::fromStdString(ini.ReadString("window", "lastfolder", "")), f.Path(QStringLiteral("a/")));

    // A last folder that has gone: the default replay folder.
    QDir(f.Path(QStringLiteral("a"))).removeRecursively();
    qputenv("WINEPREFIX", f.Path(QStringLiteral("no-prefix")).toUtf8());
    f.Restart();
    f.Window->OpenPath(QString());
    QCOMPARE(f.Window->GetReplayDir(), QDir::homePath() + QLatin1Char('/'));
}

void WindowHabitsTest::AStoredFrameIsKeptOnScreen() {
    const QRect left(0, 0, 1920, 1080), right(1920, 0, 1280, 1024);
    const struct {
        QRect Stored;
        QList<QRect> Screens;
        QRect Kept;
        const char* What;
    } cases[] = {
        {{100, 100, 800, 555}, {left, right}, {100, 100, 800, 555}, "on a screen: as it was"},
        {{2000, 100, 800, 555}, {left}, {560, 262, 800, 555}, "its monitor unplugged: centred on the one left"},
        {{1800, 100, 800, 555}, {left, right}, {1920, 100, 800, 555}, "across two: onto the one it overlaps most"},
        {{-300, -50, 800, 555}, {left}, {0, 0, 800, 555}, "partly off the top left: pulled in"},
        {{0, 0, 3000, 2000}, {left}, {0, 0, 1920, 1080}, "larger than the screen: shrunk"},
    };
    for (const auto& c : cases)
        QVERIFY2(gui::KeepOnScreen(c.Stored, c.Screens) == c.Kept, c.What);
}

void WindowHabitsTest::TheUsualKeys() {
    TWindowFixture f;
    WriteFile(f.Path(QStringLiteral("sub/deep/one.w3g")), Duel("Grubby", "Moon"));
    auto& w = *f.Window;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.OpenPath(f.Path(QStringLiteral("sub/deep")));

    // Alt+Up: the parent folder.
    QTest::keyClick(&w, Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(w.GetReplayDir(), f.Path(QStringLiteral("sub/")));
    // Ctrl+L: the folder box, its text selected to type over.
    QTest::keyClick(&w, Qt::Key_L, Qt::ControlModifier);
    auto* box = w.findChild<QComboBox*>(QStringLiteral("DirTxt"));
    QVERIFY(box->hasFocus());
    QCOMPARE(box->lineEdit()->selectedText(), box->currentText());
    QTest::keyClicks(box->lineEdit(), f.Path(QStringLiteral("sub/deep")));
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(w.GetReplayDir(), f.Path(QStringLiteral("sub/deep/")));
    // Ctrl+O: a replay from anywhere through the file dialog, which starts in the folder on show.
    f.Boxes.File = f.Path(QStringLiteral("sub/deep/one.w3g"));
    QSignalSpy shown(&w, &gui::TQuillonMain::ReplayShown);
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    QVERIFY(shown.wait(5000));
    QCOMPARE(f.Boxes.ChooserStarts.last(), f.Path(QStringLiteral("sub/deep/")));
    QCOMPARE(w.GetLoadedFile(), f.Path(QStringLiteral("sub/deep/one.w3g")));
    // F5: the list is read again and the selection stays.
    QTest::keyClick(&w, Qt::Key_F5);
    QTRY_COMPARE(w.GetReplayBrowser().FirstSelectedName(), QStringLiteral("one.w3g"));
    // Each key is named in a tooltip.
    QVERIFY(w.findChild<QWidget*>(QStringLiteral("SpeedButton1"))->toolTip().contains(QStringLiteral("Alt+Up")));
    QVERIFY(box->toolTip().contains(QStringLiteral("Ctrl+L")));
    QVERIFY(View(w, "ActionList")->header()->toolTip().contains(QStringLiteral("Ctrl+F")));
    QVERIFY(View(w, "ActionList")->header()->toolTip().contains(QStringLiteral("F3")));
}

void WindowHabitsTest::FindGoesThroughEveryPageInTheLanguageOnShow() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\nactionppage=20\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::PlausibleDuelSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    const TReplayInfo& replay = *w.GetReplayPane().GetReplay();

    for (const auto& [language, text] : {std::pair{TLanguage::English, QStringLiteral("footman")},
                                         std::pair{TLanguage::Chinese, QStringLiteral("步兵")}}) {
        w.findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(language == TLanguage::Chinese ? 1 : 0);
        const QList<QPair<int, int>> expected = MatchesByPage(replay, 20, text, language);
        QVERIFY(expected.size() >= 3);
        QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
        QLineEdit& find = w.GetReplayPane().GetFindBox();
        QVERIFY(find.hasFocus());
        find.clear();
        find.insert(text); // typed by an input method: key clicks carry Latin letters only
        QTest::keyClick(&find, Qt::Key_Return);
        QCOMPARE(ShownMatch(w), expected[0]);
        for (int i = 1; i < expected.size(); ++i) {
            QTest::keyClick(&w, Qt::Key_F3);
            QCOMPARE(ShownMatch(w), expected[i]);
            QVERIFY(Cell(View(w, "ActionList")->model(), expected[i].second, 2).contains(text, Qt::CaseInsensitive));
        }
        QTest::keyClick(&w, Qt::Key_F3); // past the last: the first again
        QCOMPARE(ShownMatch(w), expected[0]);
        QVERIFY(w.findChild<QLabel*>(QStringLiteral("FindResult"))->text().isEmpty());
    }
    // No match: said in the bar; the page stays.
    const QPair<int, int> before = ShownMatch(w);
    QLineEdit& find = w.GetReplayPane().GetFindBox();
    find.setText(QStringLiteral("no such words"));
    QTest::keyClick(&find, Qt::Key_Return);
    QCOMPARE(ShownMatch(w).first, before.first);
    QVERIFY(w.findChild<QLabel*>(QStringLiteral("FindResult"))->text().contains(QStringLiteral("no such words")));
    QTest::keyClick(&find, Qt::Key_Escape);
    QVERIFY(!find.isVisible());
}

void WindowHabitsTest::FindInTheChatOfTheSummary() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::PlausibleDuelSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    ClickTab(w.GetReplayPane().GetActionTabs(), 1);
    QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(&w.GetReplayPane().GetFindBox(), QStringLiteral("GG"));
    QTest::keyClick(&w.GetReplayPane().GetFindBox(), Qt::Key_Return);
    gui::TSummaryView& summary = w.GetReplayPane().GetSummaryView();
    QCOMPARE(summary.Tabs()->currentIndex(), 2);
    auto* chat = summary.findChild<QTreeView*>(QStringLiteral("ChatList"));
    QCOMPARE(Cell(chat->model(), chat->currentIndex().row(), 3), QStringLiteral("gg"));
    QTest::keyClick(&w, Qt::Key_F3);
    QCOMPARE(Cell(chat->model(), chat->currentIndex().row(), 3), QStringLiteral("gg wp"));
}

void WindowHabitsTest::CopyPutsTheShownCellsOnTheClipboard() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::PlausibleDuelSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTreeView* players = View(w, "PlayerList");
    players->setFocus();
    players->selectionModel()->select(players->model()->index(0, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    players->selectionModel()->select(players->model()->index(2, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::keyClick(players, Qt::Key_C, Qt::ControlModifier);
    // The player list's own cells, tab-separated, as quillon-cli info prints them.
    const auto rows = PlayerRows(*w.GetReplayPane().GetReplay(), {}, TNumberFormat::FromSystem(), TLanguage::English);
    QString expected;
    for (const size_t r : {size_t{0}, size_t{2}}) {
        QStringList cells{gui::ToQString(rows[r].Caption)};
        for (size_t i = 0; i < rows[r].SubItems.size() && i < 9; ++i)
            cells << gui::ToQString(rows[r].SubItems[i]);
        while (cells.size() < 10)
            cells << QString();
        expected += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    QVERIFY(expected.startsWith(QStringLiteral("1\tJaina\tPlayer\tHuman\t1\t100\t")));

    // The file list copies names; the action list its three cells.
    QTreeView* actions = View(w, "ActionList");
    actions->setFocus();
    actions->selectionModel()->select(actions->model()->index(0, 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QTest::keyClick(actions, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text().count(QLatin1Char('\t')), 2);
    auto* files = w.findChild<QListView*>(QStringLiteral("FileList"));
    files->setFocus();
    QTest::keyClick(files, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("demo.w3g\n"));
}

void WindowHabitsTest::PlayerHeadingsSortAndGoBackToSlotOrder() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    WriteFile(f.Path(QStringLiteral("team.w3g")), testing::BuildReplayFile(testing::TeamGameSpec(4, 3)));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("team.w3g"))));
    auto& w = *f.Window;
    QTreeView* players = View(w, "PlayerList");
    QAbstractItemModel* model = players->model();
    const auto column = [model](int c) {
        QStringList cells;
        for (int r = 0; r < model->rowCount(); ++r)
            cells << Cell(model, r, c);
        return cells;
    };
    const QStringList slotOrder = column(1);
    const auto apm = [&column] {
        QList<double> values;
        for (const QString& cell : column(7))
            if (!cell.isEmpty())
                values << QLocale::system().toDouble(cell);
        return values;
    };
    ClickHeader(players, 7); // APM, by value: ascending
    QList<double> values = apm();
    QVERIFY(std::is_sorted(values.begin(), values.end()));
    ClickHeader(players, 7); // descending
    values = apm();
    QVERIFY(std::is_sorted(values.rbegin(), values.rend()));
    ClickHeader(players, 7); // and back to the slot order
    QCOMPARE(column(1), slotOrder);
    // The check boxes still act on the right player after a sort.
    ClickHeader(players, 1);
    const QString first = Cell(model, 0, 1);
    const QRect cell = players->visualRect(model->index(0, 0));
    QTest::mouseClick(players->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 10, cell.center().y()));
    for (const TActionCells& row : PageRows(*w.GetReplayPane().GetReplay(), 1, 50, {}, TGameTables{}))
        QVERIFY(gui::ToQString(row.Player) != first);
    QCOMPARE(model->data(model->index(0, 0), Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Unchecked);
}

void WindowHabitsTest::SaveReportWritesOnePage() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=1\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::PlausibleDuelSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    ClickTab(w.GetReplayPane().GetActionTabs(), 1);
    f.Boxes.SaveFile = f.Path(QStringLiteral("out/report.html"));
    QDir().mkpath(f.Path(QStringLiteral("out")));
    QTest::mouseClick(w.findChild<QToolButton*>(QStringLiteral("SaveReport")), Qt::LeftButton);
    // The dialog starts beside the replay, under its name.
    QCOMPARE(f.Boxes.ChooserStarts.last(), f.Path(QStringLiteral("demo.html")));
    QFile page(f.Boxes.SaveFile);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    page.close();
    QVERIFY(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
    QVERIFY(html.contains(QStringLiteral("lang=\"zh-CN\""))); // in the language on show
    QCOMPARE(html.count(QStringLiteral("class=\"apm-line\"")), 2);
    QVERIFY(w.statusBar()->currentMessage().contains(QStringLiteral("report.html")));
    // Ctrl+S again onto the same file: the dialog has asked, so the page is written anew.
    QVERIFY(page.open(QIODevice::WriteOnly | QIODevice::Truncate));
    page.close();
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QFileInfo(f.Boxes.SaveFile).size() > 1000);
    QVERIFY(f.Boxes.Errors.isEmpty());
    // A folder that cannot be written to: said, and nothing is left behind.
    f.Boxes.SaveFile = f.Path(QStringLiteral("missing/report.html"));
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(f.Boxes.Errors.size(), 1);
    QVERIFY(!QFileInfo::exists(f.Path(QStringLiteral("missing"))));
}

void WindowHabitsTest::ColumnsGiveWayInOrder() {
    const struct {
        std::vector<int> Wanted;
        std::vector<gui::TGiveWay> Steps;
        int Available;
        std::vector<int> Widths;
        const char* What;
    } cases[] = {
        {{100, 50, 50}, {{0, 40}}, 300, {100, 50, 50}, "room for all: as wanted"},
        {{100, 50, 50}, {{0, 40}, {1, 20}}, 180, {80, 50, 50}, "the first step is enough"},
        {{100, 50, 50}, {{0, 40}, {1, 20}}, 120, {40, 30, 50}, "two steps"},
        {{100, 50, 50}, {{0, 40}, {1, 20}}, 10, {40, 20, 50}, "no step left: as far as they go"},
        {{100, 50, 50}, {{0, 90}, {1, 40}, {0, 60}}, 150, {60, 40, 50}, "a column twice, less the second time"},
    };
    for (const auto& c : cases)
        QVERIFY2(gui::FitColumnWidths(c.Wanted, c.Steps, c.Available) == c.Widths, c.What);
}

void WindowHabitsTest::FileNamesKeepTheirExtension() {
    const QFontMetrics metrics(QApplication::font());
    const QString name = QStringLiteral("ref-2.0-4v4-largest-Ekrezems_Maze.w3g");
    const QString full = gui::ElideKeepingExtension(metrics, name, metrics.horizontalAdvance(name));
    QCOMPARE(full, name);
    for (const int width : {160, 100, 60}) {
        const QString shown = gui::ElideKeepingExtension(metrics, name, width);
        QVERIFY2(shown.endsWith(QStringLiteral("….w3g")), qPrintable(shown));
        QVERIFY(metrics.horizontalAdvance(shown) <= width);
    }
    TWindowFixture f;
    WriteFile(f.Path(name), Duel("Grubby", "Moon"));
    QVERIFY(f.OpenAndWait(f.Path(name)));
    auto* files = f.Window->findChild<QListView*>(QStringLiteral("FileList"));
    QCOMPARE(files->currentIndex().data(Qt::ToolTipRole).toString(), name);
}

void WindowHabitsTest::ReadableAtTheDefaultSize_data() {
    QTest::addColumn<int>("perTeam");
    QTest::addColumn<int>("language");
    for (const int perTeam : {1, 4, 6})
        for (const int language : {0, 1})
            QTest::addRow("%dv%d-%s", perTeam, perTeam, language ? "chinese" : "english") << perTeam << language;
}

void WindowHabitsTest::ReadableAtTheDefaultSize() {
    QFETCH(int, perTeam);
    QFETCH(int, language);
    TWindowFixture f(QStringLiteral("[general]\nlanguage=%1\n").arg(language));
    const QString name = QStringLiteral("%1v%1.w3g").arg(perTeam);
    const auto spec = perTeam == 1 ? testing::PlausibleDuelSpec() : testing::TeamGameSpec(perTeam, 12);
    WriteFile(f.Path(name), testing::BuildReplayFile(spec));
    QVERIFY(f.OpenAndWait(f.Path(name)));
    auto& w = *f.Window;
    QCOMPARE(w.size(), QSize(800, 555));
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::qWait(50);

    // The player list: ten columns in its width, no number cut.
    QTreeView* players = View(w, "PlayerList");
    QVERIFY2(players->header()->length() <= players->viewport()->width(),
             qPrintable(QStringLiteral("%1 > %2").arg(players->header()->length()).arg(players->viewport()->width())));
    const QFontMetrics metrics = players->fontMetrics();
    for (int c = 4; c <= 9; ++c)
        for (int r = 0; r < players->model()->rowCount(); ++r) {
            const QString text = Cell(players->model(), r, c);
            QVERIFY2(metrics.horizontalAdvance(text) <= players->columnWidth(c),
                     qPrintable(QStringLiteral("column %1 cuts %2").arg(c).arg(text)));
        }
    const QString suffix =
        QStringLiteral("%1v%1-%2").arg(perTeam).arg(language ? QStringLiteral("chinese") : QStringLiteral("english"));
    QVERIFY(w.grab().save(ScreenshotPath(QStringLiteral("default-size-actions-") + suffix)));

    // The summary: one build list whose every time and name can be read.
    ClickTab(w.GetReplayPane().GetActionTabs(), 1);
    auto* builds = w.findChild<QTreeView*>(QStringLiteral("BuildList"));
    QTest::qWait(50); // the scroll bars follow the layout a turn of the event loop later
    QVERIFY(builds->header()->length() <= builds->viewport()->width());
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < builds->model()->rowCount(); ++r) {
            const QModelIndex index = builds->model()->index(r, c);
            const int needed = builds->fontMetrics().horizontalAdvance(index.data().toString()) +
                               (index.data(Qt::DecorationRole).isNull() ? 0 : builds->iconSize().width());
            QVERIFY2(needed <= builds->columnWidth(c), qPrintable(index.data().toString()));
        }
    QVERIFY(w.grab().save(ScreenshotPath(QStringLiteral("default-size-summary-") + suffix)));
}

QTEST_MAIN(WindowHabitsTest)
#include "WindowHabitsTest.moc"
