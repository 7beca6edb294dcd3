#include "service/NormalModel.h"

#include <nlohmann/json.hpp>

namespace quillet {

Result<NormalModel> NormalModel::decode(const nlohmann::json& json) {
    if (!json.is_object()) {
        return Error{"the answer is not an object"};
    }
    NormalModel model;
    const auto code = json.find("code");
    if (code == json.end() || !code->is_number_integer()) {
        return Error{"\"code\" is missing or not an integer"};
    }
    model.code = code->get<std::int64_t>();
    const auto msg = json.find("msg");
    if (msg == json.end() || !msg->is_string()) {
        return Error{"\"msg\" is missing or not a string"};
    }
    model.msg = msg->get<std::string>();
    // Optional keys may be absent or null, but nothing else than their type.
    if (const auto count = json.find("count"); count != json.end() && !count->is_null()) {
        if (!count->is_string()) {
            return Error{"\"count\" is not a string"};
        }
        model.count = count->get<std::string>();
    }
    if (const auto data = json.find("data"); data != json.end() && !data->is_null()) {
        if (!data->is_array()) {
            return Error{"\"data\" is not an array"};
        }
        std::vector<WordModel> banks;
        for (std::size_t i = 0; i < data->size(); ++i) {
            auto bank = WordModel::fromJson((*data)[i]);
            if (!bank) {
                return Error{"bank " + std::to_string(i) +
                             " of \"data\" does not decode: " + bank.error().message};
            }
            banks.push_back(std::move(*bank));
        }
        model.data = std::move(banks);
    }
    return model;
}

nlohmann::json NormalModel::toJson() const {
    nlohmann::json json{{"code", code}, {"msg", msg}};
    if (count) {
        json["count"] = *count;
    }
    if (data) {
        json["data"] = nlohmann::json::array();
        for (const auto& bank : *data) {
            json["data"].push_back(bank.toJson());
        }
    }
    return json;
}

} // namespace quillet
