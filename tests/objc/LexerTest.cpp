// The lexer on the traps of real Objective-C: what is code, what is a comment or a literal, and
// what the preprocessor hides.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objc/Lexer.h"

namespace quillet::objc {
namespace {

std::vector<std::string> texts(std::string_view source, Dialect dialect = Dialect::objectiveC) {
    std::vector<std::string> out;
    for (const auto& token : lex(source, dialect).tokens) {
        out.emplace_back(token.in(source));
    }
    return out;
}

using Texts = std::vector<std::string>;

TEST(Lexer, CommentsGiveNoTokensWhateverTheyHold) {
    EXPECT_EQ(texts("a // [x foo:1] \"not a string\nb"), (Texts{"a", "b"}));
    EXPECT_EQ(texts("a /* [x foo:1]\n ' */ b"), (Texts{"a", "b"}));
    // A backslash at the end of a line comment continues it onto the next line.
    EXPECT_EQ(texts("a // one \\\n [x foo:1];\nb"), (Texts{"a", "b"}));
    EXPECT_EQ(texts("a // one \\\r\n [x foo:1];\r\nb"), (Texts{"a", "b"}));
    // Comment openers inside literals are text.
    EXPECT_EQ(texts("@\"http://x/*y\" 'a' b"), (Texts{"@\"http://x/*y\"", "'a'", "b"}));
}

TEST(Lexer, LiteralsHideBracketsQuotesAndEscapes) {
    EXPECT_EQ(texts(R"([s foo:@"a]b\"c" bar:"d\\"])"),
              (Texts{"[", "s", "foo", ":", R"(@"a]b\"c")", "bar", ":", R"("d\\")", "]"}));
    EXPECT_EQ(texts("c == '[' || c == '\\''"), (Texts{"c", "==", "'['", "||", "c", "==", "'\\''"}));
    EXPECT_EQ(texts("L\"w\" u8\"x\" u'y' U\"z\""), (Texts{"L\"w\"", "u8\"x\"", "u'y'", "U\"z\""}));
    // A string continued with a backslash at the end of the line is one token.
    EXPECT_EQ(texts("\"ab\\\ncd\" e"), (Texts{"\"ab\\\ncd\"", "e"}));
    const auto lexed = lex("@\"x\" \"y\"", Dialect::objectiveC);
    ASSERT_EQ(lexed.tokens.size(), 2u);
    EXPECT_TRUE(lexed.tokens[0].is(Token::atString));
    EXPECT_FALSE(lexed.tokens[1].is(Token::atString));
    EXPECT_EQ(lexed.tokens[0].kind, TokenKind::string);
}

TEST(Lexer, RawStringsOnlyInObjectiveCpp) {
    const std::string source = "auto s = R\"x([a foo:1] )\" )x\"; [b bar:2];";
    EXPECT_EQ(texts(source, Dialect::objectiveCpp),
              (Texts{"auto", "s", "=", "R\"x([a foo:1] )\" )x\"", ";", "[", "b", "bar", ":", "2",
                     "]", ";"}));
    // In Objective-C, R is a name and the quote starts an ordinary string.
    EXPECT_EQ(texts("R\"(a)\"", Dialect::objectiveC), (Texts{"R", "\"(a)\""}));
    EXPECT_EQ(texts("u8R\"(])\" x", Dialect::objectiveCpp), (Texts{"u8R\"(])\"", "x"}));
}

TEST(Lexer, NumbersPunctuatorsAndAtKeywords) {
    EXPECT_EQ(texts("1.5e-3f 0x1Fp+2 1'000'000 .5 x...y"),
              (Texts{"1.5e-3f", "0x1Fp+2", "1'000'000", ".5", "x", "...", "y"}));
    EXPECT_EQ(texts("a::b -> c ->* d <<= e >>= f && g"),
              (Texts{"a", "::", "b", "->", "c", "->*", "d", "<<=", "e", ">>=", "f", "&&", "g"}));
    EXPECT_EQ(texts("@selector(foo::) @[@1] @{} @YES"),
              (Texts{"@selector", "(", "foo", "::", ")", "@", "[", "@", "1", "]", "@", "{", "}",
                     "@YES"}));
    EXPECT_EQ(texts("x?:y"), (Texts{"x", "?", ":", "y"}));
}

