#include "TestReplays.h"

#include "core/rename/Rename.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

using namespace quillon;
using namespace quillon::testing;
namespace fs = std::filesystem;

namespace {

// Alice (team 1) against Bob (team 2); Bob leaves first, so the default rule names it Alice-vs-Bob.
TBytes Game(const char* alice = "Alice", const char* bob = "Bob") {
    TReplaySpec spec = OneVersusOne(26, rec::Join({rec::Leave(2, 8), rec::End()}));
    spec.Host.Name = alice;
    spec.Others[0].Name = bob;
    spec.Others[0].Extra = TBytes(8, 0);
    return BuildReplayFile(spec);
}

TBytes ThreeTeams() {
    TReplaySpec spec = OneVersusOne(26);
    spec.Others.push_back({3, "Carol"});
    TWriterSlot s;
    s.PlayerId = 3;
    s.Team = 2;
    spec.Slots.push_back(s);
    return BuildReplayFile(spec);
}

class RenameTest : public ::testing::Test {
protected:
    void SetUp() override {
        Root = fs::temp_directory_path() / ("quillon-rename-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Root);
        fs::create_directories(Root);
    }
    void TearDown() override { fs::remove_all(Root); }

    std::string Put(const std::string& relative, const TBytes& bytes) {
        const fs::path path = Root / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path.generic_string();
    }
    // Paths with forward slashes on every system, as a user may type them on Windows too.
    std::string Dir() const { return Root.generic_string() + "/"; }
    std::vector<std::string> Tree() const {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(Root))
            if (e.is_regular_file())
                names.push_back(fs::relative(e.path(), Root).generic_string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<TBatchRow> Batch(TRenameFileSystem& files, TRenameRule rule = {}) {
        std::vector<TBatchRow> rows;
        TBatchOptions options;
        options.Rule = std::move(rule);
        options.OnRow = [&rows](const TBatchRow& row) { rows.push_back(row); };
        RenameFolder(Root.generic_string(), options, files);
        return rows;
    }
    std::vector<TBatchRow> Batch(TRenameRule rule = {}) {
        TRenameFileSystem files;
        return Batch(files, std::move(rule));
    }

    fs::path Root;
};

std::unique_ptr<TReplayInfo> Shown(const std::string& path) {
    auto r = TReplayInfo::Create(path);
    EXPECT_TRUE(r && r->Load(1));
    return r;
}

// Creates the target just before the rename it answers: another program at the worst moment.
class TRacingFileSystem : public TRenameFileSystem {
public:
    TRenameResult Rename(const std::string& from, const std::string& to) override {
        if (Races-- > 0)
            std::ofstream(to) << "theirs";
        return TRenameFileSystem::Rename(from, to);
    }
    int Races = 1;
};

} // namespace

TEST_F(RenameTest, SingleRenameRefusals) {
    const std::string a = Put("a.w3g", Game());
    Put("Taken-vs-Bob.w3g", Game("Taken"));
    Put("Alice-vs-Bob.w3g", Game());
    const std::string three = Put("three.w3g", ThreeTeams());
    auto shown = Shown(a);
    const TRenameFileSystem files;
    struct TCase {
        const char* Name;
        std::string Selected;
        const TReplayInfo* Replay;
        TRenameRule Rule;
        std::string Message;
        TSingleRenamePlan::TRefusal Refusal;
    };
    using R = TSingleRenamePlan::TRefusal;
    auto threeTeams = Shown(three);
    const TCase cases[] = {
        {"nothing selected", "", shown.get(), {}, "Please choose a file!", R::NoFile},
        {"file gone", "gone.w3g", shown.get(), {}, "Please choose a file!", R::NoFile},
        {"no replay on show", "a.w3g", nullptr, {}, "Please choose a file!", R::NoFile},
        {"already named",
         "Alice-vs-Bob.w3g",
         shown.get(),
         {},
         "Filename follows the rule, no need to rename!",
         R::AlreadyNamed},
        {"three teams",
         "three.w3g",
         threeTeams.get(),
         {},
         "Cannot rename, might be a replay with more than 2 teams!",
         R::CannotName},
        {"empty global template",
         "a.w3g",
         shown.get(),
         {"<name>", "+", ""},
         "Cannot rename, might be a replay with more than 2 teams!",
         R::CannotName},
        {"target exists", "a.w3g", shown.get(), {}, "Alice-vs-Bob already exists, rename failed!", R::TargetExists},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto plan = PlanSingleRename(Dir(), c.Selected, c.Replay, c.Rule, TLanguage::English, files);
        EXPECT_EQ(plan.Step, TSingleRenamePlan::TStep::Refuse);
        EXPECT_EQ(plan.Message, c.Message);
        EXPECT_EQ(plan.Refusal, c.Refusal);
    }
    EXPECT_EQ(PlanSingleRename(Dir(), "a.w3g", shown.get(), {}, TLanguage::Chinese, files).Message,
              "Alice-vs-Bob已存在, 改名失败!");
}

TEST_F(RenameTest, SingleRenameAsksThenRenames) {
    const std::string a = Put("a.w3g", Game());
    auto shown = Shown(a);
    TRenameFileSystem files;
    const auto plan =
        PlanSingleRename(Dir(), "a.w3g", shown.get(), {"<name>", "+", "<win> beat <loss>"}, TLanguage::English, files);
    ASSERT_EQ(plan.Step, TSingleRenamePlan::TStep::Confirm);
    EXPECT_EQ(plan.Message, "Rename a.w3g to Alice beat Bob.w3g?");
    EXPECT_EQ(ExecuteSingleRename(plan, TLanguage::English, files), "");
    EXPECT_EQ(Tree(), (std::vector<std::string>{"Alice beat Bob.w3g"}));
}

TEST_F(RenameTest, NeverReplacesAFileThatAppearsAtTheLastMoment) {
    const std::string a = Put("a.w3g", Game());
    auto shown = Shown(a);
    TRacingFileSystem files;
    const auto plan = PlanSingleRename(Dir(), "a.w3g", shown.get(), {}, TLanguage::English, files);
    ASSERT_EQ(plan.Step, TSingleRenamePlan::TStep::Confirm);
    EXPECT_EQ(ExecuteSingleRename(plan, TLanguage::English, files), "Alice-vs-Bob already exists, rename failed!");
    std::ifstream theirs(Root / "Alice-vs-Bob.w3g");
    std::string content((std::istreambuf_iterator<char>(theirs)), {});
    EXPECT_EQ(content, "theirs");
    EXPECT_EQ(fs::file_size(a), Game().size()); // ours keeps its name and content

    // In a batch the next number is taken instead.
    files.Races = 1;
    const auto rows = Batch(files);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].Path, a);
    EXPECT_EQ(rows[1].Result, Dir() + "Alice-vs-Bob3.w3g");
}

