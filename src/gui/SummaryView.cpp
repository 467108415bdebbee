#include "gui/SummaryView.h"

#include "core/lang/StringIds.h"
#include "core/present/GameText.h"
#include "core/summary/SummaryWords.h"
#include "gui/ApmChart.h"
#include "gui/CopyRows.h"
#include "gui/QtText.h"
#include "gui/SlotColors.h"
#include "gui/Tr.h"
#include "gui/Widgets.h"

#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace quillon::gui {

namespace {

QLabel* LimitsLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    QFont small = label->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    label->setFont(small);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::PlaceholderText));
    label->setPalette(p);
    return label;
}

QTreeView* ListView(const char* name, QStandardItemModel* model, QWidget* parent) {
    auto* view = NamedField<QTreeView>(name, parent);
    view->setModel(model);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setStretchLastSection(true);
    return view;
}

// A page of the list tabs: the list, and under it what the replay cannot tell.
QWidget* Page(QWidget* list, QLabel* limits) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(list, 1);
    layout->addWidget(limits);
    return page;
}

QStandardItem* Cell(const std::string& text) {
    auto* item = new QStandardItem(ToQString(text));
    item->setEditable(false);
    return item;
}

} // namespace

TSummaryView::TSummaryView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SummaryView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    NeedsActions = new QLabel(this);
    NeedsActions->setObjectName(QStringLiteral("SummaryNeedsActions"));
    NeedsActions->setWordWrap(true);
    NeedsActions->setAlignment(Qt::AlignCenter);
    NeedsActions->hide();
    ApmChart = new TApmChart(this);
    ApmChart->installEventFilter(this); // a double-click opens it in its own window
    DetachButton = Named<QToolButton>("DetachChart", ApmChart);
    DetachButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarMaxButton));
    DetachButton->setAutoRaise(true);
    DetachButton->setFixedSize(20, 20);
    connect(DetachButton, &QToolButton::clicked, this, &TSummaryView::DetachChart);
    for (QLabel*& l : Limits)
        l = LimitsLabel(this);

    BuildModel = new QStandardItemModel(this);
    HeroModel = new QStandardItemModel(this);
    ChatModel = new QStandardItemModel(this);
    LeaveModel = new QStandardItemModel(this);
    BuildList = ListView("BuildList", BuildModel, this);
    BuildList->setRootIsDecorated(false);
    BuildsOf = Named<QLabel>("BuildsOf", this);
    BuildPlayer = NamedField<QComboBox>("BuildPlayer", this);
    BuildPlayer->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    BuildsOf->setBuddy(BuildPlayer);
    connect(BuildPlayer, &QComboBox::activated, this, [this](int index) {
        BuildPlayerId = static_cast<uint8_t>(BuildPlayer->itemData(index).toUInt());
        FillBuilds();
    });
    HeroList = ListView("HeroList", HeroModel, this);
    ChatList = ListView("ChatList", ChatModel, this);
    ChatList->setRootIsDecorated(false);
    ChatList->setWordWrap(true);
    LeaveList = ListView("LeaveList", LeaveModel, this);
    LeaveList->setRootIsDecorated(false);

    Lists = new QTabWidget(this);
    Lists->setObjectName(QStringLiteral("SummaryTabs"));
    Lists->setDocumentMode(true);
    auto* buildPage = Page(BuildList, Limits[1]);
    auto* pickRow = new QHBoxLayout;
    pickRow->addWidget(BuildsOf);
    pickRow->addWidget(BuildPlayer);
    pickRow->addStretch();
    static_cast<QVBoxLayout*>(buildPage->layout())->insertLayout(0, pickRow);
    Lists->addTab(buildPage, QString());
    Lists->addTab(Page(HeroList, Limits[2]), QString());
    Lists->addTab(Page(ChatList, Limits[3]), QString());
    // The whole replay as one page to keep or send: beside the lists' tabs.
    SaveReportButton = Named<QToolButton>("SaveReport", Lists);
    SaveReportButton->setToolButtonStyle(Qt::ToolButtonIconOnly); // the tabs keep their room; the tooltip names it
    SaveReportButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SaveReportButton->setAutoRaise(true);
    Lists->setCornerWidget(SaveReportButton, Qt::TopRightCorner);
    connect(SaveReportButton, &QToolButton::clicked, this, &TSummaryView::SaveReportClicked);
    Lists->addTab(Page(LeaveList, Limits[4]), QString());

    layout->addWidget(NeedsActions);
    layout->addWidget(ApmChart, 2);
    layout->addWidget(Lists, 3);
    Limits[0]->hide(); // the chart's own tooltip says it: the room is the chart's
    for (QTreeView* list : {BuildList, HeroList, ChatList, LeaveList})
        AddCopyAction(list);
}

