#include "TestReplays.h"

#include "core/replay/ReplayError.h"

using namespace quillon;
using namespace quillon::testing;

TEST(StartRecord, GameInformation) {
    TReplaySpec spec = OneVersusOne(26);
    spec.GameName = "Lost Temple 1v1";
    spec.MapPath = "Maps\\FrozenThrone\\(4)LostTemple.w3x";
    spec.Creator = "Battle.net";
    spec.StartSpots = 4;
    auto r = Loaded(spec, 0);
    EXPECT_EQ(r->Game.GameName, "Lost Temple 1v1");
    EXPECT_EQ(r->Game.MapPath, "Maps\\FrozenThrone\\(4)LostTemple.w3x");
    EXPECT_EQ(r->Game.Creator, "Battle.net");
    EXPECT_EQ(r->Game.StartSpots, 4);
    EXPECT_EQ(r->Players->GetItem(0).Name, "Alice");
    EXPECT_EQ(r->Players->GetItem(1).Name, "Bob");
}

TEST(StartRecord, MapPathDecodesWhateverItsFirstCharacter) {
    // The first character sits alone at the end of the skipped groups; an even one is stored one higher
    // and must be decoded like the rest (read raw, "(2)Map" would become ")2)Map").
    for (const std::string map : {"Maps\\x.w3x", "(2)Echo Isles.w3m", "b", "Maps/Download/x.w3x"}) {
        SCOPED_TRACE(map);
        TReplaySpec spec = OneVersusOne(21);
        spec.MapPath = map;
        auto r = Loaded(spec, 0);
        EXPECT_EQ(r->Game.MapPath, map);
        EXPECT_EQ(r->Game.Creator, "Host");
    }
}

TEST(StartRecord, ExtraBytesAfterTheThirdTextAreSkipped) {
    // From 1.26 twenty more bytes follow the third text; the player count comes after the stored zero.
    TReplaySpec spec = OneVersusOne(26);
    spec.AfterCreator = {0,    0x10, 0x22, 0x00, 0x7F, 0x01, 0x01, 0x02, 0x03, 0x04, 0x05,
                         0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F};
    spec.GameTypeCode = 1;
    spec.Others[0].Extra = TBytes(8, 0);
    auto r = Loaded(spec, 1);
    EXPECT_EQ(r->Game.Creator, "Host");
    EXPECT_EQ(r->Game.GameType, 1);
    EXPECT_EQ(r->Players->Count(), 2);
    EXPECT_EQ(r->Teams->Count(), 2);
    EXPECT_EQ(r->WalkEnd.Reason, TWalkEnd::TReason::End);
}

TEST(StartRecord, GameTypeCodes) {
    const std::pair<uint32_t, int32_t> cases[] = {{1, 1}, {13, 3}, {32, 4}, {9, 2}, {0, 2}, {0x00104010, 2}};
    for (auto [code, type] : cases) {
        SCOPED_TRACE(code);
        TReplaySpec spec = OneVersusOne(26);
        spec.Others[0].Extra = TBytes(8, 0);
        spec.GameTypeCode = code;
        EXPECT_EQ(Loaded(spec, 0)->Game.GameType, type);
    }
}

TEST(StartRecord, OneByteExtraDataMarksCustomUntil130) {
    for (auto [version, type] : {std::pair{26u, 2}, std::pair{30u, 2}, std::pair{10030u, 1}, std::pair{10100u, 1}}) {
        SCOPED_TRACE(version);
        TReplaySpec spec = OneVersusOne(version, rec::End(), 6061);
        spec.GameTypeCode = 1;
        spec.Others[0].Extra = {0};
        EXPECT_EQ(Loaded(spec, 0)->Game.GameType, type);
    }
    // The host's own record comes before the game type code, which overwrites it.
    TReplaySpec spec = OneVersusOne(26);
    spec.GameTypeCode = 1;
    spec.Host.Extra = {0};
    spec.Others[0].Extra = TBytes(8, 0);
    EXPECT_EQ(Loaded(spec, 0)->Game.GameType, 1);
}

