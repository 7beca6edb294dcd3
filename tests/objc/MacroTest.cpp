// Function-like macros that form selectors: the templates their bodies hold, and the selectors
// their uses form, renamed through the arguments or kept.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objc/MacroUseScanner.h"
#include "objc/SourceScanner.h"

namespace quillet::objc {
namespace {

using Texts = std::vector<std::string>;

SourceFacts scan(std::string_view source) {
    return scanSource(source, Dialect::objectiveC, ScanDepth::everything);
}

// A template as text: parameters as $0, $1; "=$1" for a selector spelled by an argument; "!"
// after an exact one.
std::string describe(const MacroSelector& selector) {
    std::string text = selector.spelledBy >= 0 ? "=$" + std::to_string(selector.spelledBy) : "";
    for (const auto& keyword : selector.keywords) {
        for (const auto& piece : keyword) {
            text += piece.parameter >= 0 ? "$" + std::to_string(piece.parameter) : piece.literal;
        }
        text += ':';
    }
    return selector.exact ? text + "!" : text;
}

Texts templatesOf(const SourceFacts& facts, std::string_view macro) {
    Texts out;
    for (const auto& definition : facts.macros) {
        if (definition.name == macro) {
            for (const auto& selector : definition.selectors) {
                out.push_back(describe(selector));
            }
        }
    }
    return out;
}

// Every use as "kind selector" with its keyword spans' text: "send stringForColumnIndex:
// [stringForColumnIndex]".
Texts usesOf(const SourceFacts& facts, std::string_view text) {
    Texts out;
    for (const auto& use : facts.uses) {
        std::string line = use.kind == UseKind::macroFormed          ? "kept "
                           : use.kind == UseKind::selectorExpression ? "selector "
                           : use.kind == UseKind::definition         ? "definition "
                                                                     : "send ";
        line += use.selector + " [";
        for (std::uint32_t k = 0; k < use.spanCount; ++k) {
            const auto& span = facts.spans[use.firstSpan + k];
            line.append(k > 0 ? "|" : "").append(text.substr(span.offset, span.length));
        }
        out.push_back(line + "]");
    }
    return out;
}

// What the uses in `text` form with the macros that `header` defines.
Texts formedBy(std::string_view header, std::string_view text) {
    MacroTable table;
    for (auto& definition : scan(header).macros) {
        addMacroDefinition(table, std::move(definition));
    }
    SourceFacts facts;
    MacroUseScanner(text, Dialect::objectiveC, table).run(facts);
    return usesOf(facts, text);
}

const std::string fmdbLike = "#define RESULT(type, sel)                       \\\n"
                             "    va_list args;                               \\\n"
                             "    FMResultSet *rs = [self executeQuery:query  \\\n"
                             "                                  orVAList:args];\\\n"
                             "    if (![rs next]) { return (type)0; }         \\\n"
                             "    type ret = [rs sel:0];                      \\\n"
                             "    [rs close];                                 \\\n"
                             "    return ret;\n"
                             "int after(void) { return [other count:1]; }\n";

TEST(MacroDefinitions, ABodyThatSendsAParameterIsATemplateAndItsOwnSendsAreUses) {
    const auto facts = scan(fmdbLike);
    EXPECT_EQ(templatesOf(facts, "RESULT"), (Texts{"$1:!"}));
    // The send with a parameter for a keyword is no use of "sel:"; the written-out one across
    // continuation lines is an ordinary use, found where it is written.
    EXPECT_EQ(
        usesOf(facts, fmdbLike),
        (Texts{"send count: [count]", "send executeQuery:orVAList: [executeQuery|orVAList]"}));
    EXPECT_TRUE(facts.problems.empty());
}

TEST(MacroDefinitions, ExactOnlyWhenEachKeywordIsAParameterWrittenNowhereElse) {
    const std::string source = R"(
#define PAIR(a, b) [o a:1 \
                      b:2]
#define BRANCHES(sel) if (x) [a sel:1]; else [b sel:2];
#define WITH_LITERAL(sel) [rs sel:0 withDefault:nil]
#define ALSO_UNARY(sel) [a sel:1]; [b sel];
#define REPEATED(sel) [a sel:1 sel:2]
#define TWO_SHAPES(sel) [a sel:1]; [b sel:1 with:2];
#define SPELLED(sel) [o respondsToSelector:@selector(sel)]
#define KEYWORD(sel) @selector(sel:)
#define SIGNATURE(sel) - (id)sel:(int)i { return [super sel:i]; }
#define NO_SELECTOR(x) ((x) + 1)
#define OBJECT_LIKE [o objectLike:1]
)";
    const auto facts = scan(source);
    EXPECT_EQ(templatesOf(facts, "PAIR"), (Texts{"$0:$1:!"}));
    EXPECT_EQ(templatesOf(facts, "BRANCHES"), (Texts{"$0:!"}));
    EXPECT_EQ(templatesOf(facts, "WITH_LITERAL"), (Texts{"$0:withDefault:"}));
    EXPECT_EQ(templatesOf(facts, "ALSO_UNARY"), (Texts{"$0:"}));
    EXPECT_EQ(templatesOf(facts, "REPEATED"), (Texts{"$0:$0:"}));
    EXPECT_EQ(templatesOf(facts, "TWO_SHAPES"), (Texts{"$0:", "$0:with:"}));
    EXPECT_EQ(templatesOf(facts, "SPELLED"), (Texts{"=$0!"}));
    EXPECT_EQ(templatesOf(facts, "KEYWORD"), (Texts{"$0:!"}));
    EXPECT_EQ(templatesOf(facts, "SIGNATURE"), (Texts{"$0:!"}));
    EXPECT_EQ(templatesOf(facts, "NO_SELECTOR"), Texts{});
    // Sends with written-out keywords stay uses, in macros of both kinds.
    EXPECT_EQ(usesOf(facts, source), (Texts{"send objectLike: [objectLike]",
                                            "send respondsToSelector: [respondsToSelector]"}));
}

