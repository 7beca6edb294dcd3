// SDK folders: parsed once, then read from the cache until a header changes.
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "precise/ProtectionSetup.h"
#include "precise/SdkSelectors.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

class SdkSelectors : public ::testing::Test {
protected:
    void SetUp() override {
        sdk_.write("Frameworks/Foundation.framework/Headers/NSString.h",
                   "NS_ASSUME_NONNULL_BEGIN\n@interface NSString : NSObject\n"
                   "+ (instancetype)stringWithFormat:(NSString *)format, ... "
                   "NS_FORMAT_FUNCTION(1,2);\n- (NSUInteger)length;\n"
                   "- (void)getCharacters:(unichar *)buffer range:(NSRange)range "
                   "API_AVAILABLE(ios(4.0));\n@end\n");
        sdk_.write("usr/include/objc/NSObject.h",
                   "@protocol NSObject\n- (BOOL)isEqual:(id)object;\n@end\n"
                   "// - (void)inComment:(int)x;\n");
        sdk_.write("usr/include/notes.txt", "- (void)notAHeader:(int)x;\n");
    }

    SdkSelectorCache cache() const { return SdkSelectorCache(cache_.str()); }

    TempDir sdk_;
    TempDir cache_;
};

TEST_F(SdkSelectors, EveryHeaderBelowTheFolderIsReadWithTheLexer) {
    const auto read = cache().load(sdk_.str());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->headers, 2u);
    EXPECT_FALSE(read->fromCache);
    EXPECT_EQ(read->selectors,
              (SelectorSet{"stringWithFormat:", "getCharacters:range:", "isEqual:", "length"}));
    EXPECT_EQ(read->withKeywords, 3u);
}

TEST_F(SdkSelectors, PropertiesGiveTheirNamesAndGettersButNotTheirSetters) {
    sdk_.write("usr/include/objc/View.h",
               "@interface View\n@property (nonatomic, readonly) CGRect frame;\n"
               "@property (getter=isHidden, setter=setHiddenNow:) BOOL hidden;\n"
               "@property (copy) NSString *title, *subtitle;\n- (void)layoutSubviews;\n@end\n");
    const auto read = cache().load(sdk_.str());
    ASSERT_TRUE(read);
    for (const char* name :
         {"frame", "isHidden", "hidden", "title", "subtitle", "layoutSubviews"}) {
        EXPECT_TRUE(read->selectors.contains(name)) << name;
    }
    EXPECT_FALSE(read->selectors.contains("setHiddenNow:"));
    EXPECT_EQ(read->withKeywords, 3u);
    EXPECT_EQ(cache().load(sdk_.str())->selectors, read->selectors);
}

TEST_F(SdkSelectors, TheCacheServesUntilAHeaderIsAddedOrChanged) {
    ASSERT_FALSE(cache().load(sdk_.str())->fromCache);
    const auto again = cache().load(sdk_.str() + "/");
    EXPECT_TRUE(again->fromCache);
    EXPECT_EQ(again->selectors.size(), 4u);

    sdk_.write("usr/include/objc/Extra.h", "@interface X\n- (void)extra:(int)e;\n@end\n");
    const auto added = cache().load(sdk_.str());
    EXPECT_FALSE(added->fromCache);
    EXPECT_TRUE(added->selectors.contains("extra:"));
    EXPECT_TRUE(cache().load(sdk_.str())->fromCache);

    writeFile(sdk_.path() / "usr/include/objc/Extra.h",
              "@interface X\n- (void)another:(int)e;\n@end\n");
    const auto changed = cache().load(sdk_.str());
    EXPECT_FALSE(changed->fromCache);
    EXPECT_TRUE(changed->selectors.contains("another:"));
    EXPECT_FALSE(changed->selectors.contains("extra:"));
}

TEST_F(SdkSelectors, ADamagedCacheFileIsParsedAgainAndAMissingFolderIsNothing) {
    cache().load(sdk_.str());
    writeFile(cache().cacheFileOf(sdk_.str()), "garbage\n");
    const auto read = cache().load(sdk_.str());
    EXPECT_FALSE(read->fromCache);
    EXPECT_EQ(read->selectors.size(), 4u);
    EXPECT_FALSE(cache().load(sdk_.str() + "/missing"));
}

TEST_F(SdkSelectors, ProtectionGathersTheGivenFoldersAndLists) {
    TempDir lists;
    const std::string list =
        lists.write("keep.txt", "# keep these\n  keepMe:\r\n\nandThis:with:\n");
    auto prepared = prepareProtection({{sdk_.str()}, {list}, {"fromSettings:"}}, cache_.str());
    ASSERT_TRUE(prepared) << prepared.error().message;
    EXPECT_TRUE(prepared->inputs.sdk->contains("isEqual:"));
    EXPECT_EQ(prepared->inputs.userList,
              (SelectorSet{"keepMe:", "andThis:with:", "fromSettings:"}));
    ASSERT_FALSE(prepared->sdks.empty());
    EXPECT_EQ(prepared->sdks.back().folder, sdk_.str());
    EXPECT_EQ(prepared->sdks.back().headers, 2u);
    EXPECT_EQ(prepared->sdks.back().selectors, 3u); // with keywords, as reports always counted

    const auto missingFolder = prepareProtection({{sdk_.str() + "/none"}, {}, {}}, cache_.str());
    ASSERT_FALSE(missingFolder);
    EXPECT_EQ(missingFolder.error().message, "cannot read the SDK folder " + sdk_.str() + "/none");
    const auto missingList = prepareProtection({{}, {lists.str() + "/none.txt"}, {}}, cache_.str());
    ASSERT_FALSE(missingList);
    EXPECT_NE(missingList.error().message.find("cannot read the selector list"), std::string::npos);
}

} // namespace
} // namespace quillet::test
