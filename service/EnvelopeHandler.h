#pragma once

#include <string>
#include <variant>

#include <nlohmann/json.hpp>

#include "BankOperations.h"
#include "HeavyAnswerGate.h"
#include "SaveRateLimit.h"

namespace quillet::service {

// Turns the form field "data" of a request into the body of the answer: the enciphered request
// is opened, handled, and the answer is enciphered the same way. Whatever comes in, the answer
// is a JSON object whose "data" holds an enciphered NormalModel.
class EnvelopeHandler {
public:
    EnvelopeHandler(BankOperations& operations, SaveRateLimit& saves, HeavyAnswerGate& heavy)
        : operations_(operations), saves_(saves), heavy_(heavy) {}

    struct Outcome {
        std::string body;
        long long port = 0; // 0 when the request named none
        long long code = 0;
        int status = 200; // 429 past the client's saves, 503 when too many lists are being made
    };
    // A request taken out of its envelope and let through the per-client limits: what stays
    // is answering it.
    struct Opened {
        nlohmann::json request;
        long long port = 0;
        // An owner's list: it waits its turn at the heavy answer gate and reads megabytes.
        bool heavy = false;
    };

    // `data` is nothing when the form had no field "data"; `client` is the asker's address.
    Outcome handle(const std::string* data, const std::string& client);
    // The first half of handle(): the request, or the refusal that already answers it.
    std::variant<Outcome, Opened> open(const std::string* data, const std::string& client);
    // The second half.
    Outcome answer(const Opened& opened);

    // An answer body holding `answer`.
    static std::string answerBody(const NormalModel& answer);

private:
    BankOperations& operations_;
    SaveRateLimit& saves_;
    HeavyAnswerGate& heavy_;
};

} // namespace quillet::service
