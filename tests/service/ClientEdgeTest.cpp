// How the client takes answers the real service never gives: a stand-in server answers each
// request with a body chosen by the test.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include <httplib.h>

#include "log/Console.h"
#include "service/Config.h"
#include "service/Envelope.h"
#include "service/MainQueue.h"
#include "service/NormalModel.h"
#include "service/ParseProtocol.h"
#include "service/WebRequest.h"
#include "support/ErrorText.h"
#include "support/Files.h"
#include "text/Base64.h"

using namespace quillet;
using quillet::test::errorText;

namespace {

class StandIn {
public:
    StandIn() {
        const auto answer = [this](const httplib::Request&, httplib::Response& response) {
            const Answer chosen = current();
            std::this_thread::sleep_for(chosen.delay);
            response.status = chosen.status;
            response.set_content(chosen.body, "application/json");
        };
        server_.Post("/", answer);
        server_.Post("/api/", answer);
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) {
            std::this_thread::yield();
        }
    }
    ~StandIn() {
        server_.stop();
        thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    // What every later request gets, and after how long. The server's threads read it while
    // the test changes it, so it is guarded.
    void prepare(std::string body, int status = 200, std::chrono::milliseconds delay = {}) {
        const std::lock_guard lock(mutex_);
        answer_ = {std::move(body), status, delay};
    }
    Result<std::string> answerWith(std::string body, int status = 200,
                                   std::chrono::milliseconds timeout = std::chrono::seconds(5),
                                   std::chrono::milliseconds delay = {},
                                   const std::string& path = "") {
        prepare(std::move(body), status, delay);
        return WebRequest::exchange({{"port", std::int64_t{1021}}}, url() + path, timeout);
    }

private:
    struct Answer {
        std::string body;
        int status = 200;
        std::chrono::milliseconds delay{};
    };

    Answer current() const {
        const std::lock_guard lock(mutex_);
        return answer_;
    }

    mutable std::mutex mutex_;
    Answer answer_;
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
};

std::string envelopeBody(const std::string& plain) {
    return nlohmann::json{{"data", wrapEnvelope(plain)}}.dump();
}

} // namespace

TEST(ClientAnswers, EnvelopeFailuresAreDecodingFailuresAndTransportFailuresAreNot) {
    StandIn server;
    const std::string plain = R"({"code":1,"msg":"ok"})";
    EXPECT_EQ(server.answerWith(envelopeBody(plain)).value_or(""), plain);
    // The status is not looked at.
    EXPECT_EQ(server.answerWith(envelopeBody(plain), 500).value_or(""), plain);
    for (const std::string& body : std::vector<std::string>{
             R"({"data":"x","count":1})", R"({"msg":"no data"})", R"("just a string")", "[1,2]",
             R"({"data":"not base64!"})", R"({"data":")" + text::base64Encode("QUJD") + "\"}",
             // Whole blocks, but the padding is wrong.
             R"({"data":")" + text::base64Encode(text::base64Encode(std::string(16, 'A'))) +
                 "\"}"}) {
        const auto result = server.answerWith(body);
        EXPECT_FALSE(result) << body;
        EXPECT_EQ(errorText(result), WebRequest::decodingFailed) << body;
    }
    const auto notJson = server.answerWith("<html>busy</html>");
    EXPECT_FALSE(notJson);
    EXPECT_NE(errorText(notJson), WebRequest::decodingFailed);
}

TEST(ClientAnswers, ASilentServerEndsInTheTransportErrorAfterTheTimeOut) {
    StandIn server;
    const auto result = server.answerWith(envelopeBody("{}"), 200, std::chrono::milliseconds(300),
                                          std::chrono::milliseconds(1500));
    ASSERT_FALSE(result);
    EXPECT_NE(result.error().message, WebRequest::decodingFailed);
    EXPECT_NE(result.error().message.find("Read"), std::string::npos)
        << result.error().message; // timed out reading
}

