#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "fs/AtomicFile.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

// Debian's "nobody": a user that is not the test's, for files someone else owns.
constexpr uid_t otherUser = 65534;
constexpr gid_t otherGroup = 65534;

struct stat statOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

// A file of another user, writable by everyone, with the set-user and set-group ID bits.
std::string othersFile(const TempDir& dir) {
    std::string path = dir.write("Shared.m", "old");
    EXPECT_EQ(::chown(path.c_str(), otherUser, otherGroup), 0);
    EXPECT_EQ(::chmod(path.c_str(), 06666), 0);
    return path;
}

TEST(AtomicFile, RootKeepsTheOwnerAndEveryModeBitOfAnotherUsersFile) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file away";
    }
    TempDir dir;
    const std::string path = othersFile(dir);

    ASSERT_TRUE(fs::writeFileAtomically(path, "new"));
    const struct stat info = statOf(path);
    EXPECT_EQ(readFile(path), "new");
    EXPECT_EQ(info.st_uid, otherUser);
    EXPECT_EQ(info.st_gid, otherGroup);
    EXPECT_EQ(info.st_mode & 07777, 06666u);
}

// A writer that may not give the file away writes it all the same; the file becomes the writer's
// and does not carry the set-ID bits of its former owner.
TEST(AtomicFile, AWriterWhoMayNotKeepTheOwnerWritesAndDropsTheSetIdBits) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to make another user's file and to become a third user";
    }
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const std::string path = othersFile(dir);
    constexpr uid_t writer = 65533;

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool dropped =
            ::setresgid(writer, writer, writer) == 0 && ::setresuid(writer, writer, writer) == 0;
        ::_exit(!dropped ? 2 : fs::writeFileAtomically(path, "new") ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "1: the write failed; 2: could not become the writer";

    const struct stat info = statOf(path);
    EXPECT_EQ(readFile(path), "new");
    EXPECT_EQ(info.st_uid, writer);
    EXPECT_EQ(info.st_mode & 07777, 0666u);
}

// A file written under a new name: the old one stays for the caller to remove, a name already
// taken is never replaced, and a failure leaves nothing behind.
TEST(AtomicFile, ANewFileNeverReplacesOneAndKeepsTheOldOne) {
    TempDir dir;
    const std::string from = dir.write("Old.m", "old");
    ASSERT_EQ(::chmod(from.c_str(), 04640), 0);
    const std::string to = (dir.path() / "New.m").string();
    ASSERT_TRUE(fs::writeNewFile(from, to, "new"));
    EXPECT_EQ(readFile(to), "new");
    EXPECT_EQ(statOf(to).st_mode & 07777, 0640U) << "never the old file's set-user ID";
    EXPECT_EQ(readFile(from), "old");

    const std::string other = dir.write("Other.m", "other");
    EXPECT_FALSE(fs::writeNewFile(to, other, "clobber"));
    EXPECT_EQ(readFile(other), "other");

    EXPECT_FALSE(fs::writeNewFile(to, (dir.path() / "Missing/New.m").string(), "lost"));
    EXPECT_FALSE(fs::writeNewFile((dir.path() / "Gone.m").string(),
                                  (dir.path() / "Made.m").string(), "lost"));
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 3U) << "Old.m, New.m and Other.m, no temporary";
}

} // namespace
} // namespace quillet::test
