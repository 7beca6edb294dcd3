// Unified diffs as a user reviews them, checked by applying them with patch.
#include <cstdlib>

#include <gtest/gtest.h>

#include "support/Files.h"
#include "text/UnifiedDiff.h"

namespace quillet::test {
namespace {

// Applies `diff` to a file holding `before` with patch(1) and returns the result.
std::string patched(const std::string& before, const std::string& diff) {
    TempDir dir;
    dir.write("a/Sub Folder/File.m", before);
    const std::string patchFile = dir.write("change.diff", diff);
    const std::string command =
        "cd '" + dir.str() + "/a' && patch -s -p1 < '" + patchFile + "' > /dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << diff;
    return readFile(dir.path() / "a/Sub Folder/File.m");
}

std::string numbered(int from, int to, const std::string& end = "\n") {
    std::string text;
    for (int i = from; i <= to; ++i) {
        text += "line " + std::to_string(i) + end;
    }
    return text;
}

TEST(UnifiedDiff, EqualTextsGiveNothing) {
    EXPECT_EQ(text::unifiedDiff("a\nb\n", "a\nb\n", "a/x", "b/x"), "");
    EXPECT_EQ(text::unifiedDiff("", "", "a/x", "b/x"), "");
}

TEST(UnifiedDiff, ChangedLinesWithTheirContextInHunks) {
    std::string before = numbered(1, 20);
    std::string after = before;
    after.replace(after.find("line 2\n"), 7, "LINE 2\n");
    after.replace(after.find("line 4\n"), 7, "LINE 4\n");
    after.replace(after.find("line 18\n"), 8, "LINE 18\n");
    const std::string diff =
        text::unifiedDiff(before, after, "a/Sub Folder/File.m", "b/Sub Folder/File.m");
    EXPECT_EQ(diff, "--- a/Sub Folder/File.m\t\n+++ b/Sub Folder/File.m\t\n"
                    "@@ -1,7 +1,7 @@\n line 1\n-line 2\n+LINE 2\n line 3\n-line 4\n+LINE 4\n"
                    " line 5\n line 6\n line 7\n"
                    "@@ -15,6 +15,6 @@\n line 15\n line 16\n line 17\n-line 18\n+LINE 18\n"
                    " line 19\n line 20\n");
    EXPECT_EQ(patched(before, diff), after);
}

TEST(UnifiedDiff, AddedRemovedAndUnterminatedLinesStillApply) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {numbered(1, 9), numbered(1, 4) + "new\nlines\n" + numbered(6, 9)},
        {numbered(1, 9), numbered(1, 3) + numbered(7, 9)},
        {"only\n", ""},
        {"", "fresh\n"},
        {"no end", "no end\n"},
        {numbered(1, 5) + "tail", numbered(1, 5) + "tale"},
        {numbered(1, 6, "\r\n"), numbered(1, 2, "\r\n") + "x\r\n" + numbered(4, 6, "\r\n")},
    };
    for (const auto& [before, after] : cases) {
        const std::string diff =
            text::unifiedDiff(before, after, "a/Sub Folder/File.m", "b/Sub Folder/File.m");
        ASSERT_FALSE(diff.empty());
        EXPECT_EQ(patched(before, diff), after) << diff;
    }
    EXPECT_NE(
        text::unifiedDiff("no end", "no end\n", "a", "b").find("\\ No newline at end of file"),
        std::string::npos);
}

} // namespace
} // namespace quillet::test
