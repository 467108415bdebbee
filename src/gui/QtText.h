#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quillon::gui {

/// The one crossing between the core's UTF-8 text and Qt's strings.
inline QString ToQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string ToUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

/// A file-system path as the core takes it: the bytes the system uses, and UTF-8 on Windows.
std::string ToPath(const QString& path);
QString FromPath(const std::string& path);
/// A path as the user reads it: with the system's separators ("C:\\Replays\\a.w3g" on Windows).
QString ShownPath(const std::string& path);

/// The position in a QString of a byte offset into its UTF-8 form (template checks count bytes).
int Utf16Offset(const std::string& utf8, int byteOffset);

} // namespace quillon::gui
