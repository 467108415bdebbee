#pragma once

#include "core/lang/Translations.h"
#include "core/settings/Settings.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QToolButton;

namespace quillon::gui {

class IMessageBoxes;

/// The settings dialog: which slots the player list shows, whether actions are parsed, and how many per page.
class TSetting : public QDialog {
    Q_OBJECT
public:
    static constexpr int MinPosition = TSettings::MinActionsPerPage;
    static constexpr int MaxPosition = TSettings::MaxActionsPerPage;

    TSetting(IMessageBoxes& boxes, QWidget* parent = nullptr);

    void SetValues(bool showUnused, bool showObservers, bool parseActions, int actionsPerPage);
    bool ShowUnused() const;
    bool ShowObservers() const;
    bool ParseActions() const;
    /// The spin position: the last valid number of actions per page.
    int Position() const { return Pos; }

    void ApplyLanguage(TLanguage language);

    /// Takes a typed number when it lies in 10 to 100, else returns the field to the last valid one.
    void TxtAppExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpDown1Click(int step);
    void Button1Click();

    IMessageBoxes& Boxes;
    QCheckBox* ChUse;
    QCheckBox* ChOb;
    QCheckBox* ChPaction;
    QLineEdit* TxtApp;
    QToolButton* Up;
    QToolButton* Down;
    int Pos = MinPosition;
};

} // namespace quillon::gui
