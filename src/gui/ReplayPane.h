#pragma once

#include "core/gamedata/GameTables.h"
#include "core/lang/Translations.h"
#include "core/present/ActionPager.h"
#include "core/present/ListRows.h"
#include "core/present/NumberFormat.h"
#include "core/replay/ReplayInfo.h"
#include "core/settings/Settings.h"
#include "core/summary/ReplaySummary.h"

#include <QMap>
#include <QWidget>

#include <memory>

class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QSplitter;
class QTabWidget;
class QToolButton;
class QTreeView;

namespace quillon::gui {

class TActionListModel;
class TInfoListModel;
class TPlayerListModel;
class TSummaryView;

/// The right half of the main window: the replay's information, its players, and its actions page by page with
/// the summary as a second tab. It keeps what it shows and, when the replay, the settings or the language change,
/// redraws what that change touches and nothing else.
class TReplayPane : public QWidget {
    Q_OBJECT
public:
    explicit TReplayPane(QWidget* parent = nullptr);
    ~TReplayPane() override;

    /// Shows a replay (nullptr: none yet) with these settings in this language.
    void Show(std::shared_ptr<TReplayInfo> replay, const TSettings& settings, TLanguage language);
    /// The same replay in other settings, or in another language.
    void ApplySettings(const TSettings& settings) { Show(State.Replay, settings, State.Language); }
    void ApplyLanguage(TLanguage language) { Show(State.Replay, State.Settings, language); }
    /// The replay on show was renamed on disk.
    void FollowRename(const std::string& path);

    const TReplayInfo* GetReplay() const { return State.Replay.get(); }
    const TActionPager& GetPager() const { return State.Pager; }
    QTabWidget& GetActionTabs() const { return *Ui.ActionTabs; }
    TSummaryView& GetSummaryView() const { return *Ui.SummaryView; }
    QTreeView& GetPlayerList() const { return *Ui.PlayerList; }
    QTreeView& GetActionList() const { return *Ui.ActionList; }
    /// The pane's controls in the order Tab visits them.
    QList<QWidget*> TabChain() const;

    /// Ctrl+F: the find box, its text selected. F3: the next match of its text, in the actions (across pages)
    /// or, with the summary on show, in the chat; the match is selected. False when nothing matches.
    void StartFind();
    bool FindNext();
    QLineEdit& GetFindBox() const { return *Ui.FindText; }

    /// The replay on show as one HTML page in the language on show; empty when none is on show.
    std::string ReportHtml();

    /// Column widths the user gave the information and action lists, by list name (the least they get).
    QMap<QString, QList<int>> ColumnWidths() const;
    void SetColumnWidths(const QMap<QString, QList<int>>& widths);

signals:
    void SaveReportClicked();
    /// The player list's menu asked for a player's profile.
    void ProfileRequested(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TChanges {
        bool Replay = false;   // another replay (or none)
        bool Language = false; // texts, names and the game tables
        bool Players = false;  // which slots the player list shows
        bool Paging = false;   // the action list's pages start over
    };
    void Build();
    void Connect();
    void Refresh(TChanges changes);
    void ApplyTexts();
    void FillActions();
    void FillSummary();
    void UpdatePageControls();
    void FitColumns();
    void FitPlayerColumns();
    void PlayerChecksChanged();
    bool FindInActions(const QString& text);
    bool FindInChat(const QString& text);

    // What is on show, and what it is shown with.
    struct {
        std::shared_ptr<TReplayInfo> Replay;
        TSettings Settings;
        TLanguage Language = TLanguage::English;
        bool TextsApplied = false;
        TActionPager Pager;
        TPlayerSet ShownPlayers;
        TReplaySummary Summary;
        bool SummaryStale = true; // made again when its tab is shown: loads need not pay for it
        bool PlayerListReady = false;
        int32_t LastFound = -1; // the action position of the last match
        QString LastFindText;
    } State;
    QList<int> InfoWidths{110};      // the least widths of the information list's first column
    QList<int> ActionWidths{64, 60}; // and of the action list's Player and Time
    TGameTables Tables;
    TNumberFormat Numbers = TNumberFormat::FromSystem();

    // The controls, under the design's object names.
    struct {
        QSplitter* Splitter1;
        QSplitter* Splitter3;
        QLabel* Label1;
        QLabel* Label2;
        QLabel* Label3;
        QTreeView* InfoList;
        QTabWidget* ActionTabs;
        QWidget* Panel4;             // the action area: the first tab
        QToolButton* PageButtons[4]; // SpeedButton2 to SpeedButton5: <<, <, >, >>
        QLabel* PageTxt;
        QTreeView* ActionList;
        TSummaryView* SummaryView;
        QTreeView* PlayerList;
        TInfoListModel* InfoModel;
        TActionListModel* ActionModel;
        TPlayerListModel* PlayerModel;
        QSortFilterProxyModel* PlayerOrder; // the heading clicked last, or the slot order
        QWidget* FindBar;
        QLineEdit* FindText;
        QLabel* FindResult;
    } Ui;
};

} // namespace quillon::gui
