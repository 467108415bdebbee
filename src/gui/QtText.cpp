#include "gui/QtText.h"

#include <QFile>

#include <algorithm>

namespace quillon::gui {

std::string ToPath(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString FromPath(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

int Utf16Offset(const std::string& utf8, int byteOffset) {
    const size_t bytes = std::clamp<size_t>(static_cast<size_t>(std::max(byteOffset, 0)), 0, utf8.size());
    return static_cast<int>(ToQString(std::string_view(utf8).substr(0, bytes)).size());
}

} // namespace quillon::gui
