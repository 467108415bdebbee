#include "gui/RuleDialog.h"

#include "core/rename/Template.h"
#include "core/rename/Tokens.h"
#include "gui/LanguageApplier.h"
#include "gui/MessageBoxes.h"
#include "gui/QtText.h"
#include "gui/Widgets.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace quillon::gui {

namespace {

QLabel* Caption(const char* name, QWidget* buddy, QWidget* parent) {
    auto* label = Named<QLabel>(name, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TRule::TRule(IMessageBoxes& boxes, QWidget* parent) : QDialog(parent), Boxes(boxes) {
    setObjectName(QStringLiteral("Rule"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(FormFont(QStringLiteral("Arial")));

    PTemp = Named<QLineEdit>("PTemp", this);
    PConj = Named<QLineEdit>("PConj", this);
    GTemp = Named<QLineEdit>("GTemp", this);
    SampleTxt = Named<QLineEdit>("SampleTxt", this);
    SampleTxt->setReadOnly(true);
    auto* fields = new QGridLayout;
    fields->addWidget(Caption("Label1", PTemp, this), 0, 0);
    fields->addWidget(PTemp, 0, 1);
    fields->addWidget(Caption("Label2", PConj, this), 1, 0);
    fields->addWidget(PConj, 1, 1);
    fields->addWidget(Caption("Label3", GTemp, this), 2, 0);
    fields->addWidget(GTemp, 2, 1);
    fields->setColumnStretch(1, 1);

    // Two panels in one place: the player tokens while the player template has the focus, the global ones
    // while the global template has it.
    auto* panels = new QWidget(this);
    auto* panelGrid = new QGridLayout(panels);
    panelGrid->setContentsMargins(8, 4, 0, 4);
    Panel1 = new QWidget(panels);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel2 = new QWidget(panels);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    panelGrid->addWidget(Panel1, 0, 0, Qt::AlignTop);
    panelGrid->addWidget(Panel2, 0, 0, Qt::AlignTop);
    auto* tokens1 = new QGridLayout(Panel1);
    auto* tokens2 = new QGridLayout(Panel2);
    for (auto* grid : {tokens1, tokens2}) {
        grid->setContentsMargins(0, 0, 0, 0);
        grid->setVerticalSpacing(4);
        grid->setColumnStretch(1, 1);
    }
    for (const TRenameToken& t : RenameTokens) {
        QWidget* panel = t.Player ? Panel1 : Panel2;
        auto* grid = t.Player ? tokens1 : tokens2;
        auto* button = new QToolButton(panel);
        button->setObjectName(ToQString(t.Button));
        button->setText(ToQString(t.Text));
        button->setFocusPolicy(Qt::NoFocus); // the edit being changed keeps the focus
        button->setFixedSize(86, 20);
        auto* label = new QLabel(panel);
        label->setObjectName(ToQString(t.Label));
        const int row = grid->rowCount();
        grid->addWidget(button, row, 0);
        grid->addWidget(label, row, 1);
        connect(button, &QToolButton::clicked, this, [this, button] { SpeedButton1Click(button->text()); });
    }
    panels->setMinimumHeight(250);

    auto* sample = new QGridLayout;
    sample->addWidget(Caption("Label4", SampleTxt, this), 0, 0);
    sample->addWidget(SampleTxt, 0, 1);
    sample->setColumnStretch(1, 1);
    auto* note = new QLabel(this);
    note->setObjectName(QStringLiteral("Label21"));

    auto* ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setDefault(true);
    ok->setFocusPolicy(Qt::ClickFocus);
    auto* cancel = new QPushButton(this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    cancel->setFocusPolicy(Qt::ClickFocus);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (FormCloseQuery())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addSpacing(40);
    buttons->addWidget(cancel);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(fields);
    layout->addWidget(panels);
    layout->addLayout(sample);
    layout->addWidget(note);
    layout->addLayout(buttons);

    for (QWidget* w : {static_cast<QWidget*>(PTemp), static_cast<QWidget*>(PConj), static_cast<QWidget*>(GTemp),
                       static_cast<QWidget*>(SampleTxt), static_cast<QWidget*>(ok), static_cast<QWidget*>(cancel)})
        w->installEventFilter(this);
    for (QLineEdit* edit : {PTemp, PConj, GTemp})
        connect(edit, &QLineEdit::textChanged, this, &TRule::UpdateSample);
    setTabOrder(PTemp, PConj);
    setTabOrder(PConj, GTemp);
    setTabOrder(GTemp, SampleTxt);
    ApplyLanguage(TLanguage::English);
    ShowPanels(true, false);
}

void TRule::SetRule(const TRenameRule& rule) {
    PTemp->setText(ToQString(rule.PlayerTemplate));
    PConj->setText(ToQString(rule.Conjunction));
    GTemp->setText(ToQString(rule.GlobalTemplate));
}

TRenameRule TRule::Rule() const {
    return {ToUtf8(PTemp->text()), ToUtf8(PConj->text()), ToUtf8(GTemp->text())};
}

void TRule::ApplyLanguage(TLanguage language) {
    Language = language;
    gui::ApplyLanguage(this, TForm::Rule, QStringLiteral("TRule"), language);
    setFont(FormFont(ToQString(FormText(TForm::Rule, "font", "TRule", language))));
    resize(std::max(width(), sizeHint().width()), sizeHint().height());
}

void TRule::ShowPanels(bool playerTokens, bool globalTokens) {
    Panel1->setVisible(playerTokens);
    Panel2->setVisible(globalTokens);
}

void TRule::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Each opening starts at the player template with the player tokens on show.
    PTemp->setFocus(Qt::OtherFocusReason);
    PTemp->setCursorPosition(0);
    PTemp->deselect();
    LastFocused = PTemp;
    ShowPanels(true, false);
    // The window's activation focuses the field once more and would select its text: undo that afterwards.
    QTimer::singleShot(0, this, [this] {
        PTemp->setCursorPosition(0);
        PTemp->deselect();
    });
}

bool TRule::eventFilter(QObject* watched, QEvent* event) {
    // The token buttons never take the focus, so keyboard users get the same tokens in the edit's own menu
    // (the menu key or Shift+F10).
    if (event->type() == QEvent::ContextMenu && (watched == PTemp || watched == GTemp)) {
        auto* edit = static_cast<QLineEdit*>(watched);
        std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
        menu->addSeparator();
        for (const TRenameToken& t : RenameTokens)
            if (t.Player == (edit == PTemp))
                menu->addAction(ToQString(t.Text), this, [this, edit, text = ToQString(t.Text)] {
                    LastFocused = edit;
                    SpeedButton1Click(text);
                });
        menu->exec(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (event->type() == QEvent::FocusIn) {
        LastFocused = qobject_cast<QWidget*>(watched);
        ShowPanels(watched == PTemp, watched == GTemp);
    }
    return QDialog::eventFilter(watched, event);
}

void TRule::SpeedButton1Click(const QString& token) {
    // Token buttons never take the focus: the player template if it has it, else the global template.
    QLineEdit* target = LastFocused == PTemp ? PTemp : GTemp;
    const QString text = target->text();
    const int start = target->hasSelectedText() ? target->selectionStart() : target->cursorPosition();
    const int length = target->hasSelectedText() ? static_cast<int>(target->selectedText().size()) : 0;
    target->setText(text.left(start) + token + text.mid(start + length));
    target->setCursorPosition(start + static_cast<int>(token.size()));
}

void TRule::UpdateSample() {
    SampleTxt->setText(
        ToQString(RuleSampleName(ToUtf8(PTemp->text()), ToUtf8(PConj->text()), ToUtf8(GTemp->text()), TodayText())));
}

bool TRule::FormCloseQuery() {
    struct TPart {
        QLineEdit* Edit;
        TTemplateCheck (*Check)(std::string_view, TLanguage);
    };
    for (const TPart& part :
         {TPart{PTemp, &CheckPlayerTemplate}, TPart{PConj, &CheckConjunction}, TPart{GTemp, &CheckGlobalTemplate}}) {
        const std::string text = ToUtf8(part.Edit->text());
        const TTemplateCheck check = part.Check(text, Language);
        if (check.Ok)
            continue;
        part.Edit->setFocus(Qt::OtherFocusReason);
        LastFocused = part.Edit;
        ShowPanels(part.Edit == PTemp, part.Edit == GTemp);
        // The caret stands at the start of the bad part, which is selected so the user can type over it.
        const int start = Utf16Offset(text, check.Start);
        const int end = Utf16Offset(text, check.Start + check.Length);
        part.Edit->setSelection(end, start - end);
        Boxes.Inform(this, ToQString(check.Message));
        return false;
    }
    return true;
}

} // namespace quillon::gui
