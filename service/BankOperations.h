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
    static bool isSave(const nlohmann::json& request) { return portOf(request) == savePort; }
    // A fetch of an owner's list: the one answer that grows with what is stored.
    static bool isOwnerList(const nlohmann::json& request);

    static constexpr long long savePort = 1020;
    static constexpr std::size_t maximumTitleCharacters = 64;
    static constexpr std::size_t maximumWordLetters = 64;
    static constexpr std::size_t maximumTextBytes = std::size_t{64} * 1024;
    // Bank text in one owner's list: a realistic bank of 2000 words is about 18 KB, so this holds
    // the banks of any owner who saves real ones, and bounds the answer for one who does not.
    static constexpr std::size_t maximumListTextBytes = std::size_t{4} * 1024 * 1024;

private:
    NormalModel save(const nlohmann::json& request);
    NormalModel fetch(const nlohmann::json& request);
    NormalModel remove(const nlohmann::json& request);

    BankStore& store_;
};

// An answer that refuses, with its message.
NormalModel refusal(std::string msg);

} // namespace quillet::service
