// Projects a renamer meets in the wild: huge and odd files, deep folders, long lines.
#include <filesystem>

#include <gtest/gtest.h>

#include "engine/MRenameTool.h"
#include "support/EngineRun.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

const std::string header = "- (void)fooWithName:(NSString *)name count:(int)count;\n";
const RenamePair fooPair = renamePair("fooWithName:count:", "Foo.h", "xxApple:river:");

TEST(BadInput, FileOverTheSizeLimitIsSkippedWithoutBeingRead) {
    TempDir dir;
    dir.write("Foo.h", header);
    dir.write("Foo.m", "");
    const auto huge = dir.write("Generated.m", "");
    fs::resize_file(huge, (256u << 20) + 1); // sparse: no time spent writing it

    MRenameTool tool;
    scan(tool, dir.str());
    tool.replace({fooPair});
    const auto files = tool.files();
    const auto it = std::find_if(files.begin(), files.end(),
                                 [](const ProjectFile* f) { return f->inFile() == "Generated.m"; });
    ASSERT_NE(it, files.end());
    EXPECT_FALSE((*it)->readable());
    EXPECT_EQ(fs::file_size(huge), (256u << 20) + 1);
}

TEST(BadInput, DeepFoldersAreWalkedAndTheirFilesRenamed) {
    TempDir dir;
    dir.write("Foo.h", header);
    dir.write("Foo.m", "");
    std::string deep;
    for (int level = 0; level < 150; ++level) {
        deep += "d/";
    }
    const auto user = dir.write(
        deep + "User.m", "#import \"Foo.h\"\nvoid f(id o) { [o fooWithName:nil count:1]; }\n");
    MRenameTool tool;
    scan(tool, dir.str());
    tool.replace({fooPair});
    EXPECT_EQ(readFile(user), "#import \"Foo.h\"\nvoid f(id o) { [o xxApple:nil river:1]; }\n");
}

TEST(BadInput, VeryLongLinesAreHandled) {
    TempDir dir;
    // A generated header: one line of declarations, megabytes long.
    std::string line;
    for (int i = 0; i < 40000; ++i) {
        line += "- (void)method" + std::to_string(i) + ":(int)a value:(int)b; ";
    }
    dir.write("Foo.h", line + "\n" + header);
    std::string calls = "#import \"Foo.h\"\nvoid f(id o) {";
    for (int i = 0; i < 40000; ++i) {
        calls += " [o fooWithName:nil count:" + std::to_string(i) + "]; (a - (b + c));";
    }
    dir.write("Foo.m", calls + "}\n");
    MRenameTool tool;
    scan(tool, dir.str());
    // Declarations are read a line at a time, so the long line makes one (odd) method, and the
    // declaration after it is still found.
    const auto& methods = tool.allMethodNames();
    ASSERT_EQ(methods.size(), 2u);
    EXPECT_EQ(methods[0].elements.front(), "method0:");
    EXPECT_EQ(methods[1].selector(), "fooWithName:count:");
    tool.replace({fooPair});
    const std::string result = readFile(dir.path() / "Foo.m");
    EXPECT_EQ(result.find("fooWithName:"), std::string::npos);
    EXPECT_NE(result.find(" [o xxApple:nil river:39999]"), std::string::npos);
}

} // namespace
} // namespace quillet::test
