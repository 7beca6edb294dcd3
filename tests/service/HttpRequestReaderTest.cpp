// Reading requests from a connection's bytes: framing, limits, and the parts of a URL.
#include <gtest/gtest.h>

#include <string>

#include "http/HttpRequestReader.h"
#include "http/UrlText.h"

using namespace quillet::service;

namespace {

struct Read {
    HttpRequestReader::State state;
    int status;
};

Read readAll(const std::string& bytes, const HttpLimits& limits = {}) {
    HttpRequestReader reader(limits);
    reader.append(bytes.data(), bytes.size());
    const auto state = reader.parse();
    return {state, reader.refusalStatus()};
}

} // namespace

TEST(HttpRequestReader, TakesPipelinedRequestsFedOneByteAtATime) {
    const std::string bytes = "POST /?x=1 HTTP/1.1\r\nHost: a\r\nContent-Length: 7\r\n\r\n"
                              "data=ab"
                              "\r\nGET /index.php/901.html HTTP/1.0\nHost: b\n\n"
                              "GET /next HTTP/1.1\r\nHost: c\r\nConnection: close\r\n\r\n";
    HttpLimits limits;
    HttpRequestReader reader(limits);
    std::vector<HttpRequest> requests;
    for (const char byte : bytes) {
        reader.append(&byte, 1);
        while (reader.parse() == HttpRequestReader::State::complete) {
            requests.push_back(reader.take());
        }
    }
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].target, "/?x=1");
    EXPECT_EQ(requests[0].path, "/");
    EXPECT_EQ(requests[0].body, "data=ab");
    EXPECT_EQ(requests[0].header("host"), "a");
    EXPECT_TRUE(requests[0].keepAlive);
    // The blank line after a body is skipped; HTTP/1.0 and bare line feeds are understood.
    EXPECT_EQ(requests[1].path, "/index.php/901.html");
    EXPECT_FALSE(requests[1].keepAlive);
    EXPECT_TRUE(requests[1].body.empty());
    EXPECT_FALSE(requests[2].keepAlive);
    EXPECT_FALSE(reader.hasBufferedBytes());
}

TEST(HttpRequestReader, RefusesAmbiguousOrMalformedFraming) {
    const std::string start = "POST / HTTP/1.1\r\nHost: x\r\n";
    const std::vector<std::pair<std::string, int>> cases = {
        {start + "Content-Length: 3\r\nContent-Length: 3\r\n\r\nabc", 400},
        {start + "Content-Length: 3\r\ncontent-length: 4\r\n\r\nabcd", 400},
        {start + "Content-Length: 3x\r\n\r\nabc", 400},
        {start + "Content-Length: -3\r\n\r\n", 400},
        {start + "Content-Length:\r\n\r\n", 400},
        {start + "Transfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n", 501},
        {start + "Content-Length: 99999999999999999999999\r\n\r\n", 413},
        {start + "Content-Length: 1048577\r\n\r\n", 413},
        {start + "X-A: 1\r\n folded\r\n\r\n", 400},
        {start + "X A: 1\r\n\r\n", 400},
        {start + "X-A: 1\x01\r\n\r\n", 400},
        {start + "NoColon\r\n\r\n", 400},
        {"POST /a b HTTP/1.1\r\n\r\n", 400},
        {"POST /caf\xC3\xA9 HTTP/1.1\r\n\r\n", 400},
        {"POST ftp://elsewhere/ HTTP/1.1\r\nHost: x\r\n\r\n", 400},
        {"POST http:///nohost HTTP/1.1\r\nHost: x\r\n\r\n", 400},
        {"POST elsewhere HTTP/1.1\r\nHost: x\r\n\r\n", 400},
        {"POST / HTTP/2.0\r\n\r\n", 505},
        {"POST /\r\n\r\n", 400},
        {"P(ST / HTTP/1.1\r\n\r\n", 400},
    };
    for (const auto& [bytes, status] : cases) {
        const auto read = readAll(bytes);
        EXPECT_EQ(read.state, HttpRequestReader::State::refused) << bytes;
        EXPECT_EQ(read.status, status) << bytes;
    }
    // The largest allowed body is still taken.
    const auto largest =
        readAll(start + "Content-Length: 1048576\r\n\r\n" + std::string(1 << 20, 'a'));
    EXPECT_EQ(largest.state, HttpRequestReader::State::complete);
}

