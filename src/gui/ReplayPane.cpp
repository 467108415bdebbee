#include "gui/ReplayPane.h"

#include "core/lang/StringIds.h"
#include "core/present/ActionSearch.h"
#include "core/summary/HtmlReport.h"
#include "gui/ActionListModel.h"
#include "gui/ColumnFit.h"
#include "gui/CopyRows.h"
#include "gui/InfoListModel.h"
#include "gui/LanguageApplier.h"
#include "gui/PlayerListModel.h"
#include "gui/QtText.h"
#include "gui/SummaryView.h"
#include "gui/Tr.h"
#include "gui/Widgets.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <numeric>

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

// A tree view that tells how wide a column's cells are, without its heading.
class TMeasuredTree : public QTreeView {
public:
    using QTreeView::QTreeView;
    using QTreeView::sizeHintForColumn;
};

// A report view: whole-row selection, read only, headings that do not sort.
QTreeView* ReportView(const char* name, QAbstractItemModel* model, QWidget* parent) {
    auto* view = NamedField<TMeasuredTree>(name, parent);
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

    // The action list and the summary share the place as two tabs; the action area (Panel4) is the first. The
    // find bar under them appears with Ctrl+F.
    auto* actionArea = Named<QWidget>("ActionArea", Ui.Splitter3);
    Ui.ActionTabs = Named<QTabWidget>("ActionTabs", actionArea);
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
    Ui.FindBar = Named<QWidget>("FindBar", actionArea);
    auto* findLabel = Named<QLabel>("FindLabel", Ui.FindBar);
    Ui.FindText = NamedField<QLineEdit>("FindText", Ui.FindBar);
    Ui.FindText->setClearButtonEnabled(true);
    findLabel->setBuddy(Ui.FindText);
    Ui.FindResult = Named<QLabel>("FindResult", Ui.FindBar);
    Ui.FindResult->setTextFormat(Qt::PlainText);
    auto* findRow = new QHBoxLayout(Ui.FindBar);
    findRow->setContentsMargins(2, 2, 2, 2);
    findRow->setSpacing(4);
    findRow->addWidget(findLabel);
    findRow->addWidget(Ui.FindText, 1);
    findRow->addWidget(Ui.FindResult, 1);
    Ui.FindBar->hide();
    auto* areaLayout = new QVBoxLayout(actionArea);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    areaLayout->setSpacing(2);
    areaLayout->addWidget(Ui.ActionTabs, 1);
    areaLayout->addWidget(Ui.FindBar);

    auto* panel1 = Named<QWidget>("Panel1", Ui.Splitter1);
    Ui.Label3 = Heading("Label3", panel1);
    Ui.PlayerModel = new TPlayerListModel(this);
    Ui.PlayerOrder = new QSortFilterProxyModel(this);
    Ui.PlayerOrder->setSourceModel(Ui.PlayerModel);
    Ui.PlayerOrder->setSortRole(TPlayerListModel::SortRole);
    Ui.PlayerOrder->setSortLocaleAware(true);
    Ui.PlayerList = ReportView("PlayerList", Ui.PlayerOrder, panel1);
    // A click on a heading sorts; the third click on it goes back to the slot order.
    Ui.PlayerList->header()->setSectionsClickable(true);
    Ui.PlayerList->header()->setSortIndicatorClearable(true);
    Ui.PlayerList->header()->setSortIndicator(-1, Qt::AscendingOrder);
    Ui.PlayerList->setSortingEnabled(true);
    Ui.PlayerList->header()->setStretchLastSection(false); // the fit below gives the last column the rest
    Ui.PlayerList->viewport()->installEventFilter(this);
    Ui.PlayerList->setContextMenuPolicy(Qt::CustomContextMenu); // Copy, and the player's profile
    Stack(panel1, Ui.Label3, Ui.PlayerList);
    for (QTreeView* list : {Ui.InfoList, Ui.ActionList, Ui.PlayerList})
        AddCopyAction(list);

    for (QWidget* w : {panel3, actionArea, panel1})
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
    connect(Ui.FindText, &QLineEdit::returnPressed, this, &TReplayPane::FindNext);
    connect(Ui.SummaryView, &TSummaryView::SaveReportClicked, this, &TReplayPane::SaveReportClicked);
    connect(Ui.PlayerList, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addActions(Ui.PlayerList->actions());
        const QModelIndex row = Ui.PlayerList->indexAt(at);
        if (row.isValid()) {
            const QString name = row.siblingAtColumn(0).data(Qt::DisplayRole).toString();
            menu.addSeparator();
            menu.addAction(Tr(LibraryString::MenuProfile, State.Language, {ToUtf8(name)}), this,
                           [this, name] { emit ProfileRequested(name); });
        }
        menu.exec(Ui.PlayerList->viewport()->mapToGlobal(at));
    });
    connect(Ui.FindText, &QLineEdit::textEdited, this, [this] { Ui.FindResult->clear(); });
    auto* closeFind = new QAction(Ui.FindBar);
    closeFind->setShortcut(Qt::Key_Escape);
    closeFind->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    Ui.FindBar->addAction(closeFind);
    connect(closeFind, &QAction::triggered, this, [this] {
        Ui.FindBar->hide();
        Ui.ActionTabs->currentWidget()->setFocus();
    });
}

