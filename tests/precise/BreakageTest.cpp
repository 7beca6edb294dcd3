// Each way a literal rename breaks a real app, on a small project written for it: the literal
// mode shows the fault, the precise mode does not.
#include <filesystem>
#include <map>
#include <memory>

#include <gtest/gtest.h>

#include "engine/MRenameTool.h"
#include "job/RenameStrategies.h"
#include "precise/SdkSelectors.h"
#include "random/RandomSource.h"
#include "support/EngineRun.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

using Files = std::vector<std::pair<std::string, std::string>>;

// One renamed copy of a project.
struct Run {
    TempDir dir;
    std::map<std::string, std::string> renamed; // old selector -> new selector
    std::map<std::string, std::string> protectedBy;
    std::vector<std::string> collected;

    std::string file(const std::string& relative) const { return readFile(dir.path() / relative); }
    bool wasRenamed(const std::string& selector) const { return renamed.contains(selector); }
    // The new name of a keyword of a renamed selector, without its colon.
    std::string newKeyword(const std::string& selector, std::size_t k) const {
        return method(renamed.at(selector))
            .elements.at(k)
            .substr(0, method(renamed.at(selector)).elements.at(k).size() - 1);
    }
};

std::unique_ptr<Run> renameProject(const Files& files, RenameMode mode,
                                   ProtectionInputs inputs = {},
                                   const std::vector<std::string>& ignore = {}) {
    auto run = std::make_unique<Run>();
    for (const auto& [path, content] : files) {
        run->dir.write(path, content);
    }
    SeededRandom random(7);
    MRenameTool tool(random, strategyFor(mode, std::move(inputs)));
    tool.setRootPath(run->dir.str());
    EXPECT_TRUE(tool.loadFiles(ignore));
    tool.collectMethods();
    for (const auto& m : tool.candidateMethods()) {
        run->collected.push_back(m.selector());
        if (const auto* reason = tool.protectionOf(m.selector())) {
            run->protectedBy[m.selector()] = reason->describe();
        }
    }
    const auto pairs = *tool.makeNewNames({});
    for (const auto& pair : pairs) {
        run->renamed[pair.old.selector()] = pair.new_.selector();
    }
    tool.replace(pairs);
    return run;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A minimal SDK folder, read the way a run reads one.
ProtectionInputs sdkDeclaring(const std::string& header) {
    static TempDir sdk;
    static TempDir cache;
    sdk.write("Foundation/Declared.h", header);
    auto read = SdkSelectorCache(cache.str()).load(sdk.str());
    ProtectionInputs inputs;
    inputs.sdk = std::make_shared<SelectorSet>(std::move(read->selectors));
    return inputs;
}

const std::string formatCategory = R"(@interface NSString (Shop)
+ (instancetype)stringWithFormat:(NSString *)format, ...;
- (NSString *)shopQuoted:(NSString *)mark;
@end
)";

TEST(Breakage, ASelectorTheSdkDeclaresKeepsItsName) {
    const Files project = {
        {"NSString+Shop.h", formatCategory},
        {"NSString+Shop.m", "#import \"NSString+Shop.h\"\n@implementation NSString (Shop)\n"
                            "- (NSString *)shopQuoted:(NSString *)mark { return [NSString "
                            "stringWithFormat:@\"%@%@\", mark, self]; }\n@end\n"},
        {"Order.m", "#import \"NSString+Shop.h\"\nvoid f(void) {\n"
                    "    NSString *s = [NSString stringWithFormat:@\"%d\", 1];\n"
                    "    s = [s shopQuoted:@\"'\"];\n}\n"},
    };
    const auto literal = renameProject(project, RenameMode::literal);
    ASSERT_TRUE(literal->wasRenamed("stringWithFormat:"));
    EXPECT_FALSE(contains(literal->file("Order.m"), "stringWithFormat:")) << "the SDK call broke";

    const auto precise = renameProject(
        project, RenameMode::precise,
        sdkDeclaring("@interface NSString : NSObject\n+ (instancetype)stringWithFormat:(NSString "
                     "*)format, ... NS_FORMAT_FUNCTION(1,2);\n@end\n"));
    EXPECT_FALSE(precise->wasRenamed("stringWithFormat:"));
    EXPECT_EQ(precise->protectedBy.at("stringWithFormat:"), "declared by the SDK");
    EXPECT_TRUE(contains(precise->file("Order.m"), "[NSString stringWithFormat:@\"%d\", 1]"));
    EXPECT_TRUE(contains(precise->file("NSString+Shop.m"), "[NSString stringWithFormat:@"));
    const std::string quoted = precise->newKeyword("shopQuoted:", 0);
    EXPECT_TRUE(contains(precise->file("Order.m"), "[s " + quoted + ":@\"'\"]"));
    EXPECT_TRUE(contains(precise->file("NSString+Shop.h"), "- (NSString *)" + quoted + ":"));
}

