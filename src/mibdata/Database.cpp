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

// ---- Handles ---------------------------------------------------------------

namespace detail {

void CloseConnection::operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }

void FinalizeStatement::operator()(sqlite3_stmt* stmt) const noexcept { sqlite3_finalize(stmt); }

// The connection is declared first, so that the pooled statements are finalized before it closes.
struct Connection {
    ConnectionHandle db;
    std::vector<std::vector<StatementHandle>> pool = std::vector<std::vector<StatementHandle>>(kQueryCount);

    void recycle(int slot, StatementHandle stmt) noexcept {
        sqlite3_reset(stmt.get());
        sqlite3_clear_bindings(stmt.get());
        pool[static_cast<size_t>(slot)].push_back(std::move(stmt));
    }
};

}  // namespace detail

// ---- Statement -------------------------------------------------------------

Statement::Statement(std::shared_ptr<detail::Connection> owner, detail::StatementHandle stmt, int poolSlot)
    : owner_(std::move(owner)), stmt_(std::move(stmt)), poolSlot_(poolSlot) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        release();
        owner_ = std::move(other.owner_);
        stmt_ = std::move(other.stmt_);
        poolSlot_ = std::exchange(other.poolSlot_, -1);
    }
    return *this;
}

Statement::~Statement() { release(); }

void Statement::release() noexcept {
    if (stmt_ && poolSlot_ >= 0) owner_->recycle(poolSlot_, std::move(stmt_));
    stmt_.reset();
    owner_.reset();
}

namespace {
void checkBind(sqlite3_stmt* stmt, int rc) {
    if (rc != SQLITE_OK) throwEngine(sqlite3_db_handle(stmt), rc);
}
}  // namespace

namespace {
// sqlite binds a null pointer as NULL: an empty view is empty text all the same.
const char* textData(std::string_view text) { return text.data() ? text.data() : ""; }
}  // namespace

Statement& Statement::bind(int index, std::string_view text) {
    checkBind(stmt_.get(), sqlite3_bind_text(stmt_.get(), index, textData(text), static_cast<int>(text.size()),
                                       SQLITE_TRANSIENT));
    return *this;
}

Statement& Statement::bindUncopied(int index, std::string_view text) {
    checkBind(stmt_.get(), sqlite3_bind_text(stmt_.get(), index, textData(text), static_cast<int>(text.size()),
                                             SQLITE_STATIC));
    return *this;
}

Statement& Statement::bind(int index, std::int64_t value) {
    checkBind(stmt_.get(), sqlite3_bind_int64(stmt_.get(), index, value));
    return *this;
}

Statement& Statement::bind(int index, double value) {
    checkBind(stmt_.get(), sqlite3_bind_double(stmt_.get(), index, value));
    return *this;
}

Statement& Statement::bindNull(int index) {
    checkBind(stmt_.get(), sqlite3_bind_null(stmt_.get(), index));
    return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes) {
    checkBind(stmt_.get(), sqlite3_bind_blob(stmt_.get(), index, bytes.data(), static_cast<int>(bytes.size()),
                                       SQLITE_TRANSIENT));
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    throwEngine(sqlite3_db_handle(stmt_.get()), rc);
}

void Statement::run() {
    while (step()) {
    }
}

void Statement::reset() {
    sqlite3_reset(stmt_.get());
    sqlite3_clear_bindings(stmt_.get());
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_.get()); }

std::string Statement::columnName(int column) const {
    const char* name = sqlite3_column_name(stmt_.get(), column);
    return name ? name : "";
}

int Statement::columnIndex(std::string_view name) const {
    const int n = columnCount();
    for (int i = 0; i < n; ++i) {
        const char* c = sqlite3_column_name(stmt_.get(), i);
        if (c && EqualsNoCase(c, name)) return i;
    }
    return -1;
}

bool Statement::isNull(int column) const { return sqlite3_column_type(stmt_.get(), column) == SQLITE_NULL; }

std::string_view Statement::textView(int column) const {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_.get(), column));
    if (!p) return {};
    return {p, static_cast<size_t>(sqlite3_column_bytes(stmt_.get(), column))};
}

std::string Statement::text(int column) const { return std::string(textView(column)); }

std::int64_t Statement::int64(int column) const { return sqlite3_column_int64(stmt_.get(), column); }

double Statement::real(int column) const { return sqlite3_column_double(stmt_.get(), column); }

std::string Statement::blob(int column) const {
    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_.get(), column));
    if (!p) return {};
    return {p, static_cast<size_t>(sqlite3_column_bytes(stmt_.get(), column))};
}

// ---- Transaction -----------------------------------------------------------

Transaction::Transaction(Database& db) : db_(&db) {
    db.releaseRead();
    nested_ = db.inTransaction();
    if (nested_) db_->exec("SAVEPOINT qlmib_write");
    else db_->query(Query::Begin).run();
}

Transaction::~Transaction() {
    if (!open_) return;
    try {
        db_->exec(nested_ ? "ROLLBACK TO qlmib_write; RELEASE qlmib_write" : "ROLLBACK");
    } catch (...) {
        // A destructor must not throw, and the engine already rolled back (a
        // failed COMMIT, a full disk): nothing is left to undo.
    }
}

void Transaction::commit() {
    if (nested_) db_->exec("RELEASE qlmib_write");
    else db_->query(Query::Commit).run();
    open_ = false;
}

