// The whole run as the cli and the window drive it: options in, one report out.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "CorpusGenerator.h"
#include "FooClass.h"
#include "engine/MRenameTool.h"
#include "fs/FolderLock.h"
#include "job/RenameJob.h"
#include "job/RenameStrategies.h"
#include "log/Console.h"
#include "random/RandomSource.h"
#include "settings/SettingModel.h"
#include "support/EngineRun.h"
#include "support/Files.h"
#include "support/Words.h"
#include "text/Text.h"
#include "text/Utf.h"
#include "wordbank/WordModel.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;
using quillet::fs::FolderLock;

// Remembers what a run told it, and what the project looked like when it was told.
class RecordingObserver final : public RunObserver {
public:
    explicit RecordingObserver(std::string project) : project_(std::move(project)) {}

    void progress(std::size_t done, std::size_t total, const std::string& text) override {
        dones.push_back(done);
        totals.push_back(total);
        texts.push_back(text);
        sameThread = sameThread && std::this_thread::get_id() == caller_;
    }
    void aboutToRename(const RunReport& soFar) override {
        ++pauses;
        treeWhenAboutToRename = treeDump(project_);
        backupWhenAboutToRename =
            soFar.backup && soFar.backup->ok() && fs::exists(soFar.backup->value());
        progressBeforeRename = dones.size();
    }

    std::vector<std::size_t> dones;
    std::vector<std::size_t> totals;
    std::vector<std::string> texts;
    bool sameThread = true;
    int pauses = 0;
    std::string treeWhenAboutToRename;
    bool backupWhenAboutToRename = false;
    std::size_t progressBeforeRename = 0;

private:
    std::string project_;
    std::thread::id caller_ = std::this_thread::get_id();
};

class Job : public ::testing::Test {
protected:
    Job() {
        dir_.write("Foo.h", fooHeader);
        dir_.write("Foo.m", fooSource);
        dir_.write("Sub/User.m",
                   "#import \"Foo.h\"\nvoid f(Foo *o) { [o fooWithName:nil count:1]; }\n");
    }

    // A run as the cli asks for one: random names, no backup.
    RunOptions cliOptions(RenameMode mode) const {
        auto options = RunOptions::stored(dir_.str(), mode);
        options.words.reset();
        options.backupDirectory.reset();
        return options;
    }

    TempDir dir_;
    TempDir backups_;
};

TEST_F(Job, TheWindowsRunBacksUpPausesThenRewritesAndReportsEveryStep) {
    auto& settings = SettingModel::shared();
    settings.backupPath = backups_.str() + "/nested";
    settings.methodPrefix = "zz";
    auto bank = WordModel::loadLocal();
    bank.text = bankText(40);
    ASSERT_TRUE(bank.save());
    const std::string before = treeDump(dir_.path());

    for (const auto mode : {RenameMode::literal, RenameMode::precise}) {
        TempDir project;
        fs::copy(dir_.path(), project.path(), fs::copy_options::recursive);
        RecordingObserver observer(project.str());
        SeededRandom random(3);
        const auto report =
            RenameJob(random).run(RunOptions::stored(project.str(), mode), observer);

        ASSERT_FALSE(report.refusal);
        EXPECT_EQ(report.mode, mode);
        ASSERT_EQ(report.pairs.size(), 2u);
        EXPECT_TRUE(report.pairs[0].new_.selector().starts_with("zz"));
        EXPECT_TRUE(report.complete());
        EXPECT_EQ(report.renamed(), 2u);
        EXPECT_EQ(report.writes.written, 3u);
        EXPECT_EQ(report.nameListPath, project.str() + "/MethodReplaceList.txt");
        EXPECT_TRUE(fs::exists(report.nameListPath));
        // The pause comes once, after the backup exists and before anything was written.
        EXPECT_EQ(observer.pauses, 1);
        EXPECT_TRUE(observer.backupWhenAboutToRename);
        EXPECT_EQ(observer.treeWhenAboutToRename, before);
        EXPECT_EQ(observer.progressBeforeRename, 0u);
        ASSERT_TRUE(report.backup && report.backup->ok());
        EXPECT_TRUE(report.backup->value().starts_with(settings.backupPath + "/"));
        // One progress step per method, in order, with the text the window shows.
        EXPECT_EQ(observer.dones, (std::vector<std::size_t>{1, 2}));
        EXPECT_EQ(observer.totals, (std::vector<std::size_t>{2, 2}));
        EXPECT_EQ(observer.texts[0], "[ 1/2 ]\n\n\nOrigin:\n" + report.pairs[0].old.selector() +
                                         "\n\nNew:\n" + report.pairs[0].new_.selector());
        EXPECT_TRUE(observer.sameThread);
        const std::string user = readFile(project.path() / "Sub/User.m");
        EXPECT_NE(user.find(report.pairs[0].new_.elements[0]), std::string::npos) << user;
    }
    settings.methodPrefix.clear();
}

