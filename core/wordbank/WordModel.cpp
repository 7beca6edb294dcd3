#include "wordbank/WordModel.h"

#include <algorithm>
#include <cstdint>
#include <set>

#include <nlohmann/json.hpp>

#include "crypto/Digest.h"
#include "defaults/DefaultsStore.h"
#include "random/RandomSource.h"
#include "text/Text.h"
#include "wordbank/DeviceIdentifier.h"

namespace quillet {

namespace {

constexpr char kSeparator = '&';
constexpr std::string_view kSeparatorStandIn = "＆";
constexpr std::string_view kFullwidthComma = "，";

std::string withoutSeparator(std::string field) {
    text::replaceAll(field, std::string_view(&kSeparator, 1), kSeparatorStandIn);
    return field;
}

// What matching the whole text against ^[a-zA-Z,]{1,}$ decides, without a regular expression
// engine: ICU's gives up on texts of some hundred thousand characters, and that failure read as
// "breaks the rules". Any byte of a non-ASCII character fails, as the character itself did.
bool onlyLettersAndCommas(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return c == ',' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

// The first character the rules do not allow, named so that one the eye cannot see (a tab
// pasted with the words) can be found; nothing for an empty text.
std::string firstRefused(std::string_view text) {
    const auto at = std::find_if(text.begin(), text.end(), [](char c) {
        return c != ',' && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z');
    });
    if (at == text.end()) {
        return {};
    }
    switch (*at) {
    case '\t':
        return "制表符（Tab）";
    case '\n':
    case '\r':
        return "换行";
    default:
        break;
    }
    // The whole UTF-8 character: its lead byte says how many bytes follow.
    const auto lead = static_cast<unsigned char>(*at);
    const std::size_t size = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    const auto offset = static_cast<std::size_t>(at - text.begin());
    return "“" + std::string(text.substr(offset, size)) + "”";
}

} // namespace

WordModel WordModel::loadLocal() {
    return loadLocal(DefaultsStore::standard(), deviceIdentifier());
}

WordModel WordModel::loadLocal(DefaultsStore& store, const std::string& deviceIdentifier) {
    WordModel model;
    model.uuid = deviceIdentifier;
    const auto stored = store.object(storeKey);
    const auto* record = stored ? std::get_if<std::string>(&*stored) : nullptr;
    if (record == nullptr) {
        return model;
    }
    const auto fields = text::split(*record, kSeparator);
    if (fields.size() != 5) {
        return model;
    }
    model.id = fields[0];
    model.uuid = fields[1];
    model.tool = fields[2];
    model.title = fields[3];
    model.text = fields[4];
    return model;
}

Status WordModel::save() {
    return save(DefaultsStore::standard());
}

Status WordModel::save(DefaultsStore& store) {
    for (auto* field : {&id, &uuid, &tool, &title, &text}) {
        *field = withoutSeparator(std::move(*field));
    }
    const std::string separator(1, kSeparator);
    auto stored = store.setObject(storeKey, text::join({id, uuid, tool, title, text}, separator));
    // Takes in what other processes wrote meanwhile; the record's own fate is settled above.
    (void)store.synchronize();
    return stored;
}

WordModel WordModel::makeNew(const std::string& deviceIdentifier) {
    // Whoever guesses a token can fetch the bank, so it is drawn, never derived from anything
    // (such as the time) that others can work out. A failing generator throws rather than
    // falling back to weaker bits: no bank is better than one that anyone can find.
    RandomSource& random = RandomSource::system();
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t word = random.next();
        for (int shift = 0; shift < 32; shift += 8) {
            bytes += static_cast<char>((word >> shift) & 0xFF);
        }
    }
    WordModel model;
    model.uuid = deviceIdentifier;
    model.tool = "Quillet";
    model.id = crypto::upperHex(bytes);
    return model;
}

Result<std::string, WordBankRuleBreak> WordModel::normalize(std::string_view bankText) {
    std::string canonical(bankText);
    text::replaceAll(canonical, " ", "");
    text::replaceAll(canonical, kFullwidthComma, ",");
    if (!onlyLettersAndCommas(canonical)) {
        const std::string refused = firstRefused(canonical);
        return WordBankRuleBreak{std::string(WordBankText::brokenRulesTitle),
                                 std::string(WordBankText::brokenRulesMessage) +
                                     (refused.empty() ? "" : "（不允许的字符: " + refused + "）")};
    }
    // Only ASCII letters are left, so byte order is character-code order; descending puts a
    // longer word before its own prefix.
    std::set<std::string, std::greater<>> words;
    for (auto& word : text::split(canonical, ',')) {
        if (word.size() > length) {
            words.insert(std::move(word));
        }
    }
    return text::join(std::vector<std::string>(words.begin(), words.end()), ",");
}

std::size_t WordModel::wordCount(std::string_view bankText) {
    return static_cast<std::size_t>(std::count(bankText.begin(), bankText.end(), ',')) + 1;
}

std::size_t WordModel::displayedWordCount(std::string_view bankText) {
    const auto pieces = text::splitViews(bankText, ',');
    return static_cast<std::size_t>(
        std::count_if(pieces.begin(), pieces.end(), [](auto piece) { return !piece.empty(); }));
}

Result<WordModel> WordModel::fromJson(const nlohmann::json& json) {
    if (!json.is_object()) {
        return Error{"not an object"};
    }
    WordModel model;
    const std::pair<const char*, std::string*> fields[] = {
        {"id", &model.id},       {"uuid", &model.uuid}, {"tool", &model.tool},
        {"title", &model.title}, {"text", &model.text}, {"count", &model.count}};
    for (const auto& [key, field] : fields) {
        const auto it = json.find(key);
        if (it == json.end() || !it->is_string()) {
            return Error{std::string("\"") + key + "\" is missing or not a string"};
        }
        *field = it->get<std::string>();
    }
    return model;
}

nlohmann::json WordModel::toJson() const {
    return {{"id", id},       {"uuid", uuid}, {"tool", tool},
            {"title", title}, {"text", text}, {"count", count}};
}

} // namespace quillet
