#pragma once

#include "core/lang/Translations.h"
#include "core/rename/Rename.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace quillon::gui {

/// The rename result window: one row per file of a batch with its outcome, progress while it runs, and a Stop
/// button. It refuses to close while the batch runs, so the main window is enabled only after the batch.
class TRenResult : public QWidget {
    Q_OBJECT
public:
    explicit TRenResult(QWidget* parent = nullptr);

    void ApplyLanguage(TLanguage language);
    /// A batch starts: the list is cleared, the close button reads "Renaming..." and is disabled.
    void BatchStarted();
    void SetTotal(int total);
    void AddRow(const TBatchRow& row);
    /// The walk has ended: "&Close" is enabled.
    void BatchEnded(bool stopped);
    bool Running() const { return IsRunning; }
    int RowCount() const;

signals:
    void StopClicked();
    /// The window was hidden (its button or the title bar).
    void Hidden();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void UpdateProgress();

    TLanguage Language = TLanguage::English;
    QTreeWidget* ResultList;
    QLabel* Progress;
    QProgressBar* Bar;
    QPushButton* BtnStop;
    QPushButton* BtnClose;
    bool IsRunning = false;
    bool Stopped = false;
    int Total = -1;
    int Done = 0;
};

} // namespace quillon::gui
