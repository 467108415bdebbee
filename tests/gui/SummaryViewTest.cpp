// The summary tab of the main window: chart, build orders, heroes, chat and leaves, following the player
// check boxes and the language.
#include "GuiTestSupport.h"

#include "core/summary/ReplaySummary.h"
#include "gui/ApmChart.h"
#include "gui/QtText.h"
#include "gui/ReplayPane.h"
#include "gui/SummaryView.h"

#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QSet>
#include <QStandardItemModel>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>

using namespace quillon;
using namespace quillon::guitest;

namespace {

void ClickTab(QTabWidget& tabs, int index) {
    QTabBar* bar = tabs.tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void ClickPlayerCheckBox(gui::TQuillonMain& w, int row) {
    auto* players = w.findChild<QTreeView*>(QStringLiteral("PlayerList"));
    const QRect cell = players->visualRect(players->model()->index(row, 0));
    QTest::mouseClick(players->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 10, cell.center().y()));
}

// The build order of the demo's first player, as the core makes it in a language.
TReplaySummary DemoSummary(const gui::TQuillonMain& w, TLanguage language) {
    TGameTables tables;
    tables.Load(language);
    return SummarizeReplay(*w.GetReplayPane().GetReplay(), tables);
}

} // namespace

class SummaryViewTest : public QObject {
    Q_OBJECT
private slots:
    void SummaryTabShowsTheCheckedPlayers();
    void ChartHoverNamesMinuteAndApm();
    void LanguageSwitchRenamesEverything();
    void WithoutActionsItSaysWhatToTurnOn();
    void ModelsPassTheModelTester();
    void ScreenshotsOfARealReplay();
};

void SummaryViewTest::SummaryTabShowsTheCheckedPlayers() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::DemoGameSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    QCOMPARE(w.GetReplayPane().GetActionTabs().tabText(0), QStringLiteral("Actions"));
    QCOMPARE(w.GetReplayPane().GetActionTabs().tabText(1), QStringLiteral("Summary"));
    ClickTab(w.GetReplayPane().GetActionTabs(), 1);
    QCOMPARE(w.GetReplayPane().GetActionTabs().currentWidget(),
             static_cast<QWidget*>(&w.GetReplayPane().GetSummaryView()));

    gui::TSummaryView& view = w.GetReplayPane().GetSummaryView();
    QCOMPARE(view.Chart()->SeriesCount(), 4); // the observer has no check box
    QCOMPARE(view.Chart()->MinuteCount(), 10);
    const TReplaySummary expected = DemoSummary(w, TLanguage::English);
    // One list of everyone's orders by time; the picker narrows it to one player, in that player's order.
    const auto buildPlayers = [&view] {
        QSet<QString> names;
        for (int r = 0; r < view.Builds()->rowCount(); ++r)
            names << view.Builds()->item(r, 1)->text();
        return names;
    };
    int builds = 0;
    for (const auto& p : expected.Players)
        builds += static_cast<int>(p.Builds.size());
    QCOMPARE(view.Builds()->rowCount(), builds);
    QCOMPARE(buildPlayers().size(), 4);
    for (int r = 1; r < view.Builds()->rowCount(); ++r)
        QVERIFY(view.Builds()->item(r - 1, 0)->text() <= view.Builds()->item(r, 0)->text());
    QCOMPARE(view.BuildPlayerBox()->count(), 5); // all players, then each
    view.BuildPlayerBox()->showPopup();
    QTest::keyClick(view.BuildPlayerBox()->view(), Qt::Key_Down);
    QTest::keyClick(view.BuildPlayerBox()->view(), Qt::Key_Return);
    QCOMPARE(view.BuildPlayerBox()->currentText(), QStringLiteral("Arthas"));
    QCOMPARE(buildPlayers(), QSet<QString>{QStringLiteral("Arthas")});
    const TBuildStep& first = expected.Players[0].Builds.at(0);
    QCOMPARE(view.Builds()->item(0, 3)->text(), gui::ToQString(first.Name));
    int heroes = 0;
    for (const auto& p : expected.Players)
        heroes += static_cast<int>(p.Heroes.size());
    QCOMPARE(view.Heroes()->rowCount(), std::max(heroes, 1));
    QCOMPARE(view.Chat()->rowCount(), static_cast<int>(expected.Chat.size()));

    ClickPlayerCheckBox(w, 0); // Arthas off
    QCOMPARE(view.Chart()->SeriesCount(), 3);
    QCOMPARE(view.BuildPlayerBox()->currentIndex(), 0); // the picked player went: everyone else's orders
    QCOMPARE(buildPlayers().size(), 3);
    QVERIFY(!buildPlayers().contains(QStringLiteral("Arthas")));
    for (int r = 0; r < view.Chat()->rowCount(); ++r)
        QVERIFY(view.Chat()->item(r, 1)->text() != QStringLiteral("Arthas"));
    ClickPlayerCheckBox(w, 0);
    QCOMPARE(view.Chart()->SeriesCount(), 4);
}

