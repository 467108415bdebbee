#include "gui/ReplayPane.h"

#include "core/lang/StringIds.h"
#include "gui/ActionListModel.h"
#include "gui/InfoListModel.h"
#include "gui/LanguageApplier.h"
#include "gui/PlayerListModel.h"
#include "gui/QtText.h"
#include "gui/SummaryView.h"
#include "gui/Tr.h"
#include "gui/Widgets.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

QLabel* Heading(const char* name, QWidget* parent) {
    auto* label = Named<QLabel>(name, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

// A report view: whole-row selection, read only, headings that do not sort.
QTreeView* ReportView(const char* name, QAbstractItemModel* model, QWidget* parent) {
    auto* view = NamedField<QTreeView>(name, parent);
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setSectionsClickable(false);
    view->header()->setSectionsMovable(false);
    view->header()->setStretchLastSection(true);
    return view;
}

// A heading (or a header strip) over a list, filling the panel.
void Stack(QWidget* panel, QWidget* top, QWidget* list) {
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(top);
    layout->addWidget(list);
}

} // namespace

TReplayPane::TReplayPane(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ReplayPane"));
    Build();
    Connect();
}

TReplayPane::~TReplayPane() = default;

void TReplayPane::Build() {
    // Information and actions side by side above the players.
    Ui.Splitter1 = NamedSplitter("Splitter1", Qt::Vertical, this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(Ui.Splitter1);
    Ui.Splitter3 = NamedSplitter("Splitter3", Qt::Horizontal, Ui.Splitter1);
    auto* panel3 = Named<QWidget>("Panel3", Ui.Splitter3);
    Ui.Label1 = Heading("Label1", panel3);
    Ui.InfoModel = new TInfoListModel(this);
    Ui.InfoList = ReportView("InfoList", Ui.InfoModel, panel3);
    Ui.InfoList->setWordWrap(false);
    Stack(panel3, Ui.Label1, Ui.InfoList);

    // The action list and the summary share the place as two tabs; the action area (Panel4) is the first.
    Ui.ActionTabs = Named<QTabWidget>("ActionTabs", Ui.Splitter3);
    Ui.ActionTabs->setDocumentMode(true);
    Ui.Panel4 = Named<QWidget>("Panel4", Ui.ActionTabs);
    auto* panel6 = Named<QWidget>("Panel6", Ui.Panel4);
    Ui.Label2 = Heading("Label2", panel6);
    Ui.Label2->hide(); // its text is the tab's caption
    auto* strip = new QHBoxLayout(panel6);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(2);
    strip->addWidget(Ui.Label2);
    strip->addStretch();
    const char* pageNames[] = {"SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5"};
    for (int i = 0; i < 4; ++i) {
        Ui.PageButtons[i] = Named<QToolButton>(pageNames[i], panel6);
        Ui.PageButtons[i]->setMinimumWidth(28);
        Ui.PageButtons[i]->setFocusPolicy(Qt::StrongFocus);
        strip->addWidget(Ui.PageButtons[i]);
    }
    Ui.PageTxt = Named<QLabel>("PageTxt", panel6);
    Ui.PageTxt->setMinimumWidth(90);
    Ui.PageTxt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    strip->addSpacing(6);
    strip->addWidget(Ui.PageTxt);
    Ui.ActionModel = new TActionListModel(this);
    Ui.ActionList = ReportView("ActionList", Ui.ActionModel, Ui.Panel4);
    Stack(Ui.Panel4, panel6, Ui.ActionList);
    Ui.SummaryView = new TSummaryView(Ui.ActionTabs);
    Ui.ActionTabs->addTab(Ui.Panel4, QString());
    Ui.ActionTabs->addTab(Ui.SummaryView, QString());

    auto* panel1 = Named<QWidget>("Panel1", Ui.Splitter1);
    Ui.Label3 = Heading("Label3", panel1);
    Ui.PlayerModel = new TPlayerListModel(this);
    Ui.PlayerList = ReportView("PlayerList", Ui.PlayerModel, panel1);
    Stack(panel1, Ui.Label3, Ui.PlayerList);

    for (QWidget* w : {panel3, static_cast<QWidget*>(Ui.ActionTabs), panel1})
        w->setMinimumSize(80, 80);
    Ui.Splitter1->setStretchFactor(0, 1);
    Ui.Splitter3->setStretchFactor(1, 1);
    Ui.Splitter3->setSizes({279, 326});
    Ui.Splitter1->setSizes({370, 153});
    FitColumns(); // the design's widths until a replay is shown
}

void TReplayPane::Connect() {
    const auto page = [this](bool (TActionPager::*turn)()) {
        if ((State.Pager.*turn)()) {
            FillActions();
            UpdatePageControls();
        }
    };
    connect(Ui.PageButtons[0], &QToolButton::clicked, this, [page] { page(&TActionPager::First); });
    connect(Ui.PageButtons[1], &QToolButton::clicked, this, [page] { page(&TActionPager::Previous); });
    connect(Ui.PageButtons[2], &QToolButton::clicked, this, [page] { page(&TActionPager::Next); });
    connect(Ui.PageButtons[3], &QToolButton::clicked, this, [page] { page(&TActionPager::Last); });
    connect(Ui.PlayerModel, &TPlayerListModel::CheckChanged, this, &TReplayPane::PlayerChecksChanged);
    connect(Ui.ActionTabs, &QTabWidget::currentChanged, this, &TReplayPane::FillSummary);
}

QList<QWidget*> TReplayPane::TabChain() const {
    return {Ui.InfoList,       Ui.ActionTabs,     Ui.PageButtons[0], Ui.PageButtons[1],
            Ui.PageButtons[2], Ui.PageButtons[3], Ui.ActionList,     Ui.PlayerList};
}

void TReplayPane::Show(std::shared_ptr<TReplayInfo> replay, const TSettings& settings, TLanguage language) {
    const TSettings& was = State.Settings;
    TChanges changes;
    changes.Replay = replay != State.Replay;
    changes.Language = language != State.Language || !State.TextsApplied;
    changes.Players = settings.ShowUnused != was.ShowUnused || settings.ShowObservers != was.ShowObservers;
    changes.Paging = settings.ParseActions != was.ParseActions || settings.ActionsPerPage != was.ActionsPerPage;
    State.Replay = std::move(replay);
    State.Settings = settings;
    State.Language = language;
    Refresh(changes);
}

void TReplayPane::FollowRename(const std::string& path) {
    if (State.Replay)
        State.Replay->FileName = path;
}

void TReplayPane::Refresh(TChanges changes) {
    if (changes.Language) {
        Tables.Load(State.Language);
        ApplyTexts();
    }
    Ui.Panel4->setEnabled(State.Settings.ParseActions);
    const TReplayInfo* replay = State.Replay.get();
    if (changes.Replay || changes.Paging)
        State.Pager.Reset(replay && replay->Actions ? replay->Actions->Count() : 0, State.Settings.ActionsPerPage);
    if (replay && (changes.Replay || changes.Language || changes.Players || changes.Paging)) {
        if (changes.Replay || changes.Language)
            Ui.InfoModel->SetRows(InfoRows(*replay, Numbers, State.Language));
        if (changes.Replay || changes.Language || changes.Players) {
            State.PlayerListReady = false;
            Ui.PlayerModel->SetRows(PlayerRows(*replay, {State.Settings.ShowUnused, State.Settings.ShowObservers},
                                               Numbers, State.Language));
            State.PlayerListReady = true;
            State.ShownPlayers = ComputeShownPlayers(Ui.PlayerModel->Rows(), State.Language);
        }
        FillActions();
        if (changes.Replay || changes.Language || changes.Players)
            FitColumns();
        State.SummaryStale = true;
        FillSummary();
    }
    UpdatePageControls();
}

void TReplayPane::ApplyTexts() {
    // The design's texts first: entries a language leaves empty (the page buttons in Chinese) keep them.
    if (!State.TextsApplied)
        quillon::gui::ApplyLanguage(this, TForm::Main, QString(), TLanguage::English);
    State.TextsApplied = true;
    const TLanguage language = State.Language;
    quillon::gui::ApplyLanguage(this, TForm::Main, QString(), language);
    const auto headers = [language](const char* list, int count) {
        QStringList h;
        for (int i = 0; i < count; ++i)
            h << ColumnCaption(TForm::Main, list, i, language);
        return h;
    };
    Ui.InfoModel->SetHeaders(headers("InfoList", 2));
    Ui.ActionModel->SetHeaders(headers("ActionList", 3));
    Ui.PlayerModel->SetHeaders(headers("PlayerList", 10));
    Ui.ActionTabs->setTabText(0, Ui.Label2->text());
    Ui.ActionTabs->setTabText(1, Tr(SummaryString::Tab, language));
    Ui.SummaryView->ApplyLanguage(language);
    Ui.InfoList->setAccessibleDescription(Ui.Label1->text());
    Ui.ActionList->setAccessibleDescription(Ui.Label2->text());
    Ui.PlayerList->setAccessibleDescription(Ui.Label3->text());
}

void TReplayPane::FillActions() {
    const TReplayInfo* replay = State.Replay.get();
    if (!replay)
        return;
    if (!State.Settings.ParseActions || !replay->Actions) {
        Ui.ActionModel->SetRows({});
        return;
    }
    Ui.ActionModel->SetRows(
        PageRows(*replay, State.Pager.CurrentPage(), State.Pager.PerPage(), State.ShownPlayers, Tables));
}

void TReplayPane::FillSummary() {
    const TReplayInfo* replay = State.Replay.get();
    if (!replay || Ui.ActionTabs->currentWidget() != Ui.SummaryView)
        return;
    const bool hasActions = State.Settings.ParseActions && replay->Actions;
    if (State.SummaryStale)
        State.Summary = hasActions ? SummarizeReplay(*replay, Tables) : TReplaySummary{};
    State.SummaryStale = false;
    Ui.SummaryView->Show(State.Summary, State.ShownPlayers, hasActions, State.Language);
}

void TReplayPane::UpdatePageControls() {
    const TActionPager& pager = State.Pager;
    Ui.PageTxt->setText(ToQString(pager.Label(State.Language)));
    Ui.PageButtons[0]->setEnabled(pager.CanGoBack());
    Ui.PageButtons[1]->setEnabled(pager.CanGoBack());
    Ui.PageButtons[2]->setEnabled(pager.CanGoForward());
    Ui.PageButtons[3]->setEnabled(pager.CanGoForward());
}

void TReplayPane::PlayerChecksChanged() {
    if (!State.PlayerListReady)
        return;
    const TPlayerSet shown = ComputeShownPlayers(Ui.PlayerModel->Rows(), State.Language);
    if (shown == State.ShownPlayers)
        return;
    State.ShownPlayers = shown;
    FillActions();
    FillSummary();
}

void TReplayPane::FitColumns() {
    // The design's widths are the least; names and times wider than them get what they need.
    const auto fit = [](QTreeView* view, int column, int least) {
        view->resizeColumnToContents(column);
        view->setColumnWidth(column, std::max(view->columnWidth(column), least));
    };
    fit(Ui.InfoList, 0, 110);
    fit(Ui.ActionList, 0, 64);
    fit(Ui.ActionList, 1, 60);
    static constexpr int PlayerWidths[] = {45, 100, 70, 60, 45, 65, 55, 55, 60};
    for (int i = 0; i < 9; ++i)
        fit(Ui.PlayerList, i, PlayerWidths[i]);
}

} // namespace quillon::gui
