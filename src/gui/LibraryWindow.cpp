#include "gui/LibraryWindow.h"

#include "gui/CopyRows.h"

#include "core/lang/StringIds.h"
#include "core/text/CommaList.h"
#include "core/text/DecodeText.h"
#include "gui/LanguageApplier.h"
#include "gui/LibraryScanner.h"
#include "gui/LibraryTableModel.h"
#include "gui/MessageBoxes.h"
#include "gui/PlayerProfileWindow.h"
#include "gui/QtText.h"
#include "gui/Tr.h"
#include "gui/Widgets.h"
#include "gui/WindowGeometry.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

// Race choices in the order of the race numbers; 0 is any race.
void FillRaces(QComboBox* box, TLanguage language) {
    const int current = std::max(0, box->currentIndex());
    box->clear();
    box->addItem(Tr(LibraryString::Any, language), 0);
    static constexpr std::pair<MainString, int> Races[] = {{MainString::Human, 1},
                                                           {MainString::Orc, 2},
                                                           {MainString::NightElf, 3},
                                                           {MainString::Undead, 4},
                                                           {MainString::Random, 6}};
    for (const auto& [name, race] : Races)
        box->addItem(Tr(name, language), race);
    box->setCurrentIndex(current);
}

} // namespace

TLibraryWindow::TLibraryWindow(std::string libraryPath, IMessageBoxes& boxes, QWidget* parent)
    : QWidget(parent, Qt::Window), Path(std::move(libraryPath)), Boxes(boxes) {
    setObjectName(QStringLiteral("TLibraryWindow"));
    BuildLayout();
    ApplyLanguage(TLanguage::English);
    resize(900, 560);
}

TLibraryWindow::~TLibraryWindow() = default;

