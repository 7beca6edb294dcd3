#include <filesystem>
#include <regex>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "log/Console.h"
#include "log/Log.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

const std::regex headerLine(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} in ConsoleTest\.cpp )"
                            R"(\S+ \[Line \d+\]:)");

TEST(Console, EntriesAreAHeaderAndOneLinePerValueSeparatedByAnEmptyLine) {
    Console::shared().clear();
    QLOG("first", 2);
    QLOG_AS("replace(factor:)", std::string("second"));
    const std::string text = readFile(Console::shared().path());
    const auto firstBreak = text.find('\n');
    ASSERT_NE(firstBreak, std::string::npos);
    EXPECT_TRUE(std::regex_match(text.substr(0, firstBreak), headerLine)) << text;
    const auto secondHeader = text.find("\n\n");
    ASSERT_NE(secondHeader, std::string::npos);
    EXPECT_EQ(text.substr(firstBreak + 1, secondHeader - firstBreak - 1), "first\n2");
    EXPECT_NE(text.find(" replace(factor:) [Line "), std::string::npos);
    EXPECT_TRUE(text.ends_with("]:\nsecond\n")) << text;
}

TEST(Console, ABatchReadsLikeTheSameEntriesLoggedOneByOne) {
    Console::shared().clear();
    LogBatch batch;
    batch.add(QLOG_SITE("f"), "a");
    batch.add(QLOG_SITE("f"), "b");
    batch.commit();
    batch.add(QLOG_SITE("g"), "c");
    batch.commit();
    const std::string text = readFile(Console::shared().path());
    std::smatch parts;
    const std::regex shape(R"(([^\n]+)\na\n\n([^\n]+)\nb\n\n([^\n]+)\nc\n)");
    ASSERT_TRUE(std::regex_match(text, parts, shape)) << text;
    EXPECT_NE(parts[1].str().find(" f [Line "), std::string::npos);
    EXPECT_EQ(parts[1].str().substr(0, 23), parts[2].str().substr(0, 23)); // one time per batch
    EXPECT_NE(parts[3].str().find(" g [Line "), std::string::npos);
}

TEST(Console, AnEarlierLogIsKeptAndAFileChangedBehindItsBackIsWrittenWhole) {
    TempDir dir;
    const auto path = (dir.path() / "log.txt").string();
    writeFile(path, "earlier run");
    {
        Console console(path);
        console.save("one");
        EXPECT_EQ(readFile(path), "earlier run\none");
        writeFile(path, "someone else");
        console.save("two");
        EXPECT_EQ(readFile(path), "earlier run\none\ntwo");
        console.clear();
        console.save("three");
        EXPECT_EQ(readFile(path), "three");
    }
}

TEST(Console, WithSavingOffEntriesAreDroppedForGoodAndTheFileIsLeftAlone) {
    TempDir dir;
    const auto path = (dir.path() / "log.txt").string();
    writeFile(path, "earlier run");
    Console console(path);
    console.setSaving(false);
    console.save("dropped");
    console.saveJoined("dropped too\nand this", 2);
    EXPECT_EQ(readFile(path), "earlier run");
    console.setSaving(true);
    console.save("kept");
    EXPECT_EQ(readFile(path), "earlier run\nkept");
}

TEST(Console, AFailingLogFileIsReportedOnceAndLaterSavesRecover) {
    TempDir dir;
    const auto folder = dir.path() / "locked";
    fs::create_directories(folder);
    const auto path = (folder / "log.txt").string();
    Console console(path);
    console.clear();
    console.save("kept");
    // A folder in place of the file makes every write fail, even as root.
    fs::remove(path);
    fs::create_directory(path);
    console.save("lost one");
    console.save("lost two");
    fs::remove(path);
    console.save("back");
    const std::string text = readFile(path);
    EXPECT_TRUE(text.starts_with("kept\nlost one\nlost two\nback")) << text;
    std::size_t reports = 0;
    for (auto at = text.find("save(_:)"); at != std::string::npos;
         at = text.find("save(_:)", at + 1)) {
        ++reports;
    }
    EXPECT_LE(reports, 1u) << text;
}

} // namespace
} // namespace quillet::test