TEST(Breakage, NamesTheRuntimeCallsKeepThem) {
    const Files project = {
        {"Shelf.h", "@interface Shelf : NSObject\n"
                    "@property (nonatomic, copy) NSArray *books;\n"
                    "@property (nonatomic, copy) NSString *title;\n"
                    "- (id)objectAtIndexedSubscript:(NSUInteger)index;\n"
                    "- (void)observeValueForKeyPath:(NSString *)keyPath\n"
                    "                      ofObject:(id)object\n"
                    "                        change:(NSDictionary *)change\n"
                    "                       context:(void *)context;\n"
                    "- (void)insertObject:(id)book inBooksAtIndex:(NSUInteger)index;\n"
                    "- (BOOL)validateTitle:(id *)value error:(NSError **)error;\n"
                    "- (void)shelveBook:(id)book;\n@end\n"},
        {"Shelf.m", "#import \"Shelf.h\"\n@implementation Shelf\n"
                    "- (id)objectAtIndexedSubscript:(NSUInteger)index { return nil; }\n"
                    "- (void)shelveBook:(id)book { id first = self[0]; (void)first; }\n@end\n"},
    };
    const auto literal = renameProject(project, RenameMode::literal);
    EXPECT_TRUE(literal->wasRenamed("objectAtIndexedSubscript:")) << "self[0] then breaks";
    EXPECT_TRUE(literal->wasRenamed("observeValueForKeyPath:ofObject:change:context:"));

    const auto precise = renameProject(project, RenameMode::precise);
    for (const std::string selector :
         {"objectAtIndexedSubscript:", "observeValueForKeyPath:ofObject:change:context:",
          "insertObject:inBooksAtIndex:", "validateTitle:error:"}) {
        EXPECT_EQ(precise->protectedBy[selector], "called by the runtime by name") << selector;
    }
    EXPECT_TRUE(contains(precise->file("Shelf.m"), "- (id)objectAtIndexedSubscript:"));
    EXPECT_TRUE(precise->wasRenamed("shelveBook:"));
}

TEST(Breakage, AnOverrideThatCallsSuperKeepsTheSystemName) {
    const Files project = {
        {"Base.h", "@interface Base : NSObject\n- (void)configureWith:(id)model;\n@end\n"},
        {"Base.m", "#import \"Base.h\"\n@implementation Base\n"
                   "- (void)configureWith:(id)model {}\n@end\n"},
        {"Board.h", "#import \"Base.h\"\n@interface Board : Base\n"
                    "- (void)addSubview:(NSView *)view positioned:(NSInteger)place "
                    "relativeTo:(NSView *)other;\n@end\n"},
        {"Board.m", "#import \"Board.h\"\n@implementation Board\n"
                    "- (void)addSubview:(NSView *)view positioned:(NSInteger)place "
                    "relativeTo:(NSView *)other {\n"
                    "    [super addSubview:view positioned:place relativeTo:other];\n}\n"
                    "- (void)configureWith:(id)model {\n    [super configureWith:model];\n}\n"
                    "@end\n"},
    };
    const auto literal = renameProject(project, RenameMode::literal);
    EXPECT_TRUE(literal->wasRenamed("addSubview:positioned:relativeTo:"));
    EXPECT_FALSE(contains(literal->file("Board.m"), "[super addSubview:"));

    const auto precise = renameProject(project, RenameMode::precise);
    EXPECT_EQ(precise->protectedBy["addSubview:positioned:relativeTo:"],
              "sent to super in Board, which inherits it from NSObject");
    EXPECT_TRUE(contains(precise->file("Board.m"),
                         "[super addSubview:view positioned:place relativeTo:other]"));
    // Within the project's own classes, a super call is renamed with its method.
    ASSERT_TRUE(precise->wasRenamed("configureWith:"));
    const std::string configure = precise->newKeyword("configureWith:", 0);
    EXPECT_TRUE(contains(precise->file("Board.m"), "[super " + configure + ":model]"));
    EXPECT_TRUE(contains(precise->file("Base.m"), "- (void)" + configure + ":(id)model"));
}

