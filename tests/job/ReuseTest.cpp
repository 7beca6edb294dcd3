// A release renamed with the last release's names keeps every name that survived the edit: its
// renamed tree differs from the last one only by the edit, in new names that clash with nothing
// the last release shipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "job/RenameJob.h"
#include "random/RandomSource.h"
#include "support/Files.h"
#include "support/WidgetShop.h"

namespace quillet::test {
namespace {

namespace stdfs = std::filesystem;
using Kind = NameEntry::Kind;

RunReport rename(const TempDir& dir, std::uint64_t seed,
                 std::optional<std::string> reuse = std::nullopt) {
    SeededRandom random(seed);
    RunObserver quiet;
    auto options = classRunOf(dir);
    options.kinds.add(NameKind::unary);
    options.reuseNames = std::move(reuse);
    return RenameJob(random).run(options, quiet);
}

NameTable tableOf(const TempDir& dir) {
    auto table = NameTable::read(dir.str() + "/QuilletNames.tsv");
    EXPECT_TRUE(table) << table.error().message;
    return table ? std::move(*table) : NameTable();
}

std::string newName(const NameTable& table, Kind kind, const std::string& from) {
    const auto* entry = table.find(kind, from);
    return entry == nullptr ? std::string() : entry->to;
}

// The next release: Widget gains a method, the delegate loses its own, a class is added.
void editAsARelease(const TempDir& dir) {
    std::string header = readFile(dir.path() / "Models/Widget.h");
    header.insert(header.rfind("@end"), "- (int)freshCountFor:(int)base;\n");
    writeFile(dir.path() / "Models/Widget.h", header);
    std::string source = readFile(dir.path() / "Models/Widget.m");
    source.insert(source.rfind("@end"), "- (int)freshCountFor:(int)base {\n    return base;\n}\n");
    writeFile(dir.path() / "Models/Widget.m", source);
    dir.write("App/AppDelegate.h",
              "#import <Foundation/Foundation.h>\n@interface AppDelegate : NSObject\n@end\n");
    dir.write("App/AppDelegate.m",
              "#import \"AppDelegate.h\"\n#import \"Constants.h\"\n#import \"Widget.h\"\n"
              "#import \"Models/Widget.h\"\n#import \"../Categories/Widget+Extras.h\"\n"
              "#import <Categories/Widget+Extras.h>\n@implementation AppDelegate\n@end\n");
    dir.write("App/Gadget.h", "#import <Foundation/Foundation.h>\n@interface Gadget : NSObject\n"
                              "- (int)gadgetSizeFor:(int)base;\n@end\n");
    dir.write("App/Gadget.m", "#import \"Gadget.h\"\n@implementation Gadget\n"
                              "- (int)gadgetSizeFor:(int)base {\n    return base;\n}\n@end\n");
}

TEST(Reuse, ARenamedReleaseDiffersFromTheLastOneOnlyByItsEdit) {
    TempDir last;
    writeWidgetShop(last);
    ASSERT_TRUE(rename(last, 5).complete());
    const NameTable lastNames = tableOf(last);

    TempDir next;
    writeWidgetShop(next);
    editAsARelease(next);
    const auto report = rename(next, 9, last.str() + "/QuilletNames.tsv");
    ASSERT_FALSE(report.refusal);
    ASSERT_TRUE(report.complete());
    EXPECT_TRUE(report.renamedAfresh.empty());
    const NameTable nextNames = tableOf(next);

    // Every surviving name keeps its new name; the one gone stays in the table, unused.
    for (const auto& entry : lastNames.entries()) {
        const auto* again = nextNames.find(entry.kind, entry.from);
        ASSERT_NE(again, nullptr) << entry.from;
        EXPECT_EQ(again->to, entry.to) << entry.from;
        EXPECT_EQ(again->unused, entry.from == "startWithCount:") << entry.from;
    }
    EXPECT_EQ(report.namesCarried, 1U);
    const auto names =
        std::count_if(lastNames.entries().begin(), lastNames.entries().end(),
                      [](const NameEntry& entry) { return entry.kind != Kind::file; });
    EXPECT_EQ(report.namesReused, static_cast<std::size_t>(names) - 1) << "all but the one gone";
    std::set<std::string> shipped;
    for (const auto& entry : lastNames.entries()) {
        shipped.insert(entry.to);
    }
    for (const auto& [kind, added] :
         std::vector<std::pair<Kind, std::string>>{{Kind::method, "freshCountFor:"},
                                                   {Kind::method, "gadgetSizeFor:"},
                                                   {Kind::classType, "Gadget"}}) {
        const std::string given = newName(nextNames, kind, added);
        ASSERT_FALSE(given.empty()) << added;
        EXPECT_FALSE(shipped.contains(given)) << added;
    }

    // The files the edit left alone are the last release's, byte for byte, and the edited ones
    // are the last release's with the edit in new names.
    const std::string widget = newName(lastNames, Kind::classType, "Widget");
    for (const std::string& path :
         {"Categories/" + widget + "+Extras.h", "Categories/" + widget + "+Extras.m",
          std::string("App/Constants.h"), std::string("Shop.xcodeproj/project.pbxproj")}) {
        EXPECT_EQ(readFile(next.path() / path), readFile(last.path() / path)) << path;
    }
    const std::string fresh = newName(nextNames, Kind::method, "freshCountFor:");
    std::string header = readFile(last.path() / ("Models/" + widget + ".h"));
    header.insert(header.rfind("@end"), "- (int)" + fresh + "(int)base;\n");
    EXPECT_EQ(readFile(next.path() / ("Models/" + widget + ".h")), header);
    const std::string delegate = newName(lastNames, Kind::classType, "AppDelegate");
    EXPECT_EQ(readFile(next.path() / ("App/" + delegate + ".h")),
              "#import <Foundation/Foundation.h>\n@interface " + delegate + " : NSObject\n@end\n");
}

TEST(Reuse, ANameThatMeansSomethingElseNowIsGivenAFreshOne) {
    TempDir last;
    writeWidgetShop(last);
    ASSERT_TRUE(rename(last, 5).complete());
    const NameTable lastNames = tableOf(last);
    const std::string widget = newName(lastNames, Kind::classType, "Widget");

    TempDir next;
    writeWidgetShop(next);
    next.write("App/Constants.h", "#define kStartCount 3\nstatic int " + widget + " = 1;\n");
    const auto report = rename(next, 9, last.str() + "/QuilletNames.tsv");
    ASSERT_TRUE(report.complete());
    ASSERT_EQ(report.renamedAfresh.size(), 1U);
    EXPECT_EQ(report.renamedAfresh[0].from, "Widget");
    const std::string given = newName(tableOf(next), Kind::classType, "Widget");
    EXPECT_NE(given, widget);
    EXPECT_FALSE(given.empty());
}

TEST(Reuse, ANamesFileThatCannotBeReadStopsTheRunBeforeAnythingIsWritten) {
    TempDir dir;
    writeWidgetShop(dir);
    const std::string before = treeDump(dir.path());
    for (const std::string& names : {dir.str() + "/none.tsv", dir.str() + "/App/Constants.h"}) {
        const auto report = rename(dir, 5, names);
        ASSERT_TRUE(report.refusal) << names;
        EXPECT_EQ(report.refusal->reason, RunRefusal::Reason::namesUnreadable);
        EXPECT_NE(report.refusal->detail.find(names), std::string::npos) << report.refusal->detail;
        EXPECT_EQ(treeDump(dir.path()), before);
    }
}

} // namespace
} // namespace quillet::test