TEST_F(RenameTest, RenameNoReplaceRefusesExistingTargets) {
    const std::string from = Put("from.w3g", {1, 2, 3});
    const std::string to = Put("to.w3g", {9});
    EXPECT_EQ(RenameNoReplace(from, to), TRenameResult::TargetExists);
    EXPECT_EQ(fs::file_size(to), 1u);
    EXPECT_EQ(RenameNoReplace(from, Dir() + "new.w3g"), TRenameResult::Renamed);
    EXPECT_EQ(RenameNoReplace(from, Dir() + "other.w3g"), TRenameResult::Failed); // gone
    EXPECT_EQ(RenameNoReplace(Dir() + "new.w3g", Dir() + "no/such/folder.w3g"), TRenameResult::Failed);
}

TEST_F(RenameTest, BatchNumbersCollisionsAndASecondRunChangesNothing) {
    Put("1.w3g", Game());
    Put("2.w3g", Game());
    Put("3.w3g", Game());
    const auto first = Batch();
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0].Result, Dir() + "Alice-vs-Bob.w3g");
    EXPECT_EQ(first[1].Result, Dir() + "Alice-vs-Bob2.w3g");
    EXPECT_EQ(first[2].Result, Dir() + "Alice-vs-Bob3.w3g");
    const auto tree = Tree();
    const auto second = Batch();
    for (const auto& row : second) {
        EXPECT_EQ(row.Outcome, TBatchRow::TOutcome::AlreadyNamed) << row.Path;
        EXPECT_EQ(row.Result, "Filename follows the rule, no need to rename!");
    }
    EXPECT_EQ(Tree(), tree);
}

