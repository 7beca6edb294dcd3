// The word bank service end to end: the real client, over HTTP, to the real service.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <httplib.h>

#include "BankStore.h"
#include "LocalService.h"
#include "ServiceProcess.h"
#include "log/Console.h"
#include "service/Envelope.h"
#include "service/NormalModel.h"
#include "service/ParseProtocol.h"
#include "support/Words.h"
#include "text/Base64.h"

using namespace quillet;
using quillet::test::bankText;
using quillet::test::LocalService;

namespace {

const std::string kOwner = "0123456789ABCDEF0123456789ABCDEF";
const std::string kOther = "FEDCBA9876543210FEDCBA9876543210";
const std::string kToken = "C198A1D5C25DA3999C67807B12A4D0F7";

RequestParams saveRequest(const std::string& id, const std::string& owner, std::string text,
                          std::string title = "团队词库") {
    return {{"port", std::int64_t{1020}},     {"id", id},
            {"tool", std::string("Quillet")}, {"title", std::move(title)},
            {"text", std::move(text)},        {"uuid", owner}};
}

// The answer to a raw form body, decoded, for requests the client would never send.
NormalModel rawAnswer(const std::string& url, const std::string& body,
                      const std::string& type = "application/x-www-form-urlencoded") {
    httplib::Client client(url);
    const auto response = client.Post("/", body, type.c_str());
    EXPECT_TRUE(response);
    if (!response) {
        return {};
    }
    const auto json = nlohmann::json::parse(response->body, nullptr, false);
    const auto plain = WebRequest::decodeParam(&json);
    EXPECT_TRUE(plain) << response->body;
    return ParseProtocol<NormalModel>::parse(plain.value_or(""))
        .value_or(NormalModel{99, "", {}, {}});
}

std::string formOf(const std::string& data) {
    return "data=" + httplib::detail::encode_query_param(data);
}

} // namespace

TEST(Envelope, TheFormHasOneFieldThatUnwrapsToTheCompactParameters) {
    const auto fields = WebRequest::encodeParam({{"port", std::int64_t{1022}}, {"id", kToken}});
    ASSERT_EQ(fields.size(), 1u);
    ASSERT_TRUE(fields.contains("data"));
    const auto inner = text::base64Decode(fields.at("data"));
    ASSERT_TRUE(inner);
    const auto cipher = text::base64Decode(*inner);
    ASSERT_TRUE(cipher);
    EXPECT_EQ(cipher->size() % 16, 0u);
    EXPECT_EQ(unwrapEnvelope(fields.at("data")), R"({"id":")" + kToken + R"(","port":1022})");
    // Text that JSON cannot carry leaves the form empty.
    EXPECT_TRUE(WebRequest::encodeParam({{"id", std::string("\xff")}}).empty());
}

TEST(Service, AnOwnBankIsSavedFetchedListedAndDeleted) {
    LocalService service;
    const auto saved = service.answer(saveRequest(kToken, kOwner, bankText(120) + ",abc"));
    EXPECT_EQ(saved.code, 1);
    EXPECT_EQ(saved.msg, "保存成功");
    const std::string second = "00000000000000000000000000000002";
    EXPECT_EQ(service.answer(saveRequest(second, kOwner, bankText(100, 'b'), "second")).code, 1);

    // The owner, asking with the token and its own identifier, is named as the owner.
    const auto fetched =
        service.answer({{"port", std::int64_t{1021}}, {"id", kToken}, {"uuid", kOwner}});
    EXPECT_EQ(fetched.code, 1);
    ASSERT_TRUE(fetched.data);
    ASSERT_EQ(fetched.data->size(), 1u);
    const auto& bank = fetched.data->front();
    EXPECT_EQ(bank.uuid, kOwner);
    EXPECT_EQ(bank.tool, "Quillet");
    EXPECT_EQ(bank.title, "团队词库");
    EXPECT_EQ(bank.count, "120"); // "abc" was too short
    EXPECT_EQ(bank.text, WordModel::normalize(bankText(120)).value());

    const auto listed = service.answer({{"port", std::int64_t{1021}}, {"uuid", kOwner}});
    ASSERT_TRUE(listed.data);
    ASSERT_EQ(listed.data->size(), 2u);
    EXPECT_EQ(listed.data->at(0).id, second); // newest first
    EXPECT_EQ(listed.data->at(1).id, kToken);
    const auto none = service.answer({{"port", std::int64_t{1021}}, {"uuid", kOther}});
    EXPECT_EQ(none.code, 1);
    EXPECT_TRUE(none.data && none.data->empty());

    const auto deleted =
        service.answer({{"port", std::int64_t{1022}}, {"id", kToken}, {"uuid", kOwner}});
    EXPECT_EQ(deleted.code, 1);
    EXPECT_EQ(service.answer({{"port", std::int64_t{1021}}, {"id", kToken}}).code, 0);
}

