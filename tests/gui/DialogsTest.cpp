#include "GuiTestSupport.h"

#include "gui/AboutDialog.h"
#include "gui/BatchRenamer.h"
#include "gui/QtText.h"
#include "gui/RenResultWindow.h"
#include "gui/RuleDialog.h"
#include "gui/SettingDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

using namespace quillon;
using namespace quillon::guitest;

namespace {

QLineEdit* Edit(QWidget& w, const char* name) {
    return w.findChild<QLineEdit*>(QLatin1String(name));
}

QToolButton* Token(QWidget& w, const char* name) {
    return w.findChild<QToolButton*>(QLatin1String(name));
}

// Runs f on the next turn of the event loop, while a modal dialog is open.
template <typename F> void WhenModal(F f) {
    QTimer::singleShot(0, f);
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void RuleEditorInsertsTokensAtTheCaret();
    void RuleEditorRefusesBadRules_data();
    void RuleEditorRefusesBadRules();
    void RuleEditorOkAndCancelFromTheMainWindow();
    void SettingsDialogKeepsTheLastValidNumber();
    void SettingsOkAppliesToTheReplayOnShow();
    void ScreenshotsOfTheDialogs();
};

void DialogsTest::RuleEditorInsertsTokensAtTheCaret() {
    TFakeBoxes boxes;
    gui::TRule rule(boxes);
    rule.SetRule({});
    rule.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rule));
    QLineEdit* ptemp = Edit(rule, "PTemp");
    QLineEdit* gtemp = Edit(rule, "GTemp");
    QCOMPARE(Edit(rule, "SampleTxt")->text(), QStringLiteral("P1+P2-vs-P3+P4"));
    QVERIFY(rule.findChild<QWidget*>(QStringLiteral("Panel1"))->isVisible());
    QVERIFY(!rule.findChild<QWidget*>(QStringLiteral("Panel2"))->isVisible());

    // "ab" with the caret between a and b: the token goes in between, the caret after it.
    QTest::mouseClick(ptemp, Qt::LeftButton);
    ptemp->setText(QStringLiteral("ab"));
    ptemp->setCursorPosition(1);
    QTest::mouseClick(Token(rule, "SpeedButton1"), Qt::LeftButton);
    QCOMPARE(ptemp->text(), QStringLiteral("a<name>b"));
    QCOMPARE(ptemp->cursorPosition(), 7);
    QCOMPARE(Edit(rule, "SampleTxt")->text(), QStringLiteral("aP1b+aP2b-vs-aP3b+aP4b"));

    // The conjunction shows no tokens; the global template shows its own and a token replaces the selection.
    QTest::mouseClick(Edit(rule, "PConj"), Qt::LeftButton);
    QVERIFY(!rule.findChild<QWidget*>(QStringLiteral("Panel1"))->isVisible());
    QVERIFY(!rule.findChild<QWidget*>(QStringLiteral("Panel2"))->isVisible());
    QTest::mouseClick(gtemp, Qt::LeftButton);
    QVERIFY(rule.findChild<QWidget*>(QStringLiteral("Panel2"))->isVisible());
    gtemp->setSelection(0, 5); // "<win>"
    QTest::mouseClick(Token(rule, "SpeedButton7"), Qt::LeftButton);
    QCOMPARE(gtemp->text(), QStringLiteral("<map>-vs-<loss>"));
    QCOMPARE(Edit(rule, "SampleTxt")->text(), QStringLiteral("LostTemple-vs-aP3b+aP4b"));
}

void DialogsTest::RuleEditorRefusesBadRules_data() {
    QTest::addColumn<QString>("player");
    QTest::addColumn<QString>("conj");
    QTest::addColumn<QString>("global");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("selected");
    QTest::newRow("global token in the player template") << "<name><win>"
                                                         << "+"
                                                         << "<win>-vs-<loss>"
                                                         << "PTemp"
                                                         << "Unknown template: <win>"
                                                         << "<win>";
    QTest::newRow("bad character in the conjunction") << "<name>"
                                                      << "a<b"
                                                      << "<win>"
                                                      << "PConj"
                                                      << "Error filename character!"
                                                      << "<";
    QTest::newRow("unclosed token") << "<name>"
                                    << "+"
                                    << "x-<win"
                                    << "GTemp"
                                    << "Error template signal! The token \"<win\" has no \">\"."
                                    << "<win";
    QTest::newRow("stray closing sign") << "<name>"
                                        << "+"
                                        << "a>b"
                                        << "GTemp"
                                        << "Error template signal!"
                                        << ">";
    QTest::newRow("unknown token after Chinese text") << "<name>"
                                                      << "+"
                                                      << "录像<wins>"
                                                      << "GTemp"
                                                      << "Unknown template: <wins>"
                                                      << "<wins>";
}