TEST_F(Job, DrivesTheEngineExactlyAsTheEngineRunsOnItsOwn) {
    for (const auto mode : {RenameMode::literal, RenameMode::precise}) {
        TempDir source;
        bench::generateCorpus(bench::CorpusOptions::small(5), source.path());
        TempDir byJob;
        TempDir byEngine;
        fs::copy(source.path(), byJob.path(), fs::copy_options::recursive);
        fs::copy(source.path(), byEngine.path(), fs::copy_options::recursive);

        SeededRandom jobRandom(11);
        RecordingObserver observer(byJob.str());
        auto options = cliOptions(mode);
        options.project = byJob.str();
        const auto report = RenameJob(jobRandom).run(options, observer);
        ASSERT_FALSE(report.refusal);

        SeededRandom engineRandom(11);
        MRenameTool tool(engineRandom, strategyFor(mode));
        scan(tool, byEngine.str());
        tool.replace(*tool.makeNewNames({}));

        EXPECT_EQ(report.pairs.size(), tool.allMethodNames().size());
        EXPECT_EQ(observer.dones.size(), report.pairs.size());
        EXPECT_EQ(observer.pauses, 1);
        EXPECT_FALSE(report.backup) << "the cli's --no-backup makes none";
        EXPECT_EQ(treeDump(byJob.path()), treeDump(byEngine.path()));
    }
}

TEST_F(Job, ADryRunReportsThePatchAndTouchesNothing) {
    const std::string before = treeDump(dir_.path());
    auto options = cliOptions(RenameMode::precise);
    options.backupDirectory = backups_.str() + "/never";
    options.dryRun = true;
    RecordingObserver observer(dir_.str());
    const auto report = RenameJob().run(options, observer);
    ASSERT_FALSE(report.refusal);
    EXPECT_TRUE(report.dryRun);
    EXPECT_EQ(observer.pauses, 0);
    EXPECT_FALSE(report.backup);
    EXPECT_FALSE(fs::exists(backups_.path() / "never"));
    EXPECT_EQ(treeDump(dir_.path()), before);
    ASSERT_EQ(report.changes.size(), 3u);
    EXPECT_EQ(report.changes[0].path, "Foo.h");
    EXPECT_TRUE(report.changes[0].diff.starts_with("--- a/Foo.h\n+++ b/Foo.h\n@@ -"))
        << report.changes[0].diff;
    EXPECT_NE(report.changes[0].diff.find("+- (void)" + report.pairs[0].new_.elements[0]),
              std::string::npos)
        << report.changes[0].diff;
}

TEST_F(Job, ADryRunsPatchAppliesWithoutFuzzAndNamesWhatAPatchCannotHold) {
    // A byte order mark and CRLF lines, which a patch of the decoded text would miss.
    std::string crlfHeader = fooHeader;
    text::replaceAll(crlfHeader, "\n", "\r\n");
    dir_.write("Foo.h", "\xEF\xBB\xBF" + crlfHeader);
    dir_.write("Wide.m", "\xFF\xFE" + text::utf8ToUtf16("#import \"Foo.h\"\nvoid w(Foo *o) "
                                                        "{ [o store:nil]; }\n",
                                                        text::ByteOrder::littleEndian));
    for (const auto mode : {RenameMode::literal, RenameMode::precise}) {
        TempDir planned;
        TempDir written;
        fs::copy(dir_.path(), planned.path(), fs::copy_options::recursive);
        fs::copy(dir_.path(), written.path(), fs::copy_options::recursive);
        auto options = cliOptions(mode);
        options.project = planned.str();
        options.dryRun = true;
        RunObserver quiet;
        SeededRandom dryRandom(5);
        const auto dry = RenameJob(dryRandom).run(options, quiet);
        ASSERT_FALSE(dry.refusal);
        options.project = written.str();
        options.dryRun = false;
        SeededRandom realRandom(5);
        ASSERT_TRUE(RenameJob(realRandom).run(options, quiet).complete());

        std::string patch;
        for (const auto& change : dry.changes) {
            if (change.path == "Wide.m") {
                EXPECT_TRUE(change.diff.empty());
                EXPECT_EQ(change.note, mode == RenameMode::literal
                                           ? "would be written back as UTF-8"
                                           : "would be written back in UTF-16 with the new "
                                             "names; a patch cannot show it");
            } else {
                EXPECT_TRUE(change.note.empty()) << change.path;
                patch += change.diff;
            }
        }
        const std::string patchFile = backups_.write("run.diff", patch);
        const std::string apply =
            "cd '" + planned.str() + "' && patch -s -p1 --fuzz=0 < '" + patchFile + "'";
        ASSERT_EQ(std::system(apply.c_str()), 0) << patch;
        for (const char* file : {"Foo.h", "Foo.m", "Sub/User.m"}) {
            EXPECT_EQ(readFile(planned.path() / file), readFile(written.path() / file)) << file;
        }
    }
}

