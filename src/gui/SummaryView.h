#pragma once

#include "core/lang/Translations.h"
#include "core/present/ListRows.h"
#include "core/summary/ReplaySummary.h"

#include <QWidget>

class QLabel;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class QTreeView;

namespace quillon {
enum class SummaryString : int;
}

namespace quillon::gui {

class TApmChart;

/// The summary tab: the APM chart above build orders side by side, heroes with their skills, chat and leaves.
/// It shows the players the player list has checked.
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

private:
    void FillBuilds(const TReplaySummary& summary, const TPlayerSet& shown);
    void FillHeroes(const TReplaySummary& summary, const TPlayerSet& shown);
    void FillChat(const TReplaySummary& summary, const TPlayerSet& shown);
    void FillLeaves(const TReplaySummary& summary, const TPlayerSet& shown);
    void SetHeaders();
    /// An empty list gets the text for none in textColumn; the columns but the last fit their contents.
    void FinishList(QStandardItemModel* model, QTreeView* view, int textColumn, SummaryString none);

    TLanguage Lang = TLanguage::English;
    QLabel* NeedsActions;
    TApmChart* ApmChart;
    QTabWidget* Lists;
    QTableView* BuildList;
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
