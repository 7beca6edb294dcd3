#include "BankOperations.h"

#include <algorithm>
#include <string_view>

#include <nlohmann/json.hpp>

#include "text/Text.h"
#include "wordbank/WordModel.h"

namespace quillet::service {

namespace {

constexpr const char* kServerError = "服务器错误，请重试";

bool isToken(const std::string& text) {
    return text.size() == 32 && text.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

// A text parameter, or nothing when it is missing or not a string.
std::optional<std::string> text(const nlohmann::json& request, const char* key) {
    const auto it = request.find(key);
    if (it == request.end() || !it->is_string()) {
        return std::nullopt;
    }
    return it->get<std::string>();
}

std::size_t characterCount(const std::string& utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
}

std::size_t longestWord(std::string_view canonical) {
    std::size_t longest = 0;
    for (const auto word : text::splitViews(canonical, ',')) {
        longest = std::max(longest, word.size());
    }
    return longest;
}

NormalModel success(std::string msg) {
    NormalModel answer;
    answer.code = 1;
    answer.msg = std::move(msg);
    return answer;
}

// `owner` is what the answer says in "uuid": the bank's owner, or "" to anyone else.
WordModel toWordModel(StoredBank&& bank, const std::string& owner) {
    WordModel model;
    model.id = std::move(bank.id);
    model.uuid = owner;
    model.tool = std::move(bank.tool);
    model.title = std::move(bank.title);
    model.text = std::move(bank.text);
    model.count = std::to_string(bank.count);
    return model;
}

// The owner's device identifier is the credential for saving, deleting and listing, so it goes
// back only to a request that already carries it; a token shared with others reveals no owner.
// Takes the banks: an owner's list is megabytes, and one copy of it fewer is memory spared.
NormalModel banksAnswer(std::vector<StoredBank>&& banks, const std::string& asker) {
    NormalModel answer = success("获取成功");
    answer.data.emplace();
    for (auto& bank : banks) {
        const std::string owner = bank.owner == asker ? bank.owner : "";
        answer.data->push_back(toWordModel(std::move(bank), owner));
    }
    answer.count = std::to_string(banks.size());
    return answer;
}

} // namespace

NormalModel refusal(std::string msg) {
    NormalModel answer;
    answer.code = 0;
    answer.msg = std::move(msg);
    return answer;
}

long long BankOperations::portOf(const nlohmann::json& request) {
    const auto port = request.is_object() ? request.find("port") : request.end();
    return request.is_object() && port != request.end() && port->is_number_integer()
               ? port->get<long long>()
               : 0;
}

bool BankOperations::isOwnerList(const nlohmann::json& request) {
    return request.is_object() && portOf(request) == 1021 && !request.contains("id");
}

NormalModel BankOperations::handle(const nlohmann::json& request) {
    if (!request.is_object()) {
        return refusal("请求无法解析");
    }
    switch (portOf(request)) {
    case savePort:
        return save(request);
    case 1021:
        return fetch(request);
    case 1022:
        return remove(request);
    default:
        return refusal("未知的操作");
    }
}

NormalModel BankOperations::save(const nlohmann::json& request) {
    const auto id = text(request, "id");
    const auto owner = text(request, "uuid");
    const auto title = text(request, "title");
    const auto words = text(request, "text");
    const auto tool = text(request, "tool");
    if (!id || !isToken(*id)) {
        return refusal("口令格式错误");
    }
    if (!owner || owner->empty()) {
        return refusal("缺少设备标识");
    }
    if (!title || title->empty()) {
        return refusal("备注不能为空");
    }
    if (characterCount(*title) > maximumTitleCharacters) {
        return refusal("备注最多" + std::to_string(maximumTitleCharacters) + "个字");
    }
    if (!words || !tool) {
        return refusal("参数错误");
    }
    const auto canonical = WordModel::normalize(*words);
    if (!canonical) {
        return refusal(canonical.error().title);
    }
    if (canonical->size() > maximumTextBytes) {
        return refusal("词库最多" + std::to_string(maximumTextBytes / 1024) + " KB");
    }
    if (longestWord(*canonical) > maximumWordLetters) {
        return refusal("单词最多" + std::to_string(maximumWordLetters) + "个字母");
    }
    const auto count = WordModel::wordCount(*canonical);
    if (!WordModel::canSave(count)) {
        return refusal(std::string(WordBankText::cannotSaveMessage));
    }
    switch (store_.save({*id, *owner, *tool, *title, *canonical, static_cast<long long>(count)})) {
    case BankStore::Change::done:
        return success("保存成功");
    case BankStore::Change::otherOwner:
        return refusal("你不能保存此词库, 因为不是你的词库");
    case BankStore::Change::ownerFull:
        return refusal("每台设备最多保存" + std::to_string(BankStore::maximumBanksPerOwner) +
                       "个词库，请先删除不用的词库");
    case BankStore::Change::storeFull:
        return refusal("服务器存储已满，暂时不能新建词库；已有的词库仍可保存或删除");
    case BankStore::Change::notFound:
    case BankStore::Change::failed:
        break;
    }
    return refusal(kServerError);
}

NormalModel BankOperations::fetch(const nlohmann::json& request) {
    // Older clients send no "uuid" with a token; they are answered as strangers.
    const auto owner = text(request, "uuid");
    if (const auto id = text(request, "id")) {
        auto banks = store_.find(*id);
        if (!banks) {
            return refusal(kServerError);
        }
        // Device identifiers are never empty, so "" is no one's.
        return banks->empty() ? refusal("口令不存在")
                              : banksAnswer(std::move(*banks), owner.value_or(""));
    }
    if (owner && !owner->empty()) {
        auto banks = store_.ownedBy(*owner, maximumListTextBytes);
        return banks ? banksAnswer(std::move(*banks), *owner) : refusal(kServerError);
    }
    return refusal("缺少口令或设备标识");
}

NormalModel BankOperations::remove(const nlohmann::json& request) {
    const auto id = text(request, "id");
    const auto owner = text(request, "uuid");
    if (!id || id->empty()) {
        return refusal("缺少口令");
    }
    if (!owner || owner->empty()) {
        return refusal("缺少设备标识");
    }
    switch (store_.remove(*id, *owner)) {
    case BankStore::Change::done:
        return success("删除成功");
    case BankStore::Change::notFound:
        return refusal("词库不存在");
    case BankStore::Change::otherOwner:
        return refusal("你不可以删掉此词库，因为不是你的词库");
    case BankStore::Change::ownerFull:
    case BankStore::Change::storeFull:
    case BankStore::Change::failed:
        break;
    }
    return refusal(kServerError);
}

} // namespace quillet::service
