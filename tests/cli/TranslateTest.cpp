// translate as a user pipes a crash report or a log through it: the old names on standard
// output, every input in turn, and a status that says whether all of it was translated.
#include <filesystem>

#include "CliFixture.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

class CliTranslate : public CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        names_ =
            files_.write("QuilletNames.tsv", "# Quillet 0.1.0, precise mode, 2026-01-12T06:00:00Z\n"
                                             "method\taddItem:count:\tputThing:many:\n"
                                             "unary\treloadCart\trefreshLeaves\n"
                                             "class\tCart\tZqShelf\n"
                                             "file\tModels/Cart.m\tModels/ZqShelf.m\n");
        crash_ = files_.write("a.crash", "3   MyApp   0x0000000100abc123 -[ZqShelf putThing:many:] "
                                         "+ 52 (ZqShelf.m:42)\r\n");
        log_ = files_.write("b.log", "ZqShelf: refreshLeaves\n\xff ZqShelfView");
    }

    // The cli with a redirection of its own, which run() would override with its own.
    CommandResult runRedirected(const std::string& arguments) const {
        return runCommand("{ HOME=" + shellQuoted(home_.str()) + " " +
                              shellQuoted(QUILLET_CLI_PATH) + " " + arguments + "; }",
                          scratch_);
    }

    TempDir files_;
    std::string names_;
    std::string crash_;
    std::string log_;
    const std::string crashOld_ =
        "3   MyApp   0x0000000100abc123 -[Cart addItem:count:] + 52 (Cart.m:42)\r\n";
    const std::string logOld_ = "Cart: reloadCart\n\xff ZqShelfView";
};

TEST_F(CliTranslate, FilesAndStandardInputAreTranslatedOneAfterAnother) {
    const auto files = run("translate " + names_ + " " + crash_ + " " + log_);
    EXPECT_EQ(files.exitCode, 0) << files.err;
    EXPECT_EQ(files.out, crashOld_ + logOld_);
    EXPECT_EQ(files.err, "");
    const auto piped = runRedirected("translate " + names_ + " <" + shellQuoted(crash_));
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, crashOld_);
    const auto dash = runRedirected("translate " + names_ + " " + log_ + " - <" + crash_);
    EXPECT_EQ(dash.out, logOld_ + crashOld_);
    // A method list of an older run works as a names file.
    const auto list =
        files_.write("MethodReplaceList.txt", "Old --> addItem:count:\nNew --> putThing:many:\n\n");
    EXPECT_EQ(run("translate " + list + " " + crash_).out,
              "3   MyApp   0x0000000100abc123 -[ZqShelf addItem:count:] + 52 (ZqShelf.m:42)\r\n");
}

// Read in blocks and translated line by line, a large input must come out as a small one would.
TEST_F(CliTranslate, AnInputLargerThanABlockIsTranslatedAcrossItsBlocks) {
    std::string renamed;
    std::string original;
    for (int i = 0; renamed.size() < (3u << 20); ++i) {
        const std::string pad(static_cast<std::size_t>(i % 97), ' ');
        renamed += pad + "-[ZqShelf putThing:many:] ZqShelf.m refreshLeaves\n";
        original += pad + "-[Cart addItem:count:] Cart.m reloadCart\n";
    }
    // A last line longer than a block, without a line end.
    for (int i = 0; i < 40000; ++i) {
        renamed += " ZqShelf ";
        original += " Cart ";
    }
    const auto big = files_.write("big.log", renamed);
    const auto result = runRedirected("translate " + names_ + " <" + shellQuoted(big));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out == original) << "the translation differs";
}

TEST_F(CliTranslate, AnInputThatCannotBeReadIsNamedAndTheOthersAreStillTranslated) {
    const std::string missing = (files_.path() / "missing.crash").string();
    const std::string folder = (files_.path() / "reports").string();
    fs::create_directory(folder);
    const auto result =
        run("translate " + names_ + " " + missing + " " + crash_ + " " + folder + " " + log_);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, crashOld_ + logOld_);
    EXPECT_EQ(result.err, "quillet-cli: cannot read " + missing +
                              ": No such file or directory\n"
                              "quillet-cli: cannot read " +
                              folder + ": Is a directory\n");
}

TEST_F(CliTranslate, AnOutputThatCannotBeWrittenEndsInFailure) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full to write to";
    }
    const auto result = runRedirected("translate " + names_ + " " + crash_ + " >/dev/full");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "quillet-cli: cannot write the translation: No space left on device\n");
}

TEST_F(CliTranslate, NamesThatAreNoNamesFileAreRefusedInOneLine) {
    const std::string missing = (files_.path() / "none.tsv").string();
    const auto notNames = files_.write("notes.txt", "some notes\n");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {missing, "quillet-cli: cannot read " + missing + ": No such file or directory\n"},
        {notNames, "quillet-cli: " + notNames +
                       " is not a names file: a line of a names file holds kind, old name and new "
                       "name, tab-separated (line 1)\n"},
    };
    for (const auto& [names, says] : cases) {
        const auto result = run("translate " + names + " " + crash_);
        EXPECT_EQ(result.exitCode, 1) << names;
        EXPECT_EQ(result.out, "") << names;
        EXPECT_EQ(result.err, says) << names;
    }
    // An entry no text can hold is said, and the others are used.
    const auto oneBad = files_.write("odd.tsv", "class\tCart\tZqShelf\nclass\tCartCell\tZq Cell\n");
    const auto odd = run("translate " + oneBad + " " + crash_);
    EXPECT_EQ(odd.exitCode, 0);
    EXPECT_EQ(odd.out,
              "3   MyApp   0x0000000100abc123 -[Cart putThing:many:] + 52 (Cart.m:42)\r\n");
    EXPECT_EQ(odd.err, "quillet-cli: " + oneBad +
                           ": not a name a text can hold, left out: class CartCell -> Zq Cell\n");
}

} // namespace
} // namespace quillet::test
