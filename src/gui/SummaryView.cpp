#include "gui/SummaryView.h"

#include "core/lang/StringIds.h"
#include "core/present/GameText.h"
#include "core/summary/SummaryWords.h"
#include "gui/ApmChart.h"
#include "gui/QtText.h"
#include "gui/SlotColors.h"
#include "gui/Tr.h"
#include "gui/Widgets.h"

#include <QHeaderView>
#include <QLabel>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
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
    for (QLabel*& l : Limits)
        l = LimitsLabel(this);

    BuildModel = new QStandardItemModel(this);
    HeroModel = new QStandardItemModel(this);
    ChatModel = new QStandardItemModel(this);
    LeaveModel = new QStandardItemModel(this);
    BuildList = new QTableView(this);
    BuildList->setObjectName(QStringLiteral("BuildList"));
    BuildList->setAccessibleName(QStringLiteral("BuildList"));
    BuildList->setModel(BuildModel);
    BuildList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    BuildList->setShowGrid(false);
    BuildList->verticalHeader()->hide();
    BuildList->verticalHeader()->setDefaultSectionSize(BuildList->fontMetrics().height() + 4);
    BuildList->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    HeroList = ListView("HeroList", HeroModel, this);
    ChatList = ListView("ChatList", ChatModel, this);
    ChatList->setRootIsDecorated(false);
    ChatList->setWordWrap(true);
    LeaveList = ListView("LeaveList", LeaveModel, this);
    LeaveList->setRootIsDecorated(false);

    Lists = new QTabWidget(this);
    Lists->setObjectName(QStringLiteral("SummaryTabs"));
    Lists->setDocumentMode(true);
    Lists->addTab(Page(BuildList, Limits[1]), QString());
    Lists->addTab(Page(HeroList, Limits[2]), QString());
    Lists->addTab(Page(ChatList, Limits[3]), QString());
    Lists->addTab(Page(LeaveList, Limits[4]), QString());

    layout->addWidget(NeedsActions);
    layout->addWidget(ApmChart, 2);
    layout->addWidget(Lists, 3);
    Limits[0]->hide(); // the chart's own tooltip says it: the room is the chart's
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
    NeedsActions->setText(Tr(SummaryString::NeedsActions, Lang));
    SetHeaders();
}

void TSummaryView::SetHeaders() {
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
    FillBuilds(summary, shown);
    FillHeroes(summary, shown);
    FillChat(summary, shown);
    FillLeaves(summary, shown);
}

void TSummaryView::FillBuilds(const TReplaySummary& summary, const TPlayerSet& shown) {
    BuildModel->clear();
    int column = 0;
    for (const auto& p : summary.Players) {
        if (!shown.test(p.Id))
            continue;
        auto* header = new QStandardItem(SlotColorIcon(p.Color), ToQString(p.Name));
        BuildModel->setHorizontalHeaderItem(column, header);
        if (p.Builds.empty())
            BuildModel->setItem(0, column, Cell(GetString(SummaryString::NoBuilds, Lang)));
        for (size_t row = 0; row < p.Builds.size(); ++row) {
            const TBuildStep& b = p.Builds[row];
            auto* cell = Cell(GameTimeText(b.Time, Lang) + "  " + b.Name);
            cell->setToolTip(ToQString(BuildKindText(b.Kind, Lang) + ": " + b.Name + " (" + b.Id + ")"));
            if (b.Cancelled) {
                QFont font = cell->font();
                font.setStrikeOut(true);
                cell->setFont(font);
                cell->setToolTip(cell->toolTip() + QStringLiteral(", ") + Tr(SummaryString::Cancelled, Lang));
            }
            if (b.Kind == TBuildKind::Hero) {
                QFont font = cell->font();
                font.setBold(true);
                cell->setFont(font);
            }
            BuildModel->setItem(static_cast<int>(row), column, cell);
        }
        ++column;
    }
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
