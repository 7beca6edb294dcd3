#include <gtest/gtest.h>

#include <cstdlib>

#include "log/Console.h"
#include "paths/HomeFolder.h"
#include "settings/Cacher.h"
#include "settings/SettingModel.h"
#include "support/EngineRun.h"
#include "support/Files.h"

using namespace quillet;
using quillet::test::TempDir;

namespace {

// A cacher over a store of its own, with the run log emptied.
class Settings : public ::testing::Test {
protected:
    Settings() : store_((dir_.path() / "Defaults.json").string()), cacher_(store_) {
        Console::shared().clear();
    }
    std::vector<std::string> logged() const {
        return test::logValues(test::readFile(Console::shared().path()));
    }

    TempDir dir_;
    DefaultsStore store_;
    Cacher cacher_;
};

} // namespace

TEST_F(Settings, NothingStoredGivesTheDefaultsWithoutALogLine) {
    const auto model = cacher_.read<SettingModel>();
    EXPECT_EQ(model.backupPath, std::string(std::getenv("HOME")) + "/Quillet/Backup");
    EXPECT_EQ(model.methodPrefix, "");
    EXPECT_TRUE(logged().empty());
}

TEST_F(Settings, SavedRecordReadsBackUnderItsOneKeyAndBothAreLogged) {
    SettingModel model;
    model.backupPath = "/data/backups";
    model.methodPrefix = "";
    (void)cacher_.save(model);
    model.methodPrefix = "my_";
    (void)cacher_.save(model);

    DefaultsStore reread(store_.path());
    ASSERT_TRUE(reread.object("SettingModel"));
    EXPECT_TRUE(std::holds_alternative<BinaryData>(*reread.object("SettingModel")));
    const auto document = nlohmann::json::parse(test::readFile(store_.path()));
    EXPECT_EQ(document.size(), 1u);

    Cacher other(reread);
    const auto back = other.read<SettingModel>();
    EXPECT_EQ(back.backupPath, "/data/backups");
    EXPECT_EQ(back.methodPrefix, "my_");
    EXPECT_EQ(logged(), (std::vector<std::string>{"save SettingModel", "save SettingModel",
                                                  "Read SettingModel"}));
}

TEST_F(Settings, AnEmptyPrefixComesBackEmpty) {
    SettingModel model;
    model.methodPrefix = "";
    (void)cacher_.save(model);
    EXPECT_EQ(cacher_.read<SettingModel>().methodPrefix, "");
}

TEST_F(Settings, DamagedOrPartialRecordsKeepTheDefaultForWhatIsMissing) {
    const std::string home = std::string(std::getenv("HOME")) + "/Quillet/Backup";
    (void)store_.setObject("SettingModel", BinaryData{R"({"methodPrefix": "x"})"});
    EXPECT_EQ(cacher_.read<SettingModel>().backupPath, home);
    EXPECT_EQ(cacher_.read<SettingModel>().methodPrefix, "x");

    (void)store_.setObject("SettingModel",
                           BinaryData{R"({"backupPath": 7, "methodPrefix": null})"});
    EXPECT_EQ(cacher_.read<SettingModel>().backupPath, home);
    EXPECT_EQ(cacher_.read<SettingModel>().methodPrefix, "");

    (void)store_.setObject("SettingModel", BinaryData{"\x01not an archive"});
    EXPECT_EQ(cacher_.read<SettingModel>().backupPath, home);

    // Text instead of binary data is not a record at all.
    (void)store_.setObject("SettingModel", std::string(R"({"methodPrefix": "x"})"));
    EXPECT_EQ(cacher_.read<SettingModel>().methodPrefix, "");
}

