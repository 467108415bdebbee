#pragma once
// What every command prints with: text made safe for a terminal, JSON text, load errors, batch rows.

#include "core/lang/Translations.h"
#include "core/rename/Rename.h"
#include "core/replay/ReplayInfo.h"

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

namespace quillon::cli {

/// Says why a file could not be loaded: a {"file", "error"} line on out with json, else a line on err.
void ReportLoadError(const std::string& path, const std::string& error, bool json, std::ostream& out,
                     std::ostream& err);

/// The replay loaded at a detail, or nullptr after ReportLoadError has said why not.
std::unique_ptr<TReplayInfo> LoadOrReport(const std::string& path, uint8_t detail, TLanguage language, bool json,
                                          std::ostream& out, std::ostream& err);

/// Stored bytes as JSON text: UTF-8, invalid bytes as U+FFFD.
std::string JsonText(const std::string& bytes);

/// Text for a terminal: control characters (C0, DEL, C1) and bytes that are no UTF-8 as \xNN, so nothing a
/// replay or a file name holds can drive the terminal.
std::string TerminalText(std::string_view bytes);

/// A path into a JSON object under key; a path that is not UTF-8 also gets key + "Bytes" with its bytes
/// (invalid ones as \xNN), so two such names stay apart.
void AddPath(nlohmann::json& object, const std::string& key, const std::string& path);

/// Writes a report page to a new file at path; 0, or 1 after saying why not (it is never written over a file).
int WriteReport(const std::string& path, const std::string& page, TLanguage language, std::ostream& err);

/// One row of a batch: "path<TAB>result", or a JSON line with its outcome.
void PrintBatchRow(const TBatchRow& row, bool json, std::ostream& out);
/// Renamed, already named right or skipped by the user.
bool BatchRowSucceeded(const TBatchRow& row);

} // namespace quillon::cli
