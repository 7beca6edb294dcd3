// The structure scan: which selectors a file declares, defines, sends and names, and where each
// keyword is written.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objc/SourceScanner.h"

namespace quillet::objc {
namespace {

using Texts = std::vector<std::string>;

SourceFacts scan(std::string_view source, Dialect dialect = Dialect::objectiveC) {
    return scanSource(source, dialect, ScanDepth::everything);
}

Texts selectors(const SourceFacts& facts, UseKind kind) {
    Texts out;
    for (const auto& use : facts.uses) {
        if (use.kind == kind) {
            out.push_back(use.selector);
        }
    }
    return out;
}

Texts sends(std::string_view source, Dialect dialect = Dialect::objectiveC) {
    const auto facts = scan(source, dialect);
    auto all = selectors(facts, UseKind::send);
    for (auto& s : selectors(facts, UseKind::superSend)) {
        all.push_back("super " + s);
    }
    return all;
}

// The text of every keyword span of every use, "|" between keywords, "_" for an empty one.
Texts spellings(std::string_view source) {
    const auto facts = scan(source);
    Texts out;
    for (const auto& use : facts.uses) {
        std::string text;
        for (std::uint32_t k = 0; k < use.spanCount; ++k) {
            const auto& span = facts.spans[use.firstSpan + k];
            if (k > 0) {
                text += '|';
            }
            text.append(span.length > 0 ? source.substr(span.offset, span.length) : "_");
        }
        out.push_back(text);
    }
    return out;
}

TEST(SourceScanner, DeclarationsOfEveryShape) {
    const std::string header = R"(
@interface Foo : NSObject <NSCopying> {
    int _count;
}
@property (nonatomic, copy) void (^handler)(int value);
- (void)reload;
- (void)fooWithName:(NSString *)name
              count:(int)count;
+ (instancetype)sharedWithName:(NSString *)n NS_SWIFT_NAME(shared(name:));
- (void)log:(NSString *)format, ... NS_FORMAT_FUNCTION(1, 2);
- (void)pair:(int)a :(int)b;
- untyped:x other:y;
- (void)run:(void (^)(void))done;
- (void)deprecatedCall:(id)x __attribute__((deprecated("use -fooWithName:count: instead")));
@optional
- (BOOL)table:(id)t shouldSelectRow:(NSInteger)row API_AVAILABLE(macos(10.5));
@end
)";
    const auto facts = scan(header);
    EXPECT_EQ(selectors(facts, UseKind::declaration),
              (Texts{"fooWithName:count:", "sharedWithName:", "log:", "pair::", "untyped:other:",
                     "run:", "deprecatedCall:", "table:shouldSelectRow:"}));
    for (const auto& use : facts.uses) {
        EXPECT_EQ(use.blockTyped, use.selector == "run:") << use.selector;
    }
    ASSERT_EQ(facts.containers.size(), 1u);
    EXPECT_EQ(facts.containers[0].name, "Foo");
    EXPECT_EQ(facts.containers[0].superclass, "NSObject");
    EXPECT_FALSE(facts.containers[0].category);
    EXPECT_EQ(spellings(header)[0], "fooWithName|count");
    EXPECT_EQ(spellings(header)[3], "pair|_");
    EXPECT_TRUE(facts.problems.empty());
}

TEST(SourceScanner, AttributesAnywhereInASignatureKeepTheWholeSelector) {
    const std::string header = R"(
@interface Foo : NSObject
- (void)takeInfo:(NSDictionary *)__attribute__((ns_consumed)) infoDict response:(id)r;
- (void)give:(id)a NS_RELEASES_ARGUMENT to:(id)b;
- (id)__attribute__((ns_returns_retained)) makeWith:(int)a count:(int)n;
- __attribute__((objc_direct)) (id)direct:(id)a also:(id)b;
- (void)release:(id) NS_RELEASES_ARGUMENT obj after:(int) __unused delay;
- (void)old:(int)a API_AVAILABLE(ios(13.0)) NS_SWIFT_NAME(old(a:b:)) with:(int)b;
- (void)last:(id)a more:(id)b NS_SWIFT_NAME(last(_:more:)) __attribute__((deprecated));
- (void)reload API_AVAILABLE(ios(13.0));
@end
@implementation Foo
- (void)takeInfo:(NSDictionary *)__attribute__((ns_consumed)) infoDict response:(id)r {
    [self give:infoDict to:r];
}
- (void)release:(id)obj __unused after:(int)delay __attribute__((unused)) {}
@end
)";
    const auto facts = scan(header);
    EXPECT_EQ(selectors(facts, UseKind::declaration),
              (Texts{"takeInfo:response:", "give:to:", "makeWith:count:", "direct:also:",
                     "release:after:", "old:with:", "last:more:"}));
    EXPECT_EQ(selectors(facts, UseKind::definition),
              (Texts{"takeInfo:response:", "release:after:"}));
    EXPECT_EQ(selectors(facts, UseKind::send), (Texts{"give:to:"}));
    EXPECT_EQ(spellings(header)[0], "takeInfo|response");
    EXPECT_TRUE(facts.problems.empty());
}