TEST_F(RenameTest, BatchWalksTheTreeAsTheUserExpects) {
    Put("b.w3g", Game("B1", "B2"));
    Put(".hidden-file.w3g", Game("H1", "H2"));
    Put("sub/deeper/d.w3g", Game("D1", "D2"));
    Put("sub/c.w3g", Game("C1", "C2"));
    Put(".secret/s.w3g", Game("S1", "S2"));
    Put("named.w3g/inside.w3g", Game("N1", "N2"));
    Put("sub/three.w3g", ThreeTeams());
    Put("sub/broken.w3g", {'n', 'o', 'p', 'e'});
    Put("sub/notes.txt", {'x'});
    const auto rows = Batch();
    std::vector<std::pair<std::string, std::string>> seen;
    for (const auto& row : rows)
        seen.emplace_back(fs::relative(row.Path, Root).generic_string(),
                          row.Result.rfind(Dir(), 0) == 0 ? fs::relative(row.Result, Root).generic_string()
                                                          : row.Result);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"named.w3g/inside.w3g", "named.w3g/N1-vs-N2.w3g"},
        {"sub/deeper/d.w3g", "sub/deeper/D1-vs-D2.w3g"},
        {"sub/broken.w3g", "Stream read error"}, // an unreadable replay says why
        {"sub/c.w3g", "sub/C1-vs-C2.w3g"},
        {"sub/three.w3g", "Cannot rename, might be a replay with more than 2 teams!"},
        {".hidden-file.w3g", "H1-vs-H2.w3g"},
        {"b.w3g", "B1-vs-B2.w3g"},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(fs::exists(Root / ".secret/s.w3g")); // hidden folders are left alone
    EXPECT_TRUE(fs::is_directory(Root / "named.w3g"));
}

TEST_F(RenameTest, DryRunReportsWhatARealRunDoesAndChangesNothing) {
    Put("1.w3g", Game());
    Put("2.w3g", Game());
    Put("Alice-vs-Bob.w3g", Game());
    Put("sub/x.w3g", Game("X", "Y"));
    const auto before = Tree();
    TDryRunFileSystem dry;
    const auto planned = Batch(dry);
    EXPECT_EQ(Tree(), before);
    const auto done = Batch();
    ASSERT_EQ(planned.size(), done.size());
    for (size_t i = 0; i < done.size(); ++i) {
        EXPECT_EQ(planned[i].Path, done[i].Path);
        EXPECT_EQ(planned[i].Result, done[i].Result);
    }
    EXPECT_EQ(done[1].Result, Dir() + "Alice-vs-Bob2.w3g");
}

TEST_F(RenameTest, BatchCanBeStoppedBetweenFiles) {
    for (const char* name : {"1.w3g", "2.w3g", "3.w3g"})
        Put(name, Game());
    std::vector<TBatchRow> rows;
    TBatchOptions options;
    options.OnRow = [&rows, stop = options.Stop](const TBatchRow& row) {
        rows.push_back(row);
        if (rows.size() == 2)
            stop.Request();
    };
    TRenameFileSystem files;
    EXPECT_FALSE(RenameFolder(Root.generic_string(), options, files));
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_TRUE(fs::exists(Root / "3.w3g"));
}

