// Build tool: the program's icon as a Windows .ico (PNG images at the sizes Explorer and the Start menu ask for),
// drawn by the same code as the window's own icon. Usage: quillon-write-icon OUT.ico
#include "gui/AppIcon.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QSaveFile>

#include <vector>

namespace {

void PutLe(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const std::vector<int> sizes{16, 20, 24, 32, 40, 48, 64, 256};
    std::vector<QByteArray> images;
    for (int size : sizes) {
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        if (!quillon::gui::AppIconPixmap(size).save(&png, "PNG"))
            return 1;
        images.push_back(png.data());
    }
    // The icon directory, an entry per image, then the images.
    QByteArray ico;
    PutLe(ico, 0, 2);
    PutLe(ico, 1, 2); // an icon, not a cursor
    PutLe(ico, static_cast<quint32>(sizes.size()), 2);
    quint32 offset = 6 + 16 * static_cast<quint32>(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        const quint32 side = sizes[i] >= 256 ? 0 : static_cast<quint32>(sizes[i]); // 0 stands for 256
        PutLe(ico, side, 1);
        PutLe(ico, side, 1);
        PutLe(ico, 0, 1);  // no palette
        PutLe(ico, 0, 1);  // reserved
        PutLe(ico, 1, 2);  // planes
        PutLe(ico, 32, 2); // bits per pixel
        PutLe(ico, static_cast<quint32>(images[i].size()), 4);
        PutLe(ico, offset, 4);
        offset += static_cast<quint32>(images[i].size());
    }
    for (const QByteArray& image : images)
        ico += image;
    QSaveFile out(QString::fromLocal8Bit(argv[1]));
    return out.open(QIODevice::WriteOnly) && out.write(ico) == ico.size() && out.commit() ? 0 : 1;
}
