// Argument-less selectors, read only when a scan asks for them: where each is written, and
// what is never taken for one.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objc/SourceScanner.h"

namespace quillet::objc {
namespace {

// "kind name@spelling" for every use, in order.
std::vector<std::string> unaryUses(std::string_view source, UnaryNames unary) {
    const auto facts = scanSource(source, Dialect::objectiveC, ScanDepth::everything, unary);
    std::vector<std::string> out;
    for (const auto& use : facts.uses) {
        std::string text = std::to_string(static_cast<int>(use.kind)) + " " + use.selector;
        for (std::uint32_t k = 0; k < use.spanCount; ++k) {
            const auto& span = facts.spans[use.firstSpan + k];
            text += "@" + std::string(source.substr(span.offset, span.length));
        }
        out.push_back(text);
    }
    return out;
}

std::string entry(UseKind kind, const std::string& rest) {
    return std::to_string(static_cast<int>(kind)) + " " + rest;
}

const std::string source = R"(
#define CALL(o, s) [o s]
#define SEND(o) [o hidden]
@interface Cart : Base
@property (nonatomic, getter=isOpen, setter=makeOpen:) BOOL open;
- (void)reloadCart;
+ reset;
- (void)add:(int)x;
@end
@implementation Cart
- (void)reloadCart {
    [super reloadCart];
    [self.items removeAllObjects];
    [(Cart *)other reloadCart];
    SEL s = @selector(reloadCart);
    int a[n];
    CALL(self, viaMacro);
    [self add:1];
}
@end
)";

TEST(UnaryScan, DeclarationsDefinitionsSendsAndSelectorsWithTheirNames) {
    EXPECT_EQ(unaryUses(source, UnaryNames::recorded),
              (std::vector<std::string>{
                  entry(UseKind::propertyAccessor, "open"),
                  entry(UseKind::propertyAccessor, "isOpen"),
                  entry(UseKind::declaration, "reloadCart@reloadCart"),
                  entry(UseKind::declaration, "reset@reset"),
                  entry(UseKind::declaration, "add:@add"),
                  entry(UseKind::definition, "reloadCart@reloadCart"),
                  entry(UseKind::superSend, "reloadCart@reloadCart"),
                  entry(UseKind::send, "removeAllObjects@removeAllObjects"),
                  entry(UseKind::send, "reloadCart@reloadCart"),
                  entry(UseKind::selectorExpression, "reloadCart@reloadCart"),
                  entry(UseKind::send, "add:@add"),
              }));
}

TEST(UnaryScan, NothingArgumentLessUnlessAskedFor) {
    EXPECT_EQ(unaryUses(source, UnaryNames::skipped),
              (std::vector<std::string>{entry(UseKind::declaration, "add:@add"),
                                        entry(UseKind::send, "add:@add")}));
}

} // namespace
} // namespace quillet::objc
