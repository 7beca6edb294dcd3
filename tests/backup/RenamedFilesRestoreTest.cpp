// Restoring after a run that moved a class's files gives the project back as it was: the files
// under their new names go, with or without cleaning, and the old ones come back.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "backup/BackupRestore.h"
#include "job/RenameJob.h"
#include "support/Files.h"
#include "support/WidgetShop.h"

namespace quillet::test {
namespace {

TEST(RenamedFilesRestore, GivesBackTheTreeAsItWasBeforeTheRename) {
    for (const bool clean : {false, true}) {
        SCOPED_TRACE(clean ? "clean" : "keeping what was added");
        TempDir dir;
        TempDir backups;
        writeWidgetShop(dir);
        const std::string before = treeDump(dir.path());
        auto options = classRunOf(dir);
        options.backupDirectory = backups.str();
        RunObserver quiet;
        const auto report = RenameJob().run(options, quiet);
        ASSERT_TRUE(report.complete());
        ASSERT_TRUE(report.backup && report.backup->ok());
        ASSERT_FALSE(std::filesystem::exists(dir.path() / "Models/Widget.h"));

        const auto restored = restoreBackup(report.backup->value(), dir.str(), clean);
        ASSERT_TRUE(restored);
        EXPECT_TRUE(restored->failed.empty());
        EXPECT_EQ(restored->renamedBack.size(), 6U); // Widget's four files, AppDelegate's two
        auto added = restored->added;
        std::sort(added.begin(), added.end());
        EXPECT_EQ(added, (std::vector<std::string>{"MethodReplaceList.txt", "QuilletNames.tsv"}));
        if (!clean) {
            std::filesystem::remove(dir.path() / "MethodReplaceList.txt");
            std::filesystem::remove(dir.path() / "QuilletNames.tsv");
        }
        EXPECT_EQ(treeDump(dir.path()), before);
    }
}

// Only a file the table says was moved, and whose old name the archive holds, is removed.
TEST(RenamedFilesRestore, KeepsAddedFilesTheTableDoesNotAccountFor) {
    TempDir dir;
    TempDir backups;
    writeWidgetShop(dir);
    auto options = classRunOf(dir);
    options.backupDirectory = backups.str();
    RunObserver quiet;
    const auto report = RenameJob().run(options, quiet);
    ASSERT_TRUE(report.complete());
    dir.write("Notes.m", "// mine\n");
    dir.write("QuilletNames.tsv", readFile(dir.path() / "QuilletNames.tsv") +
                                      "file\tNowhere.m\tNotes.m\nfile\t../x\tApp/Constants.h\n");
    const auto restored = restoreBackup(report.backup->value(), dir.str(), false);
    ASSERT_TRUE(restored);
    EXPECT_EQ(readFile(dir.path() / "Notes.m"), "// mine\n");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "App/Constants.h"));
    EXPECT_NE(std::find(restored->added.begin(), restored->added.end(), "Notes.m"),
              restored->added.end());
}

} // namespace
} // namespace quillet::test
