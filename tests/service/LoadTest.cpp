// Many clients at once: every request answered, every bank stored intact.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "LocalService.h"
#include "service/NormalModel.h"
#include "service/ParseProtocol.h"
#include "support/Words.h"

using namespace quillet;

namespace {

std::string tokenOf(int client, int bank) {
    char token[33];
    std::snprintf(token, sizeof token, "%016X%016X", client + 1, bank + 1);
    return token;
}

std::string ownerOf(int client) {
    return std::string(31, 'A') + static_cast<char>('0' + client);
}

} // namespace

TEST(ServiceLoad, ClientsInParallelLoseAndCorruptNothing) {
    test::LocalService service;
    constexpr int kClients = 6;
    constexpr int kBanksPerClient = 60;
    constexpr int kFetchesPerBank = 5;
    const std::string words = test::bankText(150);
    std::atomic<int> failures{0};
    std::atomic<int> requests{0};

    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            const auto call = [&](const RequestParams& params) {
                ++requests;
                const auto result =
                    WebRequest::exchange(params, service.url(), std::chrono::seconds(10));
                const auto model = ParseProtocol<NormalModel>::parse(result.value_or(""));
                if (!model || model->code != 1) {
                    ++failures;
                }
            };
            for (int b = 0; b < kBanksPerClient; ++b) {
                call({{"port", std::int64_t{1020}},
                      {"id", tokenOf(c, b)},
                      {"uuid", ownerOf(c)},
                      {"tool", std::string("Quillet")},
                      {"title", "bank " + std::to_string(b)},
                      {"text", words}});
                for (int f = 0; f < kFetchesPerBank; ++f) {
                    call({{"port", std::int64_t{1021}}, {"id", tokenOf(c, b)}});
                }
            }
        });
    }
    for (auto& client : clients) {
        client.join();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("load: %d requests from %d clients in %.2f s, %.0f requests per second, %d "
                "errors\n",
                requests.load(), kClients, seconds, requests.load() / seconds, failures.load());
    EXPECT_EQ(failures.load(), 0);

    const std::string canonical = WordModel::normalize(words).value();
    for (int c = 0; c < kClients; ++c) {
        const auto listed = service.answer({{"port", std::int64_t{1021}}, {"uuid", ownerOf(c)}});
        ASSERT_TRUE(listed.data);
        ASSERT_EQ(listed.data->size(), static_cast<std::size_t>(kBanksPerClient));
        for (int b = 0; b < kBanksPerClient; ++b) {
            // Newest first: the last bank saved leads.
            const auto& bank = listed.data->at(static_cast<std::size_t>(kBanksPerClient - 1 - b));
            EXPECT_EQ(bank.id, tokenOf(c, b));
            EXPECT_EQ(bank.title, "bank " + std::to_string(b));
            EXPECT_EQ(bank.text, canonical);
            EXPECT_EQ(bank.count, "150");
        }
    }
}
