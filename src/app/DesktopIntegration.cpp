#include "app/DesktopIntegration.h"

#include "core/lang/StringIds.h"
#include "core/platform/FileAssociation.h"
#include "core/text/Utf8.h"
#include "gui/QtText.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <cstdio>

namespace quillon::app {

namespace {

#ifndef Q_OS_WIN
// Runs a refresh tool in the background when the desktop has it; the window never waits for it.
void Refresh(const char* tool, const QString& folder) {
    const QString program = QStandardPaths::findExecutable(QLatin1String(tool));
    if (!program.isEmpty())
        QProcess::startDetached(program, {folder});
}
#endif

} // namespace

void RegisterReplayType(const std::string& openVerb, TLanguage language) {
    // Writing flushes to disk: off the window's thread, one registration after the other.
    static QThreadPool pool;
    pool.setMaxThreadCount(1);
    (void)QtConcurrent::run(
        &pool, [openVerb, language, program = gui::ToPath(QCoreApplication::applicationFilePath())] {
            const TRegistration done = RegisterReplayTypeForUser(openVerb, program);
            static bool told = false; // the pool runs one registration at a time
            if (done.UnsafePath && !told) {
                told = true;
                const std::string text = FormatText(GetString(AppString::UnsafeProgramPath, language), {program});
                std::fprintf(stderr, "quillon: %s\n", EscapedText(text, true).c_str());
            }
#ifndef Q_OS_WIN // the registry has no caches to refresh
            const QDir home(gui::FromPath(UserDataHome()));
            if (done.MimeWritten)
                Refresh("update-mime-database", home.filePath(QStringLiteral("mime")));
            if (done.DesktopWritten)
                Refresh("update-desktop-database", home.filePath(QStringLiteral("applications")));
#endif
        });
}

} // namespace quillon::app
