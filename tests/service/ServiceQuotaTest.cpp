// The real service program's limits on what clients may store and ask for: field sizes, saves
// per address, the store's size, and the memory one owner's list can take.
#include <gtest/gtest.h>

#include <httplib.h>

#include <fstream>
#include <thread>

#include <nlohmann/json.hpp>

#include "BankStore.h"
#include "ServiceProcess.h"
#include "service/NormalModel.h"
#include "service/ParseProtocol.h"
#include "service/WebRequest.h"
#include "support/Files.h"
#include "support/Words.h"

using namespace quillet;
using namespace std::chrono_literals;
using test::ServiceProcess;

namespace {

const std::string kOwner = "0123456789ABCDEF0123456789ABCDEF";

std::string token(int bank) {
    char text[33];
    std::snprintf(text, sizeof text, "%032X", bank);
    return text;
}

RequestParams saveRequest(int bank, std::string text, std::string title = "团队词库") {
    return {{"port", std::int64_t{1020}},     {"id", token(bank)},
            {"tool", std::string("Quillet")}, {"title", std::move(title)},
            {"text", std::move(text)},        {"uuid", kOwner}};
}

struct Answer {
    int status = 0;
    NormalModel model;
};

// The HTTP status and the decoded envelope of one request to the program.
Answer ask(const ServiceProcess& service, const RequestParams& params) {
    httplib::Client client(service.url());
    client.set_read_timeout(30s);
    const auto response =
        client.Post("/", httplib::Params{{"data", WebRequest::encodeParam(params).at("data")}});
    if (!response) {
        ADD_FAILURE() << "no answer: " << httplib::to_string(response.error());
        return {};
    }
    const auto json = nlohmann::json::parse(response->body, nullptr, false);
    const auto plain = WebRequest::decodeParam(&json);
    return {response->status, ParseProtocol<NormalModel>::parse(plain.value_or(""))
                                  .value_or(NormalModel{99, "(not an envelope)", {}, {}})};
}

long statusKiB(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field + ":")) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return -1;
}

// Every word of `text` made `extra` letters longer.
std::string lengthened(const std::string& text, std::size_t extra) {
    std::string out;
    for (const char c : text) {
        if (c == ',') {
            out.append(extra, 'q');
        }
        out += c;
    }
    return out + std::string(extra, 'q');
}

class ServiceQuota : public ::testing::Test {
protected:
    std::string database() const { return (dir_.path() / "banks.db").string(); }
    std::string log() const { return (dir_.path() / "log").string(); }
    test::TempDir dir_;
};

} // namespace

TEST_F(ServiceQuota, TitlesWordsAndBankTextsHaveACap) {
    ServiceProcess service(database(), log());
    ASSERT_GT(service.port(), 0);
    std::string title64;
    for (int i = 0; i < 64; ++i) {
        title64 += "词";
    }
    const std::string wide = lengthened(test::bankText(2000), 26); // about 70 KB
    ASSERT_GT(wide.size(), 64u * 1024);
    struct Case {
        RequestParams request;
        std::string msg;
    };
    const std::vector<Case> cases = {
        {saveRequest(1, test::bankText(100), title64 + "词"), "备注最多64个字"},
        {saveRequest(1, test::bankText(100) + "," + std::string(65, 'q')), "单词最多64个字母"},
        {saveRequest(1, wide), "词库最多64 KB"},
    };
    for (const auto& c : cases) {
        const auto answer = ask(service, c.request);
        EXPECT_EQ(answer.status, 200);
        EXPECT_EQ(answer.model.code, 0) << c.msg;
        EXPECT_EQ(answer.model.msg, c.msg);
    }
    // At the caps themselves, a bank is saved.
    EXPECT_EQ(
        ask(service, saveRequest(1, test::bankText(100) + "," + std::string(64, 'q'), title64))
            .model.code,
        1);
}

