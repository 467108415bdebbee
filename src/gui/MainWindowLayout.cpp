// The main window's controls and their places: the browser column on the left, three lists on the right.
#include "gui/ActionListModel.h"
#include "gui/InfoListModel.h"
#include "gui/LanguageApplier.h"
#include "gui/MainWindow.h"
#include "gui/PlayerListModel.h"
#include "gui/ReplayFileList.h"
#include "gui/SummaryView.h"

#include <QComboBox>
#include <QCompleter>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

template <typename T> T* Named(const char* name, QWidget* parent) {
    auto* w = new T(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

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
    auto* view = Named<QTreeView>(name, parent);
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setSectionsClickable(false);
    view->header()->setSectionsMovable(false);
    view->header()->setStretchLastSection(true);
    // Screen readers cannot see object names: the design's name and the heading say what the view is.
    view->setAccessibleName(QLatin1String(name));
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

QSplitter* Splitter(const char* name, Qt::Orientation orientation, QWidget* parent) {
    auto* s = Named<QSplitter>(name, parent);
    s->setOrientation(orientation);
    s->setHandleWidth(4);
    s->setChildrenCollapsible(false); // no snapping closed
    return s;
}

} // namespace

void TQuillonMain::BuildLayout() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    Splitter2 = Splitter("Splitter2", Qt::Horizontal, central);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(5, 5, 5, 0);
    outer->addWidget(Splitter2);

    // Left column: the buttons, the folder row, the file list and the language.
    auto* panel5 = Named<QWidget>("Panel5", Splitter2);
    auto* panel7 = Named<QWidget>("Panel7", panel5);
    RenameBtn = Named<QPushButton>("RenameBtn", panel7);
    BtnBatcnRen = Named<QPushButton>("BtnBatcnRen", panel7);
    RuleBtn = Named<QPushButton>("RuleBtn", panel7);
    BtnConfig = Named<QPushButton>("BtnConfig", panel7);
    BtnAbout = Named<QPushButton>("BtnAbout", panel7);
    BtnLibrary = Named<QPushButton>("BtnLibrary", panel7);
    ParentButton = Named<QToolButton>("SpeedButton1", panel7);
    ParentButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    ParentButton->setFixedSize(22, 22);
    DirTxt = Named<QLineEdit>("DirTxt", panel7);
    DirTxt->setAccessibleName(QStringLiteral("DirTxt"));
    auto* folders = new QFileSystemModel(DirTxt);
    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders->setRootPath(QString());
    auto* completer = new QCompleter(folders, DirTxt); // typing a path offers the folders that match
    DirTxt->setCompleter(completer);
    SelDir = Named<QToolButton>("SelDir", panel7);
    SelDir->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    SelDir->setFixedSize(22, 22);
    auto* buttons = new QGridLayout(panel7);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(4);
    buttons->addWidget(RenameBtn, 0, 0);
    buttons->addWidget(BtnBatcnRen, 0, 1);
    buttons->addWidget(RuleBtn, 1, 0);
    buttons->addWidget(BtnConfig, 1, 1);
    buttons->addWidget(BtnLibrary, 2, 0);
    buttons->addWidget(BtnAbout, 2, 1);
    auto* folderRow = new QHBoxLayout;
    folderRow->setSpacing(4);
    folderRow->addWidget(ParentButton);
    folderRow->addWidget(DirTxt, 1);
    folderRow->addWidget(SelDir);
    buttons->addLayout(folderRow, 3, 0, 1, 2);

    FileModel = new TReplayFileModel(Boxes, this);
    FileList = new TReplayFileList(FileModel, panel5);
    FileList->setAccessibleName(QStringLiteral("FileList"));

    auto* panel8 = Named<QWidget>("Panel8", panel5);
    LanguageLabel = Named<QLabel>("Label4", panel8);
    LanguageBox = Named<QComboBox>("Language", panel8);
    LanguageBox->addItems({QStringLiteral("English"), QStringLiteral("Chinese(Simp)")});
    LanguageLabel->setBuddy(LanguageBox);
    auto* languageRow = new QHBoxLayout(panel8);
    languageRow->setContentsMargins(0, 0, 0, 0);
    languageRow->addWidget(LanguageLabel);
    languageRow->addWidget(LanguageBox, 1);

    auto* left = new QVBoxLayout(panel5);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(4);
    left->addWidget(panel7);
    left->addWidget(FileList, 1);
    left->addWidget(panel8);

    // Right area: information and actions side by side above the players.
    Splitter1 = Splitter("Splitter1", Qt::Vertical, Splitter2);
    Splitter3 = Splitter("Splitter3", Qt::Horizontal, Splitter1);
    auto* panel3 = Named<QWidget>("Panel3", Splitter3);
    Label1 = Heading("Label1", panel3);
    InfoModel = new TInfoListModel(this);
    InfoList = ReportView("InfoList", InfoModel, panel3);
    InfoList->setWordWrap(false);
    Stack(panel3, Label1, InfoList);

    // The action list and the summary share the place as two tabs; the action area (Panel4) is the first.
    ActionTabs = Named<QTabWidget>("ActionTabs", Splitter3);
    ActionTabs->setDocumentMode(true);
    Panel4 = Named<QWidget>("Panel4", ActionTabs);
    auto* panel6 = Named<QWidget>("Panel6", Panel4);
    Label2 = Heading("Label2", panel6);
    Label2->hide(); // its text is the tab's caption
    auto* strip = new QHBoxLayout(panel6);
    strip->setContentsMargins(0, 0, 0, 0);
    strip->setSpacing(2);
    strip->addWidget(Label2);
    strip->addStretch();
    const char* pageNames[] = {"SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5"};
    for (int i = 0; i < 4; ++i) {
        PageButtons[i] = Named<QToolButton>(pageNames[i], panel6);
        PageButtons[i]->setMinimumWidth(28);
        strip->addWidget(PageButtons[i]);
    }
    PageTxt = Named<QLabel>("PageTxt", panel6);
    PageTxt->setMinimumWidth(90);
    PageTxt->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    strip->addSpacing(6);
    strip->addWidget(PageTxt);
    ActionModel = new TActionListModel(this);
    ActionList = ReportView("ActionList", ActionModel, Panel4);
    Stack(Panel4, panel6, ActionList);
    SummaryPage = new TSummaryView(ActionTabs);
    ActionTabs->addTab(Panel4, QString());
    ActionTabs->addTab(SummaryPage, QString());

    auto* panel1 = Named<QWidget>("Panel1", Splitter1);
    Label3 = Heading("Label3", panel1);
    PlayerModel = new TPlayerListModel(this);
    PlayerList = ReportView("PlayerList", PlayerModel, panel1);
    Stack(panel1, Label3, PlayerList);

    for (QWidget* w : {static_cast<QWidget*>(panel5), panel3, static_cast<QWidget*>(ActionTabs), panel1})
        w->setMinimumSize(80, 80);
    Splitter2->setStretchFactor(1, 1);
    Splitter1->setStretchFactor(0, 1);
    Splitter3->setStretchFactor(1, 1);
    Splitter2->setSizes({185, 605});
    Splitter3->setSizes({279, 326});
    Splitter1->setSizes({370, 153});

    FitColumns(); // the design's widths until a replay is shown

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(true);

    // Tab order left to right, top to bottom.
    QWidget* order[] = {RenameBtn,      BtnBatcnRen,    RuleBtn,        BtnConfig,      BtnAbout,   ParentButton,
                        DirTxt,         SelDir,         FileList,       LanguageBox,    InfoList,   ActionTabs,
                        PageButtons[0], PageButtons[1], PageButtons[2], PageButtons[3], ActionList, PlayerList};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QToolButton* b : {ParentButton, SelDir, PageButtons[0], PageButtons[1], PageButtons[2], PageButtons[3]})
        b->setFocusPolicy(Qt::StrongFocus);
}

} // namespace quillon::gui
