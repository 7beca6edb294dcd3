#include <sys/stat.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fstream>
#include <set>
#include <vector>

#include <nlohmann/json.hpp>
#include <openssl/evp.h>

#include "crypto/Digest.h"
#include "defaults/DefaultsStore.h"
#include "random/RandomSource.h"
#include "support/Files.h"
#include "support/Words.h"
#include "text/IcuPattern.h"
#include "text/Text.h"
#include "text/TimeText.h"
#include "wordbank/DeviceIdentifier.h"
#include "wordbank/WordModel.h"

using namespace quillet;
using quillet::test::TempDir;

namespace {

// The canonical text, or "!" + the alert title when the text breaks the rules.
std::string normalized(std::string_view text) {
    const auto result = WordModel::normalize(text);
    return result ? *result : "!" + result.error().title;
}

const std::string kOwner = "0123456789ABCDEF0123456789ABCDEF";

std::string md5Hex(std::string_view bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_md5(), nullptr);
    return crypto::upperHex(std::string_view(reinterpret_cast<const char*>(digest), length));
}

} // namespace

TEST(Normalize, CleansSortsAndDropsShortAndRepeatedWords) {
    EXPECT_EQ(normalized("abc, defghijkl，Mnopqrstu"), "defghijkl,Mnopqrstu");
    EXPECT_EQ(normalized("adminAction,userAction,loginManager"),
              "userAction,loginManager,adminAction");
    EXPECT_EQ(normalized("people,login,userAction,userAction"), "userAction");
    EXPECT_EQ(normalized(",,helloWorldX,,"), "helloWorldX");
    // Lowercase initials first, and a word before its own prefix.
    EXPECT_EQ(normalized("Zebrazebra,abcdefgh,abcdefghij"), "abcdefghij,abcdefgh,Zebrazebra");
    EXPECT_EQ(normalized("abc,de"), "");
}

TEST(Normalize, RefusesAnythingButLettersAndCommas) {
    for (const char* text : {"", "helloWorld1", "hello_world", "hello\tworld", "hello\nworld",
                             "helloWorld,词语", "hello;world"}) {
        EXPECT_EQ(normalized(text), "!词库不符合规则") << text;
    }
    // The message names the first character refused, even one that cannot be seen.
    const std::pair<const char*, const char*> named[] = {
        {"", "可能含有中文或特殊字符或为空"},
        {"abc1", "可能含有中文或特殊字符或为空（不允许的字符: “1”）"},
        {"hello\tworld", "可能含有中文或特殊字符或为空（不允许的字符: 制表符（Tab））"},
        {"hello,\r\nworld", "可能含有中文或特殊字符或为空（不允许的字符: 换行）"},
        {"hello,词语", "可能含有中文或特殊字符或为空（不允许的字符: “词”）"},
    };
    for (const auto& [text, message] : named) {
        const auto broken = WordModel::normalize(text);
        ASSERT_FALSE(broken) << text;
        EXPECT_EQ(broken.error().message, message) << text;
    }
}

TEST(Normalize, AcceptsAVeryLongText) {
    // 50,000 words of eleven letters and a comma: 600,000 characters.
    std::string text;
    for (int i = 0; i < 50000; ++i) {
        std::string word = "wordbank";
        for (int n = i, digit = 0; digit < 3; ++digit, n /= 26) {
            word += static_cast<char>('a' + n % 26);
        }
        text += word + ",";
    }
    ASSERT_EQ(text.size(), 600000u);
    const auto result = WordModel::normalize(text);
    ASSERT_TRUE(result);
    EXPECT_EQ(WordModel::displayedWordCount(*result), 17576u);
    for (const char* tail : {"\n", "1", "词", "\xF0\x9F\x98\x80"}) {
        EXPECT_EQ(normalized(text + tail), "!词库不符合规则") << tail;
    }
}

TEST(Normalize, DecidesAsTheLettersAndCommasPatternDoes) {
    // The rule as the pattern it was first written as; the two must agree on every text.
    text::IcuPattern rule("^[a-zA-Z,]{1,}$");
    // Letters, commas and what the cleaning removes, then characters that break the rule.
    std::vector<std::string> pieces = {"a", "Z", "m", "Q", ",", " ", "，"};
    for (const char* refused :
         {"1", "_", "-", "\n", "\r", "\t", "\x7F", "é", "词", "\xF0\x9F\x98\x80", "\xFF", "\xE8"}) {
        pieces.emplace_back(refused);
    }
    pieces.emplace_back(1, '\0');
    SeededRandom random(7);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const auto length = random.uniform(6);
        for (std::uint32_t i = 0; i < length; ++i) {
            text += pieces[random.uniform(static_cast<std::uint32_t>(pieces.size()))];
        }
        std::string cleaned = text;
        text::replaceAll(cleaned, " ", "");
        text::replaceAll(cleaned, "，", ",");
        EXPECT_EQ(normalized(text) != "!词库不符合规则", rule.matches(cleaned)) << text;
    }
}

