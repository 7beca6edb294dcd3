// A renamed class takes its files with it: the files move, the imports and the Xcode project
// follow, and a class whose files cannot all follow keeps every file name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <map>

#include "job/RenameJob.h"
#include "precise/XcodeProjectFile.h"
#include "random/RandomSource.h"
#include "support/Command.h"
#include "support/Files.h"
#include "support/WidgetShop.h"

namespace quillet::test {
namespace {

namespace stdfs = std::filesystem;

struct ClassRun {
    RunReport report;
    std::map<std::string, std::string> names; // old class -> new
};

ClassRun runClasses(const TempDir& dir, bool dryRun = false) {
    SeededRandom random(5);
    RunObserver quiet;
    auto options = classRunOf(dir);
    options.dryRun = dryRun;
    ClassRun run{RenameJob(random).run(options, quiet), {}};
    for (const auto& rename : run.report.typeRenames) {
        run.names.emplace(rename.from, rename.to);
    }
    return run;
}

const std::vector<std::string> widgetFiles = {"Models/Widget.h", "Models/Widget.m",
                                              "Categories/Widget+Extras.h",
                                              "Categories/Widget+Extras.m"};

std::string renamed(std::string path, const std::string& from, const std::string& to) {
    const auto at = path.rfind('/') + 1;
    return path.replace(at, from.size(), to);
}

TEST(ClassFiles, MoveWithTheirClassAndImportsAndTheXcodeProjectFollow) {
    TempDir dir;
    writeWidgetShop(dir);
    const auto run = runClasses(dir);
    ASSERT_FALSE(run.report.refusal);
    ASSERT_TRUE(run.report.complete());
    const std::string widget = run.names.at("Widget");
    const std::string delegate = run.names.at("AppDelegate");
    for (const auto& old : widgetFiles) {
        EXPECT_FALSE(stdfs::exists(dir.path() / old)) << old;
        EXPECT_TRUE(stdfs::exists(dir.path() / renamed(old, "Widget", widget))) << old;
    }
    EXPECT_EQ(readFile(dir.path() / "App/Constants.h"), "#define kStartCount 3\n");
    const std::string source = readFile(dir.path() / ("App/" + delegate + ".m"));
    EXPECT_NE(source.find("#import \"" + delegate + ".h\"\n#import \"Constants.h\"\n#import \"" +
                          widget + ".h\"\n#import \"Models/" + widget +
                          ".h\"\n#import \"../Categories/" + widget +
                          "+Extras.h\"\n#import <Categories/" + widget + "+Extras.h>\n"),
              std::string::npos)
        << source;
    EXPECT_TRUE(readFile(dir.path() / ("Categories/" + widget + "+Extras.h"))
                    .starts_with("#import \"../Models/" + widget + ".h\"\n"));

    const std::string pbxproj = readFile(dir.path() / "Shop.xcodeproj/project.pbxproj");
    EXPECT_EQ(pbxproj.find("Widget"), std::string::npos) << pbxproj;
    EXPECT_EQ(pbxproj.find("AppDelegate"), std::string::npos) << pbxproj;
    EXPECT_NE(pbxproj.find("path = \"" + widget + "+Extras.m\";"), std::string::npos);
    EXPECT_NE(pbxproj.find("/* " + widget + ".m in Sources */"), std::string::npos);
    const auto project = XcodeProjectFile::parse(pbxproj);
    ASSERT_TRUE(project);
    std::size_t located = 0;
    for (const auto& reference : project->references()) {
        if (reference.location) {
            ++located;
            EXPECT_TRUE(stdfs::is_regular_file(dir.path() / *reference.location))
                << *reference.location;
        }
    }
    EXPECT_EQ(located, 7U); // all but the SDK's framework

    const std::string table = readFile(dir.path() / "QuilletNames.tsv");
    const auto lastClass = table.rfind("class\t");
    for (const auto& old : widgetFiles) {
        const auto line = table.find("file\t" + old + "\t" + renamed(old, "Widget", widget) + "\n");
        EXPECT_NE(line, std::string::npos) << table;
        EXPECT_GT(line, lastClass);
    }
}

TEST(ClassFiles, StayWhereTheyAreInARunOfMethodsAlone) {
    TempDir dir;
    writeWidgetShop(dir);
    const std::string pbxproj = readFile(dir.path() / "Shop.xcodeproj/project.pbxproj");
    RunObserver quiet;
    auto options = classRunOf(dir);
    options.kinds = {};
    const auto report = RenameJob().run(options, quiet);
    ASSERT_TRUE(report.complete());
    for (const auto& old : widgetFiles) {
        EXPECT_TRUE(stdfs::exists(dir.path() / old)) << old;
    }
    EXPECT_EQ(readFile(dir.path() / "Shop.xcodeproj/project.pbxproj"), pbxproj);
    EXPECT_FALSE(stdfs::exists(dir.path() / "QuilletNames.tsv"));
}

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Widget keeps its file names and its imports in the project stay as they were; the other class
// takes its own files along unless `delegateKept`.
void expectWidgetFilesKept(const TempDir& dir, const ClassRun& run, bool delegateKept = false) {
    ASSERT_FALSE(run.report.refusal);
    EXPECT_TRUE(run.report.complete());
    for (const auto& old : widgetFiles) {
        EXPECT_TRUE(stdfs::exists(dir.path() / old)) << old;
    }
    const std::string delegate = delegateKept ? "AppDelegate" : run.names.at("AppDelegate");
    EXPECT_NE(readFile(dir.path() / ("App/" + delegate + ".m"))
                  .find("#import \"Widget.h\"\n#import \"Models/Widget.h\"\n"),
              std::string::npos);
    EXPECT_NE(readFile(dir.path() / "Shop.xcodeproj/project.pbxproj").find("path = Widget.m;"),
              std::string::npos);
    EXPECT_EQ(readFile(dir.path() / "QuilletNames.tsv").find("file\tModels/Widget"),
              std::string::npos);
    // The class itself is renamed all the same.
    EXPECT_NE(readFile(dir.path() / "Models/Widget.h").find("@interface " + run.names.at("Widget")),
              std::string::npos);
}

TEST(ClassFiles, KeepTheirNamesWhenANewOneIsTakenOnDisk) {
    std::string widget;
    {
        TempDir first;
        writeWidgetShop(first);
        widget = runClasses(first, true).names.at("Widget");
    }
    TempDir dir;
    writeWidgetShop(dir);
    // Another file of that name, as a file system blind to case sees it.
    dir.write("Categories/" + lowered(widget) + "+Extras.m", "// notes\n");
    const auto run = runClasses(dir);
    ASSERT_EQ(run.names.at("Widget"), widget);
    expectWidgetFilesKept(dir, run);
    EXPECT_TRUE(stdfs::exists(dir.path() / ("App/" + run.names.at("AppDelegate") + ".h")));
}

TEST(ClassFiles, KeepTheirNamesWhereTheRenameCannotFollowThem) {
    const std::map<std::string, std::function<void(const TempDir&)>> cases = {
        {"an import that may name another module's file",
         [](const TempDir& dir) {
             dir.write("App/Other.m",
                       "#import <OtherKit/Widget.h>\nint other(void) { return 1; }\n");
         }},
        {"a build setting naming the file",
         [](const TempDir& dir) {
             std::string pbxproj = readFile(dir.path() / "Shop.xcodeproj/project.pbxproj");
             pbxproj.replace(pbxproj.find("projectDirPath"), 0,
                             "attributes = {PREFIX = \"Models/Widget.h\"; }; ");
             writeFile(dir.path() / "Shop.xcodeproj/project.pbxproj", pbxproj);
         }},
        {"a link named after the class",
         [](const TempDir& dir) {
             stdfs::create_symlink("../Models/Widget.h", dir.path() / "App/Widget.h");
         }},
        {"a pod's pattern the new names would not match",
         [](const TempDir& dir) {
             dir.write("Shop.podspec", "Pod::Spec.new do |s|\n  s.source_files = "
                                       "'Models/Wid*.{h,m}', 'App/*.{h,m}'\nend\n");
         }},
        {"a pattern leaving out the category's files, which the new names would not",
         [](const TempDir& dir) {
             dir.write("Shop.podspec", "Pod::Spec.new do |s|\n  s.exclude_files = "
                                       "[\"Categories/Widget+*\"]\nend\n");
         }},
        {"a module map naming the header",
         [](const TempDir& dir) {
             dir.write("Models/module.modulemap",
                       "module Models {\n  header \"Widget.h\"\n  export *\n}\n");
         }},
    };
    for (const auto& [what, change] : cases) {
        SCOPED_TRACE(what);
        TempDir dir;
        writeWidgetShop(dir);
        change(dir);
        expectWidgetFilesKept(dir, runClasses(dir));
    }
}

TEST(ClassFiles, AnXcodeProjectThatDoesNotReadAsOneKeepsEveryFileName) {
    TempDir dir;
    writeWidgetShop(dir);
    std::string pbxproj = readFile(dir.path() / "Shop.xcodeproj/project.pbxproj");
    pbxproj.erase(pbxproj.rfind('}'));
    writeFile(dir.path() / "Shop.xcodeproj/project.pbxproj", pbxproj);
    const auto run = runClasses(dir);
    expectWidgetFilesKept(dir, run, true);
    EXPECT_EQ(readFile(dir.path() / "Shop.xcodeproj/project.pbxproj"), pbxproj);
}

TEST(ClassFiles, ADryRunShowsTheMovesAsAPatchThatGitApplies) {
    TempDir planned;
    writeWidgetShop(planned);
    const std::string before = treeDump(planned.path());
    const auto dry = runClasses(planned, true);
    ASSERT_FALSE(dry.report.refusal);
    EXPECT_EQ(treeDump(planned.path()), before); // nothing written
    std::string patch;
    for (const auto& change : dry.report.changes) {
        ASSERT_FALSE(change.diff.empty()) << change.path << ": " << change.note;
        patch += change.diff;
    }
    const std::string widget = dry.names.at("Widget");
    EXPECT_NE(patch.find("diff --git a/Models/Widget.h b/Models/" + widget +
                         ".h\nrename from Models/Widget.h\nrename to Models/" + widget + ".h\n"),
              std::string::npos)
        << patch;

    TempDir written;
    writeWidgetShop(written);
    ASSERT_TRUE(runClasses(written).report.complete());
    stdfs::remove(written.path() / "MethodReplaceList.txt");
    stdfs::remove(written.path() / "QuilletNames.tsv");
    TempDir scratch;
    writeFile(scratch.path() / "changes.patch", patch);
    const auto applied = runCommand("cd " + shellQuoted(planned.str()) + " && git apply " +
                                        shellQuoted((scratch.path() / "changes.patch").string()),
                                    scratch);
    ASSERT_EQ(applied.exitCode, 0) << applied.err << patch;
    EXPECT_EQ(treeDump(planned.path()), treeDump(written.path()));
}

} // namespace
} // namespace quillet::test
