#include "Database.h"

#include <sqlite3.h>

#include <cstring>
#include <filesystem>
#include <utility>

#include "TextNumbers.h"
#include "internal/Schema.h"
#include "qlmib/common/Error.h"

namespace qlmib {
namespace {

[[noreturn]] void throwEngine(sqlite3* db, int rc) {
    std::string text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw Error(ERR_DATABASE, text);
}

std::string expandTreeColumns(std::string_view text, bool indexBy, bool calculation) {
    static constexpr std::string_view kMarker = "$TREE";
    std::string columns =
        "OID, Name, MIB, ParentOID, \"Index\", \"Primary\", TypeI, TypeS, Description, Status, "
        "Access, Enum, Parse, Units, ";
    columns += indexBy ? "IndexBy, " : "NULL AS IndexBy, ";
    columns += calculation ? "Calculation" : "NULL AS Calculation";
    std::string out;
    size_t from = 0;
    for (auto at = text.find(kMarker); at != std::string_view::npos; at = text.find(kMarker, from)) {
        out += text.substr(from, at - from);
        out += columns;
        from = at + kMarker.size();
    }
    out += text.substr(from);
    return out;
}

}  // namespace

// ---- Statement -------------------------------------------------------------

Statement::Statement(Database* owner, sqlite3_stmt* stmt, int poolSlot)
    : owner_(owner), stmt_(stmt), poolSlot_(poolSlot) {}

Statement::Statement(Statement&& other) noexcept
    : owner_(std::exchange(other.owner_, nullptr)),
      stmt_(std::exchange(other.stmt_, nullptr)),
      poolSlot_(std::exchange(other.poolSlot_, -1)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        release();
        owner_ = std::exchange(other.owner_, nullptr);
        stmt_ = std::exchange(other.stmt_, nullptr);
        poolSlot_ = std::exchange(other.poolSlot_, -1);
    }
    return *this;
}

Statement::~Statement() { release(); }

void Statement::release() noexcept {
    if (!stmt_) return;
    if (poolSlot_ >= 0 && owner_) {
        owner_->recycle(poolSlot_, stmt_);
    } else {
        sqlite3_finalize(stmt_);
    }
    stmt_ = nullptr;
}

namespace {
void checkBind(sqlite3_stmt* stmt, int rc) {
    if (rc != SQLITE_OK) throwEngine(sqlite3_db_handle(stmt), rc);
}
}  // namespace

Statement& Statement::bind(int index, std::string_view text) {
    checkBind(stmt_, sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                                       SQLITE_TRANSIENT));
    return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
    checkBind(stmt_, sqlite3_bind_int64(stmt_, index, value));
    return *this;
}

Statement& Statement::bind(int index, double value) {
    checkBind(stmt_, sqlite3_bind_double(stmt_, index, value));
    return *this;
}

Statement& Statement::bindNull(int index) {
    checkBind(stmt_, sqlite3_bind_null(stmt_, index));
    return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes) {
    checkBind(stmt_, sqlite3_bind_blob(stmt_, index, bytes.data(), static_cast<int>(bytes.size()),
                                       SQLITE_TRANSIENT));
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throwEngine(sqlite3_db_handle(stmt_), rc);
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }

std::string Statement::columnName(int column) const {
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? name : "";
}

int Statement::columnIndex(std::string_view name) const {
    const int n = columnCount();
    for (int i = 0; i < n; ++i) {
        const char* c = sqlite3_column_name(stmt_, i);
        if (c && EqualsNoCase(c, name)) return i;
    }
    return -1;
}

bool Statement::isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

std::string_view Statement::textView(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (!p) return {};
    return {p, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))};
}

std::string Statement::text(int column) const { return std::string(textView(column)); }

std::int64_t Statement::int64(int column) const { return sqlite3_column_int64(stmt_, column); }

double Statement::real(int column) const { return sqlite3_column_double(stmt_, column); }

std::string Statement::blob(int column) const {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    if (!p) return {};
    return {p, static_cast<size_t>(sqlite3_column_bytes(stmt_, column))};
}

// ---- Transaction -----------------------------------------------------------

Transaction::Transaction(Database& db) : db_(&db), nested_(db.inTransaction()) {
    db_->exec(nested_ ? "SAVEPOINT qlmib_write" : "BEGIN");
}

