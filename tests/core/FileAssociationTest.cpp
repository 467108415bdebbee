#include "core/platform/FileAssociation.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

using namespace quillon;
namespace fs = std::filesystem;

namespace {

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(FileAssociation, WritesTheTypeAndTheEntryOnceAndFollowsTheLanguage) {
    const fs::path home = fs::path(::testing::TempDir()) / "quillon-xdg-data";
    fs::remove_all(home);
    const std::string program = "/opt/my games/quillon";
    const fs::path desktop = home / "applications" / "io.github.quillon.Quillon.desktop";
    const fs::path mime = home / "mime" / "packages" / "io.github.quillon.Quillon.xml";

    TRegistration done = RegisterFileType("&Open with Quillon", program, home.string());
    EXPECT_TRUE(done.MimeWritten && done.DesktopWritten);
    const std::string entry = Read(desktop);
    EXPECT_NE(entry.find("Exec=\"/opt/my games/quillon\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("MimeType=application/x-warcraft3-replay;\n"), std::string::npos);
    EXPECT_NE(entry.find("[Desktop Action open]\nName=Open with Quillon\n"), std::string::npos);
    const std::string type = Read(mime);
    EXPECT_NE(type.find("<glob pattern=\"*.w3g\"/>"), std::string::npos);
    EXPECT_NE(type.find("value=\"Warcraft III recorded game\" offset=\"0\""), std::string::npos);
    EXPECT_NE(type.find("value=\"GRBN\" offset=\"0\""), std::string::npos);

    // Unchanged: nothing is written again. Another language: only the entry changes.
    done = RegisterFileType("&Open with Quillon", program, home.string());
    EXPECT_FALSE(done.MimeWritten || done.DesktopWritten);
    done = RegisterFileType("用Quillon打开(&O)", program, home.string());
    EXPECT_FALSE(done.MimeWritten);
    EXPECT_TRUE(done.DesktopWritten);
    EXPECT_NE(Read(desktop).find("Name=用Quillon打开(O)\n"), std::string::npos);
}

// The program in a folder of the given name, a shell script that writes its own path and its arguments; the
// desktop entry registered for it, then launched by GLib on a replay path. GLib must run the script with exactly
// that path and the one argument: nothing the folder name holds may split, expand or add a command.
TEST(FileAssociation, GLibRunsTheProgramWhateverItsFolderIsCalled) {
    if (std::system("gio help launch >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no gio launch (libglib2.0-bin)";
    const fs::path root = fs::path(::testing::TempDir()) / "quillon-exec";
    const std::string names[] = {"with space",          "a\"quote",     "dollar$HOME",  "back`tick`",  "c\\sd",
                                 "semi;colon&amp|pipe", "single'quote", "tilde~*?[ab]", "中文 文件夹", "ends with \\"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        fs::remove_all(root);
        const fs::path folder = root / name;
        fs::create_directories(folder);
        const fs::path program = folder / "quillon";
        // Written whole, then moved into place: the test never reads half of it.
        std::ofstream(program) << "#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > \"$QUILLON_EXEC_OUT.part\"\n"
                                  "mv \"$QUILLON_EXEC_OUT.part\" \"$QUILLON_EXEC_OUT\"\n";
        fs::permissions(program, fs::perms::owner_all);
        const fs::path home = root / "data";
        ASSERT_TRUE(RegisterFileType("&Open", program.string(), home.string()).DesktopWritten);

        const fs::path out = root / "argv.txt";
        const fs::path replay = root / "a b.w3g";
        std::ofstream(replay) << "x";
        const fs::path entry = home / "applications" / "io.github.quillon.Quillon.desktop";
        const std::string command = "QUILLON_EXEC_OUT='" + out.string() + "' gio launch '" + entry.string() + "' '" +
                                    replay.string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << Read(entry);
        for (int i = 0; i < 400 && !fs::exists(out); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(Read(out), program.string() + "\n" + replay.string() + "\n") << Read(entry);
    }
}

TEST(FileAssociation, APathNoDesktopEntryCanHoldWritesNothing) {
    const fs::path home = fs::path(::testing::TempDir()) / "quillon-xdg-unsafe";
    const std::string paths[] = {"/tmp/n\nExec=touch PWNED #/quillon",
                                 "/tmp/cr\r/quillon",
                                 "/tmp/tab\t/quillon",
                                 "/tmp/bad\xFF/quillon",
                                 "/tmp/del\x7F/quillon",
                                 "/tmp/x%fy%u/quillon",
                                 "/tmp/per%%cent/quillon"};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        fs::remove_all(home);
        const TRegistration done = RegisterFileType("&Open", path, home.string());
        EXPECT_TRUE(done.UnsafePath);
        EXPECT_FALSE(done.MimeWritten || done.DesktopWritten);
        EXPECT_FALSE(fs::exists(home));
    }
}

TEST(FileAssociation, ARefusedWriteIsSkippedQuietly) {
    const fs::path blocker = fs::path(::testing::TempDir()) / "quillon-xdg-blocker";
    fs::remove_all(blocker);
    std::ofstream(blocker) << "a file where the folder should be";
    const TRegistration done = RegisterFileType("&Open", "/usr/bin/quillon-test", blocker.string());
    EXPECT_FALSE(done.MimeWritten || done.DesktopWritten);
}
