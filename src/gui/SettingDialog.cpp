#include "gui/SettingDialog.h"

#include "core/settings/IniFile.h"
#include "gui/LanguageApplier.h"
#include "gui/MessageBoxes.h"
#include "gui/QtText.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

QToolButton* Arrow(Qt::ArrowType type, QWidget* parent) {
    auto* b = new QToolButton(parent);
    b->setArrowType(type);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(17, 11);
    return b;
}

} // namespace

TSetting::TSetting(IMessageBoxes& boxes, QWidget* parent) : QDialog(parent), Boxes(boxes) {
    setObjectName(QStringLiteral("Setting"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(FormFont(QStringLiteral("Arial")));

    auto* groupPlayers = new QGroupBox(this);
    groupPlayers->setObjectName(QStringLiteral("GroupBox2"));
    ChUse = new QCheckBox(groupPlayers);
    ChUse->setObjectName(QStringLiteral("ChUse"));
    ChOb = new QCheckBox(groupPlayers);
    ChOb->setObjectName(QStringLiteral("ChOb"));
    auto* playersLayout = new QVBoxLayout(groupPlayers);
    playersLayout->addWidget(ChUse);
    playersLayout->addWidget(ChOb);

    auto* groupActions = new QGroupBox(this);
    groupActions->setObjectName(QStringLiteral("GroupBox1"));
    ChPaction = new QCheckBox(groupActions);
    ChPaction->setObjectName(QStringLiteral("ChPaction"));
    auto* label = new QLabel(groupActions);
    label->setObjectName(QStringLiteral("Label1"));
    TxtApp = new QLineEdit(QStringLiteral("10"), groupActions);
    TxtApp->setObjectName(QStringLiteral("TxtApp"));
    TxtApp->setFixedWidth(40);
    TxtApp->installEventFilter(this);
    label->setBuddy(TxtApp);
    auto* upDown = new QWidget(groupActions);
    upDown->setObjectName(QStringLiteral("UpDown1"));
    Up = Arrow(Qt::UpArrow, upDown);
    Up->setObjectName(QStringLiteral("UpDown1Up"));
    Down = Arrow(Qt::DownArrow, upDown);
    Down->setObjectName(QStringLiteral("UpDown1Down"));
    auto* arrows = new QVBoxLayout(upDown);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(Up);
    arrows->addWidget(Down);
    connect(Up, &QToolButton::clicked, this, [this] { UpDown1Click(+1); });
    connect(Down, &QToolButton::clicked, this, [this] { UpDown1Click(-1); });
    auto* perPage = new QHBoxLayout;
    perPage->addWidget(label);
    perPage->addWidget(TxtApp);
    perPage->addWidget(upDown);
    perPage->addStretch();
    auto* actionsLayout = new QVBoxLayout(groupActions);
    actionsLayout->addWidget(ChPaction);
    actionsLayout->addLayout(perPage);

    auto* ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    auto* cancel = new QPushButton(this);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TSetting::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(groupPlayers);
    layout->addWidget(groupActions);
    layout->addLayout(buttons);
    setTabOrder(ChUse, ChOb);
    setTabOrder(ChOb, ChPaction);
    setTabOrder(ChPaction, TxtApp);
    setTabOrder(TxtApp, ok);
    setTabOrder(ok, cancel);
    ApplyLanguage(TLanguage::English);
}

void TSetting::SetValues(bool showUnused, bool showObservers, bool parseActions, int actionsPerPage) {
    ChUse->setChecked(showUnused);
    ChOb->setChecked(showObservers);
    ChPaction->setChecked(parseActions);
    Pos = std::clamp(actionsPerPage, MinPosition, MaxPosition);
    TxtApp->setText(QString::number(Pos));
}

bool TSetting::ShowUnused() const {
    return ChUse->isChecked();
}
bool TSetting::ShowObservers() const {
    return ChOb->isChecked();
}
bool TSetting::ParseActions() const {
    return ChPaction->isChecked();
}

void TSetting::ApplyLanguage(TLanguage language) {
    gui::ApplyLanguage(this, TForm::Setting, QStringLiteral("TSetting"), language);
    adjustSize();
    setFixedSize(sizeHint());
}

void TSetting::TxtAppExit() {
    const QString text = TxtApp->text();
    const auto value = ParseProfileInteger(ToUtf8(text.trimmed()));
    if (value && *value >= MinPosition && *value <= MaxPosition)
        Pos = static_cast<int>(*value);
    TxtApp->setText(QString::number(Pos));
    if (!value)
        Boxes.Error(this, QStringLiteral("'%1' is not a valid integer value").arg(text));
}

void TSetting::UpDown1Click(int step) {
    Pos = std::clamp(Pos + step, MinPosition, MaxPosition);
    TxtApp->setText(QString::number(Pos));
}

void TSetting::Button1Click() {
    // A number typed without leaving the field still counts.
    TxtAppExit();
    accept();
}

bool TSetting::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TxtApp) {
        if (event->type() == QEvent::FocusOut && isVisible())
            TxtAppExit();
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                UpDown1Click(key == Qt::Key_Up ? +1 : -1);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quillon::gui