TEST(WordCount, SaveLimitCountsEveryPieceAndDisplayCountsWords) {
    EXPECT_EQ(WordModel::wordCount(""), 1u);
    EXPECT_EQ(WordModel::wordCount("a,,b,"), 4u);
    EXPECT_EQ(WordModel::displayedWordCount("a,,b,"), 2u);
    EXPECT_EQ(WordModel::displayedWordCount(""), 0u);
    EXPECT_FALSE(WordModel::canSave(WordModel::wordCount(test::bankText(99))));
    EXPECT_TRUE(WordModel::canSave(WordModel::wordCount(test::bankText(100))));
    EXPECT_TRUE(WordModel::canSave(WordModel::wordCount(test::bankText(2000))));
    EXPECT_FALSE(WordModel::canSave(WordModel::wordCount(test::bankText(2001))));
    EXPECT_FALSE(WordModel::canSave(WordModel::wordCount(normalized("abc,de"))));
}

TEST(StoredBank, RoundTripsAndOtherShapesLoadAsNoBank) {
    TempDir dir;
    DefaultsStore store((dir.path() / "Defaults.json").string());
    EXPECT_EQ(WordModel::loadLocal(store, kOwner).uuid, kOwner);
    EXPECT_EQ(WordModel::loadLocal(store, kOwner).id, "");

    WordModel bank = WordModel::makeNew("FEDCBA9876543210FEDCBA9876543210");
    bank.title = "团队词库";
    bank.text = "userAction,loginManager";
    bank.count = "2";
    (void)bank.save(store);
    const auto loaded = WordModel::loadLocal(store, kOwner);
    EXPECT_EQ(loaded.id, bank.id);
    EXPECT_EQ(loaded.uuid, "FEDCBA9876543210FEDCBA9876543210"); // the owner's, not this device's
    EXPECT_EQ(loaded.tool, "Quillet");
    EXPECT_EQ(loaded.title, "团队词库");
    EXPECT_EQ(loaded.text, "userAction,loginManager");
    EXPECT_EQ(loaded.count, ""); // never stored

    for (const DefaultsValue& stored :
         {DefaultsValue(std::string("a&b&c&d")), DefaultsValue(std::string("a&b&c&d&e&f")),
          DefaultsValue(std::int64_t{5})}) {
        (void)store.setObject(WordModel::storeKey, stored);
        const auto none = WordModel::loadLocal(store, kOwner);
        EXPECT_EQ(none.uuid, kOwner);
        EXPECT_TRUE(none.id.empty() && none.tool.empty() && none.title.empty() &&
                    none.text.empty());
    }
}

TEST(StoredBank, AnAmpersandInTheRemarkCannotBreakTheRecord) {
    TempDir dir;
    DefaultsStore store((dir.path() / "Defaults.json").string());
    WordModel bank = WordModel::makeNew(kOwner);
    bank.title = "A&B";
    bank.text = "userAction";
    (void)bank.save(store);
    EXPECT_EQ(bank.title, "A＆B"); // what is shown is what is stored
    const auto loaded = WordModel::loadLocal(store, kOwner);
    EXPECT_EQ(loaded.id, bank.id);
    EXPECT_EQ(loaded.title, "A＆B");
    EXPECT_EQ(loaded.text, "userAction");
}

TEST(MakeNew, ANewBankIsOwnedHereWithAToken) {
    const auto bank = WordModel::makeNew(kOwner);
    EXPECT_EQ(bank.uuid, kOwner);
    EXPECT_EQ(bank.tool, "Quillet");
    EXPECT_TRUE(bank.title.empty() && bank.text.empty() && bank.count.empty());
}

TEST(MakeNew, TokensAreUnguessableAndNeverRepeat) {
    const auto before = std::chrono::system_clock::now();
    std::set<std::string> tokens;
    std::array<int, 16> digitUses{};
    constexpr int kTokens = 10000;
    for (int i = 0; i < kTokens; ++i) {
        const auto token = WordModel::makeNew(kOwner).id;
        ASSERT_EQ(token.size(), 32u) << token;
        for (const char c : token) {
            const auto digit = std::string_view("0123456789ABCDEF").find(c);
            ASSERT_NE(digit, std::string_view::npos) << token;
            ++digitUses[digit];
        }
        tokens.insert(token);
    }
    // Many made in one second still differ.
    EXPECT_EQ(tokens.size(), static_cast<std::size_t>(kTokens));
    // Every digit shows up about 20,000 times in 320,000; a stuck bit or a byte that is always
    // the same would push some far from that.
    for (const int uses : digitUses) {
        EXPECT_GT(uses, 18000);
        EXPECT_LT(uses, 22000);
    }
    // Nothing like the digest of the creation time, which anyone could work out.
    const auto after = std::chrono::system_clock::now();
    for (auto second = std::chrono::floor<std::chrono::seconds>(before) - std::chrono::seconds(1);
         second <= after + std::chrono::seconds(1); second += std::chrono::seconds(1)) {
        const auto dateText = text::formatTime(second, "%Y-%m-%d %H:%M:%S +0000", text::Zone::utc);
        EXPECT_FALSE(tokens.contains(md5Hex(dateText))) << dateText;
    }
}

