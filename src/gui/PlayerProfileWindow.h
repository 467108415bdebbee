#pragma once

#include "core/lang/Translations.h"
#include "core/library/PlayerProfile.h"

#include <QFutureWatcher>
#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace quillon::gui {

class IMessageBoxes;
class TApmChart;
class TBarChart;

/// A player's record across the library: totals, the matchups, APM over the months and hero use as charts, and
/// every table of the profile (as quillon-cli library player prints them). Several names make one profile.
/// The profile is read off the window's thread.
class TPlayerProfileWindow : public QWidget {
    Q_OBJECT
public:
    TPlayerProfileWindow(std::string libraryPath, IMessageBoxes& boxes, QWidget* parent = nullptr);
    ~TPlayerProfileWindow() override;

    void ApplyLanguage(TLanguage language);
    /// Reads and shows the profile of these names (also put into the names box).
    void ShowPlayer(const std::vector<std::string>& names);
    /// The names in the box, split at commas.
    std::vector<std::string> Names() const;

    const TPlayerProfile& Profile() const { return Shown; }
    /// True while a profile is being read.
    bool Reading() const;

signals:
    /// A profile has been read and shown (or could not be read).
    void ProfileShown();

private:
    struct TRead {
        TPlayerProfile Profile;
        QString Error;
    };
    void BuildLayout();
    void Show(const TRead& read);
    void Fill();
    void SaveHtml();

    std::string LibraryPath;
    IMessageBoxes& Boxes;
    TLanguage Lang = TLanguage::English;
    TPlayerProfile Shown;
    std::vector<std::string> ShownNames;
    QString Error;

    QLabel* NamesLabel;
    QLineEdit* NamesEdit;
    QPushButton* ShowButton;
    QPushButton* SaveButton;
    QLabel* Title;
    QLabel* Totals;
    TBarChart* Matchups;
    TApmChart* Trend;
    TBarChart* Heroes;
    QTabWidget* Tables;
    QFutureWatcher<TRead>* Reader;
};

} // namespace quillon::gui