TEST_F(RenameTest, TheListIsTheBatchOrderAndNothingIsMetTwice) {
    Put("sub/a.w3g", Game("A1", "A2"));
    Put("b.w3g", Game("Z1", "Z2")); // its new name sorts after it: listed once, renamed once
    TRenameFileSystem files;
    const auto listed = ListBatch(Root.generic_string(), files);
    EXPECT_EQ(listed, (std::vector<TBatchItem>{{Dir() + "sub/a.w3g", ""}, {Dir() + "b.w3g", ""}}));
    std::vector<std::string> renamed;
    TBatchOptions options;
    options.OnRow = [&renamed](const TBatchRow& row) { renamed.push_back(row.Path); };
    EXPECT_TRUE(RenameListed(listed, options, files));
    EXPECT_EQ(renamed, (std::vector<std::string>{Dir() + "sub/a.w3g", Dir() + "b.w3g"}));
    EXPECT_EQ(Tree(), (std::vector<std::string>{"Z1-vs-Z2.w3g", "sub/A1-vs-A2.w3g"}));
}

TEST_F(RenameTest, NumberingRemembersTheNextFreeNameAndKeepsOwnNames) {
    // X and X3 are there already, X2 is free: X3 moves down to it, the others take the next numbers.
    Put("Alice-vs-Bob.w3g", Game());
    Put("Alice-vs-Bob3.w3g", Game());
    Put("a.w3g", Game());
    Put("b.w3g", Game());
    Put("c.w3g", Game());
    const auto rows = Batch();
    std::vector<std::string> results;
    for (const auto& row : rows)
        results.push_back(row.Result.rfind(Dir(), 0) == 0 ? row.Result.substr(Dir().size()) : row.Result);
    // In name order: Alice-vs-Bob.w3g, Alice-vs-Bob3.w3g, a, b, c.
    EXPECT_EQ(results[0], "Filename follows the rule, no need to rename!");
    EXPECT_EQ(results[1], "Alice-vs-Bob2.w3g"); // X3 moves down to the first free number, as the rule says
    EXPECT_EQ(results[2], "Alice-vs-Bob3.w3g");
    EXPECT_EQ(results[3], "Alice-vs-Bob4.w3g");
    EXPECT_EQ(results[4], "Alice-vs-Bob5.w3g");
    // A second run changes nothing: every file carries the first name free of the ones before it.
    for (const auto& row : Batch())
        EXPECT_EQ(row.Outcome, TBatchRow::TOutcome::AlreadyNamed) << row.Path;
}

namespace {

// A folder that cannot be listed, and renames the file system refuses: failures injected.
class TFailingFileSystem : public TRenameFileSystem {
public:
    std::vector<TEntry> List(const std::string& folder, std::string& error) const override {
        if (folder.find("/locked/") != std::string::npos) {
            error = "Permission denied";
            return {};
        }
        return TRenameFileSystem::List(folder, error);
    }
    TRenameResult Rename(const std::string&, const std::string&) override {
        Failure = "Read-only file system";
        return TRenameResult::Failed;
    }
};

} // namespace

TEST_F(RenameTest, FailuresAreRowsWithTheirReasons) {
    Put("locked/x.w3g", Game());
    Put("a.w3g", Game());
    TFailingFileSystem files;
    const auto rows = Batch(files);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Outcome, TBatchRow::TOutcome::Unlisted);
    EXPECT_EQ(rows[0].Path, Dir() + "locked/");
    EXPECT_EQ(rows[0].Result, "Cannot list the folder: Permission denied");
    EXPECT_EQ(rows[1].Outcome, TBatchRow::TOutcome::Failed);
    EXPECT_EQ(rows[1].Result, "Rename failed! (Read-only file system)");

    const auto shown = Shown(Dir() + "a.w3g");
    const auto plan = PlanSingleRename(Dir(), "a.w3g", shown.get(), {}, TLanguage::English, files);
    EXPECT_EQ(ExecuteSingleRename(plan, TLanguage::English, files),
              "Alice-vs-BobRename failed! (Read-only file system)");
}
