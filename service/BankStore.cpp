#include "BankStore.h"

#include <memory>

#include <sqlite3.h>

namespace quillet::service {

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Statement prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    return Statement(statement, &sqlite3_finalize);
}

void bind(sqlite3_stmt* statement, int index, const std::string& text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

std::string column(sqlite3_stmt* statement, int index) {
    const auto* text = sqlite3_column_text(statement, index);
    return text == nullptr
               ? std::string()
               : std::string(reinterpret_cast<const char*>(text),
                             static_cast<std::size_t>(sqlite3_column_bytes(statement, index)));
}

// Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(sqlite3* db) : db_(db) {
        began_ = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~Transaction() {
        if (began_ && !committed_) {
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool began() const { return began_; }
    bool commit() {
        committed_ = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
        return committed_;
    }

private:
    sqlite3* db_;
    bool began_ = false;
    bool committed_ = false;
};

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS banks (
    id TEXT PRIMARY KEY,
    owner TEXT NOT NULL,
    tool TEXT NOT NULL,
    title TEXT NOT NULL,
    text TEXT NOT NULL,
    count INTEGER NOT NULL,
    revision INTEGER NOT NULL
);
CREATE INDEX IF NOT EXISTS banks_by_owner ON banks (owner, revision);
)";

} // namespace

BankStore::BankStore(const std::string& path, std::string& error) {
    if (sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        error = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    sqlite3_busy_timeout(db_, 5000);
    if (!execute("PRAGMA journal_mode=WAL") || !execute("PRAGMA synchronous=NORMAL") ||
        !execute(kSchema)) {
        error = sqlite3_errmsg(db_);
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

BankStore::~BankStore() {
    sqlite3_close(db_);
}

bool BankStore::execute(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

BankStore::Change BankStore::save(const StoredBank& bank) {
    std::lock_guard lock(mutex_);
    Transaction transaction(db_);
    if (!transaction.began()) {
        return Change::failed;
    }
    auto owner = prepare(db_, "SELECT owner FROM banks WHERE id = ?");
    bind(owner.get(), 1, bank.id);
    const int found = sqlite3_step(owner.get());
    if (found == SQLITE_ROW && column(owner.get(), 0) != bank.owner) {
        return Change::otherOwner;
    }
    if (found != SQLITE_ROW && found != SQLITE_DONE) {
        return Change::failed;
    }
    auto write = prepare(db_, "INSERT OR REPLACE INTO banks "
                              "(id, owner, tool, title, text, count, revision) VALUES "
                              "(?, ?, ?, ?, ?, ?, "
                              "(SELECT IFNULL(MAX(revision), 0) + 1 FROM banks))");
    bind(write.get(), 1, bank.id);
    bind(write.get(), 2, bank.owner);
    bind(write.get(), 3, bank.tool);
    bind(write.get(), 4, bank.title);
    bind(write.get(), 5, bank.text);
    sqlite3_bind_int64(write.get(), 6, bank.count);
    if (sqlite3_step(write.get()) != SQLITE_DONE || !transaction.commit()) {
        return Change::failed;
    }
    return Change::done;
}

BankStore::Change BankStore::remove(const std::string& id, const std::string& owner) {
    std::lock_guard lock(mutex_);
    Transaction transaction(db_);
    if (!transaction.began()) {
        return Change::failed;
    }
    auto found = prepare(db_, "SELECT owner FROM banks WHERE id = ?");
    bind(found.get(), 1, id);
    const int step = sqlite3_step(found.get());
    if (step == SQLITE_DONE) {
        return Change::notFound;
    }
    if (step != SQLITE_ROW) {
        return Change::failed;
    }
    if (column(found.get(), 0) != owner) {
        return Change::otherOwner;
    }
    auto erase = prepare(db_, "DELETE FROM banks WHERE id = ?");
    bind(erase.get(), 1, id);
    if (sqlite3_step(erase.get()) != SQLITE_DONE || !transaction.commit()) {
        return Change::failed;
    }
    return Change::done;
}

std::optional<std::vector<StoredBank>> BankStore::find(const std::string& id) {
    return select("SELECT id, owner, tool, title, text, count FROM banks WHERE id = ?", id);
}

std::optional<std::vector<StoredBank>> BankStore::ownedBy(const std::string& owner) {
    return select("SELECT id, owner, tool, title, text, count FROM banks WHERE owner = ? "
                  "ORDER BY revision DESC",
                  owner);
}

std::optional<std::vector<StoredBank>> BankStore::select(const char* sql, const std::string& key) {
    std::lock_guard lock(mutex_);
    auto query = prepare(db_, sql);
    if (!query) {
        return std::nullopt;
    }
    bind(query.get(), 1, key);
    std::vector<StoredBank> banks;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(query.get())) == SQLITE_ROW) {
        banks.push_back({column(query.get(), 0), column(query.get(), 1), column(query.get(), 2),
                         column(query.get(), 3), column(query.get(), 4),
                         sqlite3_column_int64(query.get(), 5)});
    }
    if (step != SQLITE_DONE) {
        return std::nullopt;
    }
    return banks;
}

} // namespace quillet::service
