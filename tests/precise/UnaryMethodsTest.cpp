// Argument-less methods, renamed only when a run asks for them: every place a rename can follow
// takes the new name, and a name that is also something else (a property, a key, a runtime
// name, a word written elsewhere) keeps its own.
#include <memory>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "precise/NameGuard.h"
#include "support/Command.h"
#include "support/PreciseProject.h"

namespace quillet::test {
namespace {

NameKinds withUnary() {
    NameKinds kinds;
    kinds.add(NameKind::unary);
    return kinds;
}

void writeCart(TempDir& dir) {
    dir.write("Cart.h", "#import <Foundation/Foundation.h>\n@interface Cart : NSObject\n"
                        "- (void)reloadCart;\n- (void)addItem:(int)item;\n@end\n");
    dir.write("Cart.m", "#import \"Cart.h\"\n@implementation Cart\n- (void)reloadCart {\n}\n"
                        "- (void)addItem:(int)item {\n    [self reloadCart];\n}\n@end\n");
    dir.write("FancyCart.h", "#import \"Cart.h\"\n@interface FancyCart : Cart\n@end\n");
    dir.write("FancyCart.m", "#import \"FancyCart.h\"\n@implementation FancyCart\n"
                             "- (void)reloadCart {\n    [super reloadCart];\n}\n@end\n");
    dir.write("Shop.m", "#import \"Cart.h\"\nvoid shop(Cart *cart) {\n    [cart reloadCart];\n"
                        "    SEL s = @selector(reloadCart);\n    (void)s;\n}\n");
}

TEST(UnaryMethods, AreRenamedInDeclarationsDefinitionsSendsAndSelectors) {
    PreciseProject project(withUnary());
    writeCart(project.dir());
    ASSERT_TRUE(project.scan());
    ASSERT_EQ(project.verdict("reloadCart"), "rename");
    const auto pairs = *project.tool().makeNewNames({});
    std::string name;
    for (const auto& pair : pairs) {
        if (pair.old.selector() == "reloadCart") {
            name = pair.new_.selector();
        }
    }
    ASSERT_TRUE(std::regex_match(name, std::regex("[a-z][A-Za-z]{7,15}"))) << name;
    project.tool().replace(pairs);
    EXPECT_NE(project.read("Cart.h").find("- (void)" + name + ";\n"), std::string::npos);
    EXPECT_NE(project.read("Cart.m").find("- (void)" + name + " {"), std::string::npos);
    EXPECT_NE(project.read("Cart.m").find("[self " + name + "];"), std::string::npos);
    EXPECT_NE(project.read("FancyCart.m").find("[super " + name + "];"), std::string::npos);
    EXPECT_NE(project.read("Shop.m").find("[cart " + name + "];"), std::string::npos);
    EXPECT_NE(project.read("Shop.m").find("@selector(" + name + ")"), std::string::npos);
    for (const char* file : {"Cart.h", "Cart.m", "FancyCart.m", "Shop.m"}) {
        EXPECT_EQ(project.read(file).find("reloadCart"), std::string::npos) << file;
    }
    // The name list writes the pair as it writes any other.
    EXPECT_NE(project.read("MethodReplaceList.txt")
                  .find("] Method in Cart.h\nOld --> reloadCart\nNew --> " + name + "\n"),
              std::string::npos)
        << project.read("MethodReplaceList.txt");
}

TEST(UnaryMethods, StayOutOfARunThatDoesNotAskForThem) {
    PreciseProject project;
    writeCart(project.dir());
    ASSERT_TRUE(project.scan());
    EXPECT_EQ(project.verdict("reloadCart"), "absent");
    EXPECT_EQ(project.verdict("addItem:"), "rename");
    project.renameAll();
    EXPECT_NE(project.read("Shop.m").find("[cart reloadCart];"), std::string::npos);
}

TEST(UnaryMethods, KeepTheirNamesWhereARenameCouldNotFollow) {
    auto sdk = std::make_shared<SelectorSet>(SelectorSet{"layoutSubviews"});
    ProtectionInputs inputs;
    inputs.sdk = sdk;
    inputs.userList = {"keepMe"};
    PreciseProject project(withUnary(), inputs);
    TempDir& dir = project.dir();
    const std::string methods[] = {
        "capacity",         "canSell",        "total",          "subtotal",    "hash",
        "debugDescription", "newStore",       "copyStore",      "refresh",     "rebuild",
        "restock",          "layoutSubviews", "checkout",       "tidyUp",      "vendorHook",
        "keepMe",           "foreignShared",  "countOfShelves", "unparsedUse", "sweep"};
    std::string header = "#import <Foundation/Foundation.h>\n@interface Store : NSObject\n"
                         "@property (nonatomic) int capacity;\n"
                         "@property (nonatomic, getter=canSell) BOOL sellable;\n"
                         "@property NSArray *shelves;\n";
    std::string implementation = "#import \"Store.h\"\n#define CALL(o, s) [o s]\n"
                                 "#define RESTOCK(o) [o restock]\n@implementation Store\n";
    for (const auto& method : methods) {
        header += "- (id)" + method + ";\n";
        implementation += "- (id)" + method + " { return nil; }\n";
    }
    // Core Data's primitive accessors and @dynamic properties' are declared, never defined.
    dir.write("Store.h",
              header + "@end\n@interface Store (Generated)\n- (id)primitiveLabel;\n@end\n");
    dir.write("Store.m", implementation + "@end\n");
    dir.write("Use.m", "#import \"Store.h\"\nvoid use(Store *store) {\n"
                       "    [store valueForKey:@\"total\"];\n"
                       "    [store valueForKeyPath:@\"owner.subtotal.value\"];\n"
                       "    store.refresh;\n    CALL(store, rebuild);\n    RESTOCK(store);\n"
                       "    [store sweep];\n}\n");
    dir.write("Lib.h", "@interface Gadget : NSObject\n- (id)foreignShared;\n@end\n");
    dir.write("Checkout.swift", "func pay(store: Store) { store.checkout() }\n");
    dir.write("Main.xib", "<document><objects><button><connections><action selector=\"tidyUp\" "
                          "destination=\"a\" eventType=\"touchUpInside\" id=\"b\"/>"
                          "</connections></button></objects></document>\n");
    dir.write("Pods/Vendor/Hook.m", "void hook(id s) { [s vendorHook]; }\n");
    dir.write("Broken.m", "void broken(id s) {\n    [s unparsedUse];\n    \"unterminated\n}\n");
    dir.write("Panel.h", "@interface Panel : UIView\n- (id)layoutNow;\n@end\n");
    dir.write("Panel.m", "#import \"Panel.h\"\n@implementation Panel\n"
                         "- (id)layoutNow { return [super layoutNow]; }\n@end\n");
    ASSERT_TRUE(project.scan());
    const std::string store = dir.str() + "/Store.m";
    const std::string use = dir.str() + "/Use.m";
    EXPECT_EQ(project.verdict("capacity"), "the name or getter of a property of Store");
    EXPECT_EQ(project.verdict("canSell"), "the name or getter of a property of Store");
    EXPECT_EQ(project.verdict("total"),
              "written as a string in " + use + " (a key-value coding key or a selector's name)");
    EXPECT_EQ(project.verdict("subtotal"), project.verdict("total"));
    EXPECT_EQ(project.verdict("hash"), "called by the runtime by name");
    EXPECT_EQ(project.verdict("debugDescription"), "called by the runtime by name");
    EXPECT_EQ(project.verdict("countOfShelves"), "called by the runtime by name");
    EXPECT_EQ(project.verdict("primitiveLabel"),
              "declared in " + dir.str() +
                  "/Store.h but defined nowhere in the project: the runtime or a framework "
                  "provides it (an @dynamic property's accessor, Core Data's primitive accessors)");
    EXPECT_EQ(project.verdict("newStore"), "absent");
    EXPECT_EQ(project.verdict("copyStore"), "absent");
    const std::string elsewhere = " as something a rename cannot follow (a property, a variable, "
                                  "a dot-syntax use, a macro's argument)";
    EXPECT_EQ(project.verdict("refresh"), "also written in " + use + elsewhere);
    EXPECT_EQ(project.verdict("rebuild"), "also written in " + use + elsewhere);
    EXPECT_EQ(project.verdict("restock"), "also written in " + store + elsewhere);
    EXPECT_EQ(project.verdict("layoutSubviews"), "declared by the SDK");
    EXPECT_EQ(project.verdict("checkout"), "used from Swift in " + dir.str() + "/Checkout.swift");
    EXPECT_EQ(project.verdict("tidyUp"),
              "named in " + dir.str() + "/Main.xib, where it cannot be rewritten");
    EXPECT_EQ(project.verdict("vendorHook"),
              "used in " + dir.str() + "/Pods/Vendor/Hook.m, which is ignored");
    EXPECT_EQ(project.verdict("keepMe"), "in the list of protected selectors");
    EXPECT_EQ(project.verdict("foreignShared"),
              "declared in Lib.h, which is not one of the project's classes");
    EXPECT_EQ(project.verdict("unparsedUse"), "used in " + dir.str() +
                                                  "/Broken.m, which is left as it is "
                                                  "(unterminated string at line 3)");
    EXPECT_EQ(project.verdict("layoutNow"),
              "sent to super in Panel, which inherits it from UIView");
    EXPECT_EQ(project.verdict("sweep"), "rename");
}

TEST(UnaryMethods, NewNamesAreNeitherTakenNorMeaningfulToTheRuntime) {
    NameGuard guard(SelectorSet{"count", "count:"},
                    std::make_shared<const SelectorSet>(SelectorSet{"layoutSubviews"}));
    for (const char* refused : {"count", "layoutSubviews", "description", "newCart", "copyAll",
                                "initStuff", "mutableCopyAll", "allocNow", "class"}) {
        EXPECT_FALSE(guard.admit(MethodModel{{refused}, ""})) << refused;
    }
    EXPECT_TRUE(guard.admit(MethodModel{{"tallyUp"}, ""}));
    EXPECT_FALSE(guard.admit(MethodModel{{"tallyUp"}, ""})); // handed out once
    EXPECT_TRUE(guard.admit(MethodModel{{"newCart:"}, ""})); // a family is a name without keywords
}

const std::string counterHeader = R"(#import <Foundation/Foundation.h>

@interface Counter : NSObject {
    int _count;
    int label;
}
@property (nonatomic) int label;
- (void)bump;
- (int)current;
- (void)resetAll;
@end
)";

const std::string counterImplementation = R"(#import "Counter.h"

@implementation Counter
@synthesize label;
- (void)bump { _count += 1; }
- (int)current { return _count; }
- (void)resetAll {
    _count = 0;
    [self bump];
}
@end
)";

