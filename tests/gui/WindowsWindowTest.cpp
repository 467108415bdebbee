// The window's Windows pieces under Wine: the file association in the registry, and the design's error box for an
// InstallPath of the wrong type.
#include "GuiTestSupport.h"

#include "core/platform/FileAssociation.h"
#include "gui/QtText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <windows.h>

using namespace quillon;
using namespace quillon::guitest;

namespace {

// reg.exe as a user would run it; its exit status.
int Reg(const QStringList& args) {
    QProcess reg;
    reg.start(QStringLiteral("reg.exe"), args);
    reg.waitForFinished(30000);
    return reg.exitCode();
}

QString DefaultValue(const wchar_t* key) {
    wchar_t value[1024];
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return QString::fromWCharArray(value);
}

} // namespace

class WindowsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void TheAssociationFollowsTheLanguage();
    void InstallPathOfTheWrongTypeIsSaidInABox();
};

void WindowsWindowTest::TheAssociationFollowsTheLanguage() {
    Reg({QStringLiteral("delete"), QStringLiteral("HKCU\\Software\\Classes\\Quillon"), QStringLiteral("/f")});
    Reg({QStringLiteral("delete"), QStringLiteral("HKCU\\Software\\Classes\\.w3g"), QStringLiteral("/f")});
    TWindowFixture f(QStringLiteral("[general]\nlanguage=0\n"));
    // The window's own registration, as quillon.exe makes it, but waited for here.
    const std::string program = gui::ToPath(QCoreApplication::applicationFilePath());
    f.Window.reset();
    gui::TMainWindowOptions options;
    options.SettingsPath = gui::ToPath(f.SettingsFile);
    options.Boxes = &f.Boxes;
    options.LibraryPath = gui::ToPath(f.LibraryFile);
    options.RegisterFileType = [&program](const std::string& verb, TLanguage) {
        RegisterFileTypeForUser(verb, program);
    };
    gui::TQuillonMain window(std::move(options));
    window.show();
    QTRY_COMPARE(DefaultValue(L"Software\\Classes\\.w3g"), QStringLiteral("Quillon"));
    QCOMPARE(DefaultValue(L"Software\\Classes\\Quillon\\shell\\open"), QStringLiteral("&Open with Quillon"));
    QVERIFY(DefaultValue(L"Software\\Classes\\Quillon\\shell\\open\\command").endsWith(QStringLiteral("\" \"%1\"")));
    auto* language = window.findChild<QComboBox*>(QStringLiteral("Language"));
    QVERIFY(language);
    language->setCurrentIndex(1); // 简体中文
    QTRY_VERIFY(DefaultValue(L"Software\\Classes\\Quillon\\shell\\open").contains(QStringLiteral("Quillon")));
    QVERIFY(DefaultValue(L"Software\\Classes\\Quillon\\shell\\open") != QStringLiteral("&Open with Quillon"));
}

void WindowsWindowTest::InstallPathOfTheWrongTypeIsSaidInABox() {
    const QString key = QStringLiteral("HKCU\\Software\\Blizzard Entertainment\\Warcraft III");
    QCOMPARE(Reg({QStringLiteral("add"), key, QStringLiteral("/v"), QStringLiteral("InstallPath"), QStringLiteral("/t"),
                  QStringLiteral("REG_DWORD"), QStringLiteral("/d"), QStringLiteral("7"), QStringLiteral("/f")}),
             0);
    TWindowFixture f;
    f.Window->OpenPath(QString()); // no path: the game's replay folder
    QTRY_COMPARE(f.Boxes.Errors.size(), 1);
    QCOMPARE(f.Boxes.Errors.front(), QStringLiteral("Invalid data type for 'InstallPath'"));
    Reg({QStringLiteral("delete"), key, QStringLiteral("/f")});
}

QTEST_MAIN(WindowsWindowTest)
#include "WindowsWindowTest.moc"
