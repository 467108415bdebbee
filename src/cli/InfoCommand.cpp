// quillon-cli info: the lists the window shows, or the replay model as JSON.
#include "Commands.h"
#include "ReplayJson.h"

#include "present/ListRows.h"

#include <ostream>

namespace quillon::cli {

namespace {

void PrintRows(const TReplayInfo& r, const TInfoOptions& options, std::ostream& out) {
    const TNumberFormat format = TNumberFormat::FromSystem();
    for (const auto& row : InfoRows(r, format, options.Language))
        out << row.Caption << "\t" << row.Value.value_or("") << "\n";
    out << "\n";
    const TPlayerListOptions list{options.ShowUnused, options.ShowObservers};
    for (const auto& row : PlayerRows(r, list, format, options.Language)) {
        out << row.Caption;
        // The last sub-item of a full row is the hidden player id.
        const size_t shown = row.FullRow ? row.SubItems.size() - 1 : row.SubItems.size();
        for (size_t i = 0; i < shown; ++i)
            out << "\t" << row.SubItems[i];
        out << "\n";
    }
}

} // namespace

int RunInfo(const TInfoOptions& options, std::ostream& out, std::ostream& err) {
    const auto detail = static_cast<uint8_t>(options.Detail);
    int status = 0;
    bool first = true;
    for (const auto& file : options.Files) {
        TLoaded loaded = LoadReplay(file, detail);
        if (!loaded.Replay) {
            status = 1;
            if (options.Json)
                out << nlohmann::json{{"file", JsonText(file)}, {"error", JsonText(loaded.Error)}}.dump() << "\n";
            else
                err << "quillon-cli: " << file << ": " << loaded.Error << "\n";
            continue;
        }
        if (options.Json) {
            out << ReplayJson(*loaded.Replay, detail).dump() << "\n";
            continue;
        }
        if (!first)
            out << "\n";
        if (options.Files.size() > 1)
            out << "# " << file << "\n";
        PrintRows(*loaded.Replay, options, out);
        first = false;
    }
    return status;
}

} // namespace quillon::cli