void TLibraryWindow::BuildLayout() {
    for (const auto& [edit, name] : {std::pair{&PlayerEdit, "LibPlayer"},
                                     {&MapEdit, "LibMap"},
                                     {&VersionEdit, "LibVersion"},
                                     {&WinnerEdit, "LibWinner"},
                                     {&WordsEdit, "LibWords"},
                                     {&AfterEdit, "LibAfter"},
                                     {&BeforeEdit, "LibBefore"},
                                     {&HeroEdit, "LibHero"},
                                     {&OpeningEdit, "LibOpening"},
                                     {&VsEdit, "LibVs"},
                                     {&VsHeroEdit, "LibVsHero"},
                                     {&VsOpeningEdit, "LibVsOpening"}})
        *edit = NamedField<QLineEdit>(name, this);
    ResultBox = NamedField<QComboBox>("LibResult", this);
    for (QLineEdit* opening : {OpeningEdit, VsOpeningEdit})
        opening->setPlaceholderText(QStringLiteral("otrb, Altar, ..."));
    RaceBox = NamedField<QComboBox>("LibRace", this);
    VsRaceBox = NamedField<QComboBox>("LibVsRace", this);
    for (QLineEdit* date : {AfterEdit, BeforeEdit})
        date->setPlaceholderText(QStringLiteral("YYYY-MM-DD"));
    MinLengthBox = NamedField<QSpinBox>("LibMinLength", this);
    MinLengthBox->setRange(0, 600);
    SearchButton = Named<QPushButton>("LibSearch", this);
    SearchButton->setDefault(true);
    AddButton = Named<QPushButton>("LibAddFolder", this);
    StopButton = Named<QPushButton>("LibStop", this);
    StopButton->setEnabled(false);
    ProfileButton = Named<QPushButton>("LibProfile", this);
    Progress = Named<QProgressBar>("LibProgress", this);
    Progress->setVisible(false);
    Status = Named<QLabel>("LibStatus", this);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    // Three columns: who and what, where and when, and what happened in the game.
    const std::pair<QWidget*, int> places[] = {
        {PlayerEdit, 0}, {RaceBox, 1},   {VsRaceBox, 2},   {WinnerEdit, 3},    {MapEdit, 4},   {VersionEdit, 5},
        {WordsEdit, 6},  {AfterEdit, 7}, {BeforeEdit, 8},  {MinLengthBox, 9},  {HeroEdit, 10}, {OpeningEdit, 11},
        {ResultBox, 12}, {VsEdit, 13},   {VsHeroEdit, 14}, {VsOpeningEdit, 15}};
    for (const auto& [field, at] : places) {
        // Named after its field ("LibPlayerLabel"): the translation table finds its caption by that name.
        auto* caption = new QLabel(this);
        caption->setObjectName(field->objectName() + QStringLiteral("Label"));
        caption->setBuddy(field);
        const int row = at < 10 ? at % 5 : at - 10, column = at < 10 ? at / 5 * 2 : 4;
        fields->addWidget(caption, row, column);
        fields->addWidget(field, row, column + 1);
    }
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    fields->setColumnStretch(5, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SearchButton);
    buttons->addSpacing(16);
    buttons->addWidget(AddButton);
    buttons->addWidget(Progress, 1);
    buttons->addWidget(StopButton);
    buttons->addStretch();
    buttons->addWidget(ProfileButton);

    Table = new TLibraryTableModel(this);
    Table->OnError = [this](const std::string& text) { ShowError(text); };
    View = NamedField<QTableView>("LibraryTable", this);
    View->setContextMenuPolicy(Qt::CustomContextMenu); // Copy, and the profile of each player of the row
    AddCopyAction(View);
    View->setModel(Table);
    View->setSortingEnabled(true);
    View->sortByColumn(TLibraryTableModel::Date, Qt::DescendingOrder);
    View->setSelectionBehavior(QAbstractItemView::SelectRows);
    View->setEditTriggers(QAbstractItemView::NoEditTriggers);
    View->setWordWrap(false);
    View->verticalHeader()->hide();
    View->verticalHeader()->setDefaultSectionSize(View->fontMetrics().height() + 6);
    View->horizontalHeader()->setSectionResizeMode(TLibraryTableModel::Players, QHeaderView::Stretch);
    View->horizontalHeader()->setSortIndicatorShown(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    layout->addWidget(View, 1);
    layout->addWidget(Status);

    Scan = new TLibraryScanner(this);
    connect(SearchButton, &QPushButton::clicked, this, [this] { Search(); });
    for (QLineEdit* edit : {PlayerEdit, MapEdit, VersionEdit, WinnerEdit, WordsEdit, AfterEdit, BeforeEdit, HeroEdit,
                            OpeningEdit, VsEdit, VsHeroEdit, VsOpeningEdit})
        connect(edit, &QLineEdit::returnPressed, this, [this] { Search(); });
    connect(AddButton, &QPushButton::clicked, this, [this] {
        const QString folder = Boxes.ChooseFolder(this, QDir::homePath());
        if (!folder.isEmpty())
            AddFolders({folder});
    });
    connect(StopButton, &QPushButton::clicked, Scan, &TLibraryScanner::Stop);
    connect(ProfileButton, &QPushButton::clicked, this, [this] { ShowProfile({}); });
    connect(View, &QWidget::customContextMenuRequested, this, &TLibraryWindow::ShowTableMenu);
    connect(Scan, &TLibraryScanner::Progress, this, [this](qulonglong done, qulonglong total) {
        Progress->setRange(0, static_cast<int>(std::min<qulonglong>(total, INT_MAX)));
        Progress->setValue(static_cast<int>(std::min(done, total)));
        Status->setText(Tr(LibraryString::ScanProgress, Lang, {std::to_string(done), std::to_string(total)}));
    });
    connect(Scan, &TLibraryScanner::Finished, this, &TLibraryWindow::ScanFinished);
    connect(View, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit OpenRequested(FromPath(Table->Entry(index.row()).Path));
    });
}

