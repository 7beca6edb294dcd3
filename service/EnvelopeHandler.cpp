#include "EnvelopeHandler.h"

#include <optional>

#include <nlohmann/json.hpp>

#include "service/Envelope.h"

namespace quillet::service {

namespace {

EnvelopeHandler::Outcome refuse(const char* why, long long port = 0, int status = 200) {
    return {EnvelopeHandler::answerBody(refusal(why)), port, 0, status};
}

} // namespace

std::string EnvelopeHandler::answerBody(const NormalModel& answer) {
    // Every answer goes out: a stored text that is not UTF-8 (a database changed by hand) is
    // sent with U+FFFD in place of its bad bytes rather than ending the service with an exception.
    const std::string plain =
        answer.toJson().dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return nlohmann::json{{"data", wrapEnvelope(plain)}}.dump();
}

EnvelopeHandler::Outcome EnvelopeHandler::handle(const std::string* data,
                                                 const std::string& client) {
    auto opened = open(data, client);
    return std::holds_alternative<Outcome>(opened) ? std::move(std::get<Outcome>(opened))
                                                   : answer(std::get<Opened>(opened));
}

std::variant<EnvelopeHandler::Outcome, EnvelopeHandler::Opened>
EnvelopeHandler::open(const std::string* data, const std::string& client) {
    if (data == nullptr) {
        return refuse("请求缺少 data");
    }
    const auto plain = unwrapEnvelope(*data);
    if (!plain) {
        return refuse("请求无法解密");
    }
    auto request = nlohmann::json::parse(*plain, nullptr, false);
    if (request.is_discarded()) {
        return refuse("请求不是 JSON");
    }
    const long long port = BankOperations::portOf(request);
    if (BankOperations::isSave(request) && !saves_.take(client)) {
        return refuse("保存过于频繁，请稍后再试", port, 429);
    }
    const bool heavy = BankOperations::isOwnerList(request);
    return Opened{std::move(request), port, heavy};
}

EnvelopeHandler::Outcome EnvelopeHandler::answer(const Opened& opened) {
    const auto turn = opened.heavy ? heavy_.enter() : std::optional<HeavyAnswerGate::Pass>();
    if (opened.heavy && !turn) {
        return refuse("服务繁忙，请稍后重试", opened.port, 503);
    }
    const auto answer = operations_.handle(opened.request);
    // The turn lasts until the answer is enciphered: that is where its copies are made.
    return {answerBody(answer), opened.port, answer.code};
}

} // namespace quillet::service
