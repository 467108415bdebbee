#include "core/library/Sqlite.h"

#include "core/platform/Paths.h"

#include <sqlite3.h>

#include <cctype>

namespace quillon {

namespace {

TLibraryError ErrorOf(sqlite3* db, int code, std::string_view doing) {
    const std::string message = std::string(doing) + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {TLibraryError::TKind::Busy, message};
    case SQLITE_NOTADB:
        return {TLibraryError::TKind::NotALibrary, message};
    case SQLITE_CORRUPT:
        return {TLibraryError::TKind::Corrupt, message};
    case SQLITE_FULL:
        return {TLibraryError::TKind::DiskFull, message};
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return {TLibraryError::TKind::ReadOnly, message};
    case SQLITE_CANTOPEN:
        return {TLibraryError::TKind::ReadOnly, message};
    default:
        return {TLibraryError::TKind::Failed, message};
    }
}

// A file: URI of a path, every byte that URIs reserve escaped.
std::string FileUri(const std::string& path) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    const bool drive = BackslashSeparates && path.size() > 1 && path[1] == ':';
    std::string uri = drive ? "file:/" : "file:";
    for (size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(BackslashSeparates && path[i] == '\\' ? '/' : path[i]);
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~' || (drive && i == 1)) {
            uri.push_back(static_cast<char>(c));
        } else {
            uri.push_back('%');
            uri.push_back(Hex[c >> 4]);
            uri.push_back(Hex[c & 15]);
        }
    }
    return uri;
}

} // namespace

TSqlite::TSqlite(const std::string& path, TOpen mode) {
    int flags = SQLITE_OPEN_NOMUTEX;
    std::string name = path;
    switch (mode) {
    case TOpen::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    case TOpen::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case TOpen::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case TOpen::Immutable:
        flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        name = FileUri(path) + "?immutable=1";
        break;
    }
    const int code = sqlite3_open_v2(name.c_str(), &Db, flags, nullptr);
    if (code != SQLITE_OK) {
        const TLibraryError error = ErrorOf(Db, code, "cannot open " + path);
        sqlite3_close(Db);
        Db = nullptr;
        throw error;
    }
    sqlite3_extended_result_codes(Db, 1);
    // Another process scanning holds the write lock for one batch at a time: wait for it rather than fail.
    sqlite3_busy_timeout(Db, 10000);
}

bool TSqlite::ReadOnly() const {
    return sqlite3_db_readonly(Db, "main") == 1;
}

TSqlite::~TSqlite() {
    sqlite3_close_v2(Db);
}

void TSqlite::Check(int code, std::string_view doing) const {
    if (code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE)
        throw ErrorOf(Db, code, doing);
}

void TSqlite::Exec(std::string_view sql) {
    const std::string text(sql);
    Check(sqlite3_exec(Db, text.c_str(), nullptr, nullptr, nullptr), "database");
}

int64_t TSqlite::LastInsertId() const {
    return sqlite3_last_insert_rowid(Db);
}

TSqlStatement::TSqlStatement(const TSqlite& db, std::string_view sql) : Db(db) {
    Db.Check(sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &Statement, nullptr),
             "database");
}

TSqlStatement::~TSqlStatement() {
    sqlite3_finalize(Statement);
}

TSqlStatement& TSqlStatement::Bind(int index, int64_t value) {
    Db.Check(sqlite3_bind_int64(Statement, index, value), "database");
    return *this;
}

TSqlStatement& TSqlStatement::Bind(int index, double value) {
    Db.Check(sqlite3_bind_double(Statement, index, value), "database");
    return *this;
}

TSqlStatement& TSqlStatement::Bind(int index, std::string_view text) {
    Db.Check(sqlite3_bind_text(Statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT),
             "database");
    return *this;
}

TSqlStatement& TSqlStatement::BindBlob(int index, std::string_view bytes) {
    Db.Check(sqlite3_bind_blob(Statement, index, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT),
             "database");
    return *this;
}

TSqlStatement& TSqlStatement::BindNull(int index) {
    Db.Check(sqlite3_bind_null(Statement, index), "database");
    return *this;
}

bool TSqlStatement::Step() {
    const int code = sqlite3_step(Statement);
    Db.Check(code, "database");
    return code == SQLITE_ROW;
}

void TSqlStatement::Run() {
    while (Step()) {
    }
    Reset();
}

void TSqlStatement::Reset() {
    sqlite3_reset(Statement);
    sqlite3_clear_bindings(Statement);
}

int64_t TSqlStatement::Int(int column) const {
    return sqlite3_column_int64(Statement, column);
}

double TSqlStatement::Real(int column) const {
    return sqlite3_column_double(Statement, column);
}

std::string TSqlStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(Statement, column));
    return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(Statement, column))) : std::string();
}

std::string TSqlStatement::Blob(int column) const {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(Statement, column));
    return bytes ? std::string(bytes, static_cast<size_t>(sqlite3_column_bytes(Statement, column))) : std::string();
}

bool TSqlStatement::IsNull(int column) const {
    return sqlite3_column_type(Statement, column) == SQLITE_NULL;
}

TSqlTransaction::TSqlTransaction(TSqlite& db) : Db(db) {
    // IMMEDIATE takes the write lock at once, so two scanners queue up instead of failing halfway.
    Db.Exec("BEGIN IMMEDIATE");
}

TSqlTransaction::~TSqlTransaction() {
    if (Open)
        sqlite3_exec(Db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void TSqlTransaction::Commit() {
    Db.Exec("COMMIT");
    Open = false;
}

} // namespace quillon