TEST(ClientAnswers, AnAddressEndingInASlashOrNamingAPathIsReached) {
    StandIn server;
    const std::string plain = R"({"code":1})";
    for (const std::string path : {"/", "/api", "/api/"}) {
        EXPECT_EQ(server.answerWith(envelopeBody(plain), 200, std::chrono::seconds(5), {}, path)
                      .value_or(""),
                  plain)
            << path;
    }
    ::setenv("QUILLET_SERVICE_URL", (server.url() + "//").c_str(), 1);
    EXPECT_EQ(Config::serviceURL(), server.url());
    ::unsetenv("QUILLET_SERVICE_URL");
}

// A request still out when the program's main queue goes (the app quits) finds no queue: its
// completion is dropped, and nothing that is gone is touched.
TEST(ClientAnswers, ACompletionAfterTheMainQueueHasGoneIsDropped) {
    StandIn server;
    ::setenv("QUILLET_SERVICE_URL", server.url().c_str(), 1);
    auto ran = std::make_shared<std::atomic<bool>>(false);
    {
        RunLoopQueue queue;
        MainQueue::setMain(queue);
        // The stand-in answers late, so the request is out when the queue goes.
        server.prepare(envelopeBody("{}"), 200, std::chrono::milliseconds(300));
        WebRequest::start({{"port", std::int64_t{1021}}},
                          [ran](const Result<std::string>&) { *ran = true; });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    EXPECT_FALSE(*ran);

    server.prepare(envelopeBody("{}"));
    RunLoopQueue next;
    MainQueue::setMain(next);
    WebRequest::start({{"port", std::int64_t{1021}}},
                      [ran](const Result<std::string>&) { *ran = true; });
    EXPECT_TRUE(next.runUntil([&] { return ran->load(); }, std::chrono::seconds(5)));
    ::unsetenv("QUILLET_SERVICE_URL");
}

TEST(ClientAnswers, NoServerAtAllIsATransportError) {
    const auto result = WebRequest::exchange({{"port", std::int64_t{1021}}}, "http://127.0.0.1:1",
                                             std::chrono::seconds(2));
    EXPECT_FALSE(result);
}

// The client library throws on an address with an unknown scheme or a port out of range; such an
// address (from QUILLET_SERVICE_URL, say) must come back as a failure of the request.
TEST(ClientAnswers, AnAddressTheClientCannotUseIsAFailureOfTheRequest) {
    for (const std::string url : {"ftp://127.0.0.1:1", "http://127.0.0.1:99999999999999"}) {
        const auto result =
            WebRequest::exchange({{"port", std::int64_t{1021}}}, url, std::chrono::seconds(2));
        ASSERT_FALSE(result) << url;
        EXPECT_TRUE(result.error().message.starts_with("The request could not be completed"))
            << url << ": " << result.error().message;
    }
}

TEST(ParseNormalModel, IsStrictAboutTypesAndKeys) {
    Console::shared().clear();
    const auto parse = [](const std::string& json) {
        return ParseProtocol<NormalModel>::parse(json);
    };
    const auto bank =
        R"({"id":"A","uuid":"B","tool":"Quillet","title":"t","text":"w","count":"3"})";
    const auto full =
        parse(R"({"code":2,"msg":"m","count":"1","data":[)" + std::string(bank) + "]}");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->code, 2);
    EXPECT_EQ(full->data->front().count, "3");
    const auto bare = parse(R"({"code":0,"msg":""})");
    ASSERT_TRUE(bare);
    EXPECT_FALSE(bare->data);

    for (
        const std::string bad :
        {R"({"code":"1","msg":"m"})", R"({"code":1})", R"({"code":1.5,"msg":"m"})",
         R"({"code":1,"msg":"m","count":3})", R"({"code":1,"msg":"m","data":{}})",
         R"({"code":1,"msg":"m","data":[{"id":"A","uuid":"B","tool":"Q","title":"t","text":"w"}]})",
         "not json", "[]"}) {
        EXPECT_FALSE(parse(bad)) << bad;
    }
    const std::string log = quillet::test::readFile(Console::shared().path());
    EXPECT_NE(log.find(" parse(jsonData:) [Line "), std::string::npos);
    EXPECT_NE(log.find("\"code\" is missing or not an integer"), std::string::npos);
}