TEST_F(Job, RunsThatCannotGoOnStopBeforeWritingAndSayWhy) {
    using Reason = RunRefusal::Reason;
    const std::string before = treeDump(dir_.path());
    const auto refusalOf = [&](const RunOptions& options) {
        RecordingObserver observer(options.project);
        const auto report = RenameJob().run(options, observer);
        EXPECT_EQ(observer.pauses, 0);
        EXPECT_TRUE(observer.dones.empty());
        EXPECT_FALSE(report.backup);
        EXPECT_EQ(treeDump(dir_.path()), before);
        return report.refusal ? std::optional(report.refusal->reason) : std::nullopt;
    };

    auto options = cliOptions(RenameMode::precise);
    options.backupDirectory = backups_.str();
    options.project = dir_.str() + "/With Space";
    EXPECT_EQ(refusalOf(options), Reason::illegalPath);
    options.project = dir_.str() + "/Missing";
    EXPECT_EQ(refusalOf(options), Reason::noSuchFolder);
    options.project = dir_.str() + "/Foo.m";
    EXPECT_EQ(refusalOf(options), Reason::notAFolder);
    options.project = dir_.str() + "/Sub";
    EXPECT_EQ(refusalOf(options), Reason::noHeaders);

    options.project = dir_.str();
    options.protection.sdkFolders = {dir_.str() + "/NoSdk"};
    EXPECT_EQ(refusalOf(options), Reason::protectionUnreadable);
    options.protection.sdkFolders.clear();

    options.words = std::vector<std::string>{"alpha", "beta"};
    EXPECT_EQ(refusalOf(options), Reason::notEnoughWords);
    // Enough words by count, but the same one over and over cannot name three pieces.
    options.words = std::vector<std::string>(9, "alpha");
    EXPECT_EQ(refusalOf(options), Reason::wordsRanOut);
    options.words.reset();
    {
        const auto held = FolderLock::take(dir_.str());
        ASSERT_TRUE(held) << held.error().message;
        EXPECT_EQ(refusalOf(options), Reason::busy);
    }
    EXPECT_FALSE(fs::exists(backups_.path() / fs::path(dir_.str()).filename()));
}

TEST_F(Job, AFailedBackupStopsTheRunWithTheProjectAsItWas) {
    const std::string before = treeDump(dir_.path());
    const std::string blocker = backups_.write("blocker", "a file, not a folder");
    auto options = cliOptions(RenameMode::literal);
    options.backupDirectory = blocker + "/Backup";
    RecordingObserver observer(dir_.str());
    const auto report = RenameJob().run(options, observer);
    EXPECT_FALSE(report.refusal);
    EXPECT_TRUE(report.backupFailed());
    EXPECT_EQ(observer.pauses, 0);
    EXPECT_FALSE(report.writes.listWritten);
    EXPECT_EQ(report.renamed(), 0u);
    EXPECT_FALSE(report.complete());
    EXPECT_EQ(treeDump(dir_.path()), before);
}

