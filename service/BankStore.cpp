#include "BankStore.h"

#include <sqlite3.h>

#include "ServiceLog.h"

namespace quillet::service {

namespace {

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

// Indexed by BankStore::Query.
constexpr const char* kQueries[] = {
    "SELECT owner FROM banks WHERE id = ?",
    "SELECT COUNT(*) FROM banks WHERE owner = ?",
    "INSERT OR REPLACE INTO banks (id, owner, tool, title, text, count, revision) "
    "VALUES (?, ?, ?, ?, ?, ?, ?)",
    "DELETE FROM banks WHERE id = ?",
    "SELECT id, owner, tool, title, text, count FROM banks WHERE id = ?",
    "SELECT id, owner, tool, title, text, count FROM banks WHERE owner = ? "
    "ORDER BY revision DESC",
    "SELECT (SELECT page_count FROM pragma_page_count()) - "
    "(SELECT freelist_count FROM pragma_freelist_count()), "
    "(SELECT page_size FROM pragma_page_size())",
};

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

// A prepared statement in use; reset and cleared when the use ends, whatever the way out.
class Use {
public:
    explicit Use(sqlite3_stmt* statement) : statement_(statement) {}
    ~Use() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

    sqlite3_stmt* get() const { return statement_; }
    int step() { return sqlite3_step(statement_); }

private:
    sqlite3_stmt* statement_;
};

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

} // namespace

Result<std::unique_ptr<BankStore>> BankStore::open(const std::string& path, const ServiceLog* log,
                                                   std::uint64_t maximumBytes) {
    std::unique_ptr<BankStore> store(new BankStore(log, maximumBytes));
    if (auto opened = store->openFile(path); !opened) {
        return opened.error();
    }
    return store;
}

Status BankStore::openFile(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
        Error error{db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory"};
        sqlite3_close(db_);
        db_ = nullptr;
        return error;
    }
    sqlite3_busy_timeout(db_, 5000);
    sqlite3_extended_result_codes(db_, 1);
    // A checkpoint that could not finish leaves the WAL long; this brings it back down.
    bool ready = execute("PRAGMA journal_mode=WAL") && execute("PRAGMA synchronous=NORMAL") &&
                 execute("PRAGMA journal_size_limit=8388608") && execute(kSchema);
    for (int query = 0; ready && query < count; ++query) {
        ready = sqlite3_prepare_v3(db_, kQueries[query], -1, SQLITE_PREPARE_PERSISTENT,
                                   &statements_[query], nullptr) == SQLITE_OK;
    }
    sqlite3_stmt* latest = nullptr;
    // Read once here, then counted in memory: every save is made under the lock.
    ready = ready && sqlite3_prepare_v2(db_, "SELECT IFNULL(MAX(revision), 0) FROM banks", -1,
                                        &latest, nullptr) == SQLITE_OK;
    if (ready && sqlite3_step(latest) == SQLITE_ROW) {
        nextRevision_ = sqlite3_column_int64(latest, 0) + 1;
    } else {
        ready = false;
    }
    sqlite3_finalize(latest);
    if (!ready) {
        Error error{sqlite3_errmsg(db_)};
        for (auto*& statement : statements_) {
            sqlite3_finalize(statement);
            statement = nullptr;
        }
        sqlite3_close(db_);
        db_ = nullptr;
        return error;
    }
    return Status::success();
}

BankStore::~BankStore() {
    for (auto* statement : statements_) {
        sqlite3_finalize(statement);
    }
    sqlite3_close(db_);
}

bool BankStore::execute(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

BankStore::Change BankStore::fail(const char* what) {
    if (log_ != nullptr) {
        log_->write(std::string("store: ") + what + " failed: " + sqlite3_errmsg(db_) + " (" +
                    sqlite3_errstr(sqlite3_extended_errcode(db_)) + ", code " +
                    std::to_string(sqlite3_extended_errcode(db_)) + ")");
    }
    return Change::failed;
}

BankStore::Change BankStore::save(const StoredBank& bank) {
    std::lock_guard lock(mutex_);
    Transaction transaction(db_);
    if (!transaction.began()) {
        return fail("save");
    }
    {
        Use owner(statements_[ownerOfBank]);
        bind(owner.get(), 1, bank.id);
        const int found = owner.step();
        if (found == SQLITE_ROW && column(owner.get(), 0) != bank.owner) {
            return Change::otherOwner;
        }
        if (found != SQLITE_ROW && found != SQLITE_DONE) {
            return fail("save");
        }
        if (found == SQLITE_DONE) {
            Use kept(statements_[banksOfOwner]);
            bind(kept.get(), 1, bank.owner);
            if (kept.step() != SQLITE_ROW) {
                return fail("save");
            }
            if (sqlite3_column_int64(kept.get(), 0) >= maximumBanksPerOwner) {
                return Change::ownerFull;
            }
            const auto used = usedBytes();
            if (!used) {
                return fail("save");
            }
            if (*used >= maximumBytes_) {
                return Change::storeFull;
            }
        }
    }
    {
        Use write(statements_[writeBank]);
        bind(write.get(), 1, bank.id);
        bind(write.get(), 2, bank.owner);
        bind(write.get(), 3, bank.tool);
        bind(write.get(), 4, bank.title);
        bind(write.get(), 5, bank.text);
        sqlite3_bind_int64(write.get(), 6, bank.count);
        sqlite3_bind_int64(write.get(), 7, nextRevision_);
        if (write.step() != SQLITE_DONE) {
            return fail("save");
        }
    }
    if (!transaction.commit()) {
        return fail("save");
    }
    ++nextRevision_;
    return Change::done;
}

BankStore::Change BankStore::remove(const std::string& id, const std::string& owner) {
    std::lock_guard lock(mutex_);
    Transaction transaction(db_);
    if (!transaction.began()) {
        return fail("delete");
    }
    {
        Use found(statements_[ownerOfBank]);
        bind(found.get(), 1, id);
        const int step = found.step();
        if (step == SQLITE_DONE) {
            return Change::notFound;
        }
        if (step != SQLITE_ROW) {
            return fail("delete");
        }
        if (column(found.get(), 0) != owner) {
            return Change::otherOwner;
        }
    }
    {
        Use erase(statements_[eraseBank]);
        bind(erase.get(), 1, id);
        if (erase.step() != SQLITE_DONE) {
            return fail("delete");
        }
    }
    if (!transaction.commit()) {
        return fail("delete");
    }
    return Change::done;
}

std::optional<std::vector<StoredBank>> BankStore::find(const std::string& id) {
    return select(bankById, id);
}

std::optional<std::vector<StoredBank>> BankStore::ownedBy(const std::string& owner,
                                                          std::size_t textBudget) {
    return select(banksByOwner, owner, textBudget);
}

// Called with the lock held.
std::optional<std::uint64_t> BankStore::usedBytes() {
    Use use(statements_[bytesInUse]);
    if (use.step() != SQLITE_ROW) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(sqlite3_column_int64(use.get(), 0)) *
           static_cast<std::uint64_t>(sqlite3_column_int64(use.get(), 1));
}

bool BankStore::healthy() {
    return select(bankById, "").has_value();
}

std::optional<std::vector<StoredBank>> BankStore::select(Query query, const std::string& key,
                                                         std::size_t textBudget) {
    std::lock_guard lock(mutex_);
    Use use(statements_[query]);
    bind(use.get(), 1, key);
    std::vector<StoredBank> banks;
    int step = SQLITE_ROW;
    while ((step = use.step()) == SQLITE_ROW) {
        const auto textBytes = static_cast<std::size_t>(sqlite3_column_bytes(use.get(), 4));
        if (textBytes > textBudget) {
            step = SQLITE_DONE; // older banks stay out of the answer
            break;
        }
        textBudget -= textBytes;
        banks.push_back({column(use.get(), 0), column(use.get(), 1), column(use.get(), 2),
                         column(use.get(), 3), column(use.get(), 4),
                         sqlite3_column_int64(use.get(), 5)});
    }
    if (step != SQLITE_DONE) {
        fail("lookup");
        return std::nullopt;
    }
    return banks;
}

} // namespace quillet::service
