#pragma once

#include <string>

#include "BankOperations.h"

namespace quillet::service {

// Turns the form field "data" of a request into the body of the answer: the enciphered request
// is opened, handled, and the answer is enciphered the same way. Whatever comes in, the answer
// is a JSON object whose "data" holds an enciphered NormalModel.
class EnvelopeHandler {
public:
    explicit EnvelopeHandler(BankOperations& operations) : operations_(operations) {}

    struct Outcome {
        std::string body;
        long long port = 0; // 0 when the request named none
        long long code = 0;
    };
    // `data` is nothing when the form had no field "data".
    Outcome handle(const std::string* data);

    // An answer body holding `answer`.
    static std::string answerBody(const NormalModel& answer);

private:
    BankOperations& operations_;
};

} // namespace quillet::service
