#include "core/replay/LoadReplay.h"

#include "core/platform/Files.h"

#include "core/lang/StringIds.h"
#include "core/replay/ReplayError.h"

#include <new>

namespace quillon {

namespace {

TLoadResult Finish(std::unique_ptr<TReplayInfo> replay, TLoadResult result, uint8_t detail, TActionDetail actions) {
    replay->ActionDetail = actions;
    try {
        if (!replay->Load(detail)) {
            result.Error = !replay->HeaderRead      ? TLoadError::NotReplay
                           : replay->BlockCount < 1 ? TLoadError::NoBlocks
                                                    : TLoadError::BadData;
            return result;
        }
    } catch (const TReplayError& e) {
        result.Error = e.Kind == TReplayError::TKind::Open ? TLoadError::CannotOpen : TLoadError::ReadError;
        result.Detail = e.what();
        result.OpenPath = e.Path;
        result.OpenReason = e.Reason;
        return result;
    } catch (const std::bad_alloc&) {
        result.Error = TLoadError::OutOfMemory;
        return result;
    }
    result.Replay = std::move(replay);
    return result;
}

} // namespace

TLoadResult LoadReplay(const std::string& path, uint8_t detail, TActionDetail actions) {
    TLoadResult result;
    result.Path = path;
    if (FileStatus(path).Kind == TFileKind::Folder) {
        result.Error = TLoadError::IsFolder;
        return result;
    }
    auto replay = TReplayInfo::Create(path);
    if (!replay) {
        result.Error = TLoadError::NoFile;
        return result;
    }
    return Finish(std::move(replay), std::move(result), detail, actions);
}

TLoadResult LoadReplayFromBuffer(std::vector<uint8_t> bytes, const std::string& name, uint8_t detail,
                                 TActionDetail actions) {
    TLoadResult result;
    result.Path = name;
    return Finish(TReplayInfo::CreateFromBuffer(std::move(bytes), name), std::move(result), detail, actions);
}

std::string LoadErrorText(const TLoadResult& result, TLanguage language) {
    switch (result.Error) {
    case TLoadError::None:
        return {};
    case TLoadError::NoFile:
        return FormatText(GetString(AppString::LoadNoFile, language), {result.Path});
    case TLoadError::IsFolder:
        return FormatText(GetString(AppString::LoadIsFolder, language), {result.Path});
    case TLoadError::NotReplay:
        return GetString(AppString::LoadNotReplay, language);
    case TLoadError::NoBlocks:
        return GetString(AppString::LoadNoBlocks, language);
    case TLoadError::BadData:
        return GetString(AppString::LoadBadData, language);
    case TLoadError::OutOfMemory:
        return GetString(AppString::LoadOutOfMemory, language);
    case TLoadError::ReadError:
        if (result.Detail == StreamReadErrorText)
            return GetString(AppString::StreamReadError, language);
        break;
    case TLoadError::CannotOpen:
        if (result.OpenPath.empty())
            break;
        // The system's reason stays in the system's words; the program's own are translated.
        return FormatText(GetString(AppString::CannotOpenFile, language),
                          {result.OpenPath, result.OpenReason == NotRegularFileText
                                                ? GetString(AppString::NotRegularFile, language)
                                                : result.OpenReason});
    }
    return result.Detail;
}

} // namespace quillon
