// The names key-value coding can reach that the reader records for each block: properties,
// @dynamic and @synthesize names, instance variables.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objc/SourceScanner.h"

namespace quillet::objc {
namespace {

using Texts = std::vector<std::string>;

SourceFacts scan(std::string_view source) {
    return scanSource(source, Dialect::objectiveC, ScanDepth::everything);
}

TEST(KeyNames, PropertiesOfEveryShapeAndInstanceVariables) {
    const auto facts = scan(R"(
@interface Shop : NSObject <NSCopying> {
  @private
    int _count;
    id first, *second;
    unsigned flag : 1;
    char buffer[16];
}
@property (nonatomic, retain) NSSet<NSString *> *items;
@property int width, height;
@property (copy) void (^onChange)(int code, id (^inner)(void));
@property (assign) int (*callback)(void);
@property (nonatomic) IBOutletCollection(UIView) NSArray *views NS_AVAILABLE_IOS(5_0);
@property (nonatomic) NSString *title UI_APPEARANCE_SELECTOR;
- (void)open;
@end
@implementation Shop
@synthesize width = _width, height;
@dynamic items;
- (void)open { int local; [self close]; }
static void helper(void) { int other; }
@end
)");
    ASSERT_EQ(facts.containers.size(), 2u);
    EXPECT_EQ(facts.containers[0].keys,
              (Texts{"_count", "first", "second", "flag", "buffer", "items", "width", "height",
                     "onChange", "callback", "views", "title"}));
    EXPECT_EQ(facts.containers[1].keys, (Texts{"width", "height", "items"}));
}

TEST(KeyNames, BrokenDeclarationsLeaveTheMembersAfterThem) {
    const auto facts = scan("@interface A\n@property int broken\n- (void)after:(int)x;\n"
                            "@property (\n@end\n@implementation A\n@synthesize = , ;\n"
                            "@dynamic\n- (void)after:(int)x {}\n@end\n@interface B {\nint a;\n");
    ASSERT_EQ(facts.containers.size(), 3u);
    EXPECT_EQ(facts.containers[0].keys, (Texts{"broken"}));
    EXPECT_TRUE(facts.containers[1].keys.empty());
    EXPECT_TRUE(facts.containers[2].keys.empty()) << "an unclosed ivar block is not read";
    ASSERT_EQ(facts.uses.size(), 2u);
    EXPECT_EQ(facts.uses[0].selector, "after:");
    EXPECT_EQ(facts.uses[1].kind, UseKind::definition);
}

} // namespace
} // namespace quillet::objc
