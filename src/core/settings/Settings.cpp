#include "core/settings/Settings.h"

#include "core/platform/Paths.h"
#include "core/settings/IniFile.h"
#include "core/settings/SettingsError.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

namespace {

TSettings FromProfile(const TIniFile& ini) {
    TSettings s;
    const TSettings d;
    s.Language = static_cast<int>(ini.ReadInteger("general", "language", d.Language));
    s.ShowUnused = ini.ReadBool("general", "showunused", d.ShowUnused);
    s.ShowObservers = ini.ReadBool("general", "showobserver", d.ShowObservers);
    s.ParseActions = ini.ReadBool("general", "actionlist", d.ParseActions);
    // Pages are cut by this number; a hand-edited 0 or -5 must not divide by zero or run backwards.
    s.ActionsPerPage =
        static_cast<int>(std::clamp<long long>(ini.ReadInteger("general", "actionppage", d.ActionsPerPage),
                                               TSettings::MinActionsPerPage, TSettings::MaxActionsPerPage));
    s.Rule.PlayerTemplate = ini.ReadString("template", "player", d.Rule.PlayerTemplate);
    s.Rule.Conjunction = ini.ReadString("template", "conj", d.Rule.Conjunction);
    s.Rule.GlobalTemplate = ini.ReadString("template", "global", d.Rule.GlobalTemplate);
    return s;
}

} // namespace

TSettingsRead ReadSettings(const std::string& path) {
    TIniFile::TRead read = TIniFile::Read(path);
    TSettingsRead out;
    out.Missing = read.Missing;
    if (!read.Missing)
        out.Problem = read.Problem;
    const TIniFile usable = read.Problem.empty() ? std::move(read.File) : TIniFile{};
    out.Settings = FromProfile(usable);
    out.Window = ReadWindowState(usable);
    out.AutoSave = ReadAutoSaveSettings(usable);
    return out;
}

TSettings LoadSettings(const std::string& path) {
    return ReadSettings(path).Settings;
}

void SaveSettings(const std::string& path, const TSettings& s, const TWindowState* window,
                  const TAutoSaveSettings* autoSave) {
    TIniFile::TRead read = TIniFile::Read(path);
    if (!read.Missing && !read.Problem.empty()) // what is there is no settings file: never write over it
        throw TSettingsError("Unable to write to " + path + " (" + read.Problem + ")");
    TIniFile ini = std::move(read.File);
    ini.Write("general", "language", std::to_string(s.Language));
    ini.Write("general", "showunused", s.ShowUnused ? "1" : "0");
    ini.Write("general", "showobserver", s.ShowObservers ? "1" : "0");
    ini.Write("general", "actionlist", s.ParseActions ? "1" : "0");
    ini.Write("general", "actionppage", std::to_string(s.ActionsPerPage));
    ini.Write("template", "player", s.Rule.PlayerTemplate);
    ini.Write("template", "conj", s.Rule.Conjunction);
    ini.Write("template", "global", s.Rule.GlobalTemplate);
    if (window)
        WriteWindowState(ini, *window);
    if (autoSave)
        WriteAutoSaveSettings(ini, *autoSave);
    std::error_code ec;
    const fs::path parent = PathOf(path).parent_path();
    if (!parent.empty())
        fs::create_directories(parent, ec); // the per-user folder may not exist yet; Save reports failure
    ini.Save(path);
}

std::string SettingsPath(const std::string& programDir, const std::string& override) {
    return override.empty() ? ProgramFilePath(programDir, TUserFolder::Settings, "Quillon.ini") : override;
}

} // namespace quillon
