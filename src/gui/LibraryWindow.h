#pragma once

#include "core/lang/Translations.h"
#include "core/library/LibraryScan.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;

namespace quillon::gui {

class IMessageBoxes;
class TLibraryScanner;
class TPlayerProfileWindow;
class TLibraryTableModel;

/// The replay library: search fields, the replays found (sortable, fetched page by page), adding folders in the
/// background with a progress bar and Stop. Double-clicking a replay asks the main window to open it.
class TLibraryWindow : public QWidget {
    Q_OBJECT
public:
    TLibraryWindow(std::string libraryPath, IMessageBoxes& boxes, QWidget* parent = nullptr);
    ~TLibraryWindow() override;

    void ApplyLanguage(TLanguage language);
    /// Opens the library file if it is not open yet (offering to replace a file that is no library), then
    /// searches; false when there is no library to show.
    bool OpenLibrary();
    /// Searches with the fields as they are; false (after saying why) for a date that cannot be read.
    bool Search();
    /// Scans folders into the library in the background.
    void AddFolders(const QStringList& folders);
    /// Opens the profile window on these names (or, with none, on the names in the Player field).
    void ShowProfile(std::vector<std::string> names);
    /// The profile window, made when first shown (nullptr before).
    TPlayerProfileWindow* GetProfileWindow() const { return ProfileWindow; }

    TLibraryTableModel& Model() const { return *Table; }
    TLibraryScanner& Scanner() const { return *Scan; }
    const std::string& LibraryPath() const { return Path; }

signals:
    void OpenRequested(const QString& path);

private:
    void BuildLayout();
    void ScanFinished(const TScanResult& result, const QString& error);
    void ShowCount();
    void ShowError(const std::string& text);
    void ShowTableMenu(const QPoint& at);

    std::string Path;
    IMessageBoxes& Boxes;
    std::unique_ptr<TLibrary> Library;
    TLanguage Lang = TLanguage::English;

    QLineEdit* PlayerEdit;
    QComboBox* RaceBox;
    QComboBox* VsRaceBox;
    QLineEdit* MapEdit;
    QLineEdit* VersionEdit;
    QLineEdit* WinnerEdit;
    QLineEdit* WordsEdit;
    QLineEdit* AfterEdit;
    QLineEdit* BeforeEdit;
    QSpinBox* MinLengthBox;
    QLineEdit* HeroEdit;
    QLineEdit* OpeningEdit;
    QComboBox* ResultBox;
    QLineEdit* VsEdit;
    QLineEdit* VsHeroEdit;
    QLineEdit* VsOpeningEdit;
    QPushButton* SearchButton;
    QPushButton* AddButton;
    QPushButton* StopButton;
    QPushButton* ProfileButton;
    QProgressBar* Progress;
    QLabel* Status;
    QTableView* View;
    TLibraryTableModel* Table;
    TLibraryScanner* Scan;
    TPlayerProfileWindow* ProfileWindow = nullptr;
};

} // namespace quillon::gui
