// A mixed Objective-C and Swift project through the precise mode: whatever Swift code can reach
// keeps its name, the rest is renamed, and the Swift files come out byte for byte.
#include <algorithm>
#include <memory>

#include <gtest/gtest.h>

#include "engine/MRenameTool.h"
#include "log/Console.h"
#include "precise/PreciseRename.h"
#include "random/RandomSource.h"
#include "support/EngineRun.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

const std::string controllerHeader = R"(#import <Cocoa/Cocoa.h>
@protocol StoreObserver <NSObject>
- (void)storeDidSettle:(id)store;
@optional
- (void)inventoryDidReload:(id)inventory;
@end

@interface AppController : NSObject
- (void)handleKeyDown:(NSEvent *)event;
- (IBAction)searchUsingToolbarTextField:(NSTextField *)sender;
- (void)deleteObjects:(NSArray *)objects;
- (id)entryForKey:(NSString *)key;
- (void)openDocument:(NSString *)path mode:(int)mode NS_SWIFT_NAME(launch(path:mode:));
- (void)archiveEntries:(NSArray *)entries reason:(NSString *)reason;
- (void)toggleRuler:(id)sender;
- (void)rebuildIndex:(id)sender;
- (void)exportRecords:(id)records toFile:(NSString *)file;
@end
)";

const std::string controllerSource = R"(#import "AppController.h"
@implementation AppController
- (void)handleKeyDown:(NSEvent *)event {}
- (IBAction)searchUsingToolbarTextField:(NSTextField *)sender {}
- (void)deleteObjects:(NSArray *)objects {}
- (id)entryForKey:(NSString *)key { return nil; }
- (void)openDocument:(NSString *)path mode:(int)mode {}
- (void)archiveEntries:(NSArray *)entries reason:(NSString *)reason {}
- (void)toggleRuler:(id)sender {}
- (void)rebuildIndex:(id)sender { [self exportRecords:nil toFile:@"x"]; }
- (void)exportRecords:(id)records toFile:(NSString *)file {}
@end
)";

// Each file reaches the controller one way; none names rebuildIndex or exportRecords in code.
const std::string appSwift = R"swift(import Cocoa
// rebuildIndex(_:) is left to Objective-C; so is exportRecords.
final class Window: NSWindow {
    let appController = AppController()
    override func keyDown(with event: NSEvent) { appController.handleKeyDown(event) }
    func wire(_ field: NSSearchField) {
        field.action = #selector(AppController.search(usingToolbarTextField:))
        let purge = appController.deleteObjects
        print("\(appController.entry(forKey: "k") ?? "") rebuildIndex(\(1))", purge)
        appController.launch(path: #"C:\files"#, mode: 1)
    }
}
)swift";

const std::string watcherSwift = R"swift(import Foundation
@objc class Archiver: NSObject {
    @objc(archiveEntries:reason:) func archive(_ entries: [Any], because reason: String) {}
}
extension Archiver: StoreObserver {}
let menuIcons = ["toggleRuler:": "ruler", "rebuildIndex": "gear"]
)swift";

struct MixedRun {
    TempDir dir;
    SeededRandom random{5};
    PreciseRename* precise = nullptr;
    std::unique_ptr<MRenameTool> tool;

    MixedRun() {
        dir.write("AppController.h", controllerHeader);
        dir.write("AppController.m", controllerSource);
        dir.write("Sources/App.swift", appSwift);
        dir.write("Sources/Watcher.swift", watcherSwift);
        auto mode = std::make_unique<PreciseRename>();
        precise = mode.get();
        tool = std::make_unique<MRenameTool>(random, std::move(mode));
        scan(*tool, dir.str());
    }

    std::string reasonOf(const std::string& selector) const {
        const auto* reason = tool->protectionOf(selector);
        return reason ? reason->describe() : "renamed";
    }
};

TEST(SwiftProject, WhatSwiftReachesKeepsItsNameAndSwiftFilesStayAsTheyAre) {
    MixedRun run;
    const std::string fromApp = "used from Swift in " + run.dir.str() + "/Sources/App.swift";
    const std::string fromWatcher =
        "used from Swift in " + run.dir.str() + "/Sources/Watcher.swift";
    EXPECT_EQ(run.reasonOf("handleKeyDown:"), fromApp);
    EXPECT_EQ(run.reasonOf("searchUsingToolbarTextField:"), fromApp); // #selector, split name
    EXPECT_EQ(run.reasonOf("deleteObjects:"), fromApp);               // referenced without a call
    EXPECT_EQ(run.reasonOf("entryForKey:"), fromApp);                 // in an interpolation
    EXPECT_EQ(run.reasonOf("openDocument:mode:"), fromApp);           // by its NS_SWIFT_NAME
    EXPECT_EQ(run.reasonOf("archiveEntries:reason:"), fromWatcher);   // @objc(...)
    EXPECT_EQ(run.reasonOf("toggleRuler:"), fromWatcher);             // a selector string
    EXPECT_EQ(run.reasonOf("storeDidSettle:"), fromWatcher);          // an adopted protocol,
    EXPECT_EQ(run.reasonOf("inventoryDidReload:"), fromWatcher);      // optional methods too
    // Named only in a comment and a string of Swift.
    EXPECT_EQ(run.reasonOf("rebuildIndex:"), "renamed");
    EXPECT_EQ(run.reasonOf("exportRecords:toFile:"), "renamed");
    EXPECT_EQ(run.precise->swiftFilesRead(), 2u);
    EXPECT_TRUE(run.tool->unparsedFiles().empty());
    EXPECT_TRUE(run.tool->unreadableFiles().empty());
    const auto log = logValues(readFile(Console::shared().path()));
    EXPECT_NE(std::find(log.begin(), log.end(),
                        "Swift files read for the selectors they use (never rewritten): 2"),
              log.end());

    run.tool->replace({renamePair("rebuildIndex:", "AppController.h", "refreshAll:"),
                       renamePair("exportRecords:toFile:", "AppController.h", "ship:into:")});
    EXPECT_EQ(readFile(run.dir.path() / "Sources/App.swift"), appSwift);
    EXPECT_EQ(readFile(run.dir.path() / "Sources/Watcher.swift"), watcherSwift);
    const auto source = readFile(run.dir.path() / "AppController.m");
    EXPECT_NE(source.find("- (void)refreshAll:(id)sender { [self ship:nil into:@\"x\"]; }"),
              std::string::npos);
    EXPECT_NE(source.find("- (void)handleKeyDown:(NSEvent *)event {}"), std::string::npos);
}

} // namespace
} // namespace quillet::test
