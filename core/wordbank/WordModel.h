#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "base/Result.h"

namespace quillet {

class DefaultsStore;

// Why a bank's text breaks the rules: the alert's title and message.
struct WordBankRuleBreak {
    std::string title;
    std::string message;
};

// A word bank: the words new method names are drawn from, with its share token, owner and remark.
class WordModel {
public:
    std::string id;    // share token, 32 uppercase hexadecimal digits
    std::string uuid;  // the owner's device identifier
    std::string tool;  // "Quillet" for banks made here
    std::string title; // the user's remark
    std::string text;  // the words, separated by ","
    std::string count; // word count as the service reports it; never stored here

    // The key of the stored default bank in the defaults store.
    static constexpr std::string_view storeKey = "QuilletWordBankKey";
    static constexpr std::size_t length = 7; // words must be longer than this
    static constexpr std::size_t minimumWords = 100;
    static constexpr std::size_t maximumWords = 2000;

    // The default bank; never fails (nothing stored gives a bank owned by this device).
    static WordModel loadLocal();
    static WordModel loadLocal(DefaultsStore& store, const std::string& deviceIdentifier);
    // Makes this bank the default bank. A "&" in any field would break the stored record, so it
    // is replaced by the fullwidth "＆" here and in the record alike. Fails when the record did
    // not reach the file.
    Status save();
    Status save(DefaultsStore& store);

    // A bank owned by `deviceIdentifier` with a fresh token of 128 bits from the system's secure
    // generator, which throws when it cannot give them.
    static WordModel makeNew(const std::string& deviceIdentifier);

    // The canonical text, or why the text breaks the rules.
    static Result<std::string, WordBankRuleBreak> normalize(std::string_view bankText);
    // Pieces between commas, empty ones included; the save limit counts these.
    static std::size_t wordCount(std::string_view bankText);
    // Pieces between commas, empty ones left out; what the verify action shows.
    static std::size_t displayedWordCount(std::string_view bankText);
    static bool canSave(std::size_t wordCount) {
        return wordCount >= minimumWords && wordCount <= maximumWords;
    }

    // Strict: the six keys must all be there and all hold strings; the error names the first
    // that does not.
    static Result<WordModel> fromJson(const nlohmann::json& json);
    nlohmann::json toJson() const;
};

// Alert texts of the word bank rules.
namespace WordBankText {
inline constexpr std::string_view brokenRulesTitle = "词库不符合规则";
inline constexpr std::string_view brokenRulesMessage = "可能含有中文或特殊字符或为空";
inline constexpr std::string_view cannotSaveTitle = "无法保存";
inline constexpr std::string_view cannotSaveMessage = "单词数量至少100个, 但是不能超过2000个";
// What the screen's about dialog says about building a bank.
inline constexpr std::string_view rulesText =
    "工具是根据词库来生成代码的，词库不同，生成的代码也就不同；即使是相同的词库，由于工具是动态机制"
    "，"
    "每次生成的代码也不相同，词库必须按照以下规则组装：\n\n1、单个词，全为小写\n2、组合单词，"
    "从第二个单词起，首字母为大写\n例如1：userAction,adminAction,loginManger\n例如2："
    "adminLoginAccess,userLoginAccess, normalLogoutAccess\n依此类推\n3、用英文逗号连接\n举例："
    "people,user,userAction,login,userLoginAccess,loginManger\n\n\n# "
    "注意事项\n1、保留关键词不能使用";
} // namespace WordBankText

} // namespace quillet