TEST_F(ServiceQuota, SavesPastTheRateOfAnAddressAreRefusedWith429AndReadsGoOn) {
    ServiceProcess service(database(), log(), {"--saves-per-minute", "3"});
    ASSERT_GT(service.port(), 0);
    for (int bank = 1; bank <= 3; ++bank) {
        EXPECT_EQ(ask(service, saveRequest(bank, test::bankText(100))).model.code, 1) << bank;
    }
    const auto refused = ask(service, saveRequest(4, test::bankText(100)));
    EXPECT_EQ(refused.status, 429);
    EXPECT_EQ(refused.model.code, 0);
    EXPECT_EQ(refused.model.msg, "保存过于频繁，请稍后再试");
    const auto listed = ask(service, {{"port", std::int64_t{1021}}, {"uuid", kOwner}});
    EXPECT_EQ(listed.status, 200);
    ASSERT_TRUE(listed.model.data);
    EXPECT_EQ(listed.model.data->size(), 3u); // the refused save stored nothing
}

TEST_F(ServiceQuota, AFullStoreRefusesNewBanksAndStillSavesOverAndDeletes) {
    ServiceProcess service(database(), log(), {"--max-db-size", "128K"});
    ASSERT_GT(service.port(), 0);
    int bank = 1;
    Answer answer;
    for (; bank <= 30; ++bank) {
        answer = ask(service, saveRequest(bank, test::bankText(2000)));
        if (answer.model.code != 1) {
            break;
        }
    }
    ASSERT_LE(bank, 30) << "the store never filled";
    ASSERT_GT(bank, 1);
    EXPECT_EQ(answer.model.msg, "服务器存储已满，暂时不能新建词库；已有的词库仍可保存或删除");
    EXPECT_EQ(ask(service, saveRequest(1, test::bankText(1000))).model.code, 1);
    EXPECT_EQ(
        ask(service, {{"port", std::int64_t{1022}}, {"id", token(2)}, {"uuid", kOwner}}).model.code,
        1);
    EXPECT_EQ(ask(service, {{"port", std::int64_t{1021}}, {"id", token(1)}})
                  .model.data.value()
                  .at(0)
                  .count,
              "1000");
}

TEST_F(ServiceQuota, FourOwnerListsAtOnceOfAnOversizedStoreStayBoundedInMemory) {
    // Banks as large as an older service let through: one owner's list of them all would be
    // 60 MB before it is enciphered.
    {
        const auto store = service::BankStore::open(database()).value();
        const std::string huge = lengthened(test::bankText(2000), 500);
        for (int bank = 1; bank <= 60; ++bank) {
            ASSERT_EQ(store->save({token(bank), kOwner, "Quillet", "old", huge, 2000}),
                      service::BankStore::Change::done);
        }
    }
    ServiceProcess service(database(), log());
    ASSERT_GT(service.port(), 0);
    ASSERT_EQ(ask(service, {{"port", std::int64_t{1021}}, {"id", token(1)}}).model.code, 1);
    const long idle = statusKiB(service.pid(), "VmRSS");

    std::vector<Answer> answers(4);
    std::vector<std::thread> clients;
    clients.reserve(answers.size());
    for (auto& answer : answers) {
        clients.emplace_back([&] {
            answer = ask(service, {{"port", std::int64_t{1021}}, {"uuid", kOwner}});
        });
    }
    for (auto& client : clients) {
        client.join();
    }
    const long peak = statusKiB(service.pid(), "VmHWM");
    RecordProperty("idle_kib", static_cast<int>(idle));
    RecordProperty("peak_kib", static_cast<int>(peak));
    for (const auto& answer : answers) {
        EXPECT_EQ(answer.status, 200);
        ASSERT_TRUE(answer.model.data) << answer.model.msg;
        EXPECT_GE(answer.model.data->size(), 1u);
        EXPECT_LE(answer.model.data->size(), 4u); // about 1 MB each, within the list's 4 MB
    }
    EXPECT_LT(peak - idle, 64 * 1024) << "idle " << idle << " KiB, peak " << peak << " KiB";
}
