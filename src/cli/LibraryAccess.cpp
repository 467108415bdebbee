#include "cli/LibraryAccess.h"
#include "cli/Output.h"

#include "core/platform/Console.h"
#include "core/platform/System.h"

#include <ostream>

namespace quillon::cli {

std::string LibraryPathOrDefault(const std::string& given) {
    return given.empty() ? DefaultLibraryPath(ProgramDir()) : given;
}

// What went wrong with the library, and what the user can do about it. Only a file that is no library, or that a
// whole-file check finds damaged, is offered the reset.
void ReportLibraryError(const TLibraryError& e, const std::string& path, std::ostream& err) {
    using K = TLibraryError::TKind;
    const K kind = e.Kind == K::Corrupt && TLibrary::FoundDamaged(path) ? K::NotALibrary : e.Kind;
    err << "quillon-cli: library " << TerminalText(path) << ": " << TerminalText(e.what()) << "\n";
    switch (kind) {
    case K::NotALibrary:
        err << "The file was left as it is. 'quillon-cli library reset' replaces it with an empty library.\n";
        break;
    case K::Busy:
        err << "Another Quillon is writing to it; try again when it has finished.\n";
        break;
    case K::DiskFull:
        err << "The disk is full: what was written before is kept. Free some space and run the command again.\n";
        break;
    case K::ReadOnly:
        err << "The library or its folder cannot be written; searching and counting still work.\n";
        break;
    case K::Corrupt:
        err << "A check of the whole file found it sound: the library was left as it is. Try again.\n";
        break;
    default:
        break;
    }
}

// Opens the library at the path given (else the user's) and runs one action on it; 1 after saying what went wrong
// with the library. Searching and counting answer from every page of the file: a damaged page must not pass for
// rows, so they check the whole file first.
int WithLibraryAt(const std::string& libraryPath, TLibrary::TAccess access, bool checkFirst, std::ostream& err,
                  const std::function<int(TLibrary&)>& action) {
    const std::string path = LibraryPathOrDefault(libraryPath);
    try {
        TLibrary library(path, access);
        if (checkFirst)
            library.CheckIntegrity();
        return action(library);
    } catch (const TLibraryError& e) {
        ReportLibraryError(e, path, err);
        return 1;
    }
}

} // namespace quillon::cli
