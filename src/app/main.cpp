// quillon [PATH] [--settings FILE]: the window, opened on a replay or a folder.
#include "core/settings/Settings.h"
#include "gui/MainWindow.h"
#include "gui/QtText.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

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
    parser.addPositionalArgument(QStringLiteral("path"), QStringLiteral("A replay or a folder to open."),
                                 QStringLiteral("[PATH]"));
    parser.process(app);

    quillon::gui::TMainWindowOptions options;
    options.SettingsPath = quillon::SettingsPath(quillon::ProgramDir(), quillon::gui::ToPath(parser.value(settings)));
    quillon::gui::TQuillonMain window(std::move(options));
    window.show();
    const QStringList paths = parser.positionalArguments();
    window.OpenPath(paths.isEmpty() ? QString() : paths.front());
    return app.exec();
}
