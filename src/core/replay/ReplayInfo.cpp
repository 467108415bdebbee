#include "core/replay/ReplayInfo.h"

#include "core/replay/internal/ByteReader.h"
#include "core/replay/internal/ReplayParser.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace quillon {

namespace {

std::vector<uint8_t> ReadWholeFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        throw TReplayError("Cannot open file \"" + fileName + "\". " + std::strerror(errno), TReplayError::TKind::Open);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0)
        throw TReplayError("Cannot open file \"" + fileName + "\". " + std::strerror(errno), TReplayError::TKind::Open);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
        ThrowStreamReadError();
    return bytes;
}

} // namespace

std::span<const uint8_t> ReplayInside(std::span<const uint8_t> file) {
    // GRBN files (written by a ladder platform) put a 128-byte header and a compressed metadata block of the
    // size stored at offset 12 in front of an unchanged replay.
    constexpr size_t GrbnHeaderSize = 128;
    if (file.size() < GrbnHeaderSize || std::memcmp(file.data(), "GRBN", 4) != 0)
        return file;
    const uint64_t start = GrbnHeaderSize + uint64_t{TByteReader::LoadU32Le(file.data() + 12)};
    if (start >= file.size())
        return file;
    return file.subspan(static_cast<size_t>(start));
}

std::unique_ptr<TReplayInfo> TReplayInfo::Create(const std::string& fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return nullptr;
    std::unique_ptr<TReplayInfo> replay(new TReplayInfo());
    replay->FileName = fileName;
    return replay;
}

std::unique_ptr<TReplayInfo> TReplayInfo::CreateFromBuffer(std::vector<uint8_t> bytes, std::string fileName) {
    std::unique_ptr<TReplayInfo> replay(new TReplayInfo());
    replay->FileName = std::move(fileName);
    replay->Source = std::move(bytes);
    return replay;
}

TReplayInfo::~TReplayInfo() = default;

std::span<const uint8_t> TReplayParser::SourceBytes() {
    // A file is read once, on first use; every later step works on those bytes.
    if (!R.Source)
        R.Source = ReadWholeFile(R.FileName);
    return ReplayInside(*R.Source);
}

bool TReplayInfo::Load(uint8_t detail) {
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