TEST(SourceScanner, ContainersCategoriesProtocolsAndDefinitions) {
    const std::string source = R"(
@protocol Later;
@protocol Shop <NSObject>
- (void)shop:(id)s didBuy:(id)item;
@end
@interface NSString (Price)
- (double)priceWithRate:(double)rate;
@end
@interface Cart<__covariant T> : Base<T> ()
@end
@implementation Cart
- (void)shop:(id)s didBuy:(id)item; {
    if (x - (y) > 0) { [self other:1]; }
}
static int helper(int a) { return a - 1; }
+ (void)add:(int)a to:(int)b {
    Protocol *p = @protocol(Later);
}
@end
)";
    const auto facts = scan(source);
    ASSERT_EQ(facts.containers.size(), 4u);
    EXPECT_EQ(facts.containers[0].kind, Container::Kind::protocol);
    EXPECT_EQ(facts.containers[0].name, "Shop");
    EXPECT_TRUE(facts.containers[1].category);
    EXPECT_EQ(facts.containers[1].name, "NSString");
    EXPECT_EQ(facts.containers[2].name, "Cart");
    EXPECT_EQ(facts.containers[2].superclass, "Base");
    EXPECT_TRUE(facts.containers[2].category);
    EXPECT_EQ(facts.containers[3].kind, Container::Kind::implementation);
    EXPECT_EQ(selectors(facts, UseKind::declaration), (Texts{"shop:didBuy:", "priceWithRate:"}));
    EXPECT_EQ(selectors(facts, UseKind::definition), (Texts{"shop:didBuy:", "add:to:"}));
    EXPECT_EQ(selectors(facts, UseKind::send), (Texts{"other:"}));
    for (const auto& use : facts.uses) {
        if (use.kind == UseKind::definition || use.kind == UseKind::send) {
            EXPECT_EQ(use.container, 3) << use.selector;
        }
    }
}

TEST(SourceScanner, MessagesWithTheirWholeSelector) {
    EXPECT_EQ(sends("[a foo:1 bar:2];"), (Texts{"foo:bar:"}));
    // Nested sends, and a keyword that starts its line.
    EXPECT_EQ(sends("[[a b:[c d:1]]\ne:2\nf:3];"), (Texts{"e:f:", "b:", "d:"}));
    // Casts of the receiver and of an argument; super.
    EXPECT_EQ(sends("[(id)obj foo:(int)x bar:y]; [super add:v to:w];"),
              (Texts{"foo:bar:", "super add:to:"}));
    // The ternary and the elvis operator inside arguments.
    EXPECT_EQ(sends("[a take:flag ? b : c also:x ?: y last:(p ? q : r)];"),
              (Texts{"take:also:last:"}));
    EXPECT_EQ(sends("[a take:flag ? [b one:1] : [c two:2]];"), (Texts{"take:", "one:", "two:"}));
    // Blocks and dictionaries in arguments, a variadic list, an empty keyword.
    EXPECT_EQ(sends("[q async:^{ [self work:1]; } then:@{@\"k\": v}];"),
              (Texts{"async:then:", "work:"}));
    EXPECT_EQ(sends("[NSString stringWithFormat:@\"%d %@\", 1, [o text]];"),
              (Texts{"stringWithFormat:"}));
    EXPECT_EQ(sends("[o pair:1 :2];"), (Texts{"pair::"}));
    // Generic class receivers.
    EXPECT_EQ(sends("[NSMutableArray<NSString *> arrayWithCapacity:3];"),
              (Texts{"arrayWithCapacity:"}));
}

TEST(SourceScanner, BracketsThatAreNoMessages) {
    // Subscripts, array literals, unary messages, lambdas and attributes hold no keyword message.
    EXPECT_EQ(sends("x = a[i]; y = m[k][(int)j]; z = @[a, b]; [o reload]; d[@\"a\"] = v;"),
              Texts{});
    EXPECT_EQ(sends("auto f = [&](int v) { return [self scaled:v]; }; [[nodiscard]] int g();"
                    " auto h = [this, x]{};",
                    Dialect::objectiveCpp),
              (Texts{"scaled:"}));
    // A message after "return", "in" and a cast, and inside a subscript.
    EXPECT_EQ(sends("return [a b:1]; for (id x in [c d:2]) {} id y = (id)[e f:3]; z = m[[g h:4]];"),
              (Texts{"b:", "d:", "f:", "h:"}));
    // A message after a macro that stands for a statement or opens a block.
    EXPECT_EQ(sends("NS_DURING\n  [self take:1];\nNS_HANDLER\n  [self guard:e];\nNS_ENDHANDLER\n"
                    "BEGIN_SCOPE [self take:5]; END_SCOPE\n"),
              (Texts{"take:", "guard:", "take:"}));
    // A conditional subscript is no message, whatever its parts look like.
    EXPECT_EQ(sends("x = m[flag ? (int) count : 0]; y = m[a ? b.c : d];"), Texts{});
    // C++ scopes in arguments are not keywords.
    EXPECT_EQ(sends("[o take:std::string(\"a\") with:ns::value];", Dialect::objectiveCpp),
              (Texts{"take:with:"}));
}

