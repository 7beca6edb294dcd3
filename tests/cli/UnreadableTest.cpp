// Files and folders of the project that cannot be read: a run is refused before it writes,
// unless told to skip them, and every one is named.
#include <filesystem>
#include <set>

#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include "CliFixture.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

class CliUnreadable : public CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        project_.write("DemoShop/Vendor/Helper.m", "// kept away from everyone\n");
        if (!runUnprivileged("--version")) {
            GTEST_SKIP() << "running as root, and no other user to run as";
        }
        before_ = treeDump(project());
        ::chmod(source().c_str(), 0);
        ::chmod(folder().c_str(), 0);
    }

    // Cart.m defines what Cart.h declares.
    std::string source() const { return project() + "/Models/Cart.m"; }
    std::string folder() const { return project() + "/Vendor"; }

    // The run as a user the permissions apply to, which SetUp made sure there is.
    CommandResult runLimited(const std::string& arguments) const {
        return runUnprivileged(arguments).value();
    }

    // Whether the project holds what it held before the test took its permissions away.
    void expectUnchanged() {
        ::chmod(source().c_str(), 0644);
        ::chmod(folder().c_str(), 0755);
        EXPECT_EQ(treeDump(project()), before_);
    }

    std::string before_;
};

TEST_F(CliUnreadable, ARunIsRefusedNamingEveryPathAndTheProjectIsLeftAsItWas) {
    for (const std::string& command :
         {"rename " + project() + " --random", "rename " + project() + " --random --dry-run",
          "methods " + project()}) {
        for (const std::string mode : {" --mode precise", " --mode literal"}) {
            const auto result = runLimited(command + mode);
            EXPECT_EQ(result.exitCode, 1) << command << mode << "\n" << result.err;
            EXPECT_EQ(result.out, "") << command << mode;
            const std::vector<std::string> named = {
                "quillet-cli: 2 files or folders of the project cannot be read; the project was "
                "not changed:\n",
                "\n  " + source() + ": Permission denied\n", "\n  " + folder() + "/: ",
                "\nmake them readable, or run again with --skip-unreadable to leave them as they "
                "are"};
            for (const auto& text : named) {
                EXPECT_NE(result.err.find(text), std::string::npos) << command << mode << "\n"
                                                                    << text << "\n"
                                                                    << result.err;
            }
        }
    }
    // A script reads the same from the document.
    const auto result = runLimited("rename " + project() + " --random --dry-run --json");
    const auto document = nlohmann::json::parse(result.out);
    EXPECT_EQ(document["exitStatus"], 1);
    EXPECT_EQ(document["refusal"]["reason"], "unreadable");
    std::set<std::string> inaccessible;
    for (const auto& entry : document["files"]["inaccessible"]) {
        inaccessible.insert(entry["path"].get<std::string>());
    }
    EXPECT_EQ(inaccessible, (std::set<std::string>{source(), folder() + "/"}));
    EXPECT_FALSE(fs::exists(home_.path() / "Quillet" / "Backup"));
    expectUnchanged();
}

TEST_F(CliUnreadable, SkippingGoesAheadAndKeepsTheNamesDeclaredBesideAnUnreadableSource) {
    const std::string header = readFile(project() + "/Models/Cart.h");
    const auto methods = runLimited("methods " + project() + " --skip-unreadable");
    EXPECT_EQ(methods.exitCode, 3) << methods.err;
    // Every method Cart.h declares keeps its name: its definitions cannot follow a rename.
    for (const std::string selector : {"addProduct:quantity:", "removeProduct:"}) {
        EXPECT_NE(methods.out.find(selector + "\tCart.h\tprotected: "), std::string::npos)
            << methods.out;
    }

    const auto listed =
        nlohmann::json::parse(runLimited("methods " + project() + " --skip-unreadable --json").out);
    EXPECT_EQ(listed["exitStatus"], 3);
    EXPECT_EQ(listed["status"], "incomplete");
    EXPECT_EQ(listed["files"]["inaccessible"].size(), 2u);

    const auto result =
        runLimited("rename " + project() + " --random --no-backup --skip-unreadable");
    EXPECT_EQ(result.exitCode, 3) << result.err;
    for (const std::string& named :
         {"skipped, cannot be read, left as it was: " + source() + ": Permission denied\n",
          "skipped, cannot be read, left as it was: " + folder() + "/: "}) {
        EXPECT_NE(result.err.find(named), std::string::npos) << named << "\n" << result.err;
    }
    const std::string list = readFile(project() + "/MethodReplaceList.txt");
    EXPECT_NE(list.find("\nOld --> "), std::string::npos) << "the rest is renamed";
    EXPECT_EQ(list.find("addProduct:quantity:"), std::string::npos) << list;
    EXPECT_EQ(readFile(project() + "/Models/Cart.h"), header);
}

TEST_F(CliUnreadable, ABackupThatCannotReadAProjectFileNamesItAndNotTheBackupDirectory) {
    ::chmod(folder().c_str(), 0755);
    const auto result = runLimited("rename " + project() + " --random --skip-unreadable");
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.err.find("quillet-cli: the backup could not be made: Could not read " +
                              source() + ": Permission denied\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("the project was not changed; the project's " + source() +
                              " could not be read: make it readable and run again\n"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find("--no-backup"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("backup directory"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(project() + "/MethodReplaceList.txt"));
    expectUnchanged();
}

} // namespace
} // namespace quillet::test