TEST(MacroDefinitions, PastingAndStringizingAreTemplatesNoRenameCanFollow) {
    const std::string source = R"(
#define GETTER(name) [o name##Value:0]
#define PREFIXED(name) [o get ## name:0 at:1]
#define NAMED(s) NSSelectorFromString(@#s)
#define LOGGED(sel) [o sel:1]; NSLog(@"%s", #sel)
#define PASTED_LITERAL(x) [o a##b:x]
)";
    const auto facts = scan(source);
    EXPECT_EQ(templatesOf(facts, "GETTER"), (Texts{"$0Value:"}));
    EXPECT_EQ(templatesOf(facts, "PREFIXED"), (Texts{"get$0:at:"}));
    EXPECT_EQ(templatesOf(facts, "LOGGED"), (Texts{"$0:"}));
    EXPECT_EQ(templatesOf(facts, "PASTED_LITERAL"), (Texts{"ab:"}));
    ASSERT_EQ(facts.macros.size(), 5u);
    EXPECT_EQ(facts.macros[2].name, "NAMED");
    EXPECT_EQ(facts.macros[2].stringized, (std::vector<std::int32_t>{0}));
    EXPECT_TRUE(facts.uses.empty()); // no body here writes a selector out
}

TEST(MacroUses, AnExactTemplateMakesTheArgumentTheKeyword) {
    const std::string use = "- (NSString *)stringForQuery:(NSString *)query, ... {\n"
                            "    RESULT(NSString *, stringForColumnIndex);\n"
                            "}\n"
                            "int n = RESULT ( int , intForColumnIndex );\n";
    EXPECT_EQ(formedBy(fmdbLike, use), (Texts{"send stringForColumnIndex: [stringForColumnIndex]",
                                              "send intForColumnIndex: [intForColumnIndex]"}));
    // A macro used in the file that defines it; the #define line itself is no use.
    EXPECT_EQ(formedBy(fmdbLike, fmdbLike + "id x = RESULT(id, objectForColumnIndex);\n"),
              (Texts{"send objectForColumnIndex: [objectForColumnIndex]"}));
    const std::string macros = "#define PAIR(a, b) [o a:1 b:2]\n"
                               "#define SPELLED(sel) [o respondsToSelector:@selector(sel)]\n"
                               "#define SIGNATURE(sel) - (id)sel:(int)i;\n";
    EXPECT_EQ(formedBy(macros, "PAIR(f(1, 2), x); PAIR(take, into); SPELLED(pair::);\n"
                               "SPELLED(foo:bar:); SIGNATURE(rowAt)"),
              (Texts{"send take:into: [take|into]", "selector pair:: [pair|]",
                     "selector foo:bar: [foo|bar]", "definition rowAt: [rowAt]"}));
}

