#include "core/platform/FreedesktopFiles.h"

#include "core/text/Utf8.h"

namespace quillon {

namespace {

// An Exec argument as freedesktop.org's desktop entries have it: quoted, the reserved characters escaped with a
// backslash, then every backslash doubled once more because Exec is itself an escaped string.
std::string QuotedArgument(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\')
            out += "\\\\\\\\";
        else if (c == '"' || c == '`' || c == '$')
            out += std::string("\\\\") + c;
        else
            out.push_back(c);
    }
    return out + "\"";
}

// A desktop entry value: no line breaks, and "&" of a mnemonic dropped ("&&" stands for one "&").
std::string MenuText(const std::string& caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&')
                out.push_back(caption[++i]);
            continue;
        }
        if (caption[i] != '\n' && caption[i] != '\r')
            out.push_back(caption[i]);
    }
    return out;
}

} // namespace

std::string MimePackageText() {
    return std::string(R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type=")") +
           ReplayMimeType + R"(">
    <comment>Warcraft III Replay File</comment>
    <glob pattern="*.w3g"/>
    <magic priority="60">
      <match type="string" value="Warcraft III recorded game" offset="0"/>
      <match type="string" value="GRBN" offset="0"/>
    </magic>
  </mime-type>
</mime-info>
)";
}

std::string DesktopEntryText(const std::string& programPath, const std::string& openVerb) {
    const std::string exec = QuotedArgument(programPath) + " %f";
    return std::string("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Quillon\n"
                       "GenericName=Warcraft III Replay Viewer\n"
                       "Comment=Shows and renames Warcraft III replays\n"
                       "Exec=") +
           exec + "\nIcon=" + DesktopId + "\nTerminal=false\nCategories=Game;Utility;\nMimeType=" + ReplayMimeType +
           ";\nActions=open;\n\n[Desktop Action open]\nName=" + MenuText(openVerb) + "\nExec=" + exec + "\n";
}

std::string AutostartEntryText(const std::string& programPath, const std::string& argument) {
    return "[Desktop Entry]\nType=Application\nName=Quillon\nComment=Keeps every finished Warcraft III replay\nExec=" +
           QuotedArgument(programPath) + " " + QuotedArgument(argument) + "\nIcon=" + DesktopId +
           "\nTerminal=false\nNoDisplay=true\nX-GNOME-Autostart-enabled=true\n";
}

bool CanBeExecPath(const std::string& programPath) {
    if (!IsValidUtf8(programPath))
        return false;
    // GLib expands a single "%" as a field code even inside quotes, and looks for the program under the literal
    // "%%" that freedesktop.org asks for instead: no spelling of "%" runs the program.
    for (unsigned char c : programPath)
        if (c < 0x20 || c == 0x7F || c == '%')
            return false;
    return true;
}

} // namespace quillon
