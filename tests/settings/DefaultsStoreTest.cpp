#include <gtest/gtest.h>

#include <filesystem>

#include <sys/wait.h>
#include <unistd.h>

#include "defaults/DefaultsStore.h"
#include "log/Console.h"
#include "support/Files.h"

using namespace quillet;
using quillet::test::readFile;
using quillet::test::TempDir;
using quillet::test::writeFile;

namespace stdfs = std::filesystem;

namespace {

std::string documentIn(const TempDir& dir) {
    return (dir.path() / "Quillet" / "Defaults.json").string();
}

std::vector<stdfs::path> asideCopies(const TempDir& dir) {
    std::vector<stdfs::path> found;
    for (const auto& entry : stdfs::directory_iterator(dir.path() / "Quillet")) {
        if (entry.path().filename().string().starts_with("Defaults.json.corrupt-")) {
            found.push_back(entry.path());
        }
    }
    return found;
}

} // namespace

TEST(DefaultsStore, EveryKindOfValueSurvivesANewProcess) {
    TempDir dir;
    const BinaryData data{std::string("\0\x01\xff text", 8)};
    {
        DefaultsStore store(documentIn(dir));
        EXPECT_TRUE(store.setObject("text", std::string("备份 & more")));
        EXPECT_TRUE(store.setObject("flag", false));
        EXPECT_TRUE(store.setValue("whole", std::int64_t{-42}));
        EXPECT_TRUE(store.setObject("fraction", 0.25));
        EXPECT_TRUE(store.setObject("data", data));
        EXPECT_TRUE(store.setObject("gone", std::string("x")));
        EXPECT_TRUE(store.removeObject("gone"));
    }
    DefaultsStore reread(documentIn(dir));
    EXPECT_EQ(reread.object("text"), DefaultsValue(std::string("备份 & more")));
    EXPECT_EQ(reread.object("flag"), DefaultsValue(false));
    EXPECT_EQ(reread.object("whole"), DefaultsValue(std::int64_t{-42}));
    EXPECT_EQ(reread.object("fraction"), DefaultsValue(0.25));
    EXPECT_EQ(reread.object("data"), DefaultsValue(data));
    EXPECT_EQ(reread.object("gone"), std::nullopt);
}

TEST(DefaultsStore, RegisteredDefaultsAnswerOnlyForEmptyKeysAndAreNeverWritten) {
    TempDir dir;
    DefaultsStore store(documentIn(dir));
    store.registerDefaults({{"NSApplicationCrashOnExceptions", true}, {"kept", std::string("a")}});
    (void)store.setObject("kept", std::string("b"));
    EXPECT_EQ(store.object("NSApplicationCrashOnExceptions"), DefaultsValue(true));
    EXPECT_EQ(store.object("kept"), DefaultsValue(std::string("b")));
    EXPECT_EQ(readFile(documentIn(dir)).find("NSApplicationCrashOnExceptions"), std::string::npos);
}

TEST(DefaultsStore, AChangeKeepsWhatAnotherStoreWroteMeanwhile) {
    TempDir dir;
    DefaultsStore app(documentIn(dir));
    DefaultsStore cli(documentIn(dir));
    EXPECT_EQ(app.object("fromCli"), std::nullopt); // the app has read the document now
    (void)cli.setObject("fromCli", std::string("cli"));
    (void)app.setObject("fromApp", std::string("app"));
    // The app's write merged the cli's key in, and it sees it without synchronizing.
    EXPECT_EQ(app.object("fromCli"), DefaultsValue(std::string("cli")));
    EXPECT_EQ(cli.object("fromApp"), std::nullopt);
    EXPECT_TRUE(cli.synchronize());
    EXPECT_EQ(cli.object("fromApp"), DefaultsValue(std::string("app")));
}

TEST(DefaultsStore, TwoProcessesWritingAtOnceLoseNoKey) {
    TempDir dir;
    const std::string path = documentIn(dir);
    constexpr int kKeys = 60;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    const std::string who = child == 0 ? "child" : "parent";
    {
        DefaultsStore store(path);
        for (int i = 0; i < kKeys; ++i) {
            (void)store.setObject(who + std::to_string(i), std::int64_t{i});
        }
    }
    if (child == 0) {
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    DefaultsStore reread(path);
    for (int i = 0; i < kKeys; ++i) {
        EXPECT_EQ(reread.object("child" + std::to_string(i)), DefaultsValue(std::int64_t{i}));
        EXPECT_EQ(reread.object("parent" + std::to_string(i)), DefaultsValue(std::int64_t{i}));
    }
}

TEST(DefaultsStore, ADamagedDocumentIsMovedAsideAndTheStoreStartsEmpty) {
    for (const std::string& damaged : {std::string("{\"a\": \"b\""), std::string("[1, 2]"),
                                       std::string("\xff\xfe{}", 4), std::string()}) {
        TempDir dir;
        const std::string path = documentIn(dir);
        dir.write("Quillet/Defaults.json", damaged);
        DefaultsStore store(path);
        EXPECT_EQ(store.object("a"), std::nullopt);
        const auto aside = asideCopies(dir);
        ASSERT_EQ(aside.size(), 1u) << damaged;
        EXPECT_EQ(readFile(aside.front()), damaged); // kept, byte for byte
        EXPECT_NE(readFile(Console::shared().path()).find("kept as " + aside.front().string()),
                  std::string::npos);
        EXPECT_TRUE(store.setObject("a", std::string("fresh")));
        EXPECT_EQ(DefaultsStore(path).object("a"), DefaultsValue(std::string("fresh")));
    }
}

TEST(DefaultsStore, ValuesItDidNotWriteAreIgnoredButKept) {
    TempDir dir;
    const std::string path = documentIn(dir);
    dir.write("Quillet/Defaults.json",
              R"({"list": [1, 2], "data": {"base64": "not base64!"}, "ok": "yes"})");
    DefaultsStore store(path);
    EXPECT_EQ(store.object("list"), std::nullopt);
    EXPECT_EQ(store.object("data"), std::nullopt);
    (void)store.setObject("new", std::string("value"));
    const std::string written = readFile(path);
    EXPECT_NE(written.find("\"list\""), std::string::npos);
    EXPECT_NE(written.find("not base64!"), std::string::npos);
    EXPECT_EQ(DefaultsStore(path).object("ok"), DefaultsValue(std::string("yes")));
}

TEST(DefaultsStore, AFolderThatCannotBeCreatedKeepsTheValueForThisProcessOnly) {
    TempDir dir;
    writeFile(dir.path() / "file", "a file where the folder should be");
    DefaultsStore store((dir.path() / "file" / "Defaults.json").string());
    EXPECT_FALSE(store.setObject("key", std::string("value")));
    EXPECT_EQ(store.object("key"), DefaultsValue(std::string("value")));
}

// JSON holds UTF-8 only: such a text once ended the program with an exception from the writer.
TEST(DefaultsStore, TextThatIsNotUtf8FailsItsOwnSaveAndLeavesTheFileAsItWas) {
    TempDir dir;
    const std::string path = documentIn(dir);
    DefaultsStore store(path);
    ASSERT_TRUE(store.setObject("kept", std::string("value")));
    const std::string before = readFile(path);
    const auto refused = store.setObject("bad", std::string("caf\xe9"));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().message, "The value of bad is not UTF-8 text");
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(store.object("bad"), DefaultsValue(std::string("caf\xe9")));
    EXPECT_TRUE(store.setObject("next", std::string("fine")));
    EXPECT_EQ(DefaultsStore(path).object("next"), DefaultsValue(std::string("fine")));
}
