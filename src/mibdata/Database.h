#pragma once
// A connection to a MIB database file (SQLite) and the statements run on it.
// A Database belongs to the thread that opened it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qlmib/mibdata/Queries.h"

struct sqlite3;
struct sqlite3_stmt;

namespace qlmib {

class Database;

namespace detail {
struct CloseConnection {
    void operator()(sqlite3* db) const noexcept;
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* stmt) const noexcept;
};
using ConnectionHandle = std::unique_ptr<sqlite3, CloseConnection>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;
// The engine's connection and its pool of reusable statements, shared by a
// Database and every Statement prepared on it: the connection closes when
// the last of them goes.
struct Connection;
}  // namespace detail

// A prepared statement. It keeps its connection open while it lives. Statements of the query catalogue come from the
// connection's pool and go back to it, reset, when this object is destroyed.
class Statement {
public:
    Statement(Statement&& other) noexcept = default;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    // Parameters are numbered from 1.
    Statement& bind(int index, std::string_view text);
    Statement& bind(int index, const char* text) { return bind(index, std::string_view(text)); }
    Statement& bind(int index, const std::string& text) { return bind(index, std::string_view(text)); }
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, int value) { return bind(index, static_cast<std::int64_t>(value)); }
    Statement& bind(int index, double value);
    Statement& bindNull(int index);
    // Binds text without copying it: it must stay as it is until the statement is reset.
    Statement& bindUncopied(int index, std::string_view text);
    Statement& bindBlob(int index, std::string_view bytes);

    // Advances to the next row; false when there is none. Throws Error.
    bool step();
    // Runs a statement that returns no rows to its end.
    void run();
    // Ready to run again with new bindings.
    void reset();

    // Columns are numbered from 0.
    int columnCount() const;
    std::string columnName(int column) const;
    int columnIndex(std::string_view name) const;  // -1 when absent; ignores case
    bool isNull(int column) const;
    std::string text(int column) const;            // null reads as ""
    std::string_view textView(int column) const;   // valid until the next step
    std::int64_t int64(int column) const;
    double real(int column) const;
    std::string blob(int column) const;

private:
    friend class Database;
    Statement(std::shared_ptr<detail::Connection> owner, detail::StatementHandle stmt, int poolSlot);
    void release() noexcept;

    // Declared before the statement, so that it goes after it.
    std::shared_ptr<detail::Connection> owner_;
    detail::StatementHandle stmt_;
    int poolSlot_ = -1;  // catalogue query whose pool takes it back, or -1
};

// Writes that belong together; rolls back unless committed. Inside another
// transaction (a ReadBatch) it is a savepoint of that one.
class Transaction {
public:
    explicit Transaction(Database& db);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void commit();

private:
    Database* db_;
    bool nested_ = false;
    bool open_ = true;
};

// Runs the reads of one operation (a selection, a tree level, an SNMP answer)
// in one read transaction, so that the file is locked once rather than once
// per statement. Nests, and does nothing on an unopened connection. Hold it
// only while working, never across a wait for input: while it lives, other
// processes cannot write the database.
class ReadBatch {
public:
    explicit ReadBatch(Database& db);
    ReadBatch(const ReadBatch&) = delete;
    ReadBatch& operator=(const ReadBatch&) = delete;
    ~ReadBatch();

private:
    Database* db_ = nullptr;  // set when this batch began the transaction
};

class Database {
public:
    // Opens an existing database file; throws Error when it is missing, not a
    // database, or lacks the MIB tables.
    static std::unique_ptr<Database> open(const std::string& path);
    // Makes a new database file with the MIB schema and the built-in type
    // catalogue; throws Error when the file exists or cannot be written.
    static std::unique_ptr<Database> create(const std::string& path);
    // A connection that failed to open: every statement raises `failure`.
    static std::unique_ptr<Database> unopened(const std::string& path, std::string failure);

    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    bool isOpen() const { return handle() != nullptr; }
    const std::string& path() const { return path_; }

    // A catalogue statement, prepared once per connection and reused.
    Statement query(Query q);
    // A statement of the caller's own, prepared anew.
    Statement prepare(std::string_view sql);
    // Runs one or more statements without parameters.
    void exec(std::string_view sql);

    // Whether a transaction (or read batch) is open.
    bool inTransaction() const;

    // Keeps a read transaction open beyond the work at hand, so that a run of
    // operations (the answers of one walk) locks the file once; true when
    // this call began one, false inside any other transaction. While it is
    // held other processes cannot write the file: release it before a long
    // wait. A Transaction on this connection releases it first, so writes
    // never join it.
    bool holdRead();
    void releaseRead() noexcept;

    // Differs from an earlier stamp once this or another connection has
    // committed a change to the file. Read it inside a transaction.
    struct ChangeStamp {
        std::int64_t others = -1, own = -1;
        bool operator==(const ChangeStamp&) const = default;
    };
    ChangeStamp changeStamp();

    // Whether the table exists, or has the column (any case); read from the
    // schema SQLite has parsed anyway, without running a statement.
    bool hasColumn(const std::string& table, const std::string& column = {});

    std::int64_t lastInsertRowid() const;
    int changes() const;

    bool treeHasIndexBy() const { return hasIndexBy_; }
    bool treeHasCalculation() const { return hasCalculation_; }

    // The engine's handle, for hosts that use SQLite directly.
    sqlite3* handle() const;

private:
    Database(std::string path, detail::ConnectionHandle db, std::string failure);
    void inspectSchema();
    void checkOpen() const;
    [[noreturn]] void fail(int rc) const;

    std::string path_;
    std::shared_ptr<detail::Connection> connection_;
    std::string failure_;
    bool hasIndexBy_ = false;
    bool hasCalculation_ = false;
    bool readHeld_ = false;
};

}  // namespace qlmib