TEST(WordModelJson, AllSixKeysMustBeStrings) {
    const auto full = nlohmann::json{{"id", "A"},    {"uuid", "B"}, {"tool", "Quillet"},
                                     {"title", "t"}, {"text", "w"}, {"count", "150"}};
    const auto bank = WordModel::fromJson(full);
    ASSERT_TRUE(bank);
    EXPECT_EQ(bank->count, "150");
    for (const char* key : {"id", "uuid", "tool", "title", "text", "count"}) {
        auto missing = full;
        missing.erase(key);
        const auto refused = WordModel::fromJson(missing);
        ASSERT_FALSE(refused) << key;
        EXPECT_EQ(refused.error().message,
                  "\"" + std::string(key) + "\" is missing or not a string");
        auto number = full;
        number[key] = 150;
        EXPECT_FALSE(WordModel::fromJson(number)) << key;
    }
    EXPECT_FALSE(WordModel::fromJson(nlohmann::json::array()));
}

bool isHexIdentifier(const std::string& id) {
    return id.size() == 32 && id.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

TEST(DeviceIdentifier, ANewInstallDrawsItsOwnSecretAndKeepsIt) {
    TempDir dir;
    const std::string machine = "4f1c2a9e8b7d4c3a9e8b7d4c3a9e8b7d";
    DefaultsStore store((dir.path() / "Defaults.json").string());
    SeededRandom random(1);
    const auto id = deviceIdentifierFrom(machine, store, random);
    EXPECT_TRUE(isHexIdentifier(id)) << id;
    // Anyone who can read the machine's identifier could compute the derived one.
    EXPECT_NE(id, "246E043BE17E2C9E7B6F39E8D9388095");

    // The next launch reads it back, whatever the machine says now.
    DefaultsStore reread(store.path());
    SeededRandom other(2);
    EXPECT_EQ(deviceIdentifierFrom(std::string("another machine"), reread, other), id);

    // A cloned machine (same machine identifier, its own user files) is another owner.
    TempDir cloneDir;
    DefaultsStore clone((cloneDir.path() / "Defaults.json").string());
    EXPECT_NE(deviceIdentifierFrom(machine, clone, other), id);

    // Without any machine identifier the rule is the same.
    TempDir bareDir;
    DefaultsStore bare((bareDir.path() / "Defaults.json").string());
    const auto made = deviceIdentifierFrom(std::nullopt, bare, random);
    EXPECT_TRUE(isHexIdentifier(made)) << made;
    DefaultsStore bareAgain(bare.path());
    EXPECT_EQ(deviceIdentifierFrom(std::nullopt, bareAgain, other), made);

    EXPECT_EQ(deviceIdentifier(), deviceIdentifier());
    EXPECT_TRUE(isHexIdentifier(deviceIdentifier()));
}

TEST(DeviceIdentifier, AnEarlierInstallKeepsTheIdentifierItsBanksWereSavedUnder) {
    TempDir dir;
    const std::string machine = "4f1c2a9e8b7d4c3a9e8b7d4c3a9e8b7d";
    // What earlier versions left: a bank saved under the derived identifier, and no identifier
    // of their own.
    {
        DefaultsStore earlier((dir.path() / "Defaults.json").string());
        auto bank = WordModel::makeNew("246E043BE17E2C9E7B6F39E8D9388095");
        bank.title = "mine";
        ASSERT_TRUE(bank.save(earlier));
    }
    DefaultsStore store((dir.path() / "Defaults.json").string());
    SeededRandom random(1);
    // The value earlier versions computed for this machine identifier.
    EXPECT_EQ(deviceIdentifierFrom(machine, store, random), "246E043BE17E2C9E7B6F39E8D9388095");
    // Kept from now on: a changed machine identifier no longer changes the owner.
    DefaultsStore reread(store.path());
    EXPECT_EQ(deviceIdentifierFrom(std::string("another machine"), reread, random),
              "246E043BE17E2C9E7B6F39E8D9388095");
}

TEST(DeviceIdentifier, TheSettingsThatHoldItAreTheOwnersAlone) {
    TempDir dir;
    const std::string path = (dir.path() / "Defaults.json").string();
    // A document an earlier version left readable by everyone is tightened on the next write.
    { std::ofstream(path) << "{}\n"; }
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    DefaultsStore store(path);
    SeededRandom random(1);
    deviceIdentifierFrom(std::nullopt, store, random);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    // A new document is made that way.
    const std::string fresh = (dir.path() / "Fresh.json").string();
    DefaultsStore made(fresh);
    ASSERT_TRUE(made.setObject("key", std::string("value")));
    ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}
