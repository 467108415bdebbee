#include "gui/QtText.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace quillon::gui {

// The core takes paths as UTF-8 on Windows (it opens files through the wide API); Qt's own 8-bit file names there
// are in the ANSI code page, which has no room for most names in other scripts.
std::string ToPath(const QString& path) {
#ifdef Q_OS_WIN
    const QByteArray bytes = path.toUtf8();
#else
    const QByteArray bytes = QFile::encodeName(path);
#endif
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString FromPath(const std::string& path) {
#ifdef Q_OS_WIN
    return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
#else
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
#endif
}

QString ShownPath(const std::string& path) {
    return QDir::toNativeSeparators(FromPath(path));
}

int Utf16Offset(const std::string& utf8, int byteOffset) {
    const size_t bytes = std::clamp<size_t>(static_cast<size_t>(std::max(byteOffset, 0)), 0, utf8.size());
    return static_cast<int>(ToQString(std::string_view(utf8).substr(0, bytes)).size());
}

} // namespace quillon::gui
