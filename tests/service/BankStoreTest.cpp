// The service's store on real SQLite files: order, quotas, a WAL that stays small, and
// failures that say why.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <limits>

#include "BankStore.h"
#include "ServiceLog.h"
#include "support/Files.h"
#include "support/Words.h"

using namespace quillet;
using service::BankStore;
using service::StoredBank;

namespace {

std::string hex32(int value) {
    char text[33];
    std::snprintf(text, sizeof text, "%032X", value);
    return text;
}

StoredBank bank(int id, int owner, std::string text = test::bankText(100)) {
    return {hex32(id), hex32(1'000'000 + owner), "Quillet", "bank", std::move(text), 100};
}

std::vector<std::string> idsOf(BankStore& store, int owner,
                               std::size_t budget = std::numeric_limits<std::size_t>::max()) {
    std::vector<std::string> ids;
    const auto banks = store.ownedBy(hex32(1'000'000 + owner), budget);
    for (const auto& found : banks.value()) {
        ids.push_back(found.id);
    }
    return ids;
}

} // namespace

TEST(BankStore, ListsTheLatestSaveFirstAcrossReopening) {
    test::TempDir dir;
    const std::string path = (dir.path() / "banks.db").string();
    {
        auto opened = BankStore::open(path);
        ASSERT_TRUE(opened) << opened.error().message;
        BankStore& store = **opened;
        ASSERT_EQ(store.save(bank(1, 7)), BankStore::Change::done);
        ASSERT_EQ(store.save(bank(2, 7)), BankStore::Change::done);
    }
    const auto held = BankStore::open(path).value();
    BankStore& store = *held;
    ASSERT_EQ(store.save(bank(3, 7)), BankStore::Change::done);
    ASSERT_EQ(store.save(bank(1, 7)), BankStore::Change::done); // saved again: now the latest
    EXPECT_EQ(idsOf(store, 7), (std::vector<std::string>{hex32(1), hex32(3), hex32(2)}));
}

TEST(BankStore, AnOwnersListStopsAtItsTextBudgetNewestFirst) {
    test::TempDir dir;
    const auto held = BankStore::open((dir.path() / "banks.db").string()).value();
    BankStore& store = *held;
    const std::string text = test::bankText(100);
    for (int id = 1; id <= 3; ++id) {
        ASSERT_EQ(store.save(bank(id, 7, text)), BankStore::Change::done);
    }
    EXPECT_EQ(idsOf(store, 7, 2 * text.size()), (std::vector<std::string>{hex32(3), hex32(2)}));
    EXPECT_EQ(idsOf(store, 7, 2 * text.size() - 1), (std::vector<std::string>{hex32(3)}));
    EXPECT_TRUE(idsOf(store, 7, text.size() - 1).empty());
}

TEST(BankStore, AFullStoreRefusesNewBanksButStillSavesOverAndDeletes) {
    test::TempDir dir;
    const std::string path = (dir.path() / "banks.db").string();
    const std::string large = test::bankText(2000);
    {
        const auto held = BankStore::open(path).value();
        for (int id = 1; id <= 40; ++id) {
            ASSERT_EQ(held->save(bank(id, id, large)), BankStore::Change::done);
        }
    }
    const auto size = std::filesystem::file_size(path);
    const auto held = BankStore::open(path, nullptr, size / 2).value();
    BankStore& store = *held;
    EXPECT_EQ(store.save(bank(41, 41)), BankStore::Change::storeFull);
    EXPECT_EQ(store.save(bank(1, 1)), BankStore::Change::done); // an existing bank, saved over
    EXPECT_EQ(store.remove(hex32(2), hex32(1'000'002)), BankStore::Change::done);
    EXPECT_EQ(idsOf(store, 41), std::vector<std::string>{});
}

