#include "gui/PlayerProfileWindow.h"

#include "core/lang/StringIds.h"
#include "core/library/ProfileHtml.h"
#include "core/library/ProfileWords.h"
#include "core/text/CommaList.h"
#include "core/text/DecodeText.h"
#include "gui/ApmChart.h"
#include "gui/BarChart.h"
#include "gui/CopyRows.h"
#include "gui/MessageBoxes.h"
#include "gui/QtText.h"
#include "gui/SavePage.h"
#include "gui/Tr.h"
#include "gui/Widgets.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace quillon::gui {

namespace {

const QColor WinColor(58, 143, 58), LossColor(192, 57, 43);

QString RecordTip(const QString& label, const TRecord& r, TLanguage language) {
    return label + QStringLiteral(": ") +
           Tr(LibraryString::ProfileTotals, language,
              {std::to_string(r.Games), std::to_string(r.Wins), std::to_string(r.Losses), WinRateText(r)});
}

} // namespace

TPlayerProfileWindow::TPlayerProfileWindow(std::string libraryPath, IMessageBoxes& boxes, QWidget* parent)
    : QWidget(parent, Qt::Window), LibraryPath(std::move(libraryPath)), Boxes(boxes),
      Reader(new QFutureWatcher<TRead>(this)) {
    setObjectName(QStringLiteral("TPlayerProfileWindow"));
    BuildLayout();
    connect(Reader, &QFutureWatcher<TRead>::finished, this, [this] { Show(Reader->result()); });
    ApplyLanguage(TLanguage::English);
    resize(900, 640);
}

TPlayerProfileWindow::~TPlayerProfileWindow() {
    Reader->waitForFinished();
}

