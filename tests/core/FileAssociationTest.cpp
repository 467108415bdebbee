#include "core/platform/FileAssociation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

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

TEST(FileAssociation, ExecQuotesWhatTheDesktopWouldReadOtherwise) {
    const std::string entry = DesktopEntryText("/home/a\"b$c/quillon", "&Open");
    EXPECT_NE(entry.find("Exec=\"/home/a\\\\\"b\\\\$c/quillon\" %f"), std::string::npos) << entry;
}

TEST(FileAssociation, ARefusedWriteIsSkippedQuietly) {
    const fs::path blocker = fs::path(::testing::TempDir()) / "quillon-xdg-blocker";
    fs::remove_all(blocker);
    std::ofstream(blocker) << "a file where the folder should be";
    const TRegistration done = RegisterFileType("&Open", "/usr/bin/quillon-test", blocker.string());
    EXPECT_FALSE(done.MimeWritten || done.DesktopWritten);
}