Transaction::~Transaction() {
    if (!open_) return;
    try {
        db_->exec(nested_ ? "ROLLBACK TO qlmib_write; RELEASE qlmib_write" : "ROLLBACK");
    } catch (...) {
        // The engine already rolled back (a failed COMMIT, a full disk): nothing is left to undo.
    }
}

void Transaction::commit() {
    db_->exec(nested_ ? "RELEASE qlmib_write" : "COMMIT");
    open_ = false;
}

ReadBatch::ReadBatch(Database& db) {
    if (!db.isOpen() || db.inTransaction()) return;
    db.exec("BEGIN");
    db_ = &db;
}

ReadBatch::~ReadBatch() {
    if (!db_) return;
    try {
        db_->exec("COMMIT");
    } catch (...) {
        IgnoringErrors([&] { db_->exec("ROLLBACK"); });
    }
}

// ---- Database --------------------------------------------------------------

Database::Database(std::string path, sqlite3* db, std::string failure)
    : path_(std::move(path)), db_(db), failure_(std::move(failure)), pool_(kQueryCount) {}

Database::~Database() {
    for (auto& slot : pool_)
        for (auto* stmt : slot) sqlite3_finalize(stmt);
    if (db_) sqlite3_close_v2(db_);
}

namespace {
sqlite3* openHandle(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        std::string text = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        throw Error(ERR_DATABASE, text);
    }
    sqlite3_extended_result_codes(db, 1);
    // Another process writing the file (an import) makes readers wait, not fail.
    sqlite3_busy_timeout(db, 5000);
    return db;
}
}  // namespace

std::unique_ptr<Database> Database::open(const std::string& path) {
    sqlite3* handle = nullptr;
    try {
        handle = openHandle(path, SQLITE_OPEN_READWRITE);
    } catch (const Error&) {
        // A read-only file or folder still serves lookups.
        if (!std::filesystem::exists(path)) throw;
        handle = openHandle(path, SQLITE_OPEN_READONLY);
    }
    std::unique_ptr<Database> db(new Database(path, handle, {}));
    db->inspectSchema();
    return db;
}

std::unique_ptr<Database> Database::create(const std::string& path) {
    if (std::filesystem::exists(path)) throw Error(ERR_FILE, "File already exists: " + path);
    std::unique_ptr<Database> db(
        new Database(path, openHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE), {}));
    try {
        schema::create(*db);
        db->inspectSchema();
    } catch (...) {
        db.reset();
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw;
    }
    return db;
}

std::unique_ptr<Database> Database::unopened(const std::string& path, std::string failure) {
    return std::unique_ptr<Database>(new Database(path, nullptr, std::move(failure)));
}

void Database::inspectSchema() {
    const auto presence = schema::inspect(*this);
    hasIndexBy_ = presence.indexBy;
    hasCalculation_ = presence.calculation;
}

void Database::checkOpen() const {
    if (!db_) throw Error(ERR_DATABASE, failure_);
}

void Database::fail(int rc) const { throwEngine(db_, rc); }

Statement Database::query(Query q) {
    checkOpen();
    const int slot = static_cast<int>(q);
    auto& free = pool_[slot];
    if (!free.empty()) {
        sqlite3_stmt* stmt = free.back();
        free.pop_back();
        return Statement(this, stmt, slot);
    }
    const std::string sql = expandTreeColumns(QueryText(q), hasIndexBy_, hasCalculation_);
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) fail(rc);
    return Statement(this, stmt, slot);
}

Statement Database::prepare(std::string_view sql) {
    checkOpen();
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) fail(rc);
    if (!stmt) throw Error(ERR_DATABASE, "empty statement");
    return Statement(this, stmt, -1);
}

void Database::exec(std::string_view sql) {
    checkOpen();
    const std::string text(sql);
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        std::string description = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw Error(ERR_DATABASE, description);
    }
}

std::int64_t Database::lastInsertRowid() const {
    checkOpen();
    return sqlite3_last_insert_rowid(db_);
}

bool Database::inTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }

int Database::changes() const {
    checkOpen();
    return sqlite3_changes(db_);
}

void Database::recycle(int slot, sqlite3_stmt* stmt) noexcept {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    pool_[slot].push_back(stmt);
}

}  // namespace qlmib
