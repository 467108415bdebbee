#include "core/platform/FileAssociation.h"

#include "core/platform/AtomicFile.h"
#include "core/platform/FreedesktopFiles.h"
#include "core/platform/System.h"

#include <filesystem>
#include <system_error>

namespace quillon {

namespace fs = std::filesystem;

namespace {

bool WriteIfChanged(const fs::path& path, const std::string& text) {
    std::string old;
    if (ReadSmallFile(path.string(), old) && old == text)
        return false;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    return WriteFileAtomically(path.string(), text);
}

} // namespace

std::string UserDataHome() {
    return UserFolder(TUserFolder::Data);
}

bool InstalledSystemWide(const std::string& programPath) {
    const std::string entry = std::string("share/applications/") + DesktopId + ".desktop";
    std::error_code ec;
    const fs::path prefix = fs::path(programPath).parent_path().parent_path();
    for (const fs::path& root : {prefix, fs::path("/usr"), fs::path("/usr/local")})
        if (fs::exists(root / entry, ec) && fs::exists(root / "bin" / fs::path(programPath).filename(), ec) &&
            fs::equivalent(root / "bin" / fs::path(programPath).filename(), programPath, ec))
            return true;
    return false;
}

TRegistration RegisterReplayTypeForUser(const std::string& openVerb, const std::string& programPath) {
    return RegisterFileType(openVerb, programPath, UserDataHome());
}

TRegistration RegisterFileType(const std::string& openVerb, const std::string& programPath,
                               const std::string& dataHome) {
    TRegistration done;
    if (InstalledSystemWide(programPath)) {
        done.Skipped = true;
        return done;
    }
    if (!CanBeExecPath(programPath)) {
        done.UnsafePath = true;
        return done;
    }
    const fs::path home(dataHome);
    done.MimeWritten =
        WriteIfChanged(home / "mime" / "packages" / (std::string(DesktopId) + ".xml"), MimePackageText());
    done.DesktopWritten = WriteIfChanged(home / "applications" / (std::string(DesktopId) + ".desktop"),
                                         DesktopEntryText(programPath, openVerb));
    return done;
}

} // namespace quillon
