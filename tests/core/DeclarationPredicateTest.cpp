#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/DeclarationPredicate.h"
#include "random/RandomSource.h"
#include "text/IcuPattern.h"

namespace quillet {
namespace {

TEST(DeclarationPredicate, FindsASignBeforeAParenthesisAcrossLines) {
    DeclarationPredicate predicate;
    EXPECT_TRUE(predicate.matches("- (void)foo:(int)a"));
    EXPECT_TRUE(predicate.matches("}\r\n\r\n+(id)shared"));
    EXPECT_TRUE(predicate.matches("x = a -\n\t (b)"));
    EXPECT_TRUE(predicate.matches("f(a, (b))")); // the comma counts as a sign
    EXPECT_FALSE(predicate.matches("[o foo:1 bar:2]"));
    EXPECT_FALSE(predicate.matches("- x (void)"));
    EXPECT_FALSE(predicate.matches("(void)-"));
    EXPECT_FALSE(predicate.matches(""));
    // A no-break space is white space to ICU.
    EXPECT_TRUE(predicate.matches("-\xC2\xA0(void)foo:"));
}

// The quick answers for plain text must agree with the regular expression itself on every text,
// including unusual white space and characters beyond ASCII.
TEST(DeclarationPredicate, AgreesWithTheRegularExpression) {
    const std::vector<std::string> alphabet = {"+",
                                               ",",
                                               "-",
                                               "(",
                                               ")",
                                               " ",
                                               "\t",
                                               "\n",
                                               "\r",
                                               "\f",
                                               "\v",
                                               "a",
                                               ":",
                                               "\xC2\xA0",
                                               "\xE3\x80\x80",
                                               "\xE2\x80\xA8",
                                               "\xC2\x85",
                                               "\x1C",
                                               "\xE4\xB8\xAD",
                                               "\x7F",
                                               "\xE1\x9A\x80",
                                               "\xE2\x80\x8A",
                                               "\xE2\x80\x8B",
                                               "\xE2\x81\x9F",
                                               "\xEF\xBB\xBF",
                                               "\xE1\xA0\x8E",
                                               "\xF0\x9F\x98\x80"};
    text::IcuPattern reference(DeclarationPredicate::expression,
                               text::IcuPattern::Dot::crossesLineEnd);
    DeclarationPredicate predicate;
    SeededRandom random(7);
    for (int round = 0; round < 40000; ++round) {
        std::string text;
        const auto length = random.uniform(12);
        for (std::uint32_t k = 0; k < length; ++k) {
            text += alphabet[random.uniform(static_cast<std::uint32_t>(alphabet.size()))];
        }
        ASSERT_EQ(predicate.matches(text), reference.matches(text)) << "text: [" << text << "]";
    }
}

// A sign, a character beyond ASCII and a long run of blanks once sent the regular expression
// engine into minutes of backtracking; the answer now comes in one pass.
TEST(DeclarationPredicate, LongRunsOfBlanksAfterUnusualCharactersAreDecidedAtOnce) {
    const DeclarationPredicate predicate;
    const std::string blanks(100000, ' ');
    EXPECT_FALSE(predicate.matches("-\xC3\xA9" + blanks + "x"));
    EXPECT_FALSE(predicate.matches(", \xE3\x80\x80" + blanks + "\x1C(void)"));
    EXPECT_TRUE(predicate.matches("+\xE3\x80\x80" + blanks + "\xC2\xA0(void)"));
    std::string many;
    for (int i = 0; i < 20000; ++i) {
        many += "- \xC2\x85 x ";
    }
    EXPECT_FALSE(predicate.matches(many + blanks));
}

} // namespace
} // namespace quillet