bool TSummaryView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ApmChart && event->type() == QEvent::MouseButtonDblClick) {
        DetachChart();
        return true;
    }
    if (watched == ApmChart && event->type() == QEvent::Resize)
        DetachButton->move(ApmChart->width() - DetachButton->width() - 2, 2);
    return QWidget::eventFilter(watched, event);
}

QWidget* TSummaryView::DetachChart() {
    if (!ChartWindow) {
        ChartWindow = new QDialog(window(), Qt::Window | Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint);
        ChartWindow->setObjectName(QStringLiteral("ChartWindow"));
        ChartWindowChart = new TApmChart(ChartWindow);
        auto* layout = new QVBoxLayout(ChartWindow);
        layout->setContentsMargins(6, 6, 6, 6);
        layout->addWidget(ChartWindowChart);
        ChartWindow->resize(760, 420);
    }
    ChartWindowChart->SetCurves(Summary, Shown, Lang);
    ChartWindow->setWindowTitle(Tr(SummaryString::ApmSection, Lang) + QStringLiteral(" - Quillon"));
    if (!ChartWindow->isVisible())
        ChartWindow->move(window()->geometry().center() - ChartWindow->rect().center());
    ChartWindow->show();
    ChartWindow->raise();
    ChartWindow->activateWindow();
    return ChartWindow;
}

void TSummaryView::ApplyLanguage(TLanguage language) {
    Lang = language;
    Lists->setTabText(0, Tr(SummaryString::BuildSection, Lang));
    Lists->setTabText(1, Tr(SummaryString::HeroSection, Lang));
    Lists->setTabText(2, Tr(SummaryString::ChatSection, Lang));
    Lists->setTabText(3, Tr(SummaryString::LeaveSection, Lang));
    const SummaryString limits[] = {SummaryString::ApmLimits, SummaryString::BuildLimits, SummaryString::HeroLimits,
                                    SummaryString::ChatLimits, SummaryString::LeaveLimits};
    for (int i = 0; i < 5; ++i)
        Limits[i]->setText(Tr(limits[i], Lang));
    ApmChart->setToolTip(Tr(SummaryString::ApmLimits, Lang));
    DetachButton->setToolTip(Tr(SummaryString::DetachChart, Lang));
    DetachButton->setAccessibleName(Tr(SummaryString::DetachChart, Lang));
    BuildsOf->setText(Tr(SummaryString::BuildsOf, Lang));
    SaveReportButton->setText(Tr(AppString::SaveReport, Lang));
    SaveReportButton->setAccessibleName(Tr(AppString::SaveReport, Lang));
    SaveReportButton->setToolTip(WithKey(Tr(AppString::SaveReport, Lang), QKeySequence::Save));
    ApplyCopyLanguage(this, Lang);
    NeedsActions->setText(Tr(SummaryString::NeedsActions, Lang));
    SetHeaders();
}

