#include "core/replay/ReplayInfo.h"

#include "core/platform/Files.h"

#include "core/replay/internal/ByteReader.h"
#include "core/replay/internal/ReplayParser.h"

#include <cerrno>
#include <cstring>

namespace quillon {

uint64_t ReplayStart(std::span<const uint8_t> head, uint64_t fileSize) {
    // GRBN files (written by a ladder platform) put a 128-byte header and a compressed metadata block of the
    // size stored at offset 12 in front of an unchanged replay.
    constexpr uint64_t GrbnHeaderSize = 128;
    if (fileSize < GrbnHeaderSize || head.size() < 16 || std::memcmp(head.data(), "GRBN", 4) != 0)
        return 0;
    const uint64_t start = GrbnHeaderSize + uint64_t{TByteReader::LoadU32Le(head.data() + 12)};
    return start < fileSize ? start : 0;
}

std::span<const uint8_t> ReplayInside(std::span<const uint8_t> file) {
    return file.subspan(static_cast<size_t>(ReplayStart(file, file.size())));
}

std::unique_ptr<TReplayInfo> TReplayInfo::Create(const std::string& fileName) {
    const TFileKind kind = FileStatus(fileName).Kind;
    if (kind == TFileKind::Missing || kind == TFileKind::Folder)
        return nullptr;
    std::unique_ptr<TReplayInfo> replay(new TReplayInfo());
    replay->FileName = fileName;
    return replay;
}

std::unique_ptr<TReplayInfo> TReplayInfo::CreateFromBuffer(std::vector<uint8_t> bytes, std::string fileName) {
    std::unique_ptr<TReplayInfo> replay(new TReplayInfo());
    replay->FileName = std::move(fileName);
    replay->Source = TReplaySource::FromBuffer(std::move(bytes));
    return replay;
}

TReplayInfo::~TReplayInfo() = default;

TReplaySource& TReplayParser::Source() {
    if (!R.Source) {
        R.Source = TReplaySource::OpenFile(R.FileName);
        R.SourceIsFile = true;
    }
    return *R.Source;
}

bool TReplayInfo::Load(uint8_t detail) {
    struct TCloseFile { // the data are in memory once read: the file is not kept open
        TReplayInfo& R;
        ~TCloseFile() {
            if (R.SourceIsFile)
                R.Source.reset();
        }
    } closeFile{*this};
    if (!ReadHeader())
        return false;
    if (!(detail == 0 ? ReadFirstBlock() : ReadAllBlocks()))
        return false;
    return Parse(detail);
}

bool TReplayInfo::Parse(uint8_t detail) {
    if (!DataReady)
        return false;
    WalkEnd = {};
    Winner = 0;
    Actions.reset();
    TByteReader r(Data);
    TReplayParser parser{*this};
    parser.ParseStartRecord(r);
    if (detail == 0)
        return true;
    parser.WalkRecords(r, detail);
    return true;
}

} // namespace quillon
