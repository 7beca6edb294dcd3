// A program must run the same after every kind of name is renamed: one that looks classes up by
// name, checks conformance, observes a property by key and reads back an archive an earlier
// build wrote is built with gcc's Objective-C against GNUstep Base and run before and after
// quillet-cli renames every kind.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/Command.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

class RenamedProgram : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef __linux__
        GTEST_SKIP() << "the program is built with GNUstep Base, set up on Linux only";
#endif
        fs::copy(QUILLET_PROGRAM_PROJECT, project(), fs::copy_options::recursive);
    }

    std::string project() const {
        return (root_.path() / "GadgetShop").string();
    }

    CommandResult buildAndRun() const {
        return runCommand("bash " + shellQuoted(QUILLET_PROGRAM_SCRIPT) + " " +
                              shellQuoted(project()) + " " +
                              shellQuoted((root_.path() / "keepsake.archive").string()),
                          scratch_);
    }

    TempDir root_;
    TempDir home_;
    TempDir scratch_;
};

TEST_F(RenamedProgram, RunsTheSameAfterEveryKindIsRenamed) {
    const auto before = buildAndRun();
    ASSERT_EQ(before.exitCode, 0) << before.err;
    ASSERT_NE(before.out.find("archive: saved before"), std::string::npos) << before.out;

    const auto rename =
        runCommand("HOME=" + shellQuoted(home_.str()) + " " + shellQuoted(QUILLET_CLI_PATH) +
                       " rename " + shellQuoted(project()) +
                       " --random --no-backup --quiet --class-prefix Zq --kinds "
                       "methods,unary,properties,classes,protocols",
                   scratch_);
    ASSERT_EQ(rename.exitCode, 0) << rename.err;
    const std::string table = readFile(project() + "/QuilletNames.tsv");
    for (const char* renamed :
         {"class\tGadget\tZq", "class\tSmartGadget\tZq", "class\tGadgetKeeper\tZq",
          "protocol\tGadgetOwner\tZq", "method\tdescribeWith:\t", "class\tTracker\tZq",
          "property\ttrackedLabel\t", "file\tModel/Tracker.h\tModel/Zq"}) {
        EXPECT_NE(table.find(renamed), std::string::npos) << renamed << " in\n" << table;
    }
    // The archive names the class: it keeps its name, so the renamed build still reads it.
    EXPECT_EQ(table.find("\tKeepsake\t"), std::string::npos) << table;
    // A getter of its own name is left to the property's declaration; a key read from outside
    // the class may name another object's key.
    EXPECT_EQ(table.find("property\tactive\t"), std::string::npos) << table;
    EXPECT_EQ(table.find("property\tchanges\t"), std::string::npos) << table;
    EXPECT_FALSE(fs::exists(project() + "/Model/Tracker.h"));
    EXPECT_EQ(readFile(project() + "/App/main.m").find("@\"SmartGadget\""), std::string::npos);

    const auto after = buildAndRun();
    ASSERT_EQ(after.exitCode, 0) << after.err;
    EXPECT_EQ(after.out, before.out);
}

} // namespace
} // namespace quillet::test