void TSummaryView::SetHeaders() {
    BuildModel->setHorizontalHeaderLabels({Tr(SummaryString::ColumnTime, Lang), Tr(SummaryString::ColumnPlayer, Lang),
                                           Tr(SummaryString::ColumnKind, Lang), Tr(SummaryString::ColumnOrder, Lang)});
    HeroModel->setHorizontalHeaderLabels({Tr(SummaryString::ColumnTime, Lang), Tr(SummaryString::ColumnHeroSkill, Lang),
                                          Tr(SummaryString::ColumnLevel, Lang), Tr(SummaryString::ColumnPlayer, Lang)});
    ChatModel->setHorizontalHeaderLabels({Tr(SummaryString::ColumnTime, Lang), Tr(SummaryString::ColumnPlayer, Lang),
                                          Tr(SummaryString::ColumnChannel, Lang),
                                          Tr(SummaryString::ColumnMessage, Lang)});
    LeaveModel->setHorizontalHeaderLabels({Tr(SummaryString::ColumnTime, Lang), Tr(SummaryString::ColumnPlayer, Lang),
                                           Tr(SummaryString::ColumnResult, Lang)});
}

void TSummaryView::Show(const TReplaySummary& summary, const TPlayerSet& shown, bool hasActions, TLanguage language) {
    if (language != Lang)
        ApplyLanguage(language);
    NeedsActions->setVisible(!hasActions);
    ApmChart->setVisible(hasActions);
    Lists->setVisible(hasActions);
    ApmChart->SetCurves(summary, shown, Lang);
    if (&summary != &Summary)
        Summary = summary;
    Shown = shown;
    if (ChartWindow && ChartWindow->isVisible())
        ChartWindowChart->SetCurves(Summary, Shown, Lang);
    FillBuildPlayers();
    FillBuilds();
    FillHeroes(summary, shown);
    FillChat(summary, shown);
    FillLeaves(summary, shown);
}

void TSummaryView::FillBuildPlayers() {
    const QSignalBlocker quiet(BuildPlayer);
    BuildPlayer->clear();
    BuildPlayer->addItem(Tr(SummaryString::AllPlayers, Lang), 0u);
    for (const auto& p : Summary.Players)
        if (Shown.test(p.Id) && !p.Observer)
            BuildPlayer->addItem(SlotColorIcon(p.Color), ToQString(p.Name), static_cast<unsigned>(p.Id));
    const int picked = BuildPlayer->findData(static_cast<unsigned>(BuildPlayerId));
    BuildPlayerId = picked > 0 ? BuildPlayerId : 0; // a player no longer shown: all of them
    BuildPlayer->setCurrentIndex(std::max(picked, 0));
}

void TSummaryView::PickBuildPlayer(uint8_t id) {
    const int index = BuildPlayer->findData(static_cast<unsigned>(id));
    BuildPlayer->setCurrentIndex(std::max(index, 0));
    BuildPlayerId = index > 0 ? id : 0;
    FillBuilds();
}

void TSummaryView::FillBuilds() {
    BuildModel->removeRows(0, BuildModel->rowCount());
    struct TEntry {
        const TPlayerSummary* Player;
        const TBuildStep* Step;
    };
    std::vector<TEntry> entries;
    for (const auto& p : Summary.Players)
        if (Shown.test(p.Id) && (BuildPlayerId == 0 || p.Id == BuildPlayerId))
            for (const TBuildStep& b : p.Builds)
                entries.push_back({&p, &b});
    // Everyone's orders as they were given; one player's in their own order.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const TEntry& a, const TEntry& b) { return a.Step->Time < b.Step->Time; });
    for (const TEntry& e : entries) {
        const TBuildStep& b = *e.Step;
        auto* player = Cell(e.Player->Name);
        player->setIcon(SlotColorIcon(e.Player->Color));
        auto* order = Cell(b.Name);
        order->setToolTip(ToQString(BuildKindText(b.Kind, Lang) + ": " + b.Name + " (" + b.Id + ")"));
        QFont font = order->font();
        font.setStrikeOut(b.Cancelled);
        font.setBold(b.Kind == TBuildKind::Hero);
        order->setFont(font);
        if (b.Cancelled)
            order->setToolTip(order->toolTip() + QStringLiteral(", ") + Tr(SummaryString::Cancelled, Lang));
        BuildModel->appendRow({Cell(GameTimeText(b.Time, Lang)), player, Cell(BuildKindText(b.Kind, Lang)), order});
    }
    FinishList(BuildModel, BuildList, 3, SummaryString::NoBuilds);
}

