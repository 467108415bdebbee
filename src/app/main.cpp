// quillon [PATH] [--settings FILE] [--library FILE] [--tray]: the window, opened on a replay or a folder. A second
// start hands its path to the running window and ends.
#include "app/DesktopIntegration.h"
#include "app/SingleInstance.h"
#include "core/lang/StringIds.h"
#include "core/platform/Locale.h"
#include "core/settings/Settings.h"
#include "core/text/Utf8.h"
#include "gui/MainWindow.h"
#include "gui/QtText.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStatusBar>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows and renames Warcraft III replays."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption settings(QStringLiteral("settings"), QStringLiteral("Use FILE as the settings file."),
                                      QStringLiteral("FILE"));
    parser.addOption(settings);
    const QCommandLineOption library(QStringLiteral("library"), QStringLiteral("Use FILE as the replay library."),
                                     QStringLiteral("FILE"));
    parser.addOption(library);
    // The session's autostart: straight into the tray when auto-save is on (the window otherwise).
    const QCommandLineOption tray(QStringLiteral("tray"), QStringLiteral("Start in the tray when auto-save is on."));
    parser.addOption(tray);
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("A replay or a folder to open."),
                                 QStringLiteral("[PATH]"));
    parser.process(app);
    const QStringList paths = parser.positionalArguments();

    // A running instance of this user takes the path; this start then ends without a window or the settings. When
    // the socket cannot be trusted, this start is a window of its own and says why.
    using quillon::app::THandOff;
    const quillon::TLanguage systemLanguage =
        quillon::SystemLocaleIsChinese() ? quillon::TLanguage::Chinese : quillon::TLanguage::English;
    const quillon::app::TInstanceAddress address = quillon::app::InstanceAddress(systemLanguage);
    QString notShared = address.Problem;
    if (!address.Name.isEmpty()) {
        const THandOff handOff = quillon::app::HandOffToRunningInstance(address.Name, quillon::app::HandOffText(paths));
        if (handOff == THandOff::Handed)
            return 0;
        if (handOff == THandOff::ForeignPeer)
            notShared = quillon::gui::ToQString(
                quillon::FormatText(quillon::GetString(quillon::AppString::InstanceForeignPeer, systemLanguage),
                                    {quillon::EscapedText(quillon::gui::ToPath(address.Name), true)}));
    }
    if (!notShared.isEmpty())
        std::fprintf(stderr, "quillon: %s\n", notShared.toUtf8().constData());

    quillon::gui::TMainWindowOptions options;
    options.SettingsPath = quillon::SettingsPath(quillon::ProgramDir(), quillon::gui::ToPath(parser.value(settings)));
    options.RegisterFileType = &quillon::app::RegisterReplayType;
    options.LibraryPath = quillon::gui::ToPath(parser.value(library)); // none: the window takes the user's
    quillon::gui::TQuillonMain window(std::move(options));
    quillon::app::TInstanceServer instance(
        [&window] {
            if (window.isMinimized() || !window.isVisible())
                window.showNormal();
            window.raise();
            window.activateWindow();
        },
        [&window](const QString& text) { window.OpenPath(text); });
    if (notShared.isEmpty())
        instance.Listen(address.Name);
    if (!parser.isSet(tray) || !window.InTray())
        window.show();
    if (!notShared.isEmpty())
        window.statusBar()->showMessage(notShared);
    window.OpenPath(paths.isEmpty() ? QString() : paths.front());
    return app.exec();
}