TEST(Service, WhoeverHasTheTokenCanReadTheBankButLearnsNoOwnerAndChangesNothing) {
    LocalService service;
    ASSERT_EQ(service.answer(saveRequest(kToken, kOwner, bankText(100))).code, 1);
    const std::string second = "00000000000000000000000000000002";
    ASSERT_EQ(service.answer(saveRequest(second, kOwner, bankText(100, 'b'))).code, 1);

    // Another device, and an older client that sends the token alone, read the bank but are
    // told no owner.
    for (const RequestParams& fetch :
         {RequestParams{{"port", std::int64_t{1021}}, {"id", kToken}, {"uuid", kOther}},
          RequestParams{{"port", std::int64_t{1021}}, {"id", kToken}}}) {
        const auto read = service.answer(fetch);
        EXPECT_EQ(read.code, 1);
        ASSERT_TRUE(read.data && read.data->size() == 1u);
        EXPECT_EQ(read.data->front().uuid, "");
        EXPECT_EQ(read.data->front().title, "团队词库");
        EXPECT_EQ(read.data->front().text, WordModel::normalize(bankText(100)).value());
    }

    // Neither what it was told nor its own identifier lets the stranger change or list anything.
    for (const std::string& owner : {std::string(), kOther}) {
        const auto overwrite = service.answer(saveRequest(kToken, owner, bankText(200, 'z')));
        EXPECT_EQ(overwrite.code, 0) << owner;
        EXPECT_EQ(overwrite.msg,
                  owner.empty() ? "缺少设备标识" : "你不能保存此词库, 因为不是你的词库");
        const auto deletion =
            service.answer({{"port", std::int64_t{1022}}, {"id", kToken}, {"uuid", owner}});
        EXPECT_EQ(deletion.code, 0) << owner;
        const auto listed = service.answer({{"port", std::int64_t{1021}}, {"uuid", owner}});
        EXPECT_FALSE(listed.data && !listed.data->empty()) << owner;
    }
    EXPECT_EQ(service.answer({{"port", std::int64_t{1022}}, {"id", kToken}}).code, 0);

    const auto owned = service.answer({{"port", std::int64_t{1021}}, {"uuid", kOwner}});
    ASSERT_TRUE(owned.data);
    ASSERT_EQ(owned.data->size(), 2u);
    EXPECT_EQ(owned.data->at(1).id, kToken);
    EXPECT_EQ(owned.data->at(1).count, "100");
    EXPECT_EQ(owned.data->at(1).uuid, kOwner);
}

TEST(Service, TheClientLogNamesNoDeviceIdentifier) {
    LocalService service;
    ASSERT_EQ(service.answer(saveRequest(kToken, kOwner, bankText(100))).code, 1);
    ASSERT_EQ(service.answer({{"port", std::int64_t{1021}}, {"uuid", kOwner}}).data->size(), 1u);
    const std::string log = quillet::test::readFile(Console::shared().path());
    // The exchanges are logged, each identifier replaced.
    EXPECT_NE(log.find(R"("port":1020)"), std::string::npos) << log;
    EXPECT_NE(log.find(R"("title":"团队词库")"), std::string::npos) << log;
    EXPECT_NE(log.find(R"("uuid":"<device identifier>")"), std::string::npos) << log;
    EXPECT_EQ(log.find(kOwner), std::string::npos) << log;
    // Nor in the envelope, which anyone with the program can open.
    const auto sent = WebRequest::encodeParam(saveRequest(kToken, kOwner, bankText(100)));
    EXPECT_EQ(log.find(sent.at("data")), std::string::npos);
}

