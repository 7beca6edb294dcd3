// The real service program killed with SIGKILL while clients save as fast as they can: the file
// stays a sound database, and every save it acknowledged is there after a restart.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ServiceProcess.h"
#include "service/NormalModel.h"
#include "service/ParseProtocol.h"
#include "service/WebRequest.h"
#include "support/Files.h"
#include "support/Words.h"
#include "wordbank/WordModel.h"

using namespace quillet;
using namespace std::chrono_literals;
using test::ServiceProcess;

namespace {
// Its clients save as fast as they can; the save rate limit has tests of its own.
const std::vector<std::string> unlimitedSaves{"--saves-per-minute", "1000000000"};
} // namespace

namespace {

constexpr int kClients = 8;
constexpr int kKills = 3;
constexpr int kBanksPerOwner = 100; // half the service's limit
constexpr auto kLoadBeforeKill = 1500ms;

// One save request: its title names the save, so a fetch shows which save a bank holds.
struct Save {
    std::string title;
    std::string words;
};

// Everything one client sent for one token, which no other client writes.
struct TokenHistory {
    std::string token;
    std::string owner;
    std::optional<Save> acknowledged; // the last save answered with code 1
    std::optional<Save> unanswered;   // sent after it and never answered: may or may not be kept
};

// A client's tokens across all kills, and what went wrong before the service was killed.
struct ClientState {
    int number = 0;
    int saves = 0;
    int newOwners = 0;
    int banksOfOwner = kBanksPerOwner;
    std::vector<TokenHistory> tokens;
    std::vector<std::string> failuresBeforeKill;
};

std::string hexName(unsigned tag, int client, int serial) {
    char text[33];
    std::snprintf(text, sizeof text, "%08X%08X%016X", tag, static_cast<unsigned>(client),
                  static_cast<unsigned>(serial));
    return text;
}

Result<NormalModel> answerOf(const Result<std::string>& result) {
    return result ? ParseProtocol<NormalModel>::parse(*result) : result.error();
}

// Saves until a save goes unanswered. Every third save writes new words to one of the client's
// earlier tokens; the others start new tokens, a hundred to an owner.
void saveUntilKilled(ClientState& client, const std::string& url, int round,
                     const std::atomic<bool>& killed) {
    for (;;) {
        const int serial = client.saves++;
        TokenHistory* history = nullptr;
        if (serial % 3 == 2 && !client.tokens.empty()) {
            history =
                &client.tokens[static_cast<std::size_t>(serial * 7919) % client.tokens.size()];
        } else {
            if (client.banksOfOwner == kBanksPerOwner) {
                ++client.newOwners;
                client.banksOfOwner = 0;
            }
            ++client.banksOfOwner;
            client.tokens.push_back({hexName(0xC4A5E000u, client.number, serial),
                                     hexName(0x0A1E0000u, client.number, client.newOwners),
                                     std::nullopt, std::nullopt});
            history = &client.tokens.back();
        }
        const Save save{"client " + std::to_string(client.number) + " save " +
                            std::to_string(serial) + " round " + std::to_string(round),
                        test::bankText(100 + static_cast<std::size_t>(serial % 200),
                                       static_cast<char>('a' + serial / 200 % 26))};
        const auto result = WebRequest::exchange({{"port", std::int64_t{1020}},
                                                  {"id", history->token},
                                                  {"uuid", history->owner},
                                                  {"tool", std::string("Quillet")},
                                                  {"title", save.title},
                                                  {"text", save.words}},
                                                 url, 5s);
        const auto answer = answerOf(result);
        if (answer && answer->code == 1) {
            history->acknowledged = save;
            continue;
        }
        history->unanswered = save;
        if (!killed) {
            client.failuresBeforeKill.push_back(history->token + ": " +
                                                (answer   ? answer->msg
                                                 : result ? "undecodable answer"
                                                          : result.error().message));
        }
        return;
    }
}

// What PRAGMA integrity_check says of a database, its rows joined by newlines.
std::string integrityOf(const std::filesystem::path& database) {
    sqlite3* db = nullptr;
    std::string verdict;
    if (sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        verdict = std::string("cannot open: ") + sqlite3_errmsg(db);
        sqlite3_close(db);
        return verdict;
    }
    const auto collect = [](void* out, int columns, char** values, char**) {
        auto& text = *static_cast<std::string*>(out);
        for (int i = 0; i < columns; ++i) {
            if (!text.empty()) {
                text += '\n';
            }
            text += values[i] != nullptr ? values[i] : "NULL";
        }
        return 0;
    };
    char* error = nullptr;
    if (sqlite3_exec(db, "PRAGMA integrity_check", collect, &verdict, &error) != SQLITE_OK) {
        verdict += std::string("\nfailed: ") + (error ? error : "");
        sqlite3_free(error);
    }
    sqlite3_close(db);
    return verdict;
}

// The database as the killed service left it, checked on a copy: opening the file itself would
// replay and fold in the write-ahead log, leaving the restarted service nothing to recover.
std::string integrityOfCopy(const std::filesystem::path& database,
                            const std::filesystem::path& folder) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const auto copy = folder / database.filename();
    std::filesystem::copy_file(database, copy);
    const std::filesystem::path log = database.string() + "-wal";
    if (std::filesystem::exists(log)) {
        std::filesystem::copy_file(log, copy.string() + "-wal");
    }
    return integrityOf(copy);
}

