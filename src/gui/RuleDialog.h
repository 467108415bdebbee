#pragma once

#include "core/lang/Translations.h"
#include "core/rename/RenameRule.h"

#include <QDialog>

class QLineEdit;
class QWidget;

namespace quillon::gui {

class IMessageBoxes;

/// The rename-rule editor: the three parts of the rule, token buttons, a live sample, and the checks on OK.
class TRule : public QDialog {
    Q_OBJECT
public:
    TRule(IMessageBoxes& boxes, QWidget* parent = nullptr);

    void SetRule(const TRenameRule& rule);
    TRenameRule Rule() const;
    void ApplyLanguage(TLanguage language);

    /// Inserts a token into the template being edited, in place of the selection.
    void SpeedButton1Click(const QString& token);
    /// Runs the three checks; on the first problem focuses the field, selects the bad part and says why.
    bool FormCloseQuery();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateSample();
    void ShowPanels(bool playerTokens, bool globalTokens);

    IMessageBoxes& Boxes;
    TLanguage Language = TLanguage::English;
    QLineEdit* PTemp;
    QLineEdit* PConj;
    QLineEdit* GTemp;
    QLineEdit* SampleTxt;
    QWidget* Panel1;
    QWidget* Panel2;
    QWidget* LastFocused = nullptr;
};

} // namespace quillon::gui