TEST(Lexer, DirectivesAreFlaggedAndMacroBodiesStayCode) {
    const std::string source = "#import <Foundation/Foundation.h>\n"
                               "  #  import \"Foo Bar.h\"\n"
                               "#define CALL(x) [x foo:1 \\\n  bar:2]\n"
                               "[y baz:3];\n";
    const auto lexed = lex(source, Dialect::objectiveC);
    std::vector<std::string> inDirective;
    std::vector<std::string> code;
    for (const auto& token : lexed.tokens) {
        (token.is(Token::inDirective) ? inDirective : code).emplace_back(token.in(source));
    }
    EXPECT_EQ(inDirective, (Texts{"#import", "<Foundation/Foundation.h>", "#  import",
                                  "\"Foo Bar.h\"", "#define", "CALL", "(", "x", ")", "[", "x",
                                  "foo", ":", "1", "bar", ":", "2", "]"}));
    EXPECT_EQ(code, (Texts{"[", "y", "baz", ":", "3", "]", ";"}));
    EXPECT_EQ(lexed.tokens[0].kind, TokenKind::directive);
    EXPECT_EQ(lexed.tokens[1].kind, TokenKind::headerName);
    EXPECT_EQ(directiveName(source, lexed.tokens[2]), "import");
    EXPECT_TRUE(lexed.problems.empty());
}

TEST(Lexer, FreeTextDirectivesAndDisabledCodeHideTheirText) {
    // Apostrophes in pragma marks, warnings and disabled blocks are prose, not literals.
    EXPECT_EQ(texts("#pragma mark - Foo's [list\na"), (Texts{"#pragma mark - Foo's [list", "a"}));
    EXPECT_EQ(texts("#warning don't [ship\na"), (Texts{"#warning don't [ship", "a"}));
    const std::string disabled = "#if 0\nit's [broken\n#if X\n]\n#endif\n#else\n[a b:1];\n#endif\n";
    EXPECT_EQ(texts(disabled),
              (Texts{"#if", "0", "#else", "[", "a", "b", ":", "1", "]", ";", "#endif"}));
    EXPECT_TRUE(lex(disabled, Dialect::objectiveC).problems.empty());
    // "#if 0" hides up to its own #endif when there is no #else.
    EXPECT_EQ(texts("#if 0 // off\n[a\n#endif\nz"), (Texts{"#if", "0", "#endif", "z"}));
    // A "#" that is not first on its line is a punctuator.
    EXPECT_EQ(texts("a # b"), (Texts{"a", "#", "b"}));
}

TEST(Lexer, UnterminatedCommentsAndLiteralsAreReportedAndTheRestStillLexed) {
    const auto comment = lex("a /* never closed [x", Dialect::objectiveC);
    ASSERT_EQ(comment.problems.size(), 1u);
    EXPECT_EQ(comment.problems[0].what, "unterminated comment");
    EXPECT_EQ(comment.problems[0].offset, 2u);
    EXPECT_EQ(comment.tokens.size(), 1u);

    const std::string source = "x = \"open\ny = 'a\nz";
    const auto literals = lex(source, Dialect::objectiveC);
    ASSERT_EQ(literals.problems.size(), 2u);
    EXPECT_EQ(literals.problems[0].what, "unterminated string");
    EXPECT_EQ(literals.problems[1].what, "unterminated character literal");
    EXPECT_EQ(texts(source), (Texts{"x", "=", "\"open", "y", "=", "'a", "z"}));

    const auto raw = lex("R\"d(never", Dialect::objectiveCpp);
    ASSERT_EQ(raw.problems.size(), 1u);
    EXPECT_EQ(raw.problems[0].what, "unterminated raw string");
}

TEST(Lexer, TokensPointIntoTheTextWhateverTheBytes) {
    // Non-ASCII names, CR line ends and a trailing backslash never lose a byte or run past the end.
    const std::string source = "caf\xC3\xA9 = 1;\r[x foo:\xE4\xB8\xAD];\\";
    const auto lexed = lex(source, Dialect::objectiveC);
    ASSERT_FALSE(lexed.tokens.empty());
    EXPECT_EQ(lexed.tokens[0].in(source), "caf\xC3\xA9");
    for (const auto& token : lexed.tokens) {
        EXPECT_LE(token.end(), source.size());
        EXPECT_GT(token.length, 0u);
    }
}

} // namespace
} // namespace quillet::objc
