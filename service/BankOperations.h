#pragma once

#include <string>

#include <nlohmann/json_fwd.hpp>

#include "BankStore.h"
#include "service/NormalModel.h"

namespace quillet::service {

// What the service does for one plain request: save (1020), fetch by token or by owner (1021)
// and delete (1022). Every refusal is an answer with "code" 0 and a message that says why.
class BankOperations {
public:
    explicit BankOperations(BankStore& store) : store_(store) {}

    NormalModel handle(const nlohmann::json& request);
    // The operation's number, for the request log; 0 when there is none.
    static long long portOf(const nlohmann::json& request);

private:
    NormalModel save(const nlohmann::json& request);
    NormalModel fetch(const nlohmann::json& request);
    NormalModel remove(const nlohmann::json& request);

    BankStore& store_;
};

// An answer that refuses, with its message.
NormalModel refusal(std::string msg);

} // namespace quillet::service
