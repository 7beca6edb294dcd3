#pragma once

#include <cstdint>
#include <limits>
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
    // New banks are refused once the file's pages in use reach `maximumBytes`.
    static Result<std::unique_ptr<BankStore>>
    open(const std::string& path, const ServiceLog* log = nullptr,
         std::uint64_t maximumBytes = std::numeric_limits<std::uint64_t>::max());
    ~BankStore();
    BankStore(const BankStore&) = delete;
    BankStore& operator=(const BankStore&) = delete;

    enum class Change { done, notFound, otherOwner, ownerFull, storeFull, failed };
    // Creates or replaces the bank, unless another owner holds its token, the owner already
    // keeps `maximumBanksPerOwner` other banks, or it is new and the store is full (saving over
    // a bank and deleting one still work then).
    Change save(const StoredBank& bank);
    Change remove(const std::string& id, const std::string& owner);

    static constexpr long long maximumBanksPerOwner = 200;

    // Nothing when the lookup itself failed.
    std::optional<std::vector<StoredBank>> find(const std::string& id);
    // The owner's banks, the most recently saved first, as many as fit `textBudget` bytes of
    // bank text: one request must not make an answer of every bank an owner ever saved.
    std::optional<std::vector<StoredBank>> ownedBy(const std::string& owner,
                                                   std::size_t textBudget);

    // Whether the file still answers a query.
    bool healthy();

private:
    BankStore(const ServiceLog* log, std::uint64_t maximumBytes)
        : log_(log), maximumBytes_(maximumBytes) {}
    Status openFile(const std::string& path);

    // The statements are prepared once; each use ends with a reset, so that no statement stays
    // open past its transaction and holds back the checkpoints that keep the WAL small.
    enum Query {
        ownerOfBank,
        banksOfOwner,
        writeBank,
        eraseBank,
        bankById,
        banksByOwner,
        bytesInUse,
        count
    };

    std::optional<std::vector<StoredBank>>
    select(Query query, const std::string& key,
           std::size_t textBudget = std::numeric_limits<std::size_t>::max());
    std::optional<std::uint64_t> usedBytes();
    Change fail(const char* what);
    bool execute(const char* sql);

    std::mutex mutex_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* statements_[count] = {};
    long long nextRevision_ = 1;
    const ServiceLog* log_;
    const std::uint64_t maximumBytes_;
};

} // namespace quillet::service
