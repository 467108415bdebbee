#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace quillon {

/// A library database that cannot be used, with the reason in words.
class TLibraryError : public std::runtime_error {
public:
    enum class TKind {
        Failed,
        Busy,        // another process holds the database longer than we wait
        NotALibrary, // another program's file, or one a check found damaged: only a reset replaces it
        Newer,       // made by a newer Quillon
        Corrupt,     // SQLite says damaged; the caller checks the whole file before calling it so
        DiskFull,
        ReadOnly, // the file or its folder cannot be written
        Missing   // opened for reading, and there is no library yet
    };
    TLibraryError(TKind kind, const std::string& what) : std::runtime_error(what), Kind(kind) {}
    TKind Kind;
};

/// One open SQLite connection; closed with the object.
class TSqlite {
public:
    enum class TOpen { Create, ReadWrite, ReadOnly, Immutable };
    /// Opens a database file; throws TLibraryError. Immutable reads a file in a folder nobody may write to, where
    /// SQLite cannot make the files for its locks.
    TSqlite(const std::string& path, TOpen mode);
    /// True when SQLite opened the file read-only (the file is write-protected).
    bool ReadOnly() const;
    ~TSqlite();
    TSqlite(const TSqlite&) = delete;
    TSqlite& operator=(const TSqlite&) = delete;

    /// Runs statements without results; throws TLibraryError with the database's message.
    void Exec(std::string_view sql);
    int64_t LastInsertId() const;
    sqlite3* Handle() const { return Db; }
    /// Throws TLibraryError for a result code that is not OK, ROW or DONE.
    void Check(int code, std::string_view doing) const;

private:
    sqlite3* Db = nullptr;
};

/// A prepared statement: bind by 1-based index, step, read columns by 0-based index.
class TSqlStatement {
public:
    TSqlStatement(const TSqlite& db, std::string_view sql);
    ~TSqlStatement();
    TSqlStatement(const TSqlStatement&) = delete;
    TSqlStatement& operator=(const TSqlStatement&) = delete;

    TSqlStatement& Bind(int index, int64_t value);
    TSqlStatement& Bind(int index, double value);
    TSqlStatement& Bind(int index, std::string_view text);
    TSqlStatement& BindNull(int index);
    /// Binds bytes as a blob (never as text).
    TSqlStatement& BindBlob(int index, std::string_view bytes);
    /// True while a row is there; throws on an error.
    bool Step();
    /// Steps to the end (statements without rows).
    void Run();
    void Reset();

    int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    /// A blob's bytes (a text's, for a column that holds text).
    std::string Blob(int column) const;
    bool IsNull(int column) const;

private:
    const TSqlite& Db;
    sqlite3_stmt* Statement = nullptr;
};

/// A transaction that rolls back unless committed.
class TSqlTransaction {
public:
    explicit TSqlTransaction(TSqlite& db);
    ~TSqlTransaction();
    void Commit();

private:
    TSqlite& Db;
    bool Open = true;
};

} // namespace quillon