TEST(StartRecord, TwelveSlotsGetSyntheticIdsInSlotOrder) {
    TReplaySpec spec = OneVersusOne(26);
    spec.Others = {{2, "B"}, {3, "C"}, {4, "D"}};
    spec.Slots.clear();
    for (uint8_t i = 0; i < 12; ++i) {
        TWriterSlot s;
        if (i < 4) {
            s.PlayerId = static_cast<uint8_t>(i + 1);
            s.Team = static_cast<uint8_t>(i % 2);
        } else if (i < 6) {
            s.PlayerId = 0;
            s.Computer = 1;
            s.Team = 2;
            s.AiStrength = static_cast<uint8_t>(i - 4 + 1);
        } else {
            s.Status = 0;
        }
        spec.Slots.push_back(s);
    }
    auto r = Loaded(spec, 0);
    ASSERT_EQ(r->Players->Count(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(r->Players->GetItem(i).Id, i + 1);
    EXPECT_TRUE(r->Players->GetItem(4).Computer);
    EXPECT_EQ(r->Players->GetItem(4).AiStrength, 1);
    EXPECT_EQ(r->Players->GetItem(5).AiStrength, 2);
    EXPECT_EQ(r->Players->GetItem(5).Name, "");
    EXPECT_EQ(r->Players->GetItem(6).SlotStatus, 0);
    EXPECT_EQ(r->Players->GetItem(6).Team, 0);
    ASSERT_EQ(r->Teams->Count(), 3);
    EXPECT_EQ(r->Teams->GetItem(0).Number, 1);
    EXPECT_EQ(r->Teams->GetItem(0).Members, (std::vector<uint8_t>{1, 3}));
    EXPECT_EQ(r->Teams->GetItem(2).Members, (std::vector<uint8_t>{5, 6}));
    EXPECT_EQ(r->Teams->GetItem(2).Count, 2);
}

TEST(StartRecord, ObserverTeamByteDependsOnThePatch) {
    struct TCase {
        uint32_t Version;
        uint8_t TeamByte;
        bool Observer;
        uint8_t Team;
    };
    // Up to 1.28 team byte 12 is the observers'; from 1.29 it is team 13 and observers sit on 24.
    for (const TCase c : {TCase{26, 12, true, 0}, TCase{26, 11, false, 12}, TCase{29, 12, false, 13},
                          TCase{29, 23, false, 24}, TCase{29, 24, true, 0}, TCase{10100, 24, true, 0}}) {
        SCOPED_TRACE(::testing::Message() << c.Version << " " << int{c.TeamByte});
        TReplaySpec spec = OneVersusOne(c.Version, rec::End(), 6060);
        spec.Slots[1].Team = c.TeamByte;
        spec.Slots[1].Color = 5;
        auto r = Loaded(spec, 0);
        const TPlayerInfo& p = PlayerById(*r, 2);
        EXPECT_EQ(p.Observer, c.Observer);
        EXPECT_EQ(p.Team, c.Team);
        EXPECT_EQ(p.Color, c.Observer ? 0 : 5);
        EXPECT_EQ(p.Race, c.Observer ? 0 : 2);
        EXPECT_EQ(r->Teams->IndexOfTeam(c.Team) != NotFound, !c.Observer);
    }
}

TEST(StartRecord, RaceFlags) {
    const std::pair<uint8_t, uint8_t> cases[] = {{0x01, 1}, {0x02, 2}, {0x04, 3}, {0x08, 4}, {0x10, 5},
                                                 {0x20, 6}, {0x60, 6}, {0x41, 1}, {0x03, 0}, {0x00, 0}};
    for (auto [flags, race] : cases) {
        SCOPED_TRACE(int{flags});
        TReplaySpec spec = OneVersusOne(26);
        spec.Slots[0].Race = flags;
        EXPECT_EQ(PlayerById(*Loaded(spec, 0), 1).Race, race);
    }
}

TEST(StartRecord, SlotRecordSizeByVersion) {
    struct TCase {
        uint32_t Version;
        uint8_t AiStrength;
        uint8_t Handicap;
    };
    for (const TCase c : {TCase{2, 0, 0}, TCase{6, 2, 0}, TCase{7, 2, 80}}) {
        SCOPED_TRACE(c.Version);
        TReplaySpec spec = OneVersusOne(c.Version);
        spec.Slots[1].PlayerId = 9; // a computer: no player record
        spec.Slots[1].Computer = 1;
        spec.Slots[1].AiStrength = 2;
        spec.Slots[1].Handicap = 80;
        spec.Slots.push_back(spec.Slots[0]); // a third slot shows the record size was right
        spec.Slots[2].PlayerId = 2;
        spec.Slots[2].Team = 3;
        auto r = Loaded(spec, 0);
        const TPlayerInfo& computer = r->Players->GetItem(2);
        EXPECT_TRUE(computer.Computer);
        EXPECT_EQ(computer.AiStrength, c.AiStrength);
        EXPECT_EQ(computer.Handicap, c.Handicap);
        EXPECT_EQ(PlayerById(*r, 2).Team, 4);
    }
}

TEST(StartRecord, NamesKeepTwentyCharactersNeverHalfOfOne) {
    struct TCase {
        std::string Stored;
        std::string Kept;
    };
    const std::string han = "\xE7\x8E\xA9"; // one three-byte character
    std::string twentyHan;
    for (int i = 0; i < 20; ++i)
        twentyHan += han;
    for (const TCase& c :
         {TCase{std::string(30, 'x'), std::string(20, 'x')}, TCase{std::string(25, 'y'), std::string(20, 'y')},
          TCase{twentyHan + han + han, twentyHan}, TCase{std::string(19, 'a') + han + "b", std::string(19, 'a') + han},
          TCase{std::string(19, 'a') + "\xFF\xFE", std::string(19, 'a') + "\xFF"}}) {
        TReplaySpec spec = OneVersusOne(26);
        spec.Others[0].Name = c.Stored;
        EXPECT_EQ(PlayerById(*Loaded(spec, 0), 2).Name, c.Kept);
    }
}

TEST(StartRecord, MetadataRecordsBeforeTheSlotsAreSkipped) {
    for (uint8_t id : {uint8_t{0x39}, uint8_t{0x38}}) {
        TReplaySpec spec = OneVersusOne(10100, rec::End(), 6117);
        spec.Metadata = {{id, 3, TBytes(40, 0x19)}, {id, 4, TBytes(3, 0x16)}};
        auto r = Loaded(spec, 1);
        EXPECT_EQ(r->Teams->Count(), 2);
        EXPECT_EQ(r->Layout.Has202Metadata, id == 0x38);
        EXPECT_EQ(r->Layout.Era(), id == 0x38 ? TActionEra::Renumbered202 : TActionEra::NewSelection);
        EXPECT_EQ(r->WalkEnd.Reason, TWalkEnd::TReason::End);
    }
}

TEST(StartRecord, WithoutSlotBlockTeamsStayEmpty) {
    TReplaySpec spec = OneVersusOne(18);
    spec.HasSlotBlock = false;
    spec.StartSpots = 4;
    auto r = Loaded(spec, 1);
    ASSERT_NE(r->Teams, nullptr);
    EXPECT_EQ(r->Teams->Count(), 0);
    EXPECT_EQ(r->Game.StartSpots, 4);
    EXPECT_EQ(r->Players->Count(), 2);
    // The player records are all there is: they are players, whose team and race nobody knows.
    EXPECT_FALSE(r->SlotsRecorded);
    EXPECT_EQ(r->Players->GetItem(1).SlotStatus, 2);
    EXPECT_EQ(r->Players->GetItem(1).Team, 0);
}

TEST(StartRecord, DataEndingInsideIsAReadError) {
    const TBytes data = BuildReplayData(OneVersusOne(26));
    // Cut the inflated data at every length inside the start record.
    for (size_t cut = 0; cut + 2 < data.size(); ++cut) {
        SCOPED_TRACE(cut);
        TReplaySpec spec = OneVersusOne(26);
        auto r = FromBytes(BuildReplayFile(spec));
        ASSERT_TRUE(r->ReadHeader());
        ASSERT_TRUE(r->ReadAllBlocks());
        r->Data.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(cut));
        EXPECT_THROW(r->Parse(0), TReplayError);
    }
}
