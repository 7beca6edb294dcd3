// What a run does with a project it cannot wholly read, with a prefix no selector can start with,
// and what it tells its observer while it goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "FooClass.h"
#include "job/RenameJob.h"
#include "support/AsNobody.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

const std::string barHeader = "@interface Bar : NSObject\n- (void)barWithItem:(id)item;\n@end\n";
const std::string barSource = "#import \"Bar.h\"\n#import \"Foo.h\"\n@implementation Bar\n"
                              "- (void)barWithItem:(id)item { [[Foo new] store:item]; }\n@end\n";

// What a run reports, as lines a child process can hand back.
std::string summaryOf(const RunReport& report) {
    std::ostringstream out;
    out << "refusal " << (report.refusal ? static_cast<int>(report.refusal->reason) : -1) << "\n";
    for (const auto& entry : report.inaccessible) {
        out << "inaccessible " << entry.path << "\n";
    }
    for (const auto& file : report.unreadableFiles) {
        out << "unread " << file.path << "\n";
    }
    for (const auto& method : report.methods) {
        out << (method.protection ? "kept " : "renamed ") << method.method.selector();
        if (method.protection) {
            out << " " << method.protection->describe();
        }
        out << "\n";
    }
    out << "list " << report.writes.listWritten << "\ncomplete " << report.complete() << "\n";
    return out.str();
}

bool holds(const std::string& summary, const std::string& line) {
    return summary.find(line + "\n") != std::string::npos;
}

class ProjectAccess : public ::testing::Test {
protected:
    ProjectAccess() {
        project_.write("Foo.h", fooHeader);
        project_.write("Foo.m", fooSource);
        project_.write("Bar.h", barHeader);
        project_.write("Bar.m", barSource);
        project_.write("Locked/Hidden.m", "void h(Foo *f) { [f store:nil]; }\n");
        project_.write("Art/icon.png", "not really a picture");
        openToEveryone(project_.path());
        openToEveryone(cache_.path());
    }

    RunOptions options(RenameMode mode) const {
        RunOptions run;
        run.project = project_.str();
        run.mode = mode;
        run.cacheFolder = cache_.str();
        return run;
    }

    // The run's summary as nobody sees the project, after the paths given are made unreadable.
    std::string runAsNobody(const RunOptions& run, const std::vector<std::string>& unreadable) {
        for (const auto& path : unreadable) {
            fs::permissions(project_.path() / path, fs::perms::none);
        }
        auto summary = asNobody([&] {
            RunObserver quiet;
            return summaryOf(RenameJob().run(run, quiet));
        });
        for (const auto& path : unreadable) {
            fs::permissions(project_.path() / path, fs::perms::all);
        }
        EXPECT_TRUE(summary) << "the child run did not end normally";
        return summary.value_or("");
    }

    TempDir project_;
    TempDir cache_; // what is read of the platform's SDK
};

TEST_F(ProjectAccess, FilesOrFoldersThatCannotBeReadRefuseTheRunInEveryModeBeforeAnythingChanges) {
    if (!canBecomeNobody()) {
        GTEST_SKIP() << "cannot switch to an unprivileged user here";
    }
    const std::string before = treeDump(project_.path());
    const std::string refused =
        "refusal " + std::to_string(static_cast<int>(RunRefusal::Reason::unreadable));
    for (const auto mode : {RenameMode::literal, RenameMode::precise}) {
        for (const bool dryRun : {false, true}) {
            auto run = options(mode);
            run.dryRun = dryRun;
            // A picture the rename never reads counts too: the backup must read it.
            const auto summary = runAsNobody(run, {"Foo.m", "Locked", "Art/icon.png"});
            EXPECT_TRUE(holds(summary, refused)) << summary;
            EXPECT_TRUE(holds(summary, "inaccessible " + project_.str() + "/Foo.m")) << summary;
            EXPECT_TRUE(holds(summary, "inaccessible " + project_.str() + "/Locked/")) << summary;
            EXPECT_TRUE(holds(summary, "inaccessible " + project_.str() + "/Art/icon.png"))
                << summary;
            EXPECT_TRUE(holds(summary, "list 0")) << summary;
            EXPECT_EQ(treeDump(project_.path()), before);
        }
    }
}