const std::string counterProgram = R"(#import "Counter.h"

int main(void) {
    NSAutoreleasePool *pool = [[NSAutoreleasePool alloc] init];
    Counter *counter = [[Counter alloc] init];
    [counter bump];
    [counter bump];
    counter.label = 7;
    printf("%d %d %d\n", [counter current], [[counter valueForKey:@"label"] intValue],
           (int)[counter respondsToSelector:@selector(bump)]);
    [counter resetAll];
    printf("%d %d\n", [counter current], (int)[counter respondsToSelector:@selector(current)]);
    [pool drain];
    return 0;
}
)";

TEST(UnaryMethods, TheProgramPrintsTheSameAfterTheRename) {
    PreciseProject project(withUnary());
    TempDir& dir = project.dir();
    dir.write("Counter.h", counterHeader);
    dir.write("Counter.m", counterImplementation);
    dir.write("main.m", counterProgram);
    TempDir scratch;
    const std::string build = "(cd " + shellQuoted(dir.str()) +
                              " && gcc -std=gnu99 $(gnustep-config --objc-flags) -w Counter.m "
                              "main.m -o counter $(gnustep-config --base-libs) && ./counter)";
    const auto before = runCommand(build, scratch);
    if (before.exitCode != 0) {
        GTEST_SKIP() << "gcc with GNUstep cannot build the project here: " << before.err;
    }
    ASSERT_EQ(before.out, "2 7 1\n1 1\n");
    ASSERT_TRUE(project.scan());
    EXPECT_EQ(project.verdict("label"), "absent");
    for (const char* method : {"bump", "current", "resetAll"}) {
        EXPECT_EQ(project.verdict(method), "rename") << method;
    }
    project.renameAll();
    EXPECT_EQ(project.read("main.m").find("bump"), std::string::npos);
    const auto after = runCommand(build, scratch);
    EXPECT_EQ(after.exitCode, 0) << after.err;
    EXPECT_EQ(after.out, before.out);
}

} // namespace
} // namespace quillet::test