void TPlayerProfileWindow::BuildLayout() {
    NamesLabel = Named<QLabel>("ProfileNamesLabel", this);
    NamesEdit = NamedField<QLineEdit>("ProfileNames", this);
    NamesLabel->setBuddy(NamesEdit);
    ShowButton = Named<QPushButton>("ProfileShow", this);
    ShowButton->setDefault(true);
    SaveButton = Named<QPushButton>("ProfileSave", this);
    SaveButton->setEnabled(false);
    Title = Named<QLabel>("ProfileTitle", this);
    QFont big = Title->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    Title->setFont(big);
    Title->setTextFormat(Qt::PlainText);
    Totals = Named<QLabel>("ProfileTotals", this);
    Totals->setTextFormat(Qt::PlainText);
    Totals->setWordWrap(true);
    Matchups = Named<TBarChart>("MatchupChart", this);
    Trend = new TApmChart(this);
    Trend->setObjectName(QStringLiteral("ApmTrendChart"));
    Heroes = Named<TBarChart>("HeroChart", this);
    Tables = NamedField<QTabWidget>("ProfileTables", this);

    auto* names = new QHBoxLayout;
    names->addWidget(NamesLabel);
    names->addWidget(NamesEdit, 1);
    names->addWidget(ShowButton);
    names->addWidget(SaveButton);
    auto* charts = new QHBoxLayout;
    charts->addWidget(Matchups, 1);
    charts->addWidget(Trend, 2);
    charts->addWidget(Heroes, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(names);
    layout->addWidget(Title);
    layout->addWidget(Totals);
    layout->addLayout(charts, 2);
    layout->addWidget(Tables, 3);

    connect(ShowButton, &QPushButton::clicked, this, [this] { ShowPlayer(Names()); });
    connect(NamesEdit, &QLineEdit::returnPressed, this, [this] { ShowPlayer(Names()); });
    connect(SaveButton, &QPushButton::clicked, this, &TPlayerProfileWindow::SaveHtml);
}

void TPlayerProfileWindow::ApplyLanguage(TLanguage language) {
    Lang = language;
    NamesLabel->setText(Tr(LibraryString::ProfileNames, Lang) + QLatin1Char(':'));
    ShowButton->setText(Tr(LibraryString::ProfileTitle, Lang));
    SaveButton->setText(Tr(LibraryString::SaveProfile, Lang));
    ApplyCopyLanguage(this, Lang);
    Fill();
}

std::vector<std::string> TPlayerProfileWindow::Names() const {
    return CommaList(ToUtf8(NamesEdit->text()));
}

bool TPlayerProfileWindow::Reading() const {
    return Reader->isRunning();
}

void TPlayerProfileWindow::ShowPlayer(const std::vector<std::string>& names) {
    QStringList shown;
    for (const std::string& n : names)
        shown << ToQString(DecodeUtf8Text(n));
    NamesEdit->setText(shown.join(QStringLiteral(", ")));
    if (names.empty())
        return;
    ShownNames = names;
    Reader->waitForFinished(); // one read at a time; the newest names win
    Totals->setText(QStringLiteral("…"));
    Reader->setFuture(QtConcurrent::run([path = LibraryPath, names] {
        TRead read;
        try {
            TLibrary library(path, TLibrary::TAccess::Read);
            read.Profile = PlayerProfile(library, names);
        } catch (const TLibraryError& e) {
            read.Error = ToQString(e.what());
        }
        return read;
    }));
}

void TPlayerProfileWindow::Show(const TRead& read) {
    Shown = read.Profile;
    Error = read.Error;
    Fill();
    emit ProfileShown();
}

// Everything shown, from the profile read last, in the language on show.
void TPlayerProfileWindow::Fill() {
    const bool any = Shown.Overall.Games > 0;
    SaveButton->setEnabled(any);
    setWindowTitle(ShownNames.empty() ? Tr(LibraryString::ProfileTitle, Lang)
                                      : ToQString(ProfileTitle(Shown, ShownNames, Lang)));
    Title->setText(ShownNames.empty() ? QString() : ToQString(ProfileTitle(Shown, ShownNames, Lang)));
    if (!Error.isEmpty()) {
        Totals->setText(Error);
    } else if (!ShownNames.empty() && !any) {
        QStringList names;
        for (const std::string& n : ShownNames)
            names << ToQString(DecodeUtf8Text(n));
        Totals->setText(Tr(LibraryString::ProfileNone, Lang, {ToUtf8(names.join(QStringLiteral(", ")))}));
    } else {
        Totals->setText(ShownNames.empty() ? QString() : ToQString(ProfileTotalsText(Shown, Lang)));
    }

    std::vector<TBarChart::TBar> matchups;
    for (const auto& [race, r] : Shown.ByOpponentRace) {
        const QString name = ToQString(RaceWord(race, Lang));
        matchups.push_back({name,
                            {{r.Wins, WinColor}, {r.Losses, LossColor}},
                            QString::number(r.Wins) + QStringLiteral(" – ") + QString::number(r.Losses),
                            RecordTip(name, r, Lang)});
    }
    Matchups->SetBars(Tr(LibraryString::ByOpponentRace, Lang), std::move(matchups));
    Matchups->setAccessibleDescription(Tr(LibraryString::ChartMatchups, Lang));
    std::vector<TBarChart::TBar> heroes;
    for (const THeroUse& h : Shown.Heroes) {
        const QString name = ToQString(ObjectWord(h.Id, Lang));
        heroes.push_back(
            {name,
             {{h.Games, palette().highlight().color()}},
             QString::number(h.Games),
             RecordTip(name + QStringLiteral(" (") + Tr(LibraryString::ColumnOpened, Lang) + QLatin1Char(')'), h.Opened,
                       Lang)});
    }
    Heroes->SetBars(Tr(LibraryString::ProfileHeroes, Lang), std::move(heroes));
    Heroes->setAccessibleDescription(Tr(LibraryString::ChartHeroes, Lang));
    Trend->SetTrend(Shown.ApmByMonth, Lang);

    const int current = Tables->currentIndex();
    while (Tables->count() > 0) {
        QWidget* page = Tables->widget(0);
        Tables->removeTab(0);
        delete page;
    }
    for (const TProfileTable& t : ProfileTables(Shown, Lang)) {
        auto* table = new QTableWidget(static_cast<int>(t.Rows.size()), static_cast<int>(t.Headings.size()));
        table->setObjectName(QStringLiteral("ProfileTable-") + ToQString(t.Id));
        table->setAccessibleName(ToQString(t.Title));
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setWordWrap(false);
        table->verticalHeader()->hide();
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
        QStringList headings;
        for (const std::string& h : t.Headings)
            headings << ToQString(h);
        table->setHorizontalHeaderLabels(headings);
        for (size_t r = 0; r < t.Rows.size(); ++r)
            for (size_t c = 0; c < t.Rows[r].size(); ++c) {
                auto* item = new QTableWidgetItem(ToQString(t.Rows[r][c]));
                if (c >= t.FirstNumberColumn)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                item->setToolTip(item->text());
                table->setItem(static_cast<int>(r), static_cast<int>(c), item);
            }
        table->resizeColumnsToContents();
        table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
        AddCopyAction(table);
        Tables->addTab(table, ToQString(t.Short));
        Tables->setTabToolTip(Tables->count() - 1, ToQString(t.Title));
    }
    ApplyCopyLanguage(this, Lang);
    Tables->setCurrentIndex(std::max(0, current));
}

void TPlayerProfileWindow::SaveHtml() {
    if (Shown.Overall.Games == 0)
        return;
    QString file = NamesEdit->text().section(QLatin1Char(','), 0, 0).trimmed();
    file.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    const QString path =
        Boxes.ChooseSaveFile(this, Tr(LibraryString::SaveProfile, Lang).remove(QStringLiteral("...")),
                             QDir::home().filePath(file + QStringLiteral(".html")), Tr(AppString::HtmlFilter, Lang));
    if (path.isEmpty())
        return;
    if (WriteChosenPage(this, Boxes, path, ProfileHtml(Shown, ShownNames, Lang), Lang))
        Totals->setText(ToQString(ProfileTotalsText(Shown, Lang)) + QStringLiteral("  —  ") +
                        Tr(AppString::ReportSaved, Lang, {ToUtf8(QDir::toNativeSeparators(path))}));
}

} // namespace quillon::gui
