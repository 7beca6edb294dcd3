// Backups are real archives: each one is unpacked with the system's unzip and compared with the
// folder it came from.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>

#include <zip.h>

#include "backup/BackupRestore.h"
#include "backup/FolderBackup.h"
#include "fs/FolderLock.h"
#include "log/Console.h"
#include "support/AsNobody.h"
#include "support/Files.h"

using namespace quillet;
using quillet::test::readFile;
using quillet::test::TempDir;

namespace stdfs = std::filesystem;

namespace {

// Every entry below `root` by relative path: its type, permission bits and content or target.
std::map<std::string, std::string> describeTree(const stdfs::path& root) {
    std::map<std::string, std::string> tree;
    for (auto it = stdfs::recursive_directory_iterator(root); it != stdfs::end(it); ++it) {
        struct stat info {};
        ::lstat(it->path().c_str(), &info);
        const std::string relative = stdfs::relative(it->path(), root).string();
        const std::string mode = std::to_string(info.st_mode & 07777);
        if (S_ISLNK(info.st_mode)) {
            tree[relative] = "link -> " + stdfs::read_symlink(it->path()).string();
        } else if (S_ISDIR(info.st_mode)) {
            tree[relative] = "folder " + mode;
        } else {
            tree[relative] = "file " + mode + " " + readFile(it->path());
        }
    }
    return tree;
}

stdfs::path unpack(const std::string& archive, const TempDir& into) {
    const std::string command =
        "unzip -q -o '" + archive + "' -d '" + into.str() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return into.path();
}

std::vector<std::string> filesIn(const stdfs::path& folder) {
    std::vector<std::string> names;
    if (stdfs::exists(folder)) {
        for (const auto& entry : stdfs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

// A project with the kinds of entries a real one has.
class Backup : public ::testing::Test {
protected:
    Backup() {
        project_.write("Demo/Classes/Cart.m", "#import \"Cart.h\"\n@implementation Cart\n@end\n");
        project_.write("Demo/Classes/Cart.h", "@interface Cart : NSObject\n@end\n");
        project_.write("Demo/Supporting Files/Info.plist", "<plist/>\n");
        project_.write("Demo/run.sh", "#!/bin/sh\n");
        ::chmod((demo() + "/run.sh").c_str(), 0755);
        project_.write("Demo/secret.txt", "only mine\n");
        ::chmod((demo() + "/secret.txt").c_str(), 0600);
        std::string binary(70000, '\0');
        for (std::size_t i = 0; i < binary.size(); ++i) {
            binary[i] = static_cast<char>(i * 7919 % 251);
        }
        project_.write("Demo/Assets/icon.png", binary);
        stdfs::create_directories(demo() + "/Empty/Nested");
        stdfs::create_symlink("Classes/Cart.h", demo() + "/Cart-link.h");
        stdfs::create_symlink("/etc/hostname", demo() + "/outside");
    }
    std::string demo() const { return project_.str() + "/Demo"; }
    std::string backups() const { return backups_.str() + "/deep/er/Backup"; }

    TempDir project_;
    TempDir backups_;
    TempDir unpacked_;
};

} // namespace

TEST_F(Backup, UnpacksToTheSameTreeWithModesLinksAndEmptyFolders) {
    const auto before = describeTree(demo());
    const auto archive = backupFolder(demo() + "/", backups());
    ASSERT_TRUE(archive);
    EXPECT_EQ(stdfs::path(*archive).parent_path(), stdfs::path(backups()));
    EXPECT_TRUE(stdfs::path(*archive).filename().string().starts_with("Demo_"));
    const auto root = unpack(*archive, unpacked_);
    EXPECT_EQ(filesIn(root), std::vector<std::string>{"Demo"});
    EXPECT_EQ(describeTree(root / "Demo"), before);
    EXPECT_EQ(describeTree(demo()), before); // the folder itself is only read
    EXPECT_EQ(filesIn(backups()), std::vector<std::string>{stdfs::path(*archive).filename()});
}

TEST_F(Backup, ArchiveNameCarriesTheFolderAndTheLocalTime) {
    const auto time = std::chrono::system_clock::from_time_t(1767603787);
    const std::time_t seconds = 1767603787;
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char expected[40];
    std::strftime(expected, sizeof expected, "%Y-%m-%d_%H_%M_%S", &local);
    EXPECT_EQ(backupArchivePath("work/Demo/", "Quillet/Backup", time),
              "Quillet/Backup/Demo_" + std::string(expected) + ".zip");
    EXPECT_EQ(backupArchivePath("//", "/b", time), std::nullopt);
}

// Quick runs must not lose the backup of the original code: an archive is never replaced.
TEST_F(Backup, BackupsInTheSameSecondAreNumberedAndNoneIsReplaced) {
    const auto now = std::chrono::system_clock::now();
    const auto first = backupFolder(demo(), backups(), now);
    ASSERT_TRUE(first);
    const std::string original = readFile(*first);
    project_.write("Demo/Classes/Added.m", "// added\n");
    const auto second = backupFolder(demo(), backups(), now);
    const auto third = backupFolder(demo(), backups(), now);
    ASSERT_TRUE(second && third);
    const std::string stem = first->substr(0, first->size() - 4);
    EXPECT_EQ(*second, stem + "_2.zip");
    EXPECT_EQ(*third, stem + "_3.zip");
    EXPECT_EQ(filesIn(backups()).size(), 3u);
    EXPECT_TRUE(readFile(*first) == original);
    EXPECT_EQ(readFile(unpack(*second, unpacked_) / "Demo/Classes/Added.m"), "// added\n");
}

TEST_F(Backup, NamesThatAreNotUtf8AreStoredAsTheyAreAndTheCommentNamesTheFolder) {
    project_.write("Demo/Legacy/caf\xE9\xFF.m", "// latin-1 name\n");
    const auto archive = backupFolder(demo(), backups());
    ASSERT_TRUE(archive);
    int error = 0;
    zip_t* zip = zip_open(archive->c_str(), ZIP_RDONLY, &error);
    ASSERT_NE(zip, nullptr);
    std::vector<std::string> names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        names.emplace_back(zip_get_name(zip, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW));
    }
    EXPECT_NE(std::find(names.begin(), names.end(), "Demo/Legacy/caf\xE9\xFF.m"), names.end());
    int length = 0;
    const char* comment = zip_get_archive_comment(zip, &length, ZIP_FL_ENC_RAW);
    ASSERT_NE(comment, nullptr);
    char resolved[PATH_MAX];
    ASSERT_NE(::realpath(demo().c_str(), resolved), nullptr);
    EXPECT_EQ(std::string(comment, static_cast<std::size_t>(length)),
              "Quillet backup of " + std::string(resolved));
    zip_close(zip);
}

TEST_F(Backup, TemporaryFilesOfAStoppedBackupAreRemoved) {
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ::waitpid(ended, nullptr, 0);
    stdfs::create_directories(backups());
    const std::string leftover =
        backups() + "/.Demo_x.zip.quillet-" + std::to_string(ended) + "-backup.Xy12Ab";
    test::writeFile(leftover, "half an archive");
    const auto archive = backupFolder(demo(), backups());
    ASSERT_TRUE(archive);
    EXPECT_EQ(filesIn(backups()), std::vector<std::string>{stdfs::path(*archive).filename()});
}

TEST_F(Backup, FailuresReturnNothingAndLeaveNoArchiveBehind) {
    const auto now = std::chrono::system_clock::now();
    EXPECT_FALSE(backupFolder(project_.str() + "/Missing", backups(), now));
    EXPECT_FALSE(backupFolder(demo() + "/run.sh", backups(), now));
    EXPECT_FALSE(backupFolder("/", backups(), now));
    const std::string blocker = backups_.write("blocker", "a file");
    EXPECT_FALSE(backupFolder(demo(), blocker + "/Backup", now));
    EXPECT_TRUE(filesIn(backups()).empty());
}

TEST_F(Backup, AFailureSaysWhichPathStoppedItAndIsLogged) {
    const auto now = std::chrono::system_clock::now();
    const std::string missing = project_.str() + "/Missing";
    const auto notAFolder = backupFolder(missing, backups(), now);
    ASSERT_FALSE(notAFolder);
    EXPECT_EQ(notAFolder.error().message, "Not a folder: " + missing);

    const std::string blocker = backups_.write("blocker", "a file");
    const auto blocked = backupFolder(demo(), blocker + "/Backup", now);
    ASSERT_FALSE(blocked);
    EXPECT_TRUE(blocked.error().message.starts_with("Could not create " + blocker + "/Backup"))
        << blocked.error().message;
    EXPECT_NE(readFile(Console::shared().path()).find(blocked.error().message), std::string::npos);
    EXPECT_TRUE(blocked.error().unreadableSource.empty()) << "the project is not to blame";

    // A relative backup directory would land below whatever folder the program runs in.
    const auto relative = backupFolder(demo(), "Backup", now);
    ASSERT_FALSE(relative);
    EXPECT_EQ(relative.error().message, "The backup directory must be a full path: Backup");
    EXPECT_FALSE(stdfs::exists("Backup"));
}

TEST_F(Backup, AProjectFileThatCannotBeReadIsNamedAsTheCause) {
    if (!test::canBecomeNobody()) {
        GTEST_SKIP() << "cannot switch to an unprivileged user here";
    }
    test::openToEveryone(project_.path());
    test::openToEveryone(backups_.path());
    const std::string secret = demo() + "/secret.txt";
    const std::string classes = demo() + "/Classes";
    for (const auto& [path, named] : std::vector<std::pair<std::string, std::string>>{
             {secret, secret}, {classes, classes + "/"}}) {
        stdfs::permissions(path, stdfs::perms::none);
        const auto failure = test::asNobody([&] {
            const auto made = backupFolder(demo(), backups());
            return made ? std::string("made") : made.error().unreadableSource;
        });
        stdfs::permissions(path, stdfs::perms::owner_all);
        EXPECT_EQ(failure, named);
        EXPECT_TRUE(filesIn(backups()).empty());
    }
}

TEST_F(Backup, ProgressCountsEveryByteOfTheFilesAndEndsAtTheTotal) {
    std::vector<std::pair<std::uint64_t, std::uint64_t>> steps;
    const auto archive = backupFolder(
        demo(), backups(), std::chrono::system_clock::now(),
        [&](std::uint64_t done, std::uint64_t total) { steps.emplace_back(done, total); });
    ASSERT_TRUE(archive) << archive.error().message;
    std::uint64_t bytes = 0;
    for (const auto& entry : stdfs::recursive_directory_iterator(demo())) {
        if (entry.is_regular_file() && !entry.is_symlink()) {
            bytes += entry.file_size();
        }
    }
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps.front(), std::make_pair(std::uint64_t{0}, bytes));
    EXPECT_EQ(steps.back(), std::make_pair(bytes, bytes));
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
}

// Runs a backup in a child process whose files may not grow past `limit` bytes, as on a full
// disk; returns whether the child's backup reported success.
bool backupWithFileSizeLimit(const std::string& folder, const std::string& backups,
                             std::chrono::system_clock::time_point now, rlim_t limit) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // writes then fail with EFBIG instead
        const rlimit small{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &small);
        ::_exit(backupFolder(folder, backups, now) ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(Backup, AFullDiskFailsTheBackupAndKeepsTheEarlierArchive) {
    const auto now = std::chrono::system_clock::now();
    const auto earlier = backupFolder(demo(), backups(), now);
    ASSERT_TRUE(earlier);
    const std::string earlierBytes = readFile(*earlier);
    std::string noise(400000, '\0');
    std::uint32_t state = 12345;
    for (auto& byte : noise) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    project_.write("Demo/Assets/big.bin", noise); // does not compress below the limit
    EXPECT_FALSE(backupWithFileSizeLimit(demo(), backups(), now, 20000));
    EXPECT_EQ(filesIn(backups()), std::vector<std::string>{stdfs::path(*earlier).filename()});
    EXPECT_TRUE(readFile(*earlier) == earlierBytes);
}

namespace {

std::map<std::string, std::string> withoutEntries(std::map<std::string, std::string> tree,
                                                  const std::vector<std::string>& names) {
    for (const auto& name : names) {
        tree.erase(name);
    }
    return tree;
}

} // namespace

TEST_F(Backup, ARestorePutsTheProjectBackAndListsWhatWasAddedSince) {
    project_.write("Demo/Legacy/caf\xE9\xFF.m", "// latin-1 name\n");
    const auto original = describeTree(demo());
    const auto archive = backupFolder(demo(), backups());
    ASSERT_TRUE(archive);
    EXPECT_EQ(backedUpFolder(*archive).value_or(""), stdfs::canonical(demo()).string());

    // What a run and a user do afterwards: rewrite, lose, retype, add.
    project_.write("Demo/Classes/Cart.m", "// renamed\n");
    ::chmod((demo() + "/run.sh").c_str(), 0644);
    stdfs::remove(demo() + "/secret.txt");
    stdfs::remove_all(demo() + "/Empty");
    stdfs::remove(demo() + "/Cart-link.h");
    project_.write("Demo/Cart-link.h", "a file where a link was");
    project_.write("Demo/MethodReplaceList.txt", "[ 1/1 ] ...");
    project_.write("Demo/New/Added.m", "// new\n");

    const auto result = restoreBackup(*archive, demo(), false);
    ASSERT_TRUE(result) << result.error().message;
    EXPECT_TRUE(result->failed.empty()) << result->failed.front();
    EXPECT_EQ(result->added,
              (std::vector<std::string>{"MethodReplaceList.txt", "New", "New/Added.m"}));
    EXPECT_FALSE(result->addedRemoved);
    EXPECT_EQ(result->restored, 6u); // Cart.m, run.sh, secret.txt, Empty, Nested, the link
    EXPECT_EQ(withoutEntries(describeTree(demo()), result->added), original);

    const auto cleaned = restoreBackup(*archive, demo(), true);
    ASSERT_TRUE(cleaned);
    EXPECT_TRUE(cleaned->addedRemoved);
    EXPECT_EQ(cleaned->restored, 0u);
    EXPECT_EQ(describeTree(demo()), original);
}

TEST_F(Backup, ARestoreIntoAnEmptyPlaceRebuildsTheWholeProject) {
    const auto archive = backupFolder(demo(), backups());
    ASSERT_TRUE(archive);
    const std::string elsewhere = unpacked_.str() + "/Copy";
    const auto result = restoreBackup(*archive, elsewhere, false);
    ASSERT_TRUE(result) << result.error().message;
    EXPECT_EQ(describeTree(elsewhere), describeTree(demo()));
}

TEST_F(Backup, ARestoreRefusesArchivesThatReachOutsideOrAProjectInUse) {
    const std::string hostile = backups_.str() + "/hostile.zip";
    int code = 0;
    zip_t* zip = zip_open(hostile.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(zip, nullptr);
    static const char evil[] = "evil";
    zip_file_add(zip, "Demo/../../escaped.m", zip_source_buffer(zip, evil, 4, 0), ZIP_FL_ENC_UTF_8);
    ASSERT_EQ(zip_close(zip), 0);
    const auto before = describeTree(project_.path());
    const auto refused = restoreBackup(hostile, demo(), true);
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().message.find("not a backup of one folder"), std::string::npos)
        << refused.error().message;
    EXPECT_EQ(describeTree(project_.path()), before);
    EXPECT_FALSE(stdfs::exists(project_.path().parent_path() / "escaped.m"));

    const auto notAnArchive = restoreBackup(project_.str() + "/Demo/run.sh", demo(), false);
    ASSERT_FALSE(notAnArchive);
    EXPECT_NE(notAnArchive.error().message.find("cannot open"), std::string::npos);
    EXPECT_FALSE(backedUpFolder(hostile));

    const auto archive = backupFolder(demo(), backups());
    ASSERT_TRUE(archive);
    const auto held = fs::FolderLock::take(demo());
    ASSERT_TRUE(held) << held.error().message;
    const auto busy = restoreBackup(*archive, demo(), false);
    ASSERT_FALSE(busy);
    EXPECT_NE(busy.error().message.find("another run is working on it"), std::string::npos)
        << busy.error().message;
}