TEST(HttpRequestReader, HostIsNamedOnceInHttp11AndAnAbsoluteTargetGivesItsPath) {
    EXPECT_EQ(readAll("GET / HTTP/1.1\r\n\r\n").status, 400);
    EXPECT_EQ(readAll("GET / HTTP/1.1\r\nHost: a\r\nhost: a\r\n\r\n").status, 400);
    EXPECT_EQ(readAll("GET / HTTP/1.0\r\nHost: a\r\nHost: b\r\n\r\n").status, 400);
    EXPECT_EQ(readAll("GET / HTTP/1.0\r\n\r\n").state, HttpRequestReader::State::complete);

    HttpLimits limits;
    HttpRequestReader reader(limits);
    const std::string bytes = "GET HTTP://Example.com:80/healthz?x=1 HTTP/1.1\r\nHost: e\r\n\r\n"
                              "GET https://example.com?y HTTP/1.1\r\nHost: e\r\n\r\n";
    reader.append(bytes.data(), bytes.size());
    ASSERT_EQ(reader.parse(), HttpRequestReader::State::complete);
    const auto absolute = reader.take();
    EXPECT_EQ(absolute.target, "HTTP://Example.com:80/healthz?x=1"); // logged as sent
    EXPECT_EQ(absolute.path, "/healthz");
    ASSERT_EQ(reader.parse(), HttpRequestReader::State::complete);
    EXPECT_EQ(reader.take().path, "/");
}

TEST(HttpRequestReader, EmptyLinesBetweenRequestsDoNotStartOne) {
    HttpLimits limits;
    HttpRequestReader reader(limits);
    reader.append("\r\n\r", 3);
    EXPECT_EQ(reader.parse(), HttpRequestReader::State::incomplete);
    EXPECT_FALSE(reader.hasStarted());
    reader.append("\nG", 2);
    EXPECT_EQ(reader.parse(), HttpRequestReader::State::incomplete);
    EXPECT_TRUE(reader.hasStarted());
}

TEST(HttpRequestReader, StopsReadingHeadersAtTheLimitsWithoutWaitingForTheirEnd) {
    HttpLimits limits;
    limits.maximumHeaderCount = 100;
    limits.maximumHeaderBytes = std::size_t{32} * 1024;
    std::string many = "GET / HTTP/1.1\r\nHost: x\r\n";
    for (int i = 0; i < 99; ++i) {
        many += "X-A: 1\r\n";
    }
    EXPECT_EQ(readAll(many + "\r\n", limits).state, HttpRequestReader::State::complete);
    // The 101st header is refused before the header section ends.
    EXPECT_EQ(readAll(many + "X-A: 1\r\n", limits).status, 431);
    // One endless line, and a request line never ended, are refused once past the limit.
    EXPECT_EQ(readAll("GET / HTTP/1.1\r\nX-A: " + std::string(40'000, 'a'), limits).status, 431);
    EXPECT_EQ(readAll("GET /" + std::string(40'000, 'a'), limits).status, 431);
    EXPECT_EQ(readAll(std::string(40'000, '\n'), limits).status, 431);
    // Just under the limit is still incomplete, not refused.
    EXPECT_EQ(readAll("GET /" + std::string(30'000, 'a'), limits).state,
              HttpRequestReader::State::incomplete);
}

TEST(HttpRequestReader, KnowsWhenAClientAwaitsContinueBeforeItsBody) {
    HttpLimits limits;
    HttpRequestReader reader(limits);
    const std::string head =
        "POST / HTTP/1.1\r\nHost: x\r\nExpect: 100-Continue\r\nContent-Length: 4\r\n"
        "Connection: Close\r\n\r\n";
    reader.append(head.data(), head.size());
    EXPECT_EQ(reader.parse(), HttpRequestReader::State::incomplete);
    EXPECT_TRUE(reader.awaitsContinue());
    reader.append("data", 4);
    ASSERT_EQ(reader.parse(), HttpRequestReader::State::complete);
    const auto request = reader.take();
    EXPECT_EQ(request.body, "data");
    EXPECT_FALSE(request.keepAlive);
    EXPECT_FALSE(reader.awaitsContinue());
}

TEST(UrlText, DecodesFormsAndPathsAndRefusesBrokenEscapes) {
    EXPECT_EQ(percentDecoded("a%2Fb+c", false), "a/b+c");
    EXPECT_EQ(percentDecoded("a%2fb+c", true), "a/b c");
    EXPECT_EQ(percentDecoded("901.html%00.png", false), std::string("901.html\0.png", 13));
    for (const char* broken : {"%", "%4", "%zz", "a%g1"}) {
        EXPECT_FALSE(percentDecoded(broken, false)) << broken;
    }
    EXPECT_EQ(formField("a=1&data=QUJD%2B%2F%3D%3D&data=2", "data"), "QUJD+/==");
    EXPECT_EQ(formField("da%74a=x+y", "data"), "x y");
    EXPECT_EQ(formField("data", "data"), "");
    EXPECT_FALSE(formField("other=1&&", "data"));
    EXPECT_FALSE(formField("data=%Q1", "data"));
}