TEST(MacroUses, WhatARenameCannotFollowIsKept) {
    const std::string macros = R"(
#define GETTER(name) [o name##Value:0]
#define NAMED(s) NSSelectorFromString(@#s)
#define LOGGED(sel) [o sel:1]; NSLog(@"%s", #sel)
#define WITH_LITERAL(sel) [rs sel:0 withDefault:nil]
#define SPELLED(sel) [o respondsToSelector:@selector(sel)]; NSLog(@#sel)
)";
    EXPECT_EQ(formedBy(macros, "GETTER(int); NAMED(fetch:with:); NAMED(plain); LOGGED(run);\n"
                               "WITH_LITERAL(stringFor); SPELLED(foo:bar:);"),
              (Texts{"kept intValue: []", "kept fetch:with: []", "kept run: []",
                     "kept stringFor:withDefault: []", "kept foo:bar: []", "kept foo:bar: []"}));
    // An argument that is no name forms no selector; a macro's parameter passed on to another
    // macro is that macro's business.
    EXPECT_EQ(formedBy(fmdbLike, "RESULT(id, [x y]); RESULT(id, a.b); RESULT(id);\n"
                                 "#define FORWARD(s) RESULT(id, s)\n"),
              Texts{});
}

TEST(MacroUses, AMacroPassingItsParameterOnFormsSelectorsThatAreKept) {
    MacroTable table;
    for (auto& definition : scan(fmdbLike + "#define NAMED(s) @#s\n").macros) {
        addMacroDefinition(table, std::move(definition));
    }
    const std::string text = "#define FORWARD(s, t) RESULT(id, s); NAMED(t)\n"
                             "#define WRAP(x) RESULT(id, x ## Suffix)\n"
                             "#define FIXED(x) RESULT(id, fixedName)\n";
    SourceFacts facts;
    MacroUseScanner scanner(text, Dialect::objectiveC, table);
    scanner.run(facts);
    EXPECT_EQ(usesOf(facts, text), (Texts{"send fixedName: [fixedName]"}));
    const auto& derived = scanner.derived();
    ASSERT_EQ(derived.size(), 2u);
    ASSERT_EQ(derived.at("WRAP").selectors.size(), 1u);
    EXPECT_EQ(describe(derived.at("WRAP").selectors[0]), "$0Suffix:");
    const auto& forward = derived.at("FORWARD");
    EXPECT_EQ(forward.parameterCount, 2u);
    ASSERT_EQ(forward.selectors.size(), 1u);
    EXPECT_EQ(describe(forward.selectors[0]), "$0:");
    EXPECT_EQ(forward.stringized, (std::vector<std::int32_t>{1}));

    // The next round reads the uses of the derived macro.
    SourceFacts next;
    const std::string use = "FORWARD(stringForColumnIndex, take:with:);";
    MacroUseScanner(use, Dialect::objectiveC, derived).run(next);
    EXPECT_EQ(usesOf(next, use), (Texts{"kept stringForColumnIndex: []", "kept take:with: []"}));
}

TEST(MacroUses, TwoDifferentDefinitionsOfOneNameKeepWhatEitherForms) {
    MacroTable table;
    for (auto& definition : scan("#if A\n#define SEND(sel) [a sel:1]\n#else\n"
                                 "#define SEND(sel) [b sel:1 with:2]\n#endif\n")
                                .macros) {
        addMacroDefinition(table, std::move(definition));
    }
    SourceFacts facts;
    const std::string use = "SEND(go);";
    MacroUseScanner(use, Dialect::objectiveC, table).run(facts);
    EXPECT_EQ(usesOf(facts, use), (Texts{"kept go: []", "kept go:with: []"}));
}

TEST(MacroUses, HostileInputStaysLinear) {
    // Deeply nested uses and a huge argument: each token is split into arguments once.
    std::string text = "#define R(type, sel) [rs sel:0]\n";
    for (int i = 0; i < 100000; ++i) {
        text += "R(x, ";
    }
    text += std::string(100000, ')');
    text += "R(id, " + std::string(200000, 'a') + ")\n";
    const auto facts = scan(text);
    MacroTable table;
    for (auto& definition : facts.macros) {
        addMacroDefinition(table, definition);
    }
    SourceFacts formed;
    MacroUseScanner(text, Dialect::objectiveC, table).run(formed);
    ASSERT_EQ(formed.uses.size(), 1u);
    EXPECT_EQ(formed.uses[0].selector, std::string(200000, 'a') + ":");
}

} // namespace
} // namespace quillet::objc