TEST_F(Settings, TheRenameModeAndProtectionListsRoundTripAndOlderRecordsDecodeWithout) {
    (void)store_.setObject("SettingModel",
                           BinaryData{R"({"backupPath": "/b", "methodPrefix": "p"})"});
    const auto older = cacher_.read<SettingModel>();
    EXPECT_TRUE(older.preciseMode);
    EXPECT_TRUE(older.sdkFolders.empty());
    EXPECT_EQ(older.backupPath, "/b");
    EXPECT_EQ(older.classPrefix, "");
    EXPECT_FALSE(older.renameUnary || older.renameProperties || older.renameClasses ||
                 older.renameProtocols);

    SettingModel model;
    model.preciseMode = false;
    model.classPrefix = "Zq";
    model.renameProperties = true;
    model.renameProtocols = true;
    model.sdkFolders = {"/sdk/one", "/sdk/two"};
    model.protectedSelectors = {"keep:"};
    model.reusedNames = {{"/src/Shop", "/names/Shop-1.2.tsv"}};
    (void)cacher_.save(model);
    const auto back = cacher_.read<SettingModel>();
    EXPECT_FALSE(back.preciseMode);
    EXPECT_EQ(back.classPrefix, "Zq");
    EXPECT_TRUE(back.renameProperties && back.renameProtocols);
    EXPECT_FALSE(back.renameUnary || back.renameClasses);
    EXPECT_EQ(back.sdkFolders, model.sdkFolders);
    EXPECT_EQ(back.protectedSelectors, model.protectedSelectors);
    EXPECT_EQ(back.reusedNames, model.reusedNames);

    // Values of another type keep the defaults; strings among other things in a list are kept.
    (void)store_.setObject("SettingModel",
                           BinaryData{R"({"preciseMode": "no", "renameClasses": 1, )"
                                      R"("classPrefix": ["Zq"], "sdkFolders": ["/a", 3, null], )"
                                      R"("reusedNames": {"/p": "/n.tsv", "/q": 4}})"});
    const auto odd = cacher_.read<SettingModel>();
    EXPECT_TRUE(odd.preciseMode);
    EXPECT_FALSE(odd.renameClasses);
    EXPECT_EQ(odd.classPrefix, "");
    EXPECT_EQ(odd.sdkFolders, (std::vector<std::string>{"/a"}));
    EXPECT_EQ(odd.reusedNames, (std::map<std::string, std::string>{{"/p", "/n.tsv"}}));
}

TEST(StandardStorePath, FollowsTheConfigurationFolderOfThePlatform) {
    const std::string home = std::getenv("HOME");
#ifdef __APPLE__
    EXPECT_EQ(DefaultsStore::standardPath(),
              home + "/Library/Application Support/Quillet/Defaults.json");
#else
    ::setenv("XDG_CONFIG_HOME", "/config/here", 1);
    EXPECT_EQ(DefaultsStore::standardPath(), "/config/here/Quillet/Defaults.json");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(DefaultsStore::standardPath(), home + "/.config/Quillet/Defaults.json");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(DefaultsStore::standardPath(), home + "/.config/Quillet/Defaults.json");
#endif
}

TEST(StandardStorePath, WithoutHomeTheSettingsAndTheLogShareTheUsersHomeFolder) {
    const std::string home = std::getenv("HOME");
    ::unsetenv("HOME");
    const std::string folder = homeFolder();
    const std::string settings = DefaultsStore::standardPath();
    ::setenv("HOME", home.c_str(), 1);
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder, home);
    EXPECT_TRUE(settings.starts_with(folder + "/")) << settings;
    EXPECT_NE(settings.rfind("/.config/", 0), 0u) << "not below the file system's root";
}

TEST_F(Settings, AFolderNameThatIsNotUtf8IsKeptWithAReplacementCharacter) {
    SettingModel model;
    model.sdkFolders = {"/sdk/caf\xe9"};
    ASSERT_TRUE(cacher_.save(model));
    EXPECT_EQ(cacher_.read<SettingModel>().sdkFolders, std::vector<std::string>{"/sdk/caf\uFFFD"});
}