void DialogsTest::RuleEditorRefusesBadRules() {
    QFETCH(QString, player);
    QFETCH(QString, conj);
    QFETCH(QString, global);
    QFETCH(QString, field);
    QFETCH(QString, message);
    QFETCH(QString, selected);
    TFakeBoxes boxes;
    gui::TRule rule(boxes);
    rule.SetRule({gui::ToUtf8(player), gui::ToUtf8(conj), gui::ToUtf8(global)});
    rule.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rule));
    QTest::mouseClick(rule.findChild<QPushButton*>(QStringLiteral("BtnOK")), Qt::LeftButton);
    QVERIFY(rule.isVisible()); // the close is refused
    QCOMPARE(boxes.Informed, QStringList{message});
    QLineEdit* edit = Edit(rule, field.toLatin1().constData());
    QCOMPARE(edit->selectedText(), selected);
    QCOMPARE(edit->cursorPosition(), edit->selectionStart()); // the caret at the start of the bad part
    QCOMPARE(rule.result(), 0);
}

void DialogsTest::RuleEditorOkAndCancelFromTheMainWindow() {
    TWindowFixture f;
    auto& w = *f.Window;
    auto* ruleButton = w.findChild<QPushButton*>(QStringLiteral("RuleBtn"));
    WhenModal([&w] {
        Edit(w.GetRuleWindow(), "GTemp")->setText(QStringLiteral("<loss>-by-<win>"));
        QTest::mouseClick(w.GetRuleWindow().findChild<QPushButton*>(QStringLiteral("BtnCancel")), Qt::LeftButton);
    });
    QTest::mouseClick(ruleButton, Qt::LeftButton);
    QCOMPARE(w.GetSettings().Rule.GlobalTemplate, std::string("<win>-vs-<loss>"));

    WhenModal([&w] {
        QCOMPARE(Edit(w.GetRuleWindow(), "GTemp")->text(), QStringLiteral("<win>-vs-<loss>")); // the rule again
        Edit(w.GetRuleWindow(), "GTemp")->setText(QStringLiteral("<loss>-by-<win>"));
        QTest::mouseClick(w.GetRuleWindow().findChild<QPushButton*>(QStringLiteral("BtnOK")), Qt::LeftButton);
    });
    QTest::mouseClick(ruleButton, Qt::LeftButton);
    QCOMPARE(w.GetSettings().Rule.GlobalTemplate, std::string("<loss>-by-<win>"));
}

void DialogsTest::SettingsDialogKeepsTheLastValidNumber() {
    TFakeBoxes boxes;
    gui::TSetting dialog(boxes);
    dialog.SetValues(true, true, true, 50);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit* text = Edit(dialog, "TxtApp");
    QCOMPARE(text->text(), QStringLiteral("50"));
    for (const char* typed : {"101", "9"}) {
        text->setFocus();
        text->selectAll();
        QTest::keyClicks(text, QLatin1String(typed));
        dialog.TxtAppExit(); // leaving the field
        QCOMPARE(text->text(), QStringLiteral("50"));
    }
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("100"));
    dialog.TxtAppExit();
    QCOMPARE(dialog.Position(), 100);
    QTest::mouseClick(dialog.findChild<QToolButton*>(QStringLiteral("UpDown1Up")), Qt::LeftButton);
    QCOMPARE(text->text(), QStringLiteral("100")); // never above 100
    QVERIFY(boxes.Errors.isEmpty());
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("abc"));
    dialog.TxtAppExit();
    QCOMPARE(boxes.Errors, QStringList{QStringLiteral("'abc' is not a valid integer value")});
    QCOMPARE(text->text(), QStringLiteral("100"));

    // 25 and Enter at once, without leaving the field: taken.
    text->setFocus();
    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("25"));
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Position(), 25);
}

void DialogsTest::SettingsOkAppliesToTheReplayOnShow() {
    TWindowFixture f;
    WriteFile(f.Path(QStringLiteral("demo.w3g")), testing::BuildReplayFile(testing::DemoGameSpec()));
    QVERIFY(f.OpenAndWait(f.Path(QStringLiteral("demo.w3g"))));
    auto& w = *f.Window;
    auto* config = w.findChild<QPushButton*>(QStringLiteral("BtnConfig"));
    // Cancel after changing everything changes nothing.
    WhenModal([&w] {
        auto& d = w.GetSettingWindow();
        d.findChild<QCheckBox*>(QStringLiteral("ChPaction"))->setChecked(false);
        Edit(d, "TxtApp")->setText(QStringLiteral("20"));
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    });
    QTest::mouseClick(config, Qt::LeftButton);
    QCOMPARE(w.GetSettings().ActionsPerPage, 50);
    QVERIFY(w.GetSettings().ParseActions);

    WhenModal([&w] {
        auto& d = w.GetSettingWindow();
        d.findChild<QCheckBox*>(QStringLiteral("ChUse"))->setChecked(false);
        Edit(d, "TxtApp")->setText(QStringLiteral("20"));
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    QTest::mouseClick(config, Qt::LeftButton);
    QCOMPARE(w.GetSettings().ActionsPerPage, 20);
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("PageTxt"))->text(), QStringLiteral("Page:  1/365"));
    QCOMPARE(w.findChild<QTreeView*>(QStringLiteral("PlayerList"))->model()->rowCount(), 5); // no open slots

    // Parsing switched off: the action area is disabled and empty.
    WhenModal([&w] {
        auto& d = w.GetSettingWindow();
        d.findChild<QCheckBox*>(QStringLiteral("ChPaction"))->setChecked(false);
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);
    });
    QTest::mouseClick(config, Qt::LeftButton);
    QVERIFY(!w.findChild<QWidget*>(QStringLiteral("Panel4"))->isEnabled());
    QCOMPARE(w.findChild<QTreeView*>(QStringLiteral("ActionList"))->model()->rowCount(), 0);
}

