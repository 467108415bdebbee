#pragma once

#include <QString>

class QWidget;

namespace quillon::gui {

/// Every message box and folder chooser of the window goes through here, so tests can answer them.
class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    /// A plain message with an OK button, titled "Quillon".
    virtual void Inform(QWidget* parent, const QString& text) = 0;
    /// A question with Yes and No; true for Yes.
    virtual bool Ask(QWidget* parent, const QString& text) = 0;
    /// The application's error box.
    virtual void Error(QWidget* parent, const QString& text) = 0;
    /// The folder chooser, starting at start; the empty text when cancelled.
    virtual QString ChooseFolder(QWidget* parent, const QString& start) = 0;
    /// A file to open (title, start folder, filter as "Replays (*.w3g)"); the empty text when cancelled.
    virtual QString ChooseFile(QWidget* parent, const QString& title, const QString& start, const QString& filter) = 0;
    /// A file to save to, the same way.
    virtual QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& start,
                                   const QString& filter) = 0;
};

/// The real boxes and the desktop's folder chooser.
class TDesktopMessageBoxes : public IMessageBoxes {
public:
    void Inform(QWidget* parent, const QString& text) override;
    bool Ask(QWidget* parent, const QString& text) override;
    void Error(QWidget* parent, const QString& text) override;
    QString ChooseFolder(QWidget* parent, const QString& start) override;
    QString ChooseFile(QWidget* parent, const QString& title, const QString& start, const QString& filter) override;
    QString ChooseSaveFile(QWidget* parent, const QString& title, const QString& start, const QString& filter) override;
};

} // namespace quillon::gui
