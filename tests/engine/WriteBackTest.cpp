#include <filesystem>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/MRenameTool.h"
#include "fs/AtomicFile.h"
#include "log/Console.h"
#include "support/EngineRun.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

const std::string header = "- (void)fooWithName:(NSString *)name count:(int)count;\n";
const std::string call = "#import \"Foo.h\"\nvoid f(id o) { [o fooWithName:nil count:1]; }\n";
const std::string renamedCall = "#import \"Foo.h\"\nvoid f(id o) { [o xxApple:nil river:1]; }\n";

const RenamePair fooPair = renamePair("fooWithName:count:", "Foo.h", "xxApple:river:");

struct stat statOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

WriteReport rename(const TempDir& dir) {
    MRenameTool tool;
    scan(tool, dir.str());
    tool.replace({fooPair});
    return tool.writeReport();
}

TEST(WriteBack, UnchangedFilesAreNotRewrittenAndChangedOnesKeepTheirMode) {
    TempDir dir;
    dir.write("Foo.h", header);
    dir.write("Foo.m", "");
    const auto user = dir.write("Folder With Spaces/User.m", call);
    const auto untouched = dir.write("Untouched.m", "void g(void) {}\n");
    ::chmod(user.c_str(), 0640);
    const auto before = statOf(untouched);

    const auto report = rename(dir);
    EXPECT_EQ(report.written, 2u); // Foo.h and User.m
    EXPECT_EQ(report.failed, 0u);
    EXPECT_EQ(readFile(user), renamedCall);
    EXPECT_EQ(statOf(user).st_mode & 07777, 0640u);
    EXPECT_EQ(statOf(untouched).st_ino, before.st_ino);
    // No temporary file is left beside the sources.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry :
         fs::directory_iterator(dir.path() / "Folder With Spaces")) {
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
}

TEST(WriteBack, RenamesThatLeaveTheBytesAsTheyWereDoNotRewrite) {
    TempDir dir;
    const auto declaring = dir.write("Foo.h", header);
    dir.write("Foo.m", "");
    const auto user = dir.write("User.m", call);
    const auto headerBefore = statOf(declaring);
    const auto userBefore = statOf(user);

    MRenameTool tool;
    scan(tool, dir.str());
    // Every piece is found and replaced, by itself.
    tool.replace({renamePair("fooWithName:count:", "Foo.h", "fooWithName:count:")});
    EXPECT_EQ(tool.writeReport().written, 0u);
    EXPECT_EQ(statOf(declaring).st_ino, headerBefore.st_ino);
    EXPECT_EQ(statOf(user).st_ino, userBefore.st_ino);
    EXPECT_EQ(readFile(user), call);
}

TEST(WriteBack, ReadOnlyFileIsLoggedAndTheOthersAreStillWritten) {
    TempDir dir;
    dir.write("Foo.h", header);
    dir.write("Foo.m", "");
    const auto locked = dir.write("A.m", call);
    const auto open = dir.write("B.m", call);
    ::chmod(locked.c_str(), 0444);
    Console::shared().clear();

    const auto report = rename(dir);
    EXPECT_EQ(report.failed, 1u);
    EXPECT_TRUE(report.listWritten);
    EXPECT_EQ(readFile(locked), call);
    EXPECT_EQ(readFile(open), renamedCall);
    const std::string log = readFile(Console::shared().path());
    EXPECT_NE(log.find(" write(toFile:_:) [Line "), std::string::npos);
    EXPECT_NE(log.find(locked), std::string::npos);
}

// The list is the only record of the new names: a run that cannot write it changes nothing.
TEST(WriteBack, AListThatCannotBeWrittenStopsTheRunBeforeAnySourceIsWritten) {
    TempDir dir;
    dir.write("Foo.h", header);
    dir.write("Foo.m", call);
    fs::create_directories(dir.path() / "MethodReplaceList.txt" / "blocker");
    Console::shared().clear();

    MRenameTool tool;
    scan(tool, dir.str());
    EXPECT_TRUE(tool.replace({fooPair}));
    EXPECT_FALSE(tool.writeReport().listWritten);
    EXPECT_EQ(tool.writeReport().written, 0u);
    EXPECT_EQ(readFile(dir.path() / "Foo.m"), call);
    EXPECT_EQ(readFile(dir.path() / "Foo.h"), header);
    EXPECT_NE(readFile(Console::shared().path()).find(" write(toFile:) [Line "), std::string::npos);
}