TEST(Breakage, ADataSourceMethodOfAForeignProtocolKeepsItsName) {
    const Files project = {
        {"Vendor/TableKit.h", "@protocol TableDataSource <NSObject>\n"
                              "- (id)tableView:(id)table cellForRowAtIndexPath:(id)path;\n@end\n"},
        {"ListController.h", "#import \"Vendor/TableKit.h\"\n"
                             "@interface ListController : NSObject <TableDataSource>\n"
                             "- (id)tableView:(id)table cellForRowAtIndexPath:(id)path;\n"
                             "- (void)reloadRows:(NSArray *)rows;\n@end\n"},
        {"ListController.m", "#import \"ListController.h\"\n@implementation ListController\n"
                             "- (id)tableView:(id)table cellForRowAtIndexPath:(id)path { "
                             "return nil; }\n- (void)reloadRows:(NSArray *)rows {}\n@end\n"},
    };
    const auto literal = renameProject(project, RenameMode::literal);
    EXPECT_TRUE(literal->wasRenamed("tableView:cellForRowAtIndexPath:")) << "never called again";

    const auto precise = renameProject(project, RenameMode::precise);
    EXPECT_EQ(precise->protectedBy["tableView:cellForRowAtIndexPath:"],
              "declared in TableKit.h, which is not one of the project's classes");
    EXPECT_TRUE(precise->wasRenamed("reloadRows:"));
}

TEST(Breakage, OnlyTheWholeSelectorIsRenamedNeverAKeywordInsideAnother) {
    const Files project = {
        {"Handler.h", "@interface Handler : NSObject\n- (void)error:(NSError *)error;\n@end\n"},
        {"Handler.m", "#import \"Handler.h\"\n@implementation Handler\n"
                      "- (void)error:(NSError *)error {}\n@end\n"},
        {"Signal.h", "@interface Signal : NSObject\n- (void)subscribeNext:(id)next error:(id)error "
                     "completed:(id)completed;\n@end\n"},
        {"User.m", "#import \"Handler.h\"\n#import \"Signal.h\"\nvoid use(Signal *signal, "
                   "Handler *handler, NSError *e) {\n"
                   "    [signal subscribeNext:nil error:nil completed:nil];\n"
                   "    [handler error:e];\n}\n"},
    };
    const auto literal = renameProject(project, RenameMode::literal);
    ASSERT_TRUE(literal->wasRenamed("error:"));
    EXPECT_FALSE(contains(literal->file("User.m"), "subscribeNext:nil error:nil"))
        << "the other method's call was rewritten too";

    const auto precise = renameProject(project, RenameMode::precise);
    ASSERT_TRUE(precise->wasRenamed("error:"));
    EXPECT_TRUE(
        contains(precise->file("User.m"), "[signal subscribeNext:nil error:nil completed:nil]"));
    EXPECT_TRUE(
        contains(precise->file("User.m"), "[handler " + precise->newKeyword("error:", 0) + ":e]"));
}

TEST(Breakage, CommentsAreNeverCollected) {
    const Files project = {
        {"Loader.h", "/**\n * Usage:\n *   - (void)legacyLoad:(id)x\tsee the notes;\n */\n"
                     "@interface Loader : NSObject\n- (void)loadItems:(NSArray *)items;\n@end\n"},
        {"Loader.m", "#import \"Loader.h\"\n@implementation Loader\n"
                     "- (void)loadItems:(NSArray *)items {}\n@end\n"},
    };
    const auto literal = renameProject(project, RenameMode::literal);
    EXPECT_TRUE(literal->wasRenamed("legacyLoad:"));
    const auto precise = renameProject(project, RenameMode::precise);
    EXPECT_EQ(precise->collected, (std::vector<std::string>{"loadItems:"}));
    EXPECT_TRUE(contains(precise->file("Loader.h"), "- (void)legacyLoad:(id)x\tsee the notes;"));
}

