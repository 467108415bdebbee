#pragma once
// A folder of replays and a library file beside it, made for each test and removed after it.

#include "ReplayWriter.h"
#include "TestSystem.h"
#include "core/library/LibrarySearch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

namespace quillon::testing {

/// A query with the fields the setter gives it: Query([](TLibraryQuery& q) { q.Player = "moon"; }).
template <class TSet> TLibraryQuery Query(TSet set) {
    TLibraryQuery query;
    set(query);
    return query;
}

/// A search and the files it must find.
struct TSearchCase {
    const char* Name;
    TLibraryQuery Query;
    std::set<std::string> Expected;
};

class TLibraryFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        Root =
            std::filesystem::temp_directory_path() / ("quillon-library-test-" + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(Root);
        std::filesystem::create_directories(Root / "replays");
        DbPath = (Root / "library.sqlite").string();
    }
    void TearDown() override { std::filesystem::remove_all(Root); }

    std::string Folder() const { return (Root / "replays").string(); }

    /// Writes a file below the replay folder, with that modification time unless it is 0.
    void Write(const std::string& name, const TBytes& bytes, int64_t modified = 0) {
        const std::filesystem::path path = Root / "replays" / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (modified != 0)
            test::SetModifiedTime(path, modified);
    }

    std::filesystem::path Root;
    std::string DbPath;
};

} // namespace quillon::testing
