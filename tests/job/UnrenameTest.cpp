// A project renamed and then renamed back with its names file is the project it was, byte for
// byte, moved files and every encoding and line end included; where that would make two names
// one, nothing is written.
#include <gtest/gtest.h>

#include <filesystem>

#include "job/RenameJob.h"
#include "random/RandomSource.h"
#include "support/Files.h"
#include "support/WidgetShop.h"
#include "text/Text.h"
#include "text/Utf.h"

namespace quillet::test {
namespace {

namespace stdfs = std::filesystem;

RunOptions everyKind(const TempDir& dir) {
    auto options = classRunOf(dir);
    options.kinds.add(NameKind::unary);
    options.kinds.add(NameKind::properties);
    options.kinds.add(NameKind::protocols);
    return options;
}

// The WidgetShop, with a property, a protocol and files of other encodings and line ends.
void writeMixedShop(const TempDir& dir) {
    writeWidgetShop(dir);
    std::string source =
        "#import \"Widget.h\"\n@protocol Counting <NSObject>\n- (int)tally;\n@end\n"
        "@interface Counter : NSObject <Counting>\n"
        "@property (nonatomic, assign) int runningTotal;\n@end\n"
        "@implementation Counter\n- (int)tally {\n"
        "    self.runningTotal = [[Widget new] widgetCountFor:1];\n"
        "    return _runningTotal;\n}\n@end\n";
    text::replaceAll(source, "\n", "\r\n");
    dir.write("App/Tally.m", "\xEF\xBB\xBF" + source);
    dir.write("App/Wide.m", "\xFF\xFE" + text::utf8ToUtf16("#import \"Widget.h\"\n"
                                                           "int wide(Widget *w) { return [w "
                                                           "widgetCountFor:2]; }\n",
                                                           text::ByteOrder::littleEndian));
}

std::string withoutLists(const TempDir& dir) {
    stdfs::remove(dir.path() / "MethodReplaceList.txt");
    stdfs::remove(dir.path() / "QuilletNames.tsv");
    return treeDump(dir.path());
}

TEST(Unrename, GivesBackTheProjectAsItWasBeforeTheRename) {
    TempDir dir;
    writeMixedShop(dir);
    const std::string before = treeDump(dir.path());
    SeededRandom random(7);
    RunObserver quiet;
    const auto renamed = RenameJob(random).run(everyKind(dir), quiet);
    ASSERT_TRUE(renamed.complete());
    ASSERT_FALSE(stdfs::exists(dir.path() / "Models/Widget.h")) << "the class's files moved";
    ASSERT_EQ(readFile(dir.path() / "App/Tally.m").find("runningTotal"), std::string::npos);

    const std::string names = (dir.path() / "QuilletNames.tsv").string();
    auto planned = everyKind(dir);
    planned.dryRun = true;
    const std::string renamedTree = treeDump(dir.path());
    const auto dry = RenameJob().unrename(planned, names, quiet);
    ASSERT_FALSE(dry.refusal);
    EXPECT_FALSE(dry.changes.empty());
    EXPECT_EQ(treeDump(dir.path()), renamedTree) << "a dry run writes nothing";

    const auto back = RenameJob().unrename(everyKind(dir), names, quiet);
    ASSERT_FALSE(back.refusal) << back.refusal->detail;
    EXPECT_TRUE(back.complete());
    EXPECT_TRUE(stdfs::exists(dir.path() / "QuilletNames.tsv")) << "the record of a release stays";
    EXPECT_EQ(withoutLists(dir), before);
}

TEST(Unrename, RefusesWhereTheProjectHasGainedAnOldNameSince) {
    TempDir dir;
    writeMixedShop(dir);
    SeededRandom random(7);
    RunObserver quiet;
    ASSERT_TRUE(RenameJob(random).run(everyKind(dir), quiet).complete());
    // A new class of the old name, and a method of an old selector, in a file of their own.
    dir.write("App/Later.m",
              "#import <Foundation/Foundation.h>\n@interface Widget : NSObject\n@end\n"
              "@implementation Widget\n- (int)widgetCountFor:(int)b {\n"
              "    return b;\n}\n@end\n");
    const std::string renamedTree = treeDump(dir.path());
    const auto back =
        RenameJob().unrename(everyKind(dir), (dir.path() / "QuilletNames.tsv").string(), quiet);
    ASSERT_TRUE(back.refusal);
    EXPECT_EQ(back.refusal->reason, RunRefusal::Reason::namesTakenSince);
    EXPECT_NE(back.refusal->detail.find("class Widget"), std::string::npos) << back.refusal->detail;
    EXPECT_NE(back.refusal->detail.find("method widgetCountFor:"), std::string::npos)
        << back.refusal->detail;
    EXPECT_EQ(treeDump(dir.path()), renamedTree);
}

} // namespace
} // namespace quillet::test