TEST_F(Job, TheScanSaysWhatItFoundWithoutWritingAnything) {
    dir_.write("Blob.m", std::string("[o store:x];\0", 13));
    dir_.write("Broken.m", "@implementation Broken\n- (void)store:(id)x { [x store:(]; }\n@end\n");
    const std::string before = treeDump(dir_.path());
    Console::shared().clear();
    RunObserver quiet;
    const auto report = RenameJob().scan(cliOptions(RenameMode::precise), quiet);
    ASSERT_FALSE(report.refusal);
    EXPECT_EQ(treeDump(dir_.path()), before);
    EXPECT_EQ(report.headers, 1u);
    ASSERT_EQ(report.unreadableFiles.size(), 1u);
    EXPECT_EQ(report.unreadableFiles[0].path, dir_.str() + "/Blob.m");
    EXPECT_EQ(report.filesLoaded, 4u);
    ASSERT_EQ(report.methods.size(), 2u);
    EXPECT_EQ(report.methods[0].method.selector(), "fooWithName:count:");
    EXPECT_FALSE(report.methods[0].protection);
    // store: is used in a file that is left as it is, so it keeps its name everywhere.
    ASSERT_TRUE(report.methods[1].protection);
    EXPECT_EQ(report.methods[1].protection->kind, ProtectionReason::Kind::unparsedFile);
    EXPECT_EQ(report.protectedMethods, 1u);
    EXPECT_EQ(report.selectorPieces, 2u);
    EXPECT_EQ(report.wordsNeeded, 3u);
    ASSERT_EQ(report.unparsedFiles.size(), 1u);
    // The run's own log names the file it leaves alone.
    EXPECT_NE(readFile(Console::shared().path()).find("left as it is: " + dir_.str() + "/Broken.m"),
              std::string::npos);
}

TEST_F(Job, TheUsersListKeepsNamesInTheLiteralModeTooAndTheLogSaysSo) {
    TempDir lists;
    lists.write("keep.txt", "# kept for the plug-ins\nstore:\n");
    auto options = cliOptions(RenameMode::literal);
    options.protection.protectFiles = {lists.str() + "/keep.txt"};
    Console::shared().clear();
    RecordingObserver observer(dir_.str());
    const auto report = RenameJob().run(options, observer);
    ASSERT_FALSE(report.refusal);
    ASSERT_EQ(report.pairs.size(), 1u);
    EXPECT_EQ(report.pairs[0].old.selector(), "fooWithName:count:");
    EXPECT_EQ(report.protectedMethods, 1u);
    EXPECT_NE(readFile(dir_.path() / "Foo.m").find("[self store:name]"), std::string::npos);
    EXPECT_NE(readFile(Console::shared().path())
                  .find("not renamed, in the list of protected selectors: store:"),
              std::string::npos);

    options.protection.protectFiles = {lists.str() + "/missing.txt"};
    const auto refused = RenameJob().run(options, observer);
    ASSERT_TRUE(refused.refusal);
    EXPECT_EQ(refused.refusal->reason, RunRefusal::Reason::protectionUnreadable);
}

TEST_F(Job, PackageManagerCodeIsOnlyReadAndOtherLibrariesAreNamedWithTheIgnoreThatSparesThem) {
    const std::string pod = "@interface Pod : NSObject\n- (void)podWork:(id)x;\n@end\n";
    const std::string podUse =
        "@implementation Pod\n- (void)podWork:(id)x { [x store:x]; }\n@end\n";
    dir_.write("App/Pods/Kit/Pod.h", pod);
    dir_.write("App/Pods/Kit/Pod.m", podUse);
    dir_.write("Vendor/Charts/Charts.podspec", "{}");
    dir_.write("Vendor/Charts/LICENSE", "MIT");
    dir_.write("Vendor/Charts/ChartsTests/T.m", "");
    dir_.write("Vendor/Charts/Axis.h",
               "@interface Axis : NSObject\n- (void)drawAxis:(id)c;\n@end\n");
    dir_.write("Vendor/Charts/Axis.m", "@implementation Axis\n- (void)drawAxis:(id)c {}\n@end\n");
    RecordingObserver observer(dir_.str());

    const auto report = RenameJob().run(cliOptions(RenameMode::precise), observer);
    ASSERT_FALSE(report.refusal);
    EXPECT_EQ(readFile(dir_.path() / "App/Pods/Kit/Pod.h"), pod);
    EXPECT_EQ(readFile(dir_.path() / "App/Pods/Kit/Pod.m"), podUse);
    // The pod sends store:, so the project's own store: keeps its name too.
    ASSERT_EQ(report.pairs.size(), 2u);
    ASSERT_EQ(report.vendoredFolders.size(), 1u);
    EXPECT_EQ(report.vendoredFolders[0].folder, "Vendor/Charts/");
    EXPECT_EQ(report.vendoredFolders[0].methods, 1u);

    auto everything = cliOptions(RenameMode::precise);
    everything.includeVendored = true;
    everything.ignore = {"Vendor/Charts/"};
    const auto second = RenameJob().run(everything, observer);
    ASSERT_FALSE(second.refusal);
    EXPECT_EQ(readFile(dir_.path() / "App/Pods/Kit/Pod.h").find("podWork:"), std::string::npos);
    EXPECT_TRUE(second.vendoredFolders.empty());
}

} // namespace
} // namespace quillet::test
