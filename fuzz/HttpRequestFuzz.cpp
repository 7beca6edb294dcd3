// libFuzzer target: any bytes as what a client sends on one connection, read by the service's
// request reader at once and in chunks of arbitrary sizes. However the bytes arrive, the reader
// must read the same requests, each one framed exactly as the bytes say and within the limits;
// any violation aborts.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "http/HttpRequestReader.h"
#include "http/UrlText.h"

using namespace quillet::service;

namespace {

using State = HttpRequestReader::State;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Small limits, so that short inputs reach every one of them.
HttpLimits smallLimits() {
    HttpLimits limits;
    limits.maximumHeaderBytes = 512;
    limits.maximumHeaderCount = 8;
    limits.maximumBody = 256;
    return limits;
}

const HttpLimits limits = smallLimits();

// What one reading of the input gave: the whole requests, then how it stopped.
struct Reading {
    std::vector<HttpRequest> requests;
    State last = State::incomplete;
    int status = 0;
    std::string partialMethod;
    std::string partialTarget;
    bool awaitsContinue = false;
};

bool sameRequest(const HttpRequest& a, const HttpRequest& b) {
    return a.method == b.method && a.target == b.target && a.path == b.path &&
           a.headers == b.headers && a.body == b.body && a.keepAlive == b.keepAlive;
}

bool sameReading(const Reading& a, const Reading& b) {
    return std::equal(a.requests.begin(), a.requests.end(), b.requests.begin(), b.requests.end(),
                      sameRequest) &&
           a.last == b.last && a.status == b.status && a.partialMethod == b.partialMethod &&
           a.partialTarget == b.partialTarget && a.awaitsContinue == b.awaitsContinue;
}

// Feeds `input` in chunks sized by `nextChunk`, asking for requests after each one as a
// connection does.
template <typename NextChunk> Reading read(std::string_view input, NextChunk nextChunk) {
    HttpRequestReader reader(limits);
    Reading reading;
    std::size_t fed = 0;
    for (;;) {
        reading.last = reader.parse();
        if (reading.last == State::complete) {
            reading.requests.push_back(reader.take());
            continue;
        }
        if (reading.last == State::refused || fed == input.size()) {
            break;
        }
        const std::size_t size = std::min<std::size_t>(nextChunk(), input.size() - fed);
        // A copy of exactly the new bytes, so that reading past them is a heap overflow.
        const std::vector<char> chunk(input.begin() + static_cast<std::ptrdiff_t>(fed),
                                      input.begin() + static_cast<std::ptrdiff_t>(fed + size));
        reader.append(chunk.data(), chunk.size());
        fed += size;
    }
    reading.status = reader.refusalStatus();
    reading.partialMethod = reader.partial().method;
    reading.partialTarget = reader.partial().target;
    reading.awaitsContinue = reader.awaitsContinue();
    if (reading.last == State::refused) {
        require(reader.parse() == State::refused); // a refusal is final
    }
    return reading;
}

std::string_view withoutCarriageReturn(std::string_view line) {
    return line.ends_with('\r') ? line.substr(0, line.size() - 1) : line;
}

bool isVisible(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

bool isContentLength(std::string_view name) {
    return std::ranges::equal(name, std::string_view("content-length"), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
}

// The fields of a whole request agree with each other and with the limits.
void checkFields(const HttpRequest& request) {
    require(!request.method.empty() && isVisible(request.method));
    require(isVisible(request.target));
    require(request.path.starts_with('/') && request.path.find('?') == std::string::npos);
    if (request.target.starts_with('/')) {
        require(request.path == request.target.substr(0, request.target.find('?')));
    } else {
        // Absolute form: the path is the target's own, after its scheme and host.
        require(request.target.find("://") != std::string::npos);
        require(request.path == "/" || request.target.find(request.path) != std::string::npos);
    }
    require(request.headers.size() <= limits.maximumHeaderCount);
    require(!request.header("Transfer-Encoding"));
    int lengths = 0;
    for (const auto& [name, value] : request.headers) {
        require(!name.empty() && isVisible(name) && name.find(':') == std::string::npos);
        require(value.find_first_of("\r\n") == std::string::npos);
        require(value.empty() ||
                (value.find_first_of(" \t") != 0 && value.find_last_of(" \t") != value.size() - 1));
        lengths += isContentLength(name) ? 1 : 0;
    }
    require(lengths <= 1);
    std::size_t length = 0;
    if (const auto text = request.header("Content-Length")) {
        const auto [end, error] =
            std::from_chars(text->data(), text->data() + text->size(), length);
        require(error == std::errc() && end == text->data() + text->size());
    }
    require(request.body.size() == length && length <= limits.maximumBody);
    if (request.header("Connection") == "close") {
        require(!request.keepAlive);
    }
}

// The request read next is the bytes from `start` on: its request line, its header lines one
// for one, a header block within the limit, and a body that is the very bytes after the blank
// line. Returns where the request after it starts.
std::size_t checkFraming(std::string_view input, std::size_t start, const HttpRequest& request) {
    std::size_t at = start;
    std::size_t headers = 0;
    bool started = false;
    for (;;) {
        const auto end = input.find('\n', at);
        require(end != std::string_view::npos);
        const auto line = withoutCarriageReturn(input.substr(at, end - at));
        at = end + 1;
        if (line.empty() && started) {
            break;
        }
        if (line.empty()) {
            continue; // blank lines before a request
        }
        if (!started) {
            started = true;
            require(line == request.method + ' ' + request.target + " HTTP/1.1" ||
                    line == request.method + ' ' + request.target + " HTTP/1.0");
            continue;
        }
        require(headers < request.headers.size());
        const auto& [name, value] = request.headers[headers++];
        require(line.starts_with(name + ':'));
        require(line.substr(name.size() + 1).find(value) != std::string_view::npos);
    }
    require(headers == request.headers.size());
    require(at - start <= limits.maximumHeaderBytes);
    require(input.substr(at, request.body.size()) == request.body);
    require(at + request.body.size() <= input.size());
    return at + request.body.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);
    // The chunk sizes follow from the input, so that a finding replays the same way.
    std::minstd_rand random(static_cast<std::uint_fast32_t>(std::hash<std::string_view>{}(input)));
    const Reading whole = read(input, [&] { return size; });
    require(sameReading(whole, read(input, [&] { return 1 + random() % 3; })));
    require(sameReading(whole, read(input, [&] { return 1 + random() % 64; })));

    const std::vector<int> statuses = {400, 413, 431, 501, 505};
    require(whole.last == State::refused
                ? std::find(statuses.begin(), statuses.end(), whole.status) != statuses.end()
                : whole.status == 0);
    std::size_t next = 0;
    for (const auto& request : whole.requests) {
        checkFields(request);
        next = checkFraming(input, next, request);
        // What the service then makes of a request's parts.
        if (const auto path = percentDecoded(request.path, false)) {
            require(path->size() <= request.path.size());
        }
        if (const auto data = formField(request.body, "data")) {
            require(data->size() <= request.body.size());
        }
    }
    return 0;
}