void TLibraryWindow::ApplyLanguage(TLanguage language) {
    Lang = language;
    // The title, the field captions and the buttons come from the table by object name, as the design's forms do.
    quillon::gui::ApplyLanguage(this, TForm::Library, objectName(), Lang);
    ApplyCopyLanguage(this, Lang);
    FillRaces(RaceBox, Lang);
    FillRaces(VsRaceBox, Lang);
    const int result = std::max(0, ResultBox->currentIndex());
    ResultBox->clear();
    ResultBox->addItem(Tr(LibraryString::Any, Lang), 0);
    ResultBox->addItem(Tr(LibraryString::ResultWon, Lang), 1);
    ResultBox->addItem(Tr(LibraryString::ResultLost, Lang), 2);
    ResultBox->setCurrentIndex(result);
    if (ProfileWindow)
        ProfileWindow->ApplyLanguage(Lang);
    View->setAccessibleDescription(Tr(LibraryString::TableName, Lang));
    Table->SetLanguage(Lang);
    if (Library && !Scan->Running())
        ShowCount();
}

bool TLibraryWindow::OpenLibrary() {
    if (Library)
        return Search();
    try {
        Library = std::make_unique<TLibrary>(Path, TLibrary::TAccess::Read); // a library it cannot write is still shown
    } catch (const TLibraryError& e) {
        const QString problem = Tr(LibraryString::Unusable, Lang, {Path, std::string(e.what())});
        // A file that is no library, or that a whole-file check finds damaged, is offered a reset; never unasked.
        const bool damaged = e.Kind == TLibraryError::TKind::NotALibrary ||
                             (e.Kind == TLibraryError::TKind::Corrupt && TLibrary::FoundDamaged(Path));
        if (!damaged || !Boxes.Ask(this, problem + QLatin1Char('\n') + Tr(LibraryString::OfferReset, Lang))) {
            if (!damaged)
                Boxes.Error(this, problem);
            Status->setText(problem);
            return false;
        }
        try {
            TLibrary::Reset(Path);
            Library = std::make_unique<TLibrary>(Path);
        } catch (const TLibraryError& again) {
            Boxes.Error(this, ToQString(again.what()));
            return false;
        }
    }
    return Search();
}

bool TLibraryWindow::Search() {
    if (!Library && !OpenLibrary())
        return false;
    TLibraryQuery q;
    q.Player = ToUtf8(PlayerEdit->text().trimmed());
    q.Race = RaceBox->currentData().toInt();
    q.VsRace = VsRaceBox->currentData().toInt();
    q.Map = ToUtf8(MapEdit->text().trimmed());
    q.Version = ToUtf8(VersionEdit->text().trimmed());
    q.Winner = ToUtf8(WinnerEdit->text().trimmed());
    q.Text = ToUtf8(WordsEdit->text().trimmed());
    q.MinLength = int64_t{MinLengthBox->value()} * 60000;
    q.Result = ResultBox->currentData().toInt();
    q.Vs = ToUtf8(VsEdit->text().trimmed());
    q.Own.Hero = ToUtf8(HeroEdit->text().trimmed());
    q.VsPlay.Hero = ToUtf8(VsHeroEdit->text().trimmed());
    q.Own.Opening = CommaList(ToUtf8(OpeningEdit->text()));
    q.VsPlay.Opening = CommaList(ToUtf8(VsOpeningEdit->text()));
    for (const TPlayFilter* play : {&q.Own, &q.VsPlay})
        if (const auto unknown = UnknownObject(*play)) {
            Status->setText(Tr(LibraryString::UnknownObject, Lang, {*unknown}));
            return false;
        }
    for (const auto& [edit, date] : {std::pair{AfterEdit, &q.After}, std::pair{BeforeEdit, &q.Before}}) {
        const std::string text = ToUtf8(edit->text().trimmed());
        if (text.empty())
            continue;
        *date = ParseDate(text);
        if (!*date) {
            Status->setText(Tr(LibraryString::BadDate, Lang, {text}));
            edit->setFocus();
            edit->selectAll();
            return false;
        }
    }
    q.Sort =
        TLibraryTableModel::SortOfColumn(View->horizontalHeader()->sortIndicatorSection()).value_or(TLibrarySort::Date);
    q.Descending = View->horizontalHeader()->sortIndicatorOrder() == Qt::DescendingOrder;
    Table->SetQuery(Library.get(), q);
    ShowCount();
    // Each column as wide as its contents (long maps and winners within reason); the players take the rest.
    for (const auto& [column, most] : {std::pair{int(TLibraryTableModel::Date), 400},
                                       {TLibraryTableModel::Map, 200},
                                       {TLibraryTableModel::Winner, 140},
                                       {TLibraryTableModel::Length, 120},
                                       {TLibraryTableModel::Apm, 120},
                                       {TLibraryTableModel::Version, 120}}) {
        View->resizeColumnToContents(column);
        View->setColumnWidth(column, std::min(View->columnWidth(column), most));
    }
    return true;
}

