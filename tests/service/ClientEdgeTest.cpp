// How the client takes answers the real service never gives: a stand-in server answers each
// request with a body chosen by the test.
#include <gtest/gtest.h>

#include <thread>

#include <httplib.h>

#include "log/Console.h"
#include "service/Envelope.h"
#include "service/NormalModel.h"
#include "service/ParseProtocol.h"
#include "service/WebRequest.h"
#include "support/Files.h"
#include "text/Base64.h"

using namespace quillet;

namespace {

class StandIn {
public:
    StandIn() {
        server_.Post("/", [this](const httplib::Request&, httplib::Response& response) {
            std::this_thread::sleep_for(delay_);
            response.status = status_;
            response.set_content(body_, "application/json");
        });
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
    WebResult answerWith(std::string body, int status = 200,
                         std::chrono::milliseconds timeout = std::chrono::seconds(5),
                         std::chrono::milliseconds delay = {}) {
        body_ = std::move(body);
        status_ = status;
        delay_ = delay;
        return WebRequest::exchange({{"port", std::int64_t{1021}}},
                                    "http://127.0.0.1:" + std::to_string(port_), timeout);
    }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::string body_;
    int status_ = 200;
    std::chrono::milliseconds delay_{};
};

std::string envelopeBody(const std::string& plain) {
    return nlohmann::json{{"data", wrapEnvelope(plain)}}.dump();
}

} // namespace

TEST(ClientAnswers, EnvelopeFailuresAreDecodingFailuresAndTransportFailuresAreNot) {
    StandIn server;
    const std::string plain = R"({"code":1,"msg":"ok"})";
    EXPECT_EQ(server.answerWith(envelopeBody(plain)).data, plain);
    // The status is not looked at.
    EXPECT_EQ(server.answerWith(envelopeBody(plain), 500).data, plain);
    for (const std::string& body : std::vector<std::string>{
             R"({"data":"x","count":1})", R"({"msg":"no data"})", R"("just a string")", "[1,2]",
             R"({"data":"not base64!"})", R"({"data":")" + text::base64Encode("QUJD") + "\"}",
             // Whole blocks, but the padding is wrong.
             R"({"data":")" + text::base64Encode(text::base64Encode(std::string(16, 'A'))) +
                 "\"}"}) {
        const auto result = server.answerWith(body);
        EXPECT_FALSE(result.data) << body;
        EXPECT_EQ(result.error, WebRequest::decodingFailed) << body;
    }
    const auto notJson = server.answerWith("<html>busy</html>");
    EXPECT_FALSE(notJson.data);
    EXPECT_NE(notJson.error, WebRequest::decodingFailed);
}

TEST(ClientAnswers, ASilentServerEndsInTheTransportErrorAfterTheTimeOut) {
    StandIn server;
    const auto result = server.answerWith(envelopeBody("{}"), 200, std::chrono::milliseconds(300),
                                          std::chrono::milliseconds(1500));
    EXPECT_FALSE(result.data);
    ASSERT_TRUE(result.error);
    EXPECT_NE(*result.error, WebRequest::decodingFailed);
    EXPECT_NE(result.error->find("Read"), std::string::npos) << *result.error; // timed out reading
}

TEST(ClientAnswers, NoServerAtAllIsATransportError) {
    const auto result = WebRequest::exchange({{"port", std::int64_t{1021}}}, "http://127.0.0.1:1",
                                             std::chrono::seconds(2));
    EXPECT_FALSE(result.data);
    EXPECT_TRUE(result.error);
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