TEST(BankStore, AnOwnerKeepsAtMostTheQuotaAndMayStillChangeOrReplaceBanks) {
    test::TempDir dir;
    const auto held = BankStore::open((dir.path() / "banks.db").string()).value();
    BankStore& store = *held;
    for (int i = 0; i < BankStore::maximumBanksPerOwner; ++i) {
        ASSERT_EQ(store.save(bank(i, 1)), BankStore::Change::done) << i;
    }
    EXPECT_EQ(store.save(bank(500, 1)), BankStore::Change::ownerFull);
    EXPECT_TRUE(store.find(hex32(500)).value().empty());
    // Another owner is not affected, and a full owner may still save over its own banks.
    EXPECT_EQ(store.save(bank(501, 2)), BankStore::Change::done);
    EXPECT_EQ(store.save(bank(0, 1, test::bankText(120))), BankStore::Change::done);
    EXPECT_EQ(store.remove(hex32(1), hex32(1'000'001)), BankStore::Change::done);
    EXPECT_EQ(store.save(bank(500, 1)), BankStore::Change::done);
    EXPECT_EQ(idsOf(store, 1).size(), static_cast<std::size_t>(BankStore::maximumBanksPerOwner));
}

TEST(BankStore, SavingOneBankOverAndOverKeepsTheWriteAheadLogSmall) {
    test::TempDir dir;
    const auto path = dir.path() / "banks.db";
    const auto held = BankStore::open(path.string()).value();
    BankStore& store = *held;
    // A database of about 2 MB, and one large bank saved again 3,000 times between reads.
    for (int i = 0; i < 80; ++i) {
        ASSERT_EQ(store.save(bank(i, i, test::bankText(2000))), BankStore::Change::done);
    }
    std::uintmax_t largest = 0;
    for (int i = 0; i < 3000; ++i) {
        ASSERT_EQ(store.save(bank(0, 0, test::bankText(2000, i % 2 ? 'a' : 'b'))),
                  BankStore::Change::done);
        ASSERT_EQ(store.find(hex32(i % 80)).value().size(), 1u);
        if (i % 100 == 0) {
            largest = std::max(largest, std::filesystem::file_size(path.string() + "-wal"));
        }
    }
    largest = std::max(largest, std::filesystem::file_size(path.string() + "-wal"));
    // Checkpoints run every 1,000 pages (4 MB); a WAL that grew past that has missed them.
    EXPECT_LT(largest, 12u << 20) << "the WAL reached " << largest << " bytes";
}

TEST(BankStore, AFailedWriteIsLoggedWithSqlitesReason) {
    test::TempDir dir;
    const std::string path = (dir.path() / "banks.db").string();
    service::ServiceLog log;
    const auto held = BankStore::open(path, &log).value();
    BankStore& store = *held;
    ASSERT_EQ(store.save(bank(1, 1)), BankStore::Change::done);
    // A file size limit stands in for a full disk: writes past it fail as a full disk would.
    rlimit before{};
    ::getrlimit(RLIMIT_FSIZE, &before);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = before;
    limited.rlim_cur = std::filesystem::file_size(path) + 4096;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    testing::internal::CaptureStderr();
    const auto change = store.save(bank(2, 1, test::bankText(2000)));
    const std::string logged = testing::internal::GetCapturedStderr();
    ::setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(change, BankStore::Change::failed);
    EXPECT_NE(logged.find("store: save failed: "), std::string::npos) << logged;
    EXPECT_EQ(logged.find("not an error"), std::string::npos) << logged;
    // Nothing half-written: the earlier bank is intact, the failed one absent, and the store
    // works again once there is room.
    EXPECT_EQ(store.find(hex32(1)).value().size(), 1u);
    EXPECT_TRUE(store.find(hex32(2)).value().empty());
    EXPECT_EQ(store.save(bank(2, 1, test::bankText(2000))), BankStore::Change::done);
    EXPECT_TRUE(store.healthy());
}

TEST(BankStore, AFileThatCannotBeOpenedSaysWhy) {
    test::TempDir dir;
    const auto refused = BankStore::open((dir.path() / "missing" / "banks.db").string());
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "unable to open database file");
}
