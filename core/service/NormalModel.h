#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "base/Result.h"
#include "wordbank/WordModel.h"

namespace quillet {

// The answer to every word bank operation. Decoding is strict: a missing required key, a value
// of the wrong type, or one bank that does not decode fails the whole answer.
struct NormalModel {
    std::int64_t code = 0;
    std::string msg;
    std::optional<std::string> count;
    std::optional<std::vector<WordModel>> data;

    // The model, or why the JSON is not one.
    static Result<NormalModel> decode(const nlohmann::json& json);
    nlohmann::json toJson() const;
};

} // namespace quillet