TEST(SourceScanner, SelectorExpressionsStringsAndMacros) {
    const std::string source = R"(
#define SEND(o) [o macroSent:1]
SEL a = @selector(foo:bar:);
SEL b = @selector( pair:: );
SEL c = @selector(reload);
SEL d = NSSelectorFromString(@"fromString:with:");
const char *e = "cString:";
NSString *f = @"not a selector", *g = @"also:not a selector:", *h = L"wide:";
if ([d respondsToSelector:@selector(x:y:)]) [d x:1 y:2];
)";
    const auto facts = scan(source);
    EXPECT_EQ(selectors(facts, UseKind::selectorExpression), (Texts{"foo:bar:", "pair::", "x:y:"}));
    EXPECT_EQ(selectors(facts, UseKind::stringLiteral), (Texts{"fromString:with:", "cString:"}));
    // A function-like macro's body is read after the rest of the file.
    EXPECT_EQ(selectors(facts, UseKind::send),
              (Texts{"respondsToSelector:", "x:y:", "macroSent:"}));
    const auto spelled = spellings(source);
    EXPECT_NE(std::find(spelled.begin(), spelled.end(), "pair|_"), spelled.end());
    EXPECT_NE(std::find(spelled.begin(), spelled.end(), "fromString:with:"), spelled.end());
}

TEST(SourceScanner, CommentsAndStringsNeverYieldMessages) {
    const std::string source = R"(
// [x commented:1]
/* - (void)inComment:(int)a; */
NSString *s = @"[y quoted:2] // not a comment";
char c = ']';
[z real:3];
)";
    EXPECT_EQ(sends(source), (Texts{"real:"}));
    EXPECT_TRUE(selectors(scan(source), UseKind::declaration).empty());
}

TEST(SourceScanner, ProblemsNameTheirLine) {
    EXPECT_EQ(scan("@implementation A\n- (void)f:(int)x {\n  [self g:1];\n@end\n").problems,
              (Texts{"unclosed bracket at line 2"}));
    EXPECT_EQ(scan("a;\n}\n").problems, (Texts{"closing bracket without its opener at line 2"}));
    EXPECT_EQ(scan("a;\n/* open").problems, (Texts{"unterminated comment at line 2"}));
    EXPECT_EQ(scan("x(];").problems.size(), 2u);
    // Both branches of a conditional open the same brace; the first one's count is followed.
    const std::string conditional = "@implementation A\n"
                                    "#if TARGET_OS_IPHONE\n- (void)f:(UIView *)v {\n"
                                    "#else\n- (void)f:(NSView *)v {\n#endif\n"
                                    "  [v layout:1];\n}\n@end\n";
    const auto facts = scan(conditional);
    EXPECT_TRUE(facts.problems.empty()) << facts.problems.front();
    EXPECT_EQ(selectors(facts, UseKind::definition), (Texts{"f:", "f:"}));
    EXPECT_EQ(selectors(facts, UseKind::send), (Texts{"layout:"}));
    // Unbalanced brackets inside a macro body are the macro's business.
    EXPECT_TRUE(scan("#define BEGIN {\n#define END }\nint x;\n").problems.empty());
}

TEST(SourceScanner, HostileNestingIsReadInOnePass) {
    // Deep open brackets, closers of the wrong kind, and conditionals around all of it: each
    // would cost a pass over the open brackets if they were searched or copied.
    std::string text(200000, '(');
    for (int i = 0; i < 50000; ++i) {
        text += "\n#if A\n[\n#else\n{\n#endif\n";
    }
    text += std::string(200000, ']');
    const auto facts = scan(text);
    ASSERT_FALSE(facts.problems.empty());
    EXPECT_LE(facts.problems.size(), 3u);
    EXPECT_TRUE(facts.uses.empty());
}

TEST(SourceScanner, DeclarationsOnlyForSdkHeaders) {
    const auto facts = scanSource("@interface A\n- (void)a:(int)x;\n@end\nvoid f() { [b c:1]; }\n",
                                  Dialect::objectiveC, ScanDepth::declarations);
    EXPECT_EQ(selectors(facts, UseKind::declaration), (Texts{"a:"}));
    EXPECT_TRUE(selectors(facts, UseKind::send).empty());
}

} // namespace
} // namespace quillet::objc