TEST(Breakage, EveryCallSiteIsFoundWhereverItIs) {
    const Files project = {
        {"Models/Loader.h", "@protocol LoaderDelegate\n"
                            "- (void)loader:(id)loader didLoad:(NSArray *)items;\n@end\n"
                            "@interface Loader : NSObject\n@property id delegate;\n"
                            "- (void)loadItems:(NSArray *)items fromCache:(BOOL)cache;\n@end\n"},
        {"Models/Loader.m",
         "#import \"Loader.h\"\n@implementation Loader\n"
         "- (void)loadItems:(NSArray *)items fromCache:(BOOL)cache {\n"
         "    id d = self.delegate;\n"
         "    if ([d respondsToSelector:@selector(loader:didLoad:)]) [d loader:self "
         "didLoad:items];\n}\n@end\n"},
        {"App/Screen.m", "#import \"Models/Loader.h\"\nvoid a(Loader *l) {\n"
                         "    [l loadItems:@[]\nfromCache:YES];\n}\n"},
        {"App/Module.m", "#import <Models/Loader.h>\nvoid b(Loader *l) {\n"
                         "    [l loadItems:nil fromCache:NO];\n}\n"},
    };
    const auto literal = renameProject(project, RenameMode::literal);
    EXPECT_TRUE(contains(literal->file("App/Screen.m"), "fromCache:YES"))
        << "a keyword at the start of a line";
    EXPECT_TRUE(contains(literal->file("App/Module.m"), "[l loadItems:nil fromCache:NO]"))
        << "a header reached through an angle-bracket import";
    EXPECT_TRUE(contains(literal->file("Models/Loader.m"), "[d loader:self didLoad:items]"))
        << "a call on the line of a renamed @selector";

    const auto precise = renameProject(project, RenameMode::precise);
    const std::string load = precise->newKeyword("loadItems:fromCache:", 0);
    const std::string cache = precise->newKeyword("loadItems:fromCache:", 1);
    EXPECT_TRUE(contains(precise->file("App/Screen.m"), "[l " + load + ":@[]\n" + cache + ":YES]"));
    EXPECT_TRUE(contains(precise->file("App/Module.m"), "[l " + load + ":nil " + cache + ":NO]"));
    const std::string loader = precise->newKeyword("loader:didLoad:", 0);
    const std::string didLoad = precise->newKeyword("loader:didLoad:", 1);
    EXPECT_TRUE(contains(precise->file("Models/Loader.m"), "@selector(" + loader + ":" + didLoad +
                                                               ":)]) [d " + loader + ":self " +
                                                               didLoad + ":items]"));
}

TEST(Breakage, SelectorStringsAndInterfaceFileActionsFollowTheirMethod) {
    const Files project = {
        {"Panel.h", "@interface Panel : NSObject\n- (IBAction)refreshTapped:(id)sender;\n"
                    "- (void)applyCoupon:(NSString *)code;\n@end\n"},
        {"Panel.m", "#import \"Panel.h\"\n@implementation Panel\n"
                    "- (IBAction)refreshTapped:(id)sender {\n"
                    "    [self performSelector:NSSelectorFromString(@\"applyCoupon:\") "
                    "withObject:@\"A\"];\n}\n- (void)applyCoupon:(NSString *)code {}\n@end\n"},
        {"Panel.xib", "<document>\n  <connections>\n    <action selector=\"refreshTapped:\" "
                      "destination=\"-1\" eventType=\"touchUpInside\" id=\"a1\"/>\n"
                      "  </connections>\n</document>\n"},
    };
    const auto literal = renameProject(project, RenameMode::literal);
    EXPECT_TRUE(contains(literal->file("Panel.m"), "@\"applyCoupon:\""));
    EXPECT_TRUE(contains(literal->file("Panel.xib"), "selector=\"refreshTapped:\""));

    const auto precise = renameProject(project, RenameMode::precise);
    EXPECT_TRUE(contains(precise->file("Panel.m"),
                         "NSSelectorFromString(@\"" + precise->renamed["applyCoupon:"] + "\")"));
    EXPECT_TRUE(contains(precise->file("Panel.xib"), "<action selector=\"" +
                                                         precise->renamed["refreshTapped:"] +
                                                         "\" destination=\"-1\""));
}

TEST(Breakage, IgnoredCodeKeepsTheNamesItUses) {
    const Files project = {
        {"Pods/Kit/Kit.h", "@interface Kit : NSObject\n- (void)start:(id)app;\n@end\n"},
        {"Pods/Kit/Kit.m", "#import \"Kit.h\"\n@implementation Kit\n"
                           "- (void)start:(id)app { [app launchWith:self]; }\n@end\n"},
        {"App.h", "@interface App : NSObject\n- (void)launchWith:(id)kit;\n"
                  "- (void)stop:(id)reason;\n@end\n"},
        {"App.m", "#import \"App.h\"\n@implementation App\n- (void)launchWith:(id)kit {}\n"
                  "- (void)stop:(id)reason {}\n@end\n"},
    };
    const auto precise = renameProject(project, RenameMode::precise, {}, {"Pods"});
    EXPECT_TRUE(contains(precise->protectedBy["launchWith:"], "/Pods/Kit/Kit.m, which is ignored"));
    EXPECT_TRUE(precise->wasRenamed("stop:"));
    EXPECT_EQ(precise->file("Pods/Kit/Kit.m"), project[1].second);
}

} // namespace
} // namespace quillet::test
