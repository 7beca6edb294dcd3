// Crash reports are written by a child process that dies on purpose; the parent reads them.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <regex>

#include "base/Fatal.h"
#include "crash/Crashlytics.h"
#include "support/Files.h"

namespace fs = std::filesystem;
using quillet::Crashlytics;
using quillet::test::readFile;
using quillet::test::TempDir;

namespace {

std::vector<fs::path> reportsIn(const fs::path& folder) {
    std::vector<fs::path> reports;
    if (fs::exists(folder)) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            reports.push_back(entry.path());
        }
    }
    return reports;
}

[[noreturn]] void segfault() {
    // The compiler cannot see that the address is null, so this is a real invalid write.
    volatile std::uintptr_t address = 0;
    *reinterpret_cast<volatile int*>(address) = 1;
    std::abort();
}

} // namespace

TEST(Crashlytics, AFaultWritesOneReportAndTheProcessStillDiesOfIt) {
    TempDir temp;
    const fs::path folder = temp.path() / "Crashes" / "nested";
    EXPECT_EXIT(
        {
            auto& reporter = Crashlytics::shared();
            reporter.setUserName("build-mac");
            if (!reporter.start(folder.string(), "9.8.7")) {
                std::_Exit(2);
            }
            reporter.setUserIdentifier("0123456789ABCDEF0123456789ABCDEF");
            segfault();
        },
        ::testing::KilledBySignal(SIGSEGV), "");

    const auto reports = reportsIn(folder);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(reports[0].filename().string(), std::regex(R"(crash-\d+-\d+\.txt)")));
    const std::string report = readFile(reports[0]);
    const std::regex expected(R"(Quillet crash report
time: 20\d\d-[01]\d-[0-3]\d [0-2]\d:[0-5]\d:[0-5]\d UTC
version: 9\.8\.7
user name: build-mac
user identifier: 0123456789ABCDEF0123456789ABCDEF
signal: 11 \(SIGSEGV\)
backtrace:
(.+\n)+)");
    EXPECT_TRUE(std::regex_match(report, expected)) << report;
}

TEST(Crashlytics, AbortIsReportedAndAnEmptyUserNameBecomesUnknown) {
    TempDir temp;
    EXPECT_EXIT(
        {
            auto& reporter = Crashlytics::shared();
            (void)reporter.start(temp.str(), "1.0");
            reporter.setUserName("");
            std::abort();
        },
        ::testing::KilledBySignal(SIGABRT), "");

    const auto reports = reportsIn(temp.path());
    ASSERT_EQ(reports.size(), 1u);
    const std::string report = readFile(reports[0]);
    EXPECT_NE(report.find("user name: Unknown\n"), std::string::npos) << report;
    EXPECT_NE(report.find("signal: 6 (SIGABRT)\n"), std::string::npos) << report;
}

TEST(Crashlytics, AFatalFailureLeavesItsReasonInTheReport) {
    TempDir temp;
    EXPECT_EXIT(
        {
            (void)Crashlytics::shared().start(temp.str(), "1.0");
            quillet::fatal("the system's random generator failed: no entropy");
        },
        ::testing::KilledBySignal(SIGABRT), "random generator failed");

    const auto reports = reportsIn(temp.path());
    ASSERT_EQ(reports.size(), 1u);
    const std::string report = readFile(reports[0]);
    EXPECT_NE(report.find("signal: 6 (SIGABRT)\nreason: the system's random generator failed: "
                          "no entropy\nbacktrace:\n"),
              std::string::npos)
        << report;
}

TEST(Crashlytics, AFolderThatCannotBeMadeSaysWhy) {
    TempDir temp;
    const std::string blocker = temp.write("file", "not a folder");
    const auto started = Crashlytics::shared().start(blocker + "/Crashes", "1.0");
    ASSERT_FALSE(started);
    EXPECT_TRUE(started.error().message.starts_with("Could not make " + blocker + "/Crashes"))
        << started.error().message;
}

TEST(Crashlytics, AFolderThatCannotBeMadeInstallsNothing) {
    TempDir temp;
    const std::string blocker = temp.write("file", "not a folder");
    EXPECT_EXIT(
        {
            if (Crashlytics::shared().start(blocker + "/Crashes", "1.0")) {
                std::_Exit(1);
            }
            segfault();
        },
        ::testing::KilledBySignal(SIGSEGV), "");
    EXPECT_EQ(reportsIn(temp.path()), std::vector<fs::path>{blocker});
}