bool TSummaryView::FindInChat(const QString& text) {
    Lists->setCurrentIndex(2);
    const int rows = ChatModel->rowCount();
    const QModelIndex current = ChatList->currentIndex();
    const int start = current.isValid() ? current.row() + 1 : 0;
    for (int step = 0; step < rows; ++step) {
        const int row = (start + step) % rows;
        for (int c = 0; c < ChatModel->columnCount(); ++c) {
            const QStandardItem* item = ChatModel->item(row, c);
            if (item && item->text().contains(text, Qt::CaseInsensitive)) {
                const QModelIndex found = ChatModel->index(row, 0);
                ChatList->setCurrentIndex(found);
                ChatList->selectionModel()->select(found,
                                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
                ChatList->scrollTo(found);
                return true;
            }
        }
    }
    return false;
}

void TSummaryView::FillHeroes(const TReplaySummary& summary, const TPlayerSet& shown) {
    HeroModel->removeRows(0, HeroModel->rowCount());
    const auto time = [this](int64_t ms) { return Cell(GameTimeText(ms, Lang)); };
    for (const auto& p : summary.Players) {
        if (!shown.test(p.Id))
            continue;
        for (const auto& h : p.Heroes) {
            std::string title = h.Name;
            for (const auto& [on, note] : {std::pair{h.FromTavern, SummaryString::FromTavern},
                                           std::pair{!h.TrainingSeen, SummaryString::GivenByMap},
                                           std::pair{h.Cancelled, SummaryString::Cancelled}})
                if (on)
                    title += " (" + GetString(note, Lang) + ")";
            auto* hero = Cell(title);
            QFont bold = hero->font();
            bold.setBold(true);
            hero->setFont(bold);
            auto* player = Cell(p.Name);
            player->setIcon(SlotColorIcon(p.Color));
            QList<QStandardItem*> row = {time(h.Time), hero, Cell(std::to_string(h.Level())), player};
            for (const auto& k : h.Skills)
                row.front()->appendRow({time(k.Time), Cell(k.Name + " " + std::to_string(k.SkillLevel)),
                                        Cell(std::to_string(k.HeroLevel)), Cell(std::string())});
            HeroModel->appendRow(row);
        }
    }
    HeroList->expandAll();
    FinishList(HeroModel, HeroList, 1, SummaryString::NoHeroes);
}

void TSummaryView::FinishList(QStandardItemModel* model, QTreeView* view, int textColumn, SummaryString none) {
    if (model->rowCount() == 0) {
        QList<QStandardItem*> row;
        for (int c = 0; c < textColumn; ++c)
            row << Cell(std::string());
        model->appendRow(row << Cell(GetString(none, Lang)));
    }
    for (int c = 0; c + 1 < model->columnCount(); ++c)
        view->resizeColumnToContents(c);
}

void TSummaryView::FillChat(const TReplaySummary& summary, const TPlayerSet& shown) {
    ChatModel->removeRows(0, ChatModel->rowCount());
    for (const auto& c : summary.Chat) {
        if (!shown.test(c.PlayerId))
            continue;
        std::string channel = ChannelText(c.Channel, Lang);
        if (c.Channel == TChatChannel::Private && c.ToPlayerId != 0)
            channel += " " + FormatText(GetString(SummaryString::PrivateTo, Lang), {c.To});
        ChatModel->appendRow({Cell(GameTimeText(c.Time, Lang)), Cell(c.Sender), Cell(channel), Cell(c.Text)});
    }
    FinishList(ChatModel, ChatList, 3, SummaryString::NoChat);
}

void TSummaryView::FillLeaves(const TReplaySummary& summary, const TPlayerSet& shown) {
    LeaveModel->removeRows(0, LeaveModel->rowCount());
    for (const auto& l : summary.Leaves) {
        if (!shown.test(l.PlayerId))
            continue;
        LeaveModel->appendRow({Cell(GameTimeText(l.Time, Lang)), Cell(l.Name), Cell(LeaveResultText(l.Result, Lang))});
    }
    FinishList(LeaveModel, LeaveList, 1, SummaryString::NoLeaves);
}

} // namespace quillon::gui
