// Build tool: writes what an install puts on the desktop and that the program draws itself: the icon as PNG in the
// hicolor sizes, and the mime package. Usage: quillon-install-assets OUTDIR
#include "core/platform/FileAssociation.h"
#include "gui/AppIcon.h"

#include <QDir>
#include <QGuiApplication>

#include <fstream>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        out.mkpath(folder);
        if (!quillon::gui::AppIconPixmap(size).save(out.filePath(folder + QStringLiteral("/io.github.quillon.Quillon.png"))))
            return 1;
    }
    out.mkpath(QStringLiteral("mime/packages"));
    std::ofstream(out.filePath(QStringLiteral("mime/packages/io.github.quillon.Quillon.xml")).toStdString())
        << quillon::MimePackageText();
    return 0;
}
