#include "gui/MessageBoxes.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quillon::gui {

namespace {

const QString Title = QStringLiteral("Quillon");

} // namespace

void TDesktopMessageBoxes::Inform(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, Title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool TDesktopMessageBoxes::Ask(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, Title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void TDesktopMessageBoxes::Error(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, Title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString TDesktopMessageBoxes::ChooseFolder(QWidget* parent, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, QString(), start, QFileDialog::ShowDirsOnly);
}

QString TDesktopMessageBoxes::ChooseFile(QWidget* parent, const QString& title, const QString& start,
                                         const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, start, filter);
}

QString TDesktopMessageBoxes::ChooseSaveFile(QWidget* parent, const QString& title, const QString& start,
                                             const QString& filter) {
    return QFileDialog::getSaveFileName(parent, title, start, filter);
}

} // namespace quillon::gui