QList<QWidget*> TReplayPane::TabChain() const {
    return {Ui.InfoList,       Ui.ActionTabs, Ui.PageButtons[0], Ui.PageButtons[1], Ui.PageButtons[2],
            Ui.PageButtons[3], Ui.ActionList, Ui.FindText,       Ui.PlayerList};
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
    if (changes.Replay)
        State.LastFound = -1;
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
    const auto keys = [language](std::initializer_list<std::pair<AppString, QKeySequence>> entries) {
        QStringList lines;
        for (const auto& [text, key] : entries)
            lines << WithKey(Tr(text, language), key);
        return lines.join(QLatin1Char('\n'));
    };
    const QString copy = keys({{AppString::KeyCopy, QKeySequence::Copy}});
    Ui.InfoList->header()->setToolTip(copy);
    Ui.ActionList->header()->setToolTip(keys({{AppString::KeyFind, QKeySequence(Qt::CTRL | Qt::Key_F)},
                                              {AppString::KeyFindNext, QKeySequence(Qt::Key_F3)},
                                              {AppString::KeyCopy, QKeySequence::Copy}}));
    Ui.PlayerList->header()->setToolTip(Tr(AppString::KeySort, language) + QLatin1Char('\n') + copy);
    Ui.FindBar->findChild<QLabel*>(QStringLiteral("FindLabel"))->setText(Tr(AppString::FindLabel, language));
    Ui.FindText->setToolTip(keys({{AppString::KeyFind, QKeySequence(Qt::CTRL | Qt::Key_F)},
                                  {AppString::KeyFindNext, QKeySequence(Qt::Key_F3)}}));
    Ui.FindResult->clear();
    ApplyCopyLanguage(this, language);
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
    fit(Ui.InfoList, 0, InfoWidths.value(0, 110));
    fit(Ui.ActionList, 0, ActionWidths.value(0, 64));
    fit(Ui.ActionList, 1, ActionWidths.value(1, 60));
    FitPlayerColumns();
}

void TReplayPane::FitPlayerColumns() {
    // All ten columns in the list's width: each as wide as its widest cell and heading when they fit; else the
    // name gives way first, then the controller and the race, then the headings wider than their numbers, then
    // the name once more. The tooltips hold every cell's whole text.
    auto* list = static_cast<TMeasuredTree*>(Ui.PlayerList);
    list->doItemsLayout(); // rows just set are measured only once they are laid out
    const int columns = Ui.PlayerOrder->columnCount();
    // A heading's own room: its text and margins, and the sort arrow only where it is shown (the header's size
    // hint keeps arrow room in every heading).
    const QHeaderView* header = list->header();
    const int margins = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 6;
    std::vector<int> wanted, cells;
    for (int c = 0; c < columns; ++c) {
        cells.push_back(list->sizeHintForColumn(c));
        const QString title = Ui.PlayerOrder->headerData(c, Qt::Horizontal).toString();
        const int arrow = header->sortIndicatorSection() == c ? header->height() : 0;
        const int heading = header->fontMetrics().horizontalAdvance(title) + margins + arrow;
        wanted.push_back(std::max({cells.back(), heading, 24}));
    }
    const auto upTo = [&cells](int column, int width) { return TGiveWay{column, std::min(cells[column], width)}; };
    std::vector<TGiveWay> steps = {upTo(1, 100), upTo(2, 60), upTo(3, 60)};
    for (const int number : {5, 4, 6, 7, 8, 9})
        steps.push_back({number, std::max(cells[number], 24)});
    for (const TGiveWay step : {upTo(1, 60), upTo(2, 40), upTo(3, 40)})
        steps.push_back(step);
    const int available = list->viewport()->width();
    std::vector<int> widths = FitColumnWidths(wanted, steps, available);
    // The last column takes what is left; the header's own stretching would not shrink it again.
    const int others = std::accumulate(widths.begin(), widths.end() - 1, 0);
    widths.back() = std::max(widths.back(), available - others);
    const QSignalBlocker quiet(list->header());
    for (int c = 0; c < columns; ++c)
        list->setColumnWidth(c, widths[static_cast<size_t>(c)]);
}