void DialogsTest::ScreenshotsOfTheDialogs() {
    TWindowFixture f;
    auto& w = *f.Window;
    w.GetRuleWindow().SetRule({});
    w.GetRuleWindow().show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.GetRuleWindow()));
    QTest::qWait(20);
    QVERIFY(!Edit(w.GetRuleWindow(), "PTemp")->hasSelectedText()); // opens with the caret at 0, nothing selected
    QVERIFY(w.GetRuleWindow().grab().save(ScreenshotPath(QStringLiteral("rule-editor"))));
    w.GetRuleWindow().hide();
    w.GetSettingWindow().SetValues(true, true, true, 50);
    w.GetSettingWindow().show();
    QVERIFY(w.GetSettingWindow().grab().save(ScreenshotPath(QStringLiteral("settings"))));
    w.GetSettingWindow().hide();
    {
        gui::TAbout about(TLanguage::English, &w);
        about.show();
        QVERIFY(about.grab().save(ScreenshotPath(QStringLiteral("about"))));
        // What it says is true: the version, the licence, the source, the libraries in use.
        const auto text = [&about](const char* name) { return about.findChild<QLabel*>(QLatin1String(name))->text(); };
        QVERIFY(text("Label1").endsWith(QStringLiteral(QUILLON_VERSION)));
        QVERIFY(text("Label6").contains(QStringLiteral("MIT")));
        QVERIFY(text("Label3").contains(QStringLiteral("https://")));
        QVERIFY(text("Label5").contains(QStringLiteral("SQLite")));
        QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("BtnLicence")), Qt::LeftButton);
        auto* licence = about.findChild<QPlainTextEdit*>(QStringLiteral("AboutTextView"));
        QVERIFY(licence && licence->toPlainText().startsWith(QStringLiteral("MIT License")));
        licence->window()->close();
        QTRY_VERIFY(!about.findChild<QPlainTextEdit*>(QStringLiteral("AboutTextView")));
        QTest::mouseClick(about.findChild<QPushButton*>(QStringLiteral("BtnNotices")), Qt::LeftButton);
        auto* notices = about.findChild<QPlainTextEdit*>(QStringLiteral("AboutTextView"));
        for (const char* library : {"Qt 6", "zlib", "libdeflate", "SQLite", "Lesser General Public License"})
            QVERIFY2(notices->toPlainText().contains(QLatin1String(library)), library);
        gui::TAbout chinese(TLanguage::Chinese, &w);
        chinese.show();
        QVERIFY(chinese.grab().save(ScreenshotPath(QStringLiteral("about-chinese"))));
    }

    const QString batch = f.Path(QStringLiteral("batch"));
    WriteFile(batch + QStringLiteral("/1.w3g"), Duel("Alice", "Bob"));
    WriteFile(batch + QStringLiteral("/2.w3g"), Duel("Alice", "Bob"));
    WriteFile(batch + QStringLiteral("/broken.w3g"), testing::TBytes(64, 'x'));
    f.Boxes.Folder = batch;
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("BtnBatcnRen")), Qt::LeftButton);
    QTRY_VERIFY(!w.GetBatchRenamer().Running());
    QVERIFY(w.GetResultWindow().grab().save(ScreenshotPath(QStringLiteral("rename-result"))));
    w.GetResultWindow().hide();
    QVERIFY(w.isEnabled());

    w.findChild<QComboBox*>(QStringLiteral("Language"))->setCurrentIndex(1);
    w.GetRuleWindow().show();
    QTest::qWait(20); // the opening deselects the field once the window is up
    QVERIFY(w.GetRuleWindow().grab().save(ScreenshotPath(QStringLiteral("rule-editor-chinese"))));
    w.GetRuleWindow().hide();
    w.GetSettingWindow().show();
    QVERIFY(w.GetSettingWindow().grab().save(ScreenshotPath(QStringLiteral("settings-chinese"))));
    w.GetSettingWindow().hide();
}

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
