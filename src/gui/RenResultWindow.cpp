#include "gui/RenResultWindow.h"

#include "gui/CopyRows.h"

#include "core/lang/StringIds.h"
#include "gui/LanguageApplier.h"
#include "gui/QtText.h"
#include "gui/Tr.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillon::gui {

TRenResult::TRenResult(QWidget* parent) : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("RenResult"));
    setFont(FormFont(QStringLiteral("Arial")));
    resize(504, 380);

    ResultList = new QTreeWidget(this);
    AddCopyAction(ResultList);
    ResultList->setObjectName(QStringLiteral("ResultList"));
    ResultList->setAccessibleName(QStringLiteral("ResultList"));
    ResultList->setColumnCount(2);
    ResultList->setRootIsDecorated(false);
    ResultList->setUniformRowHeights(true);
    ResultList->setTextElideMode(Qt::ElideMiddle); // a path keeps its file name in view
    ResultList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ResultList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ResultList->header()->setSectionsClickable(false);
    ResultList->header()->setSectionResizeMode(QHeaderView::Stretch);

    Progress = new QLabel(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    Bar = new QProgressBar(this);
    Bar->setObjectName(QStringLiteral("ProgressBar"));
    Bar->setTextVisible(false);
    Bar->setMaximumHeight(14);
    BtnStop = new QPushButton(this);
    BtnStop->setObjectName(QStringLiteral("BtnStop"));
    BtnClose = new QPushButton(this);
    BtnClose->setObjectName(QStringLiteral("BtnClose"));
    BtnClose->setMinimumWidth(75);
    connect(BtnStop, &QPushButton::clicked, this, [this] {
        BtnStop->setEnabled(false);
        emit StopClicked();
    });
    connect(BtnClose, &QPushButton::clicked, this, &QWidget::hide);

    auto* panel = new QHBoxLayout;
    panel->addWidget(Progress);
    panel->addWidget(Bar, 1);
    panel->addWidget(BtnStop);
    panel->addWidget(BtnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->addWidget(ResultList, 1);
    layout->addLayout(panel);
    BtnStop->setEnabled(false);
    ApplyLanguage(TLanguage::English);
}

void TRenResult::ApplyLanguage(TLanguage language) {
    Language = language;
    gui::ApplyLanguage(this, TForm::RenResult, QStringLiteral("TRenResult"), language);
    ApplyCopyLanguage(this, language);
    ResultList->setHeaderLabels({ColumnCaption(TForm::RenResult, "ResultList", 0, language),
                                 ColumnCaption(TForm::RenResult, "ResultList", 1, language)});
    BtnStop->setText(Tr(AppString::Stop, language));
    BtnClose->setText(Tr(IsRunning ? MainString::Renaming : MainString::Close, language));
    UpdateProgress();
}

void TRenResult::BatchStarted() {
    ResultList->clear();
    IsRunning = true;
    Stopped = false;
    Total = -1;
    Done = 0;
    BtnClose->setEnabled(false);
    BtnClose->setText(Tr(MainString::Renaming, Language));
    BtnStop->setEnabled(true);
    BtnStop->setVisible(true);
    UpdateProgress();
}

void TRenResult::SetTotal(int total) {
    Total = total;
    UpdateProgress();
}

void TRenResult::AddRow(const TBatchRow& row) {
    const bool renamed = row.Outcome == TBatchRow::TOutcome::Renamed; // the result is the new path, else words
    auto* item =
        new QTreeWidgetItem(ResultList, {ShownPath(row.Path), renamed ? ShownPath(row.Result) : FromPath(row.Result)});
    item->setToolTip(0, item->text(0));
    item->setToolTip(1, item->text(1));
    ++Done;
    ResultList->scrollToItem(item);
    UpdateProgress();
}

void TRenResult::BatchEnded(bool stopped) {
    IsRunning = false;
    Stopped = stopped;
    BtnStop->setEnabled(false);
    BtnClose->setText(Tr(MainString::Close, Language));
    BtnClose->setEnabled(true);
    BtnClose->setFocus();
    UpdateProgress();
}

int TRenResult::RowCount() const {
    return ResultList->topLevelItemCount();
}

void TRenResult::UpdateProgress() {
    const QString done = QString::number(Done), total = QString::number(std::max(Total, 0));
    const AppString text = Stopped ? AppString::BatchStopped : AppString::BatchProgress;
    Progress->setText(Total < 0 && IsRunning ? QString() : Tr(text, Language, {ToUtf8(done), ToUtf8(total)}));
    Bar->setRange(0, std::max(Total, 0));
    Bar->setValue(Done);
    if (Total < 0 && IsRunning)
        Bar->setRange(0, 0); // still listing the folders: a busy bar
}

void TRenResult::closeEvent(QCloseEvent* event) {
    // The batch must end (or be stopped) before the window goes: a second batch must not start under it.
    if (IsRunning)
        event->ignore();
    else
        QWidget::closeEvent(event);
}

void TRenResult::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        emit Hidden();
}

} // namespace quillon::gui