bool TReplayPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Ui.PlayerList->viewport() && event->type() == QEvent::Resize)
        FitPlayerColumns();
    return QWidget::eventFilter(watched, event);
}

QMap<QString, QList<int>> TReplayPane::ColumnWidths() const {
    return {{QStringLiteral("InfoList"), {Ui.InfoList->columnWidth(0)}},
            {QStringLiteral("ActionList"), {Ui.ActionList->columnWidth(0), Ui.ActionList->columnWidth(1)}}};
}

void TReplayPane::SetColumnWidths(const QMap<QString, QList<int>>& widths) {
    if (widths.value(QStringLiteral("InfoList")).size() == 1)
        InfoWidths = widths.value(QStringLiteral("InfoList"));
    if (widths.value(QStringLiteral("ActionList")).size() == 2)
        ActionWidths = widths.value(QStringLiteral("ActionList"));
    FitColumns();
}

std::string TReplayPane::ReportHtml() {
    const TReplayInfo* replay = State.Replay.get();
    if (!replay)
        return {};
    const bool hasActions = State.Settings.ParseActions && replay->Actions;
    if (State.SummaryStale)
        State.Summary = hasActions ? SummarizeReplay(*replay, Tables) : TReplaySummary{};
    State.SummaryStale = false;
    return ReplayReportHtml(*replay, State.Summary, Numbers, State.Language);
}

// ---- Find ----

void TReplayPane::StartFind() {
    Ui.FindBar->show();
    Ui.FindText->setFocus(Qt::ShortcutFocusReason);
    Ui.FindText->selectAll();
}

bool TReplayPane::FindNext() {
    const QString text = Ui.FindText->text();
    if (text.isEmpty()) {
        StartFind();
        return false;
    }
    Ui.FindBar->show();
    const bool found = Ui.ActionTabs->currentWidget() == Ui.SummaryView ? FindInChat(text) : FindInActions(text);
    Ui.FindResult->setText(found ? QString() : Tr(AppString::FindNoMatch, State.Language, {ToUtf8(text)}));
    return found;
}

bool TReplayPane::FindInActions(const QString& text) {
    const TReplayInfo* replay = State.Replay.get();
    if (!replay || !replay->Actions || !State.Settings.ParseActions)
        return false;
    const int32_t perPage = State.Pager.PerPage();
    // Again from the last match while the text is the same; else from the top of the page on show.
    const int32_t pageStart = (std::max(State.Pager.CurrentPage(), 1) - 1) * perPage;
    const bool again =
        text == State.LastFindText && State.LastFound >= pageStart && State.LastFound < pageStart + perPage;
    const int32_t from = again ? State.LastFound + 1 : pageStart;
    const std::optional<int32_t> found =
        FindAction(*replay, from % std::max(replay->Actions->Count(), 1), ToUtf8(text), State.ShownPlayers, Tables);
    State.LastFindText = text;
    if (!found)
        return false;
    State.LastFound = *found;
    if (State.Pager.GoTo(*found / perPage + 1)) {
        FillActions();
        UpdatePageControls();
    }
    // The row of the match: the shown players' actions before it on its page.
    int row = 0;
    for (int32_t k = (*found / perPage) * perPage; k < *found; ++k)
        row += State.ShownPlayers.test(replay->Actions->At(k).PlayerId) ? 1 : 0;
    const QModelIndex index = Ui.ActionModel->index(row, 0);
    Ui.ActionList->setCurrentIndex(index);
    Ui.ActionList->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    Ui.ActionList->scrollTo(index);
    return true;
}

bool TReplayPane::FindInChat(const QString& text) {
    return Ui.SummaryView->FindInChat(text);
}

} // namespace quillon::gui
