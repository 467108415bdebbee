// The main window's controls and their places: the buttons and the replay browser on the left, the replay pane on
// the right.
#include "gui/MainWindow.h"
#include "gui/ReplayBrowser.h"
#include "gui/ReplayPane.h"
#include "gui/Widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace quillon::gui {

void TQuillonMain::BuildLayout() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    Splitter2 = NamedSplitter("Splitter2", Qt::Horizontal, central);
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
    BtnAutoSave = Named<QPushButton>("BtnAutoSave", panel7);
    auto* buttons = new QGridLayout(panel7);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(4);
    buttons->addWidget(RenameBtn, 0, 0);
    buttons->addWidget(BtnBatcnRen, 0, 1);
    buttons->addWidget(RuleBtn, 1, 0);
    buttons->addWidget(BtnConfig, 1, 1);
    buttons->addWidget(BtnLibrary, 2, 0);
    buttons->addWidget(BtnAbout, 2, 1);
    buttons->addWidget(BtnAutoSave, 3, 0, 1, 2);

    ReplayBrowser = new TReplayBrowser(Boxes, panel5);

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
    left->addWidget(ReplayBrowser, 1);
    left->addWidget(panel8);

    ReplayPane = new TReplayPane(Splitter2);
    panel5->setMinimumSize(80, 80);
    Splitter2->setStretchFactor(1, 1);
    Splitter2->setSizes({185, 605});

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setSizeGripEnabled(true);

    // Tab order left to right, top to bottom.
    QList<QWidget*> order{RenameBtn, BtnBatcnRen, RuleBtn, BtnConfig, BtnLibrary, BtnAbout, BtnAutoSave};
    order += ReplayBrowser->TabChain();
    order += LanguageBox;
    order += ReplayPane->TabChain();
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

} // namespace quillon::gui