TEST(Service, EverySaveRuleIsCheckedBeforeAnythingIsStored) {
    LocalService service;
    struct Case {
        RequestParams request;
        std::string msg;
    };
    const std::vector<Case> cases = {
        {saveRequest("c198a1d5c25da3999c67807b12a4d0f7", kOwner, bankText(100)), "口令格式错误"},
        {saveRequest(kToken.substr(1), kOwner, bankText(100)), "口令格式错误"},
        {saveRequest(kToken, "", bankText(100)), "缺少设备标识"},
        {saveRequest(kToken, kOwner, bankText(100), ""), "备注不能为空"},
        {saveRequest(kToken, kOwner, bankText(100) + ",word1"), "词库不符合规则"},
        {saveRequest(kToken, kOwner, bankText(99)), "单词数量至少100个, 但是不能超过2000个"},
        {saveRequest(kToken, kOwner, bankText(2001)), "单词数量至少100个, 但是不能超过2000个"},
        {{{"port", std::int64_t{1020}}, {"id", kToken}, {"uuid", kOwner}}, "备注不能为空"},
        {{{"port", std::string("1020")}, {"id", kToken}}, "未知的操作"},
        {{{"port", std::int64_t{1030}}}, "未知的操作"},
        {{{"port", std::int64_t{1021}}}, "缺少口令或设备标识"},
        {{{"port", std::int64_t{1022}}, {"id", kToken}, {"uuid", kOwner}}, "词库不存在"},
    };
    for (const auto& c : cases) {
        const auto answer = service.answer(c.request);
        EXPECT_EQ(answer.code, 0) << c.msg;
        EXPECT_EQ(answer.msg, c.msg);
    }
    EXPECT_EQ(service.answer({{"port", std::int64_t{1021}}, {"uuid", kOwner}}).data->size(), 0u);
    EXPECT_EQ(service.answer(saveRequest(kToken, kOwner, bankText(2000))).code, 1);
}

TEST(Service, AnOwnerWhoKeepsTheMostBanksIsToldToDeleteFirst) {
    LocalService service;
    const auto token = [](int i) {
        char text[33];
        std::snprintf(text, sizeof text, "%032X", i);
        return std::string(text);
    };
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(service.answer(saveRequest(token(i), kOwner, bankText(100))).code, 1) << i;
    }
    const auto refused = service.answer(saveRequest(token(200), kOwner, bankText(100)));
    EXPECT_EQ(refused.code, 0);
    EXPECT_EQ(refused.msg, "每台设备最多保存200个词库，请先删除不用的词库");
    // Banks already kept can still be saved again.
    EXPECT_EQ(service.answer(saveRequest(token(0), kOwner, bankText(101))).code, 1);
}

TEST(Service, MalformedRequestsGetADecodableRefusal) {
    LocalService service;
    const std::string url = service.url();
    EXPECT_EQ(rawAnswer(url, "").msg, "请求缺少 data");
    EXPECT_EQ(rawAnswer(url, "other=1").msg, "请求缺少 data");
    EXPECT_EQ(rawAnswer(url, formOf("not base64!")).msg, "请求无法解密");
    EXPECT_EQ(rawAnswer(url, formOf(text::base64Encode("QUJD"))).msg, "请求无法解密");
    EXPECT_EQ(rawAnswer(url, formOf(wrapEnvelope("{not json"))).msg, "请求不是 JSON");
    EXPECT_EQ(rawAnswer(url, formOf(wrapEnvelope("[1020]"))).msg, "请求无法解析");
    EXPECT_EQ(rawAnswer(url, "data=" + std::string(1 << 20, 'A')).msg, "请求过大");
    EXPECT_EQ(rawAnswer(url, "data=" + std::string(3 << 20, 'A')).msg, "请求过大");
    EXPECT_EQ(rawAnswer(url, "data=" + std::string(5 << 20, 'A')).msg, "请求过大");
    // The service is still well after all that.
    EXPECT_EQ(service.answer(saveRequest(kToken, kOwner, bankText(100))).code, 1);
}