void TLibraryWindow::AddFolders(const QStringList& folders) {
    if (Scan->Running() || (!Library && !OpenLibrary()))
        return;
    AddButton->setEnabled(false);
    StopButton->setEnabled(true);
    Progress->setRange(0, 0); // busy until the first batch says how many
    Progress->setVisible(true);
    Scan->Start(Path, folders);
}

void TLibraryWindow::ScanFinished(const TScanResult& result, const QString& error) {
    AddButton->setEnabled(true);
    StopButton->setEnabled(false);
    Progress->setVisible(false);
    if (!error.isEmpty()) {
        Boxes.Error(this, error);
        Status->setText(error);
        return;
    }
    Search();
    QString text = Tr(LibraryString::ScanDone, Lang,
                      {std::to_string(result.Indexed), std::to_string(result.Unreadable),
                       std::to_string(result.Unchanged), std::to_string(result.Removed)});
    if (result.Stopped)
        text += QLatin1Char(' ') + Tr(LibraryString::ScanStopped, Lang);
    for (const auto& problem : result.Problems)
        text += QStringLiteral("; ") + ToQString(problem);
    Status->setText(text);
}

void TLibraryWindow::ShowProfile(std::vector<std::string> names) {
    if (names.empty())
        names = CommaList(ToUtf8(PlayerEdit->text()));
    if (!ProfileWindow) {
        ProfileWindow = new TPlayerProfileWindow(Path, Boxes, this);
        QRect frame = ProfileWindow->rect();
        frame.moveCenter(frameGeometry().center());
        ProfileWindow->setGeometry(KeepOnScreen(frame, {screen()->availableGeometry()}));
    }
    ProfileWindow->ApplyLanguage(Lang);
    ProfileWindow->ShowPlayer(names);
    ProfileWindow->show();
    ProfileWindow->raise();
    ProfileWindow->activateWindow();
}

// The copy action, and one entry per player of the row: that player's profile.
void TLibraryWindow::ShowTableMenu(const QPoint& at) {
    QMenu menu(this);
    menu.addActions(View->actions());
    const QModelIndex index = View->indexAt(at);
    if (index.isValid()) {
        menu.addSeparator();
        for (const TLibraryPlayer& p : Table->Entry(index.row()).Players) {
            if (p.Observer || p.Computer)
                continue;
            const std::string name = p.Name;
            menu.addAction(Tr(LibraryString::MenuProfile, Lang, {DecodeUtf8Text(name)}), this,
                           [this, name] { ShowProfile({name}); });
        }
    }
    menu.exec(View->viewport()->mapToGlobal(at));
}

void TLibraryWindow::ShowCount() {
    Status->setText(Tr(LibraryString::Found, Lang, {std::to_string(Table->Total())}));
}

void TLibraryWindow::ShowError(const std::string& text) {
    Status->setText(ToQString(text));
}

} // namespace quillon::gui
