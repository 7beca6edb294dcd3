// Selectors formed in macros, on a whole run: the argument of a macro whose body sends it is
// renamed with the method, a pasted one keeps its method's name, as does one passed on through
// another macro, and the program built from the project runs as before.
#include <map>
#include <string>

#include <gtest/gtest.h>

#include "engine/MRenameTool.h"
#include "job/RenameStrategies.h"
#include "random/RandomSource.h"
#include "support/Command.h"
#include "support/EngineRun.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

const std::string ledgerHeader = R"(#import <Foundation/Foundation.h>

#define LEDGER_VALUE(type, sel)        \
    type value = (type)0;              \
    if ([self hasRow:row]) {           \
        value = [self sel:row];        \
    }                                  \
    return value;
#define LEDGER_PASTED(name) [self name##ForRow:row]
#define LEDGER_AMOUNT(sel) LEDGER_VALUE(int, sel)

@interface Ledger : NSObject
- (BOOL)hasRow:(int)row;
- (int)amountForRowIndex:(int)row;
- (NSString *)titleForRowIndex:(int)row;
- (int)taxForRow:(int)row;
- (int)discountForRowIndex:(int)row;
- (int)checkedAmountAt:(int)row;
- (int)checkedDiscountAt:(int)row;
- (NSString *)checkedTitleAt:(int)row;
- (int)pastedTaxAt:(int)row;
@end
)";

const std::string ledgerImplementation = R"(#import "Ledger.h"

@implementation Ledger
- (BOOL)hasRow:(int)row { return row >= 0 && row < 3; }
- (int)amountForRowIndex:(int)row { return (row + 1) * 100; }
- (NSString *)titleForRowIndex:(int)row { return [NSString stringWithFormat:@"row %d", row]; }
- (int)taxForRow:(int)row { return row * 7; }
- (int)discountForRowIndex:(int)row { return row * 3; }
- (int)checkedAmountAt:(int)row { LEDGER_VALUE(int, amountForRowIndex) }
- (int)checkedDiscountAt:(int)row { LEDGER_AMOUNT(discountForRowIndex) }
- (NSString *)checkedTitleAt:(int)row { LEDGER_VALUE(NSString *, titleForRowIndex) }
- (int)pastedTaxAt:(int)row { return LEDGER_PASTED(tax); }
@end
)";

const std::string program = R"(#import "Ledger.h"

int main(void) {
    NSAutoreleasePool *pool = [[NSAutoreleasePool alloc] init];
    Ledger *ledger = [[Ledger alloc] init];
    for (int row = 0; row < 4; ++row) {
        printf("%d %s %d %d\n", [ledger checkedAmountAt:row],
               [[ledger checkedTitleAt:row] UTF8String] ?: "none", [ledger pastedTaxAt:row],
               [ledger checkedDiscountAt:row]);
    }
    [pool drain];
    return 0;
}
)";

class MacroRun : public ::testing::Test {
protected:
    void SetUp() override {
        dir_.write("Ledger.h", ledgerHeader);
        dir_.write("Ledger.m", ledgerImplementation);
        dir_.write("main.m", program);
    }

    // Renames the project; old selector -> new one, and the protected ones' reasons.
    void rename() {
        SeededRandom random(11);
        MRenameTool tool(random, strategyFor(RenameMode::precise));
        scan(tool, dir_.str());
        for (const auto& m : tool.candidateMethods()) {
            if (const auto* reason = tool.protectionOf(m.selector())) {
                kept_[m.selector()] = reason->describe();
            }
        }
        const auto pairs = *tool.makeNewNames({});
        for (const auto& pair : pairs) {
            renamed_[pair.old.selector()] = pair.new_.selector();
        }
        tool.replace(pairs);
    }

    std::string keyword(const std::string& selector) const {
        const auto& name = renamed_.at(selector);
        return name.substr(0, name.size() - 1);
    }
    std::string file(const std::string& name) const { return readFile(dir_.path() / name); }

    // Builds the project with gcc and GNUstep and runs it; its output, or why not.
    CommandResult buildAndRun() const {
        const std::string build = "(cd " + shellQuoted(dir_.str()) +
                                  " && gcc -std=gnu99 $(gnustep-config --objc-flags) -w Ledger.m "
                                  "main.m -o ledger $(gnustep-config --base-libs) && ./ledger)";
        return runCommand(build, scratch_);
    }

    TempDir dir_;
    TempDir scratch_;
    std::map<std::string, std::string> renamed_;
    std::map<std::string, std::string> kept_;
};

TEST_F(MacroRun, TheMacroArgumentIsRenamedWithTheMethodItSends) {
    rename();
    ASSERT_TRUE(renamed_.contains("amountForRowIndex:"));
    ASSERT_TRUE(renamed_.contains("titleForRowIndex:"));
    const std::string implementation = file("Ledger.m");
    for (const auto& [selector, type] :
         {std::pair{"amountForRowIndex:", "int"}, std::pair{"titleForRowIndex:", "NSString *"}}) {
        const std::string name = keyword(selector);
        EXPECT_NE(implementation.find(")" + name + ":(int)row {"), std::string::npos) << name;
        EXPECT_NE(implementation.find(std::string("LEDGER_VALUE(") + type + ", " + name + ")"),
                  std::string::npos)
            << implementation;
    }
    // The body's parameter stays the parameter; its written-out send follows its method.
    const std::string header = file("Ledger.h");
    EXPECT_NE(header.find("value = [self sel:row];"), std::string::npos);
    EXPECT_EQ(header.find("hasRow"), std::string::npos);
}

TEST_F(MacroRun, APastedSelectorKeepsItsNameAndSoDoesOnePassedThroughTwoMacros) {
    rename();
    ASSERT_TRUE(kept_.contains("discountForRowIndex:"));
    EXPECT_NE(file("Ledger.m").find("LEDGER_AMOUNT(discountForRowIndex)"), std::string::npos);
    EXPECT_FALSE(renamed_.contains("taxForRow:"));
    ASSERT_TRUE(kept_.contains("taxForRow:"));
    EXPECT_EQ(kept_.at("taxForRow:"),
              "formed by a macro in " + dir_.str() + "/Ledger.m, which a rename cannot follow");
    EXPECT_NE(file("Ledger.m").find("- (int)taxForRow:(int)row"), std::string::npos);
    EXPECT_NE(file("Ledger.m").find("LEDGER_PASTED(tax)"), std::string::npos);
}

TEST_F(MacroRun, TheProgramPrintsTheSameAfterTheRename) {
    const auto before = buildAndRun();
    if (before.exitCode != 0) {
        GTEST_SKIP() << "gcc with GNUstep cannot build the project here: " << before.err;
    }
    ASSERT_EQ(before.out, "100 row 0 0 0\n200 row 1 7 3\n300 row 2 14 6\n0 none 21 0\n");
    rename();
    ASSERT_FALSE(renamed_.empty());
    const auto after = buildAndRun();
    EXPECT_EQ(after.exitCode, 0) << after.err;
    EXPECT_EQ(after.out, before.out);
}

} // namespace
} // namespace quillet::test