TEST_F(ProjectAccess, SkippingWhatCannotBeReadKeepsTheNamesDeclaredBesideIt) {
    if (!canBecomeNobody()) {
        GTEST_SKIP() << "cannot switch to an unprivileged user here";
    }
    auto run = options(RenameMode::precise);
    run.skipUnreadable = true;
    const auto summary = runAsNobody(run, {"Foo.m"});
    EXPECT_TRUE(holds(summary, "refusal -1")) << summary;
    EXPECT_TRUE(holds(summary, "kept fooWithName:count: declared beside " + project_.str() +
                                   "/Foo.m, which could not be read"))
        << summary;
    EXPECT_TRUE(holds(summary, "kept store: declared beside " + project_.str() +
                                   "/Foo.m, which could not be read"))
        << summary;
    EXPECT_TRUE(holds(summary, "renamed barWithItem:")) << summary;
    EXPECT_FALSE(holds(summary, "unread " + project_.str() + "/Foo.m")) << "named once, as skipped";
    EXPECT_TRUE(holds(summary, "list 1")) << summary;
    // Gone ahead, but not over the whole project.
    EXPECT_TRUE(holds(summary, "complete 0")) << summary;
    EXPECT_EQ(readFile(project_.path() / "Foo.m"), fooSource);
    EXPECT_EQ(readFile(project_.path() / "Foo.h"), fooHeader);
    EXPECT_EQ(readFile(project_.path() / "Bar.m").find("barWithItem:"), std::string::npos);
}

TEST_F(ProjectAccess, APrefixNoSelectorCanStartWithIsRefusedBeforeItReachesTheCode) {
    const std::string before = treeDump(project_.path());
    for (const std::string& prefix : std::vector<std::string>{
             "my pre", "前缀", "9lives", "a-b", std::string(33, 'x'), std::string("a\0b", 3)}) {
        auto run = options(RenameMode::literal);
        run.methodPrefix = prefix;
        RunObserver quiet;
        const auto report = RenameJob().run(run, quiet);
        ASSERT_TRUE(report.refusal) << prefix;
        EXPECT_EQ(report.refusal->reason, RunRefusal::Reason::invalidPrefix);
        EXPECT_EQ(report.refusal->detail, prefix);
        EXPECT_EQ(treeDump(project_.path()), before);
    }
    for (const std::string& prefix :
         std::vector<std::string>{"", "_", "my_pre9", std::string(32, 'x')}) {
        auto run = options(RenameMode::precise);
        run.methodPrefix = prefix;
        run.dryRun = true;
        RunObserver quiet;
        const auto report = RenameJob().run(run, quiet);
        EXPECT_FALSE(report.refusal) << prefix;
        ASSERT_FALSE(report.pairs.empty());
        EXPECT_TRUE(report.pairs[0].new_.selector().starts_with(prefix));
    }
}

// Every phase of a run, in order, each ending where it said it would.
class PhaseRecorder final : public RunObserver {
public:
    void phaseProgress(RunPhase phase, std::uint64_t done, std::uint64_t total) override {
        if (order.empty() || order.back() != phase) {
            order.push_back(phase);
        }
        if (total > 0) {
            EXPECT_LE(done, total);
            EXPECT_GE(done, last[phase].first) << "progress went back";
        }
        last[phase] = {done, total};
    }

    std::vector<RunPhase> order;
    std::map<RunPhase, std::pair<std::uint64_t, std::uint64_t>> last;
};

TEST_F(ProjectAccess, EveryPhaseIsReportedInOrderAndEndsComplete) {
    TempDir backups;
    auto run = options(RenameMode::precise);
    run.backupDirectory = backups.str();
    PhaseRecorder recorder;
    const auto report = RenameJob().run(run, recorder);
    ASSERT_FALSE(report.refusal);
    ASSERT_TRUE(report.backup && report.backup->ok()) << report.backup->error().message;
    EXPECT_EQ(recorder.order,
              (std::vector<RunPhase>{RunPhase::listing, RunPhase::reading, RunPhase::backup,
                                     RunPhase::renaming, RunPhase::writing}));
    for (const auto& [phase, last] : recorder.last) {
        EXPECT_GT(last.second, 0u) << static_cast<int>(phase);
        EXPECT_EQ(last.first, last.second) << static_cast<int>(phase);
    }
    // Eight entries: six files, two folders; every byte of the six files archived.
    EXPECT_EQ(recorder.last[RunPhase::listing].second, 8u);
    const auto bytes = fooHeader.size() + fooSource.size() + barHeader.size() + barSource.size() +
                       std::string("void h(Foo *f) { [f store:nil]; }\n").size() +
                       std::string("not really a picture").size();
    EXPECT_EQ(recorder.last[RunPhase::backup].second, bytes);
    EXPECT_EQ(recorder.last[RunPhase::renaming].second, report.pairs.size());
}

} // namespace
} // namespace quillet::test
