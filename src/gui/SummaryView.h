#pragma once

#include "core/lang/Translations.h"
#include "core/present/ListRows.h"
#include "core/summary/ReplaySummary.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QStandardItemModel;
class QTabWidget;
class QToolButton;
class QTreeView;

namespace quillon {
enum class SummaryString : int;
}

namespace quillon::gui {

class TApmChart;

/// The summary tab: the APM chart above one build-order list (all players by time, or the player picked), heroes
/// with their skills, chat and leaves. It shows the players the player list has checked; the chart opens in a
/// window of its own at the click of a button or a double-click.
class TSummaryView : public QWidget {
    Q_OBJECT
public:
    explicit TSummaryView(QWidget* parent = nullptr);

    /// Shows a summary for the checked players; without an action list it says what to turn on.
    void Show(const TReplaySummary& summary, const TPlayerSet& shown, bool hasActions, TLanguage language);
    /// Texts that do not depend on a replay: tab captions, headings, the limits of each list.
    void ApplyLanguage(TLanguage language);

    TApmChart* Chart() const { return ApmChart; }
    QStandardItemModel* Builds() const { return BuildModel; }
    QStandardItemModel* Heroes() const { return HeroModel; }
    QStandardItemModel* Chat() const { return ChatModel; }
    QStandardItemModel* Leaves() const { return LeaveModel; }
    QTabWidget* Tabs() const { return Lists; }
    /// The build list's player: 0 for all.
    void PickBuildPlayer(uint8_t id);
    QComboBox* BuildPlayerBox() const { return BuildPlayer; }
    /// Selects the next chat message after the selected one (wrapping) that holds the text, on the chat tab.
    bool FindInChat(const QString& text);
    /// The chart in a window of its own (made at the first call), over the main window.
    QWidget* DetachChart();

signals:
    /// "Save report..." was clicked.
    void SaveReportClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillBuilds();
    void FillBuildPlayers();
    void FillHeroes(const TReplaySummary& summary, const TPlayerSet& shown);
    void FillChat(const TReplaySummary& summary, const TPlayerSet& shown);
    void FillLeaves(const TReplaySummary& summary, const TPlayerSet& shown);
    void SetHeaders();
    /// An empty list gets the text for none in textColumn; the columns but the last fit their contents.
    void FinishList(QStandardItemModel* model, QTreeView* view, int textColumn, SummaryString none);

    TLanguage Lang = TLanguage::English;
    TReplaySummary Summary; // on show, for the build filter and the chart's window
    TPlayerSet Shown;
    uint8_t BuildPlayerId = 0;
    QLabel* NeedsActions;
    QToolButton* DetachButton;
    QToolButton* SaveReportButton;
    TApmChart* ChartWindowChart = nullptr;
    QWidget* ChartWindow = nullptr;
    QLabel* BuildsOf;
    QComboBox* BuildPlayer;
    TApmChart* ApmChart;
    QTabWidget* Lists;
    QTreeView* BuildList;
    QTreeView* HeroList;
    QTreeView* ChatList;
    QTreeView* LeaveList;
    QStandardItemModel* BuildModel;
    QStandardItemModel* HeroModel;
    QStandardItemModel* ChatModel;
    QStandardItemModel* LeaveModel;
    QLabel* Limits[5]; // APM, builds, heroes, chat, leaves
};

} // namespace quillon::gui
