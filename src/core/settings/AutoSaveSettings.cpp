#include "core/settings/AutoSaveSettings.h"

#include "core/settings/IniFile.h"

namespace quillon {

namespace {

constexpr std::string_view Section = "autosave";

} // namespace

TAutoSaveSettings ReadAutoSaveSettings(const TIniFile& ini) {
    TAutoSaveSettings s;
    const TAutoSaveSettings d;
    s.Enabled = ini.ReadBool(Section, "enabled", d.Enabled);
    s.Collection = ini.ReadString(Section, "collection", "");
    s.FolderTemplate = ini.ReadString(Section, "template", "");
    for (size_t i = 0; i < TAutoSaveSettings::MaxFolders; ++i)
        if (std::string folder = ini.ReadString(Section, "folder" + std::to_string(i), ""); !folder.empty())
            s.Folders.push_back(std::move(folder));
    s.KeepInTray = ini.ReadBool(Section, "keepintray", d.KeepInTray);
    s.StartWithSystem = ini.ReadBool(Section, "startwithsystem", d.StartWithSystem);
    return s;
}

void WriteAutoSaveSettings(TIniFile& ini, const TAutoSaveSettings& s) {
    ini.Write(Section, "enabled", s.Enabled ? "1" : "0");
    ini.Write(Section, "collection", FitsOneValue(s.Collection) ? s.Collection : "");
    ini.Write(Section, "template", FitsOneValue(s.FolderTemplate) ? s.FolderTemplate : "");
    size_t written = 0;
    for (const std::string& folder : s.Folders)
        if (written < TAutoSaveSettings::MaxFolders && !folder.empty() && FitsOneValue(folder))
            ini.Write(Section, "folder" + std::to_string(written++), folder);
    for (; written < TAutoSaveSettings::MaxFolders; ++written)
        if (ini.Read(Section, "folder" + std::to_string(written)))
            ini.Write(Section, "folder" + std::to_string(written), "");
    ini.Write(Section, "keepintray", s.KeepInTray ? "1" : "0");
    ini.Write(Section, "startwithsystem", s.StartWithSystem ? "1" : "0");
}

} // namespace quillon
