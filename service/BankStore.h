#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace quillet::service {

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
// transaction; the methods may be called from any thread.
class BankStore {
public:
    // Opens or creates the file; `error` says why when the store could not be opened.
    BankStore(const std::string& path, std::string& error);
    ~BankStore();
    BankStore(const BankStore&) = delete;
    BankStore& operator=(const BankStore&) = delete;

    bool opened() const { return db_ != nullptr; }

    enum class Change { done, notFound, otherOwner, ownerFull, failed };
    // Creates or replaces the bank, unless another owner holds its token or the owner already
    // keeps `maximumBanksPerOwner` other banks.
    Change save(const StoredBank& bank);

    static constexpr long long maximumBanksPerOwner = 200;
    Change remove(const std::string& id, const std::string& owner);

    // Nothing when the lookup itself failed.
    std::optional<std::vector<StoredBank>> find(const std::string& id);
    // Every bank of the owner, the most recently saved first.
    std::optional<std::vector<StoredBank>> ownedBy(const std::string& owner);

private:
    std::optional<std::vector<StoredBank>> select(const char* sql, const std::string& key);
    bool execute(const char* sql);

    std::mutex mutex_;
    sqlite3* db_ = nullptr;
};

} // namespace quillet::service
