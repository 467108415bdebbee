#pragma once
// Opening the library for a library command, and saying what went wrong with it.

#include "core/library/Library.h"

#include <functional>
#include <iosfwd>
#include <string>

namespace CLI {
class App;
} // namespace CLI

namespace quillon::cli {

struct TContext;

/// The library file given, else the user's.
std::string LibraryPathOrDefault(const std::string& given);

/// What went wrong with the library, and what the user can do about it.
void ReportLibraryError(const TLibraryError& e, const std::string& path, std::ostream& err);

/// Opens the library at the path given (else the user's) and runs one action on it; 1 after saying what went wrong
/// with the library. With checkFirst the whole file is checked first (answers read from every page of it).
int WithLibraryAt(const std::string& libraryPath, TLibrary::TAccess access, bool checkFirst, std::ostream& err,
                  const std::function<int(TLibrary&)>& action);

/// quillon-cli library player: a player's profile.
void AddLibraryPlayerCommand(CLI::App* library, TContext& context);

} // namespace quillon::cli