// A text that is not UTF-8 in the store (a database changed by hand) once ended the whole service
// with an exception from the JSON writer; it is answered, with U+FFFD for its bad bytes.
TEST(Service, AStoredTextThatIsNotUtf8IsAnsweredAndTheServiceGoesOn) {
    LocalService service;
    {
        const auto store = service::BankStore::open(service.database()).value();
        ASSERT_EQ(store->save({kToken, kOwner, "Quillet", "caf\xe9",
                               WordModel::normalize(bankText(100)).value(), 100}),
                  service::BankStore::Change::done);
    }
    const auto fetched = service.answer({{"port", std::int64_t{1021}}, {"id", kToken}});
    EXPECT_EQ(fetched.code, 1);
    ASSERT_TRUE(fetched.data && fetched.data->size() == 1u);
    EXPECT_EQ(fetched.data->front().title, "caf\uFFFD");
    EXPECT_EQ(service.answer({{"port", std::int64_t{1021}}, {"id", kToken}}).code, 1);
}

TEST(Service, ServesTheHelpPagesAndTheUpdateFeed) {
    LocalService service;
    httplib::Client client(service.url());
    for (const auto& [path, title] : std::vector<std::pair<std::string, std::string>>{
             {"/index.php/901.html", "公告"},
             {"/index.php/302.html", "快捷键"},
             {"/index.php/904.html", "教程 &amp; 问题"}}) {
        const auto page = client.Get(path.c_str());
        ASSERT_TRUE(page) << path;
        EXPECT_EQ(page->status, 200) << path;
        EXPECT_NE(page->body.find("<title>" + title + "</title>"), std::string::npos) << path;
        EXPECT_NE(page->body.find(".jump\""), std::string::npos) << path;
    }
    const auto feed = client.Get("/appcast.xml");
    ASSERT_TRUE(feed);
    EXPECT_EQ(feed->status, 200);
    EXPECT_NE(feed->body.find("<sparkle:version>"), std::string::npos);
    EXPECT_EQ(client.Get("/index.php/999.html")->status, 404);
}

TEST(Service, SpeaksHttpsAndTheClientChecksTheCertificate) {
    quillet::test::TempDir dir;
    const std::string cert = (dir.path() / "cert.pem").string();
    const std::string key = (dir.path() / "key.pem").string();
    const std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1"
                             " -addext subjectAltName=IP:127.0.0.1 -keyout '" +
                             key + "' -out '" + cert + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(make.c_str()), 0);
    LocalService service(cert, key);
    const RequestParams fetch{{"port", std::int64_t{1021}}, {"uuid", kOwner}};
    // Not trusted yet: the handshake fails like any transport failure.
    ::setenv("SSL_CERT_FILE", (dir.path() / "none.pem").c_str(), 1);
    const auto refused = WebRequest::exchange(fetch, service.url(), std::chrono::seconds(5));
    EXPECT_FALSE(refused);
    ::setenv("SSL_CERT_FILE", cert.c_str(), 1);
    const auto trusted = WebRequest::exchange(fetch, service.url(), std::chrono::seconds(5));
    ::unsetenv("SSL_CERT_FILE");
    ASSERT_TRUE(trusted) << trusted.error().message;
    EXPECT_NE(trusted->find("\"code\":1"), std::string::npos);
}

TEST(ServiceProgram, ListensUntilTerminatedAndKeepsItsBanks) {
    quillet::test::TempDir dir;
    const std::string log = (dir.path() / "log").string();
    const std::string db = (dir.path() / "banks.db").string();

    quillet::test::ServiceProcess first(db, log);
    ASSERT_GT(first.port(), 0);
    const auto saved = WebRequest::exchange(saveRequest(kToken, kOwner, bankText(100)), first.url(),
                                            std::chrono::seconds(5));
    ASSERT_TRUE(saved) << saved.error().message;
    EXPECT_EQ(first.terminate(), 0);
    const std::string written = quillet::test::readFile(log);
    EXPECT_NE(written.find("port=1020 code=1"), std::string::npos) << written;
    EXPECT_EQ(written.find(kOwner), std::string::npos); // no device identifier in clear

    quillet::test::ServiceProcess second(db, log);
    ASSERT_GT(second.port(), 0);
    const auto fetched = WebRequest::exchange({{"port", std::int64_t{1021}}, {"id", kToken}},
                                              second.url(), std::chrono::seconds(5));
    ASSERT_TRUE(fetched);
    EXPECT_NE(fetched->find("\"count\":\"100\""), std::string::npos);
    EXPECT_EQ(second.terminate(), 0);
}