bool holds(const WordModel& bank, const std::optional<Save>& save) {
    return save && bank.title == save->title &&
           bank.text == WordModel::normalize(save->words).value();
}

// Fetches every token the client wrote, as its owner, and checks it holds its last acknowledged
// save or the unanswered one after it. What a fetch shows becomes the token's acknowledged
// state, so the next round starts from what the file really holds. Returns the problems.
std::vector<std::string> checkAndSettle(ClientState& client, const std::string& url) {
    std::vector<std::string> problems;
    for (auto& history : client.tokens) {
        const auto answer = answerOf(WebRequest::exchange(
            {{"port", std::int64_t{1021}}, {"id", history.token}, {"uuid", history.owner}}, url,
            5s));
        if (answer && answer->code == 0 && answer->msg == "口令不存在") {
            if (history.acknowledged) {
                problems.push_back(history.token + " is gone after an acknowledged save");
            }
        } else if (!answer || answer->code != 1 || !answer->data || answer->data->size() != 1) {
            problems.push_back(history.token +
                               " could not be fetched: " + (answer ? answer->msg : "no answer"));
        } else if (holds(answer->data->front(), history.unanswered)) {
            history.acknowledged = history.unanswered;
        } else if (!holds(answer->data->front(), history.acknowledged)) {
            problems.push_back(
                history.token + " holds \"" + answer->data->front().title + "\", expected \"" +
                (history.acknowledged ? history.acknowledged->title : "nothing") + "\"" +
                (history.unanswered ? " or \"" + history.unanswered->title + "\"" : ""));
        }
        history.unanswered.reset();
    }
    return problems;
}

} // namespace

TEST(ServiceCrash, KilledMidSaveKeepsASoundFileAndEveryAcknowledgedSave) {
    test::TempDir dir;
    const auto database = dir.path() / "banks.db";
    const std::string log = (dir.path() / "service.log").string();
    std::vector<ClientState> clients(kClients);
    for (int c = 0; c < kClients; ++c) {
        clients[static_cast<std::size_t>(c)].number = c;
    }

    auto service = std::make_unique<ServiceProcess>(database.string(), log, unlimitedSaves);
    ASSERT_GT(service->port(), 0) << service->log();
    for (int round = 0; round < kKills; ++round) {
        std::atomic<bool> killed{false};
        std::vector<std::thread> threads;
        threads.reserve(clients.size());
        const int savesBefore = [&] {
            int saves = 0;
            for (const auto& client : clients) {
                saves += client.saves;
            }
            return saves;
        }();
        for (auto& client : clients) {
            threads.emplace_back(
                [&, url = service->url()] { saveUntilKilled(client, url, round, killed); });
        }
        std::this_thread::sleep_for(kLoadBeforeKill);
        killed = true;
        service->kill();
        for (auto& thread : threads) {
            thread.join();
        }

        int saves = -savesBefore;
        int unanswered = 0;
        for (const auto& client : clients) {
            saves += client.saves;
            EXPECT_TRUE(client.failuresBeforeKill.empty())
                << "round " << round << ": " << client.failuresBeforeKill.front();
            for (const auto& history : client.tokens) {
                unanswered += history.unanswered ? 1 : 0;
            }
        }
        std::printf("round %d: %d saves sent, %d unanswered at the kill\n", round, saves,
                    unanswered);
        // A kill means something only under real load.
        EXPECT_GT(saves, 10 * kClients) << "round " << round;

        EXPECT_EQ(integrityOfCopy(database, dir.path() / "copy"), "ok") << "round " << round;

        service = std::make_unique<ServiceProcess>(database.string(), log, unlimitedSaves);
        ASSERT_GT(service->port(), 0) << service->log();
        std::vector<std::vector<std::string>> problems(kClients);
        std::vector<std::thread> checkers;
        checkers.reserve(kClients);
        for (int c = 0; c < kClients; ++c) {
            checkers.emplace_back([&, c, url = service->url()] {
                problems[static_cast<std::size_t>(c)] =
                    checkAndSettle(clients[static_cast<std::size_t>(c)], url);
            });
        }
        for (auto& checker : checkers) {
            checker.join();
        }
        for (const auto& clientProblems : problems) {
            EXPECT_TRUE(clientProblems.empty())
                << "round " << round << ": " << clientProblems.size() << " problems, first "
                << clientProblems.front();
        }
    }
    EXPECT_EQ(service->terminate(), 0);
}
