// How a project is laid out must not decide what is renamed: headers kept apart from their
// sources, Objective-C++ and prefix headers, and links between the project's own files.
#include <filesystem>

#include <gtest/gtest.h>

#include "engine/MRenameTool.h"
#include "support/Files.h"
#include "support/PreciseProject.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

class Layout : public ::testing::Test {
protected:
    PreciseProject project_;
    TempDir& dir_ = project_.dir();
    MRenameTool& tool_ = project_.tool();
};

TEST_F(Layout, HeadersApartFromTheirSourcesAreCollectedWhenTheProjectStandsBehindThem) {
    dir_.write("Headers/Cart.h", "@interface Cart : NSObject\n- (void)addLine:(id)line;\n@end\n");
    dir_.write("Headers/Cart+Private.h",
               "@interface Cart (Private)\n- (void)recountLines:(int)n;\n@end\n");
    dir_.write("Headers/CartDelegate.h", "@protocol CartDelegate\n"
                                         "- (void)cartDidChange:(id)cart;\n@end\n");
    dir_.write("Sources/Cart.m", "#import \"Cart.h\"\n@implementation Cart\n"
                                 "- (void)addLine:(id)line { [self recountLines:1]; [self.delegate "
                                 "cartDidChange:self]; }\n- (void)recountLines:(int)n {}\n@end\n"
                                 "@implementation Shop\n- (void)cartDidChange:(id)cart {}\n@end\n");
    // A bundled binary's delegate: the binary calls it, whatever the project does with it.
    dir_.write("Vendor/Pay.framework/Headers/PayDelegate.h",
               "@protocol PayDelegate\n- (void)payDidFinish:(id)result;\n@end\n");
    dir_.write("Sources/PayHandler.m", "@implementation PayHandler\n"
                                       "- (void)payDidFinish:(id)result {}\n"
                                       "- (void)retry { [self payDidFinish:nil]; }\n@end\n");
    dir_.write("Headers/Logger.h", "@protocol Logger\n- (void)logLine:(id)line;\n@end\n");
    dir_.write("Sources/Console.m", "@implementation Console\n- (void)logLine:(id)line {}\n@end\n");

    ASSERT_TRUE(project_.scan()) << "no header sits beside its source, yet the project has its own";
    EXPECT_EQ(project_.verdict("addLine:"), "rename");
    EXPECT_EQ(project_.verdict("recountLines:"), "rename");
    EXPECT_EQ(project_.verdict("cartDidChange:"), "rename");
    // Neither is the project's to collect: a binary calls the one, and the other is defined
    // by the project but never sent, so someone else calls it.
    EXPECT_EQ(project_.verdict("payDidFinish:"), "absent");
    EXPECT_EQ(project_.verdict("logLine:"), "absent");
    EXPECT_EQ(tool_.headerFiles().size(), 3u);

    project_.renameAll();
    const std::string cart = readFile(dir_.path() / "Sources/Cart.m");
    EXPECT_EQ(cart.find("addLine:"), std::string::npos);
    EXPECT_EQ(cart.find("recountLines"), std::string::npos);
    EXPECT_EQ(readFile(dir_.path() / "Headers/Cart+Private.h").find("recountLines"),
              std::string::npos);
    EXPECT_NE(readFile(dir_.path() / "Sources/PayHandler.m").find("payDidFinish:"),
              std::string::npos);
}

TEST_F(Layout, ObjectiveCppAndPrefixHeadersAreReadAndRewritten) {
    dir_.write("Engine.h",
               "@interface Engine : NSObject\n- (void)startWithGear:(int)gear;\n@end\n");
    dir_.write("Engine.mm", "#import \"Engine.h\"\n@implementation Engine\n"
                            "- (void)startWithGear:(int)gear { std::vector<int> v; }\n@end\n");
    dir_.write("Bridge.hpp", "template <typename T> struct Box { T value; };\n"
                             "inline void kick(Engine *e) { [e startWithGear:2]; }\n");
    dir_.write("App.pch", "#define KICK(e) [e startWithGear:1]\n");
    dir_.write("Detail.inl", "void warm(Engine *e) { [e startWithGear:0]; }\n");

    project_.scan();
    ASSERT_EQ(project_.verdict("startWithGear:"), "rename");
    project_.renameAll();
    for (const auto* file : {"Bridge.hpp", "App.pch", "Detail.inl", "Engine.mm"}) {
        EXPECT_EQ(readFile(dir_.path() / file).find("startWithGear"), std::string::npos) << file;
    }
    EXPECT_NE(readFile(dir_.path() / "Bridge.hpp").find("template <typename T>"),
              std::string::npos);
}

TEST_F(Layout, LinksToTheProjectsOwnFilesAreNotReportedButLinksOutOfItAre) {
    dir_.write("Box.h", "@interface Box : NSObject\n- (void)fold:(int)n;\n@end\n");
    dir_.write("Box.m", "#import \"Box.h\"\n@implementation Box\n- (void)fold:(int)n {}\n@end\n");
    TempDir outside;
    outside.write("Far.m", "void f(id b) { [b fold:1]; }\n");
    fs::create_directories(dir_.path() / "Links");
    fs::create_symlink("../Box.h", dir_.path() / "Links/Box.h");
    fs::create_symlink(outside.path() / "Far.m", dir_.path() / "Links/Far.m");
    fs::create_symlink(dir_.path() / "Gone.m", dir_.path() / "Links/Gone.m");

    project_.scan();
    std::vector<std::string> unreadable;
    for (const auto* file : tool_.unreadableFiles()) {
        unreadable.push_back(fs::path(file->inPath()).filename().string());
    }
    EXPECT_EQ(unreadable, (std::vector<std::string>{"Far.m", "Gone.m"}));
    EXPECT_EQ(tool_.headerFiles(), std::vector<std::string>{dir_.str() + "/Box.h"});
    project_.renameAll();
    EXPECT_TRUE(fs::is_symlink(dir_.path() / "Links/Box.h"));
    EXPECT_EQ(readFile(dir_.path() / "Box.h").find("fold:"), std::string::npos);
    EXPECT_EQ(readFile(outside.path() / "Far.m"), "void f(id b) { [b fold:1]; }\n");
}

} // namespace
} // namespace quillet::test