// The list is on disk before the first source file changes: a source that cannot be written
// finds it there already, and a finished run has made both durable.
TEST(WriteBack, TheListComesFirstAndTheRunEndsDurable) {
    TempDir dir;
    dir.write("Foo.h", header);
    const auto locked = dir.write("Foo.m", call);
    ::chmod(locked.c_str(), 0444);
    MRenameTool tool;
    scan(tool, dir.str());
    tool.replace({fooPair});
    EXPECT_TRUE(tool.writeReport().listWritten);
    EXPECT_EQ(tool.writeReport().failed, 1u);
    EXPECT_TRUE(tool.writeReport().synced);
    EXPECT_NE(readFile(dir.path() / "MethodReplaceList.txt").find("New --> xxApple:river:"),
              std::string::npos);
}

TEST(WriteBack, TemporaryFilesOfAStoppedRunAreRemovedAndNoneIsLeft) {
    TempDir dir;
    dir.write("Foo.h", header);
    dir.write("Foo.m", call);
    // A process that has ended: its temporary files can only be leftovers.
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    const std::string stale = ".Foo.m.quillet-" + std::to_string(ended) + "-77";
    dir.write(stale, "half a file");
    dir.write("Sub/.User.m.quillet-" + std::to_string(ended) + "-1", "half");
    const std::string mine = ".Other.m.quillet-" + std::to_string(::getpid()) + "-5";
    dir.write(mine, "being written");
    dir.write(".hidden.quillet-notes", "not ours");

    MRenameTool tool;
    scan(tool, dir.str());
    tool.replace({fooPair});
    EXPECT_FALSE(fs::exists(dir.path() / stale));
    EXPECT_FALSE(
        fs::exists(dir.path() / "Sub" / (".User.m.quillet-" + std::to_string(ended) + "-1")));
    EXPECT_TRUE(fs::exists(dir.path() / mine)) << "a running process's file stays";
    EXPECT_TRUE(fs::exists(dir.path() / ".hidden.quillet-notes"));
}

// A process killed while it writes leaves nothing behind but the file as it was or as it is now.
TEST(WriteBack, AWriteKilledHalfWayLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string target = dir.write("Big.m", "old");
    const pid_t writer = ::fork();
    if (writer == 0) {
        const std::string content(64u << 20, 'x');
        while (true) {
            (void)quillet::fs::writeFileAtomically(target, content);
        }
    }
    ::usleep(150000);
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename(), "Big.m");
    }
}

TEST(WriteBack, EncodingsComeBackAsUtf8AndAByteOrderMarkIsKept) {
    TempDir dir;
    dir.write("Foo.h", header);
    dir.write("Foo.m", "");
    const auto withBom = dir.write("Bom.m", "\xEF\xBB\xBF" + call);
    std::string utf16 = "\xFF\xFE";
    for (const char c : call) {
        utf16 += c;
        utf16 += '\0';
    }
    const auto wide = dir.write("Wide.m", utf16);

    rename(dir);
    EXPECT_EQ(readFile(withBom), "\xEF\xBB\xBF" + renamedCall);
    EXPECT_EQ(readFile(wide), renamedCall);
}

TEST(WriteBack, FilesThatCouldNotBeReadAreLeftExactlyAsTheyAre) {
    TempDir dir;
    dir.write("Foo.h", header);
    dir.write("Foo.m", "");
    const std::string latin1 =
        "#import \"Foo.h\"\n// caf\xE9\nvoid f(id o) { [o fooWithName:nil count:1]; }\n";
    const auto legacy = dir.write("Legacy.m", latin1);
    const std::string binary = call + std::string("\0\x01\x02", 3);
    const auto blob = dir.write("Blob.m", binary);
    fs::create_directories(dir.path() / "Folder.m");

    const auto report = rename(dir);
    EXPECT_EQ(report.failed, 0u);
    EXPECT_EQ(readFile(legacy), latin1);
    EXPECT_EQ(readFile(blob), binary);
    EXPECT_TRUE(fs::is_directory(dir.path() / "Folder.m"));
}

TEST(WriteBack, SymbolicLinksAreNeverFollowedOrWritten) {
    TempDir outside;
    const auto target = outside.write("Shared.m", call);
    const auto targetFolder = outside.write("Lib/Inner.m", call);
    TempDir dir;
    dir.write("Foo.h", header);
    dir.write("Foo.m", "");
    fs::create_symlink(target, dir.path() / "Linked.m");
    fs::create_directory_symlink(outside.path() / "Lib", dir.path() / "LinkedLib");

    MRenameTool tool;
    scan(tool, dir.str());
    tool.replace({fooPair});
    EXPECT_EQ(readFile(target), call);
    EXPECT_EQ(readFile(targetFolder), call);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "Linked.m"));
    for (const auto* file : tool.files()) {
        EXPECT_NE(file->inFile(), "Inner.m") << "a linked folder was entered";
        if (file->inFile() == "Linked.m") {
            EXPECT_FALSE(file->readable());
        }
    }
}

} // namespace
} // namespace quillet::test
