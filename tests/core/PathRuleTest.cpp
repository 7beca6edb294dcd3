#include <gtest/gtest.h>

#include "paths/PathRule.h"

using namespace quillet;

TEST(PathRule, AcceptsOnlyPlainAsciiPathCharacters) {
    for (const char* path : {"/", "work/Demo-App_2.0/", "relative/path", "a"}) {
        EXPECT_TRUE(isAcceptedPath(path)) << path;
    }
    for (const char* path : {"", "work/My App", "work/项目", "/tmp/a;rm -rf b", "/tmp/$HOME",
                             "/tmp/a\nb", "/tmp/a\\b", "/tmp/~me", "/tmp/a'b"}) {
        EXPECT_FALSE(isAcceptedPath(path)) << path;
    }
}
