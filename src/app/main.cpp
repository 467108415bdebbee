// quillon [PATH] [--settings FILE] [--library FILE]: the window, opened on a replay or a folder. A second start hands
// its path to the running window and ends.
#include "app/DesktopIntegration.h"
#include "app/SingleInstance.h"
#include "core/settings/Settings.h"
#include "gui/MainWindow.h"
#include "gui/QtText.h"

#include <QApplication>
#include <QCommandLineParser>

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
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("A replay or a folder to open."),
                                 QStringLiteral("[PATH]"));
    parser.process(app);
    const QStringList paths = parser.positionalArguments();

    // A running instance takes the path; this start then ends without a window or the settings.
    const QString socketName = quillon::app::InstanceSocketName();
    if (quillon::app::HandOffToRunningInstance(socketName, quillon::app::HandOffText(paths)))
        return 0;

    quillon::gui::TMainWindowOptions options;
    options.SettingsPath = quillon::SettingsPath(quillon::ProgramDir(), quillon::gui::ToPath(parser.value(settings)));
    options.RegisterFileType = &quillon::app::RegisterReplayType;
    options.LibraryPath = quillon::gui::ToPath(parser.value(library)); // none: the window takes the user's
    quillon::gui::TQuillonMain window(std::move(options));
    quillon::app::TInstanceServer instance(
        [&window] {
            if (window.isMinimized())
                window.showNormal();
            window.raise();
            window.activateWindow();
        },
        [&window](const QString& text) { window.OpenPath(text); });
    instance.Listen(socketName);
    window.show();
    window.OpenPath(paths.isEmpty() ? QString() : paths.front());
    return app.exec();
}
