#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

struct sqlite3;
struct sqlite3_stmt;

namespace quillet::service {

class ServiceLog;

// A word bank as the service keeps it.
struct StoredBank {
    std::string id;
    std::string owner;
    std::string tool;
    std::string title;
    std::string text; // normalized
    long long count = 0;
};

// The banks in one SQLite file (WAL, so readers never wait for a writer). Every change is one
// transaction; the methods may be called from any thread. Failures are logged with SQLite's
// own reason.
class BankStore {
public:
    // Opens or creates the file, or says with SQLite's words why it cannot. `log` may be null.
    static Result<std::unique_ptr<BankStore>> open(const std::string& path,
                                                   const ServiceLog* log = nullptr);
    ~BankStore();
    BankStore(const BankStore&) = delete;
    BankStore& operator=(const BankStore&) = delete;

    enum class Change { done, notFound, otherOwner, ownerFull, failed };
    // Creates or replaces the bank, unless another owner holds its token or the owner already
    // keeps `maximumBanksPerOwner` other banks.
    Change save(const StoredBank& bank);
    Change remove(const std::string& id, const std::string& owner);

    static constexpr long long maximumBanksPerOwner = 200;

    // Nothing when the lookup itself failed.
    std::optional<std::vector<StoredBank>> find(const std::string& id);
    // Every bank of the owner, the most recently saved first.
    std::optional<std::vector<StoredBank>> ownedBy(const std::string& owner);

    // Whether the file still answers a query.
    bool healthy();

private:
    explicit BankStore(const ServiceLog* log) : log_(log) {}
    Status openFile(const std::string& path);

    // The statements are prepared once; each use ends with a reset, so that no statement stays
    // open past its transaction and holds back the checkpoints that keep the WAL small.
    enum Query { ownerOfBank, banksOfOwner, writeBank, eraseBank, bankById, banksByOwner, count };

    std::optional<std::vector<StoredBank>> select(Query query, const std::string& key);
    Change fail(const char* what);
    bool execute(const char* sql);

    std::mutex mutex_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* statements_[count] = {};
    long long nextRevision_ = 1;
    const ServiceLog* log_;
};

} // namespace quillet::service