void SummaryViewTest::ChartHoverNamesMinuteAndApm() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::DemoGameSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    w.resize(1000, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    ClickTab(w.GetReplayPane().GetActionTabs(), 1);
    gui::TApmChart* chart = w.GetReplayPane().GetSummaryView().Chart();
    const TReplaySummary expected = DemoSummary(w, TLanguage::English);
    QTest::mouseMove(chart, QPoint(chart->MinuteX(3) + 1, chart->height() / 2));
    QTRY_COMPARE(chart->HoverMinute(), 3);
    const QString arthas = QStringLiteral("Minute 4: %1 APM  Arthas").arg(expected.Players[0].Apm.PerMinute[3]);
    QVERIFY2(chart->HoverText().split(QLatin1Char('\n')).contains(arthas), qPrintable(chart->HoverText()));
    QVERIFY(chart->grab().save(ScreenshotPath(QStringLiteral("summary-chart-hover"))));
}

void SummaryViewTest::LanguageSwitchRenamesEverything() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::DemoGameSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    ClickTab(w.GetReplayPane().GetActionTabs(), 1);
    w.findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(1);
    QCOMPARE(w.GetReplayPane().GetActionTabs().tabText(0), QStringLiteral("操作"));
    QCOMPARE(w.GetReplayPane().GetActionTabs().tabText(1), QStringLiteral("概况"));
    QCOMPARE(w.GetReplayPane().GetSummaryView().Tabs()->tabText(0), QStringLiteral("建造顺序"));
    const TReplaySummary chinese = DemoSummary(w, TLanguage::Chinese);
    w.GetReplayPane().GetSummaryView().PickBuildPlayer(chinese.Players[0].Id);
    QCOMPARE(w.GetReplayPane().GetSummaryView().Builds()->item(0, 3)->text(),
             gui::ToQString(chinese.Players[0].Builds.at(0).Name));
    QCOMPARE(w.GetReplayPane().GetSummaryView().BuildPlayerBox()->itemText(0), QStringLiteral("所有玩家"));
    QCOMPARE(w.GetReplayPane().GetSummaryView().Chat()->headerData(3, Qt::Horizontal).toString(),
             QStringLiteral("消息"));
    w.findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(0);
    QCOMPARE(w.GetReplayPane().GetSummaryView().Tabs()->tabText(0), QStringLiteral("Build orders"));
}

void SummaryViewTest::WithoutActionsItSaysWhatToTurnOn() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\nactionlist=0\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::DemoGameSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    w.show();
    ClickTab(w.GetReplayPane().GetActionTabs(), 1); // the tab stays usable while the action area is off
    QCOMPARE(w.GetReplayPane().GetActionTabs().currentIndex(), 1);
    auto* note = w.findChild<QLabel*>(QStringLiteral("SummaryNeedsActions"));
    QVERIFY(note->isVisible());
    QVERIFY(note->text().contains(QStringLiteral("Parse action list")));
    QVERIFY(!w.GetReplayPane().GetSummaryView().Chart()->isVisible());
}

void SummaryViewTest::ModelsPassTheModelTester() {
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::DemoGameSpec()));
    auto& view = f.Window->GetReplayPane().GetSummaryView();
    QAbstractItemModelTester builds(view.Builds()), heroes(view.Heroes()), chat(view.Chat()), leaves(view.Leaves());
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    ClickTab(f.Window->GetReplayPane().GetActionTabs(), 1);
    ClickPlayerCheckBox(*f.Window, 1);
    f.Window->findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(1);
}

void SummaryViewTest::ScreenshotsOfARealReplay() {
    const QString replay = QStringLiteral(QUILLON_CORPUS_DIR) + QStringLiteral("/tft-1.26-1v1-long.w3g");
    if (!QFile::exists(replay))
        QSKIP("the shared replays are not beside the checkout");
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    QVERIFY(f.OpenAndWait(replay));
    auto& w = *f.Window;
    ClickTab(w.GetReplayPane().GetActionTabs(), 1);
    QVERIFY(w.grab().save(ScreenshotPath(QStringLiteral("summary-default-size"))));
    w.resize(1100, 720);
    QTest::qWait(20);
    QVERIFY(w.grab().save(ScreenshotPath(QStringLiteral("summary-english"))));
    w.GetReplayPane().GetSummaryView().Tabs()->setCurrentIndex(1);
    QVERIFY(w.grab().save(ScreenshotPath(QStringLiteral("summary-heroes-english"))));
    w.findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(1);
    w.GetReplayPane().GetSummaryView().Tabs()->setCurrentIndex(0);
    QVERIFY(w.grab().save(ScreenshotPath(QStringLiteral("summary-chinese"))));
    w.GetReplayPane().GetSummaryView().Tabs()->setCurrentIndex(2);
    QVERIFY(w.grab().save(ScreenshotPath(QStringLiteral("summary-chat-chinese"))));
}

QTEST_MAIN(SummaryViewTest)
#include "SummaryViewTest.moc"
