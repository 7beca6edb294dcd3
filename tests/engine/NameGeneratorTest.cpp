// New names: random pieces, words drawn once each, the prefix on the first piece only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

#include "engine/MRenameTool.h"
#include "random/RandomSource.h"
#include "support/EngineRun.h"
#include "support/Files.h"

using namespace quillet;
using quillet::test::TempDir;

namespace {

// An engine that has collected "load:count:" and "fetchItems:".
class Names : public ::testing::Test {
protected:
    Names() : tool_(random_) {
        dir_.write("A.h", "- (void)load:(int)a count:(int)b;\n- (void)fetchItems:(id)x;\n");
        dir_.write("A.m", "");
        test::scan(tool_, dir_.str());
    }
    TempDir dir_;
    SeededRandom random_{7};
    MRenameTool tool_;
};

bool lettersOnly(std::string_view text) {
    return !text.empty() && text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRST"
                                                   "UVWXYZ") == std::string_view::npos;
}

} // namespace

TEST_F(Names, RandomPiecesAreEightToSixteenLettersWithThePrefixOnTheFirst) {
    tool_.setMethodPrefix("xx_");
    const auto pairs = tool_.makeNewNames({});
    ASSERT_TRUE(pairs);
    ASSERT_EQ(pairs->size(), 2u);
    EXPECT_EQ(pairs->front().old.selector(), "load:count:");
    for (const auto& pair : *pairs) {
        ASSERT_EQ(pair.new_.elements.size(), pair.old.elements.size());
        EXPECT_EQ(pair.new_.file, "");
        for (std::size_t k = 0; k < pair.new_.elements.size(); ++k) {
            std::string piece = pair.new_.elements[k];
            ASSERT_TRUE(piece.ends_with(":"));
            piece.pop_back();
            if (k == 0) {
                ASSERT_TRUE(piece.starts_with("xx_")) << piece;
                piece.erase(0, 3);
            }
            EXPECT_TRUE(lettersOnly(piece)) << piece;
            EXPECT_GE(piece.size(), 8u);
            EXPECT_LE(piece.size(), 16u);
        }
    }
}

TEST_F(Names, WordsAreHandedOutOnceEachAcrossMethods) {
    const auto pairs = tool_.makeNewNames({"alpha", "beta", "gamma", "alpha"});
    ASSERT_TRUE(pairs);
    std::set<std::string> used;
    for (const auto& pair : *pairs) {
        for (const auto& piece : pair.new_.elements) {
            used.insert(piece);
        }
    }
    EXPECT_EQ(used, (std::set<std::string>{"alpha:", "beta:", "gamma:"}));
    EXPECT_EQ(tool_.exclude().size(), 3u);
}

TEST_F(Names, RunningOutOfWordsEndsInsteadOfDrawingForever) {
    // Three pieces, two distinct words.
    EXPECT_FALSE(tool_.makeNewNames({"alpha", "beta", "alpha", "beta"}));
}

TEST(PickWord, NeverHandsOutAnEmptyWord) {
    SeededRandom random(3);
    MRenameTool tool(random);
    // An empty bank's text splits into one empty word, which passes the count for one piece.
    EXPECT_EQ(tool.pickWord({""}), std::nullopt);
    EXPECT_EQ(tool.pickWord({"", "river", ""}), "river");
}

TEST(RandomString, HoldsExactlyTheAskedKindsOfCharacters) {
    SeededRandom random(11);
    MRenameTool tool(random);
    std::set<char> seen;
    for (int i = 0; i < 200; ++i) {
        const auto text = tool.randomString(12, false);
        ASSERT_EQ(text.size(), 12u);
        seen.insert(text.begin(), text.end());
        EXPECT_TRUE(lettersOnly(tool.randomString(9, true)));
    }
    // 2,400 draws: every letter and digit shows up, and nothing else does.
    EXPECT_EQ(seen.size(), 62u);
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](char c) { return std::isalnum(c); }));
}