ReadBatch::ReadBatch(Database& db) {
    if (!db.isOpen() || db.inTransaction()) return;
    db.query(Query::Begin).run();
    db_ = &db;
}

ReadBatch::~ReadBatch() {
    if (!db_) return;
    try {
        db_->query(Query::Commit).run();
    } catch (...) {
        // A destructor must not throw: a read transaction that cannot commit is dropped.
        IgnoringErrors([&] { db_->exec("ROLLBACK"); });
    }
}

// ---- Database --------------------------------------------------------------

Database::Database(std::string path, detail::ConnectionHandle db, std::string failure)
    : path_(std::move(path)),
      connection_(std::make_shared<detail::Connection>(detail::Connection{std::move(db)})),
      failure_(std::move(failure)) {}

Database::~Database() = default;

sqlite3* Database::handle() const { return connection_->db.get(); }

namespace {
detail::ConnectionHandle openHandle(const std::string& path, int flags) {
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &opened, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    detail::ConnectionHandle db(opened);
    if (rc != SQLITE_OK) throw Error(ERR_DATABASE, db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc));
    sqlite3_extended_result_codes(db.get(), 1);
    // Another process writing the file (an import) makes readers wait, not fail.
    sqlite3_busy_timeout(db.get(), 5000);
    // Pages are read through a mapping of the file rather than copied into
    // the page cache: a walk that looks up hundreds of objects touches fewer
    // fresh pages of memory.
    sqlite3_int64 mapped = std::int64_t{256} << 20;
    sqlite3_file_control(db.get(), "main", SQLITE_FCNTL_MMAP_SIZE, &mapped);
    return db;
}
}  // namespace

std::unique_ptr<Database> Database::open(const std::string& path) {
    detail::ConnectionHandle handle;
    try {
        handle = openHandle(path, SQLITE_OPEN_READWRITE);
    } catch (const Error&) {
        // A read-only file or folder still serves lookups.
        if (!std::filesystem::exists(path)) throw;
        handle = openHandle(path, SQLITE_OPEN_READONLY);
    }
    std::unique_ptr<Database> db(new Database(path, std::move(handle), {}));
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
        // Not swallowed: the half-made file goes, the error goes on.
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
    if (!handle()) throw Error(ERR_DATABASE, failure_);
}

void Database::fail(int rc) const { throwEngine(handle(), rc); }

Statement Database::query(Query q) {
    checkOpen();
    const int slot = static_cast<int>(q);
    auto& free = connection_->pool[static_cast<size_t>(slot)];
    if (!free.empty()) {
        detail::StatementHandle stmt = std::move(free.back());
        free.pop_back();
        return Statement(connection_, std::move(stmt), slot);
    }
    const std::string sql = expandTreeColumns(QueryText(q), hasIndexBy_, hasCalculation_);
    sqlite3_stmt* prepared = nullptr;
    const int rc = sqlite3_prepare_v3(handle(), sql.c_str(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &prepared, nullptr);
    detail::StatementHandle stmt(prepared);
    if (rc != SQLITE_OK) fail(rc);
    return Statement(connection_, std::move(stmt), slot);
}

Statement Database::prepare(std::string_view sql) {
    checkOpen();
    sqlite3_stmt* prepared = nullptr;
    const int rc = sqlite3_prepare_v2(handle(), sql.data(), static_cast<int>(sql.size()), &prepared, nullptr);
    detail::StatementHandle stmt(prepared);
    if (rc != SQLITE_OK) fail(rc);
    if (!stmt) throw Error(ERR_DATABASE, "empty statement");
    return Statement(connection_, std::move(stmt), -1);
}

void Database::exec(std::string_view sql) {
    checkOpen();
    const std::string text(sql);
    char* message = nullptr;
    const int rc = sqlite3_exec(handle(), text.c_str(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        std::string description = message ? message : sqlite3_errstr(rc);
        sqlite3_free(message);
        throw Error(ERR_DATABASE, description);
    }
}

std::int64_t Database::lastInsertRowid() const {
    checkOpen();
    return sqlite3_last_insert_rowid(handle());
}

bool Database::inTransaction() const { return isOpen() && !sqlite3_get_autocommit(handle()); }

bool Database::holdRead() {
    if (!isOpen() || inTransaction()) return false;
    query(Query::Begin).run();
    readHeld_ = true;
    return true;
}

void Database::releaseRead() noexcept {
    if (!readHeld_) return;
    readHeld_ = false;
    // A read transaction that cannot commit is dropped: it changed nothing.
    if (!IgnoringErrors([&] { query(Query::Commit).run(); })) IgnoringErrors([&] { exec("ROLLBACK"); });
}

Database::ChangeStamp Database::changeStamp() {
    auto version = query(Query::DataVersion);
    version.step();
    return {version.int64(0), sqlite3_total_changes64(handle())};
}

bool Database::hasColumn(const std::string& table, const std::string& column) {
    checkOpen();
    const int rc = sqlite3_table_column_metadata(handle(), "main", table.c_str(),
                                                 column.empty() ? nullptr : column.c_str(), nullptr, nullptr,
                                                 nullptr, nullptr, nullptr);
    if (rc == SQLITE_ERROR) return false;  // no such table or column
    if (rc != SQLITE_OK) fail(rc);
    return true;
}

int Database::changes() const {
    checkOpen();
    return sqlite3_changes(handle());
}

}  // namespace qlmib
