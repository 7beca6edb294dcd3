#include "HttpRequestReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>

namespace quillet::service {

namespace {

bool isTokenCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool isToken(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isTokenCharacter);
}

// Visible ASCII only: no spaces, no controls, no raw bytes past ASCII.
bool isVisible(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

// Field values may hold tabs and bytes past ASCII, never other controls.
bool isFieldValue(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t') || byte == 0x7F;
    });
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// The path and query of a target in origin form ("/a?b") or absolute form ("http://host/a?b",
// which a client talking to a proxy sends); nothing for any other form.
std::optional<std::string_view> originPart(std::string_view target) {
    if (!isVisible(target)) {
        return std::nullopt;
    }
    if (target.starts_with('/')) {
        return target;
    }
    const auto schemeEnd = target.find("://");
    if (schemeEnd == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string scheme = lowered(target.substr(0, schemeEnd));
    if (scheme != "http" && scheme != "https") {
        return std::nullopt;
    }
    const auto authorityEnd = target.find_first_of("/?", schemeEnd + 3);
    if (authorityEnd == schemeEnd + 3) {
        return std::nullopt; // no host
    }
    if (authorityEnd == std::string_view::npos) {
        return std::string_view("/");
    }
    return target[authorityEnd] == '/' ? target.substr(authorityEnd) : std::string_view("/");
}

// Whether the comma-separated list `value` holds `token` (compared without case).
bool listHolds(std::string_view value, std::string_view token) {
    const std::string list = lowered(value);
    std::string_view rest = list;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        if (trimmed(rest.substr(0, comma)) == token) {
            return true;
        }
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return false;
}

} // namespace

HttpRequestReader::State HttpRequestReader::refuse(int status) {
    refusal_ = status;
    return State::refused;
}

HttpRequestReader::State HttpRequestReader::parse() {
    if (refusal_ != 0) {
        return State::refused;
    }
    while (stage_ != Stage::body) {
        const auto end = buffer_.find('\n', scanned_);
        if (end == std::string::npos) {
            return buffer_.size() > limits_.maximumHeaderBytes ? refuse(431) : State::incomplete;
        }
        if (end >= limits_.maximumHeaderBytes) {
            return refuse(431);
        }
        std::string_view line(buffer_.data() + scanned_, end - scanned_);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        scanned_ = end + 1;
        if (stage_ == Stage::requestLine) {
            // Blank lines before a request are tolerated, as clients may send them after a body.
            if (!line.empty() && !readRequestLine(line)) {
                return State::refused;
            }
        } else if (line.empty()) {
            if (!readFraming()) {
                return State::refused;
            }
            stage_ = Stage::body;
        } else if (!readHeaderLine(line)) {
            return State::refused;
        }
    }
    return buffer_.size() - scanned_ >= bodyLength_ ? State::complete : State::incomplete;
}

bool HttpRequestReader::readRequestLine(std::string_view line) {
    const auto firstSpace = line.find(' ');
    const auto lastSpace = line.rfind(' ');
    if (firstSpace == std::string_view::npos || firstSpace == lastSpace) {
        refusal_ = 400;
        return false;
    }
    const auto method = line.substr(0, firstSpace);
    const auto target = line.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    const auto version = line.substr(lastSpace + 1);
    const auto origin = originPart(target);
    if (!isToken(method) || !origin) {
        refusal_ = 400;
        return false;
    }
    request_.method = method;
    request_.target = target;
    request_.path = origin->substr(0, origin->find('?'));
    if (version != "HTTP/1.1" && version != "HTTP/1.0") {
        refusal_ = version.starts_with("HTTP/") ? 505 : 400;
        return false;
    }
    http11_ = version == "HTTP/1.1";
    request_.keepAlive = http11_;
    stage_ = Stage::headers;
    return true;
}

bool HttpRequestReader::readHeaderLine(std::string_view line) {
    const auto colon = line.find(':');
    // A line that starts with a blank would continue the previous field: an old form that
    // lets a request mean two things, so it is refused.
    if (colon == std::string_view::npos || !isToken(line.substr(0, colon))) {
        refusal_ = 400;
        return false;
    }
    const auto value = trimmed(line.substr(colon + 1));
    if (!isFieldValue(value)) {
        refusal_ = 400;
        return false;
    }
    if (request_.headers.size() >= limits_.maximumHeaderCount) {
        refusal_ = 431;
        return false;
    }
    request_.headers.emplace_back(line.substr(0, colon), value);
    return true;
}

bool HttpRequestReader::readFraming() {
    const std::string_view contentLength = "content-length";
    int lengths = 0;
    int hosts = 0;
    std::string_view lengthText;
    for (const auto& [name, value] : request_.headers) {
        const std::string field = lowered(name);
        if (field == contentLength) {
            ++lengths;
            lengthText = value;
        }
        hosts += field == "host" ? 1 : 0;
    }
    // HTTP/1.1 names its host once; none or two leave it open which site is meant.
    if (hosts > 1 || (http11_ && hosts == 0)) {
        refusal_ = 400;
        return false;
    }
    if (request_.header("Transfer-Encoding")) {
        refusal_ = 501;
        return false;
    }
    // Two lengths, even equal ones, are how requests get smuggled past a proxy.
    if (lengths > 1) {
        refusal_ = 400;
        return false;
    }
    bodyLength_ = 0;
    if (lengths == 1) {
        const auto* end = lengthText.data() + lengthText.size();
        const auto [stop, error] = std::from_chars(lengthText.data(), end, bodyLength_);
        if (error == std::errc::invalid_argument || stop != end) {
            refusal_ = 400;
            return false;
        }
        if (error == std::errc::result_out_of_range || bodyLength_ > limits_.maximumBody) {
            refusal_ = 413;
            return false;
        }
    }
    if (const auto connection = request_.header("Connection")) {
        if (listHolds(*connection, "close")) {
            request_.keepAlive = false;
        } else if (listHolds(*connection, "keep-alive")) {
            request_.keepAlive = true;
        }
    }
    const auto expect = request_.header("Expect");
    expectsContinue_ = bodyLength_ > 0 && expect && lowered(*expect) == "100-continue";
    return true;
}

bool HttpRequestReader::hasStarted() const {
    return stage_ != Stage::requestLine ||
           buffer_.find_first_not_of("\r\n", scanned_) != std::string::npos;
}

HttpRequest HttpRequestReader::take() {
    HttpRequest whole = std::move(request_);
    whole.body = buffer_.substr(scanned_, bodyLength_);
    buffer_.erase(0, scanned_ + bodyLength_);
    request_ = {};
    scanned_ = 0;
    stage_ = Stage::requestLine;
    bodyLength_ = 0;
    expectsContinue_ = false;
    http11_ = false;
    return whole;
}

} // namespace quillet::service
