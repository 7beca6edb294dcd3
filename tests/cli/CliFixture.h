#pragma once

#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "support/Command.h"
#include "support/Files.h"

namespace quillet::test {

// quillet-cli as a user runs it: the real binary, with a home folder of its own, on a copy of
// the example project.
class CliFixture : public ::testing::Test {
protected:
    void SetUp() override;

    std::string project() const { return (project_.path() / "DemoShop").string(); }
    std::string logPath() const { return (home_.path() / "Quillet.txt").string(); }

    CommandResult run(const std::string& arguments) const;
    // The cli run by a user without privileges, for whom a file's permissions count: root reads
    // every file whatever they say. As root the test's folders are handed to that user first.
    // Nothing when this process is root and cannot become another user.
    std::optional<CommandResult> runUnprivileged(const std::string& arguments) const;

    TempDir project_;
    TempDir home_;
    TempDir scratch_;
};

} // namespace quillet::test
