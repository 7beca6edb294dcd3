// quillet-cli as a user runs it: the real binary on copies of the example project.
#include "CliFixture.h"

#include <cstdlib>
#include <filesystem>
#include <regex>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "defaults/DefaultsStore.h"
#include "fs/FolderLock.h"
#include "text/Text.h"
#include "wordbank/WordModel.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

class Cli : public CliFixture {};

const std::string words = QUILLET_EXAMPLES_DIR "/words.txt";

std::vector<fs::path> backupsIn(const fs::path& folder) {
    std::vector<fs::path> found;
    if (fs::exists(folder)) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            found.push_back(entry.path());
        }
    }
    return found;
}

TEST_F(Cli, MethodsListsEachSelectorWithItsHeader) {
    const auto result = run("methods " + project() + " --mode literal");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto lines = text::split(result.out, '\n');
    ASSERT_GT(lines.size(), 3u);
    EXPECT_EQ(lines.back(), "");
    const std::regex line(R"(([A-Za-z_][A-Za-z0-9_]*:)+\t[A-Za-z0-9_+]+\.h)");
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], line)) << lines[i];
        EXPECT_EQ(lines[i].find("init"), std::string::npos) << "initialisers are never renamed";
    }
    EXPECT_NE(result.err.find("methods: " + std::to_string(lines.size() - 1) + "\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("words needed: "), std::string::npos);
}

TEST_F(Cli, RenameWithWordsRewritesTheProjectAndWritesListAndLog) {
    const std::string before = treeDump(project());
    const auto methods = run("methods " + project());
    const auto result = run("rename " + project() + " --words " + words + " --prefix qq --quiet");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");

    const std::string list = readFile(project() + "/MethodReplaceList.txt");
    const auto selectors = text::split(methods.out, '\n');
    for (std::size_t i = 0; i + 1 < selectors.size(); ++i) {
        const auto old = selectors[i].substr(0, selectors[i].find('\t'));
        EXPECT_NE(list.find("\nOld --> " + old + "\nNew --> qq"), std::string::npos) << old;
    }
    // The target/action selector and the three-line declaration follow the list.
    const auto renamedAs = [&](const std::string& old) {
        const auto at = list.find("\nOld --> " + old + "\nNew --> ");
        const auto start = at + old.size() + 18;
        return at == std::string::npos ? std::string()
                                       : list.substr(start, list.find('\n', start) - start);
    };
    const std::string action = renamedAs("refreshButtonTapped:");
    ASSERT_FALSE(action.empty());
    const std::string controller = readFile(project() + "/Controllers/ProductListViewController.m");
    EXPECT_NE(controller.find("action:@selector(" + action + ")"), std::string::npos);
    const auto total =
        text::split(renamedAs("totalPriceWithTaxRate:shippingFee:includeDiscount:"), ':');
    ASSERT_EQ(total.size(), 4u);
    const std::string cart = readFile(project() + "/Models/Cart.h");
    EXPECT_NE(cart.find("- (double)" + total[0] + ":(double)taxRate\n                    " +
                        total[1] + ":(double)shippingFee\n                 " + total[2] +
                        ":(BOOL)includeDiscount;"),
              std::string::npos)
        << cart;
    EXPECT_NE(treeDump(project()), before);
    const std::string log = readFile(logPath());
    EXPECT_NE(log.find("\nReplacing "), std::string::npos);
}

const std::vector<std::string> phases = {"checking", "reading", "backup", "renaming", "writing"};

TEST_F(Cli, RenameShowsEachPhaseInAFewLinesAndASummaryUnlessQuiet) {
    const auto result = run("rename " + project() + " --random");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const auto lines = text::split(result.err, '\n');
    std::size_t at = 0;
    for (const auto& phase : phases) {
        // The start, a line for every tenth, the end: a log stays short.
        const std::regex progress(phase + ": ([0-9]+% \\([0-9.]+ of [0-9.]+ [a-zA-Z]+\\)|started)");
        const std::size_t first = at;
        while (at < lines.size() && std::regex_match(lines[at], progress)) {
            ++at;
        }
        EXPECT_GE(at - first, 2u) << phase << "\n" << result.err;
        EXPECT_LE(at - first, 12u) << phase << "\n" << result.err;
        ASSERT_GT(at, first) << phase << "\n" << result.err;
        EXPECT_NE(lines[at - 1].find(": 100% ("), std::string::npos) << lines[at - 1];
    }
    std::string summary;
    for (; at < lines.size(); ++at) {
        summary += lines[at] + "\n";
    }
    const std::regex expected("backup: " + home_.str() +
                              "/Quillet/Backup/DemoShop_[0-9_-]+\\.zip\n"
                              "methods renamed: [1-9][0-9]*\nmethods protected: 0\n"
                              "files changed: [1-9][0-9]*\nfiles unchanged: [0-9]+\n"
                              "files failed: 0\nname list: " +
                              project() + "/MethodReplaceList\\.txt\nlog: " + logPath() + "\n\n");
    EXPECT_TRUE(std::regex_match(summary, expected)) << summary;

    EXPECT_EQ(run("rename " + project() + " --random --quiet").err, "");
}

TEST_F(Cli, OnATerminalEachPhaseIsOneLineDrawnAgainInPlace) {
    if (runCommand("command -v script", scratch_).exitCode != 0) {
        GTEST_SKIP() << "no script(1) to give the cli a terminal";
    }
    const std::string cli = "HOME=" + shellQuoted(home_.str()) + " " +
                            shellQuoted(QUILLET_CLI_PATH) + " rename " + project() + " --random";
    const auto result = runCommand("script -qec " + shellQuoted(cli) + " /dev/null", scratch_);
    ASSERT_EQ(result.exitCode, 0) << result.out;
    std::vector<std::string> drawn;
    for (auto line : text::split(result.out, '\n')) {
        if (line.find("\033[K") == std::string::npos) {
            continue;
        }
        // The terminal ends a line with "\r\n"; each redraw starts with "\r".
        while (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        drawn.push_back(line.substr(line.rfind('\r') + 1));
    }
    ASSERT_EQ(drawn.size(), phases.size()) << result.out;
    for (std::size_t i = 0; i < phases.size(); ++i) {
        const std::regex done(phases[i] + ": \\[#{30}\\] 100% \\(.+\\)\033\\[K");
        EXPECT_TRUE(std::regex_match(drawn[i], done)) << drawn[i];
    }
}

TEST_F(Cli, ARunStoppedBeforeWritingSaysNothingWasRenamedInsteadOfCounts) {
    fs::create_directory(project() + "/MethodReplaceList.txt");
    const std::string before = treeDump(project());
    const auto result = run("rename " + project() + " --random --no-backup");
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.err.find("nothing was renamed"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("methods renamed:"), std::string::npos) << result.err;
    EXPECT_EQ(treeDump(project()), before);
}

TEST_F(Cli, VerboseEchoesTheLog) {
    const auto result = run("rename " + project() + " --random --quiet --verbose");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find(" replace(factor:) [Line "), std::string::npos);
    EXPECT_EQ(run("rename " + project() + " --random --quiet").out, "");
}

TEST_F(Cli, RunsThatCannotStartWriteNothing) {
    const std::string before = treeDump(project_.path());
    const fs::path spaced = project_.path() / "With Space";
    fs::create_directory(spaced);
    fs::path empty = project_.path() / "Empty";
    fs::create_directory(empty);
    writeFile(empty / "Lonely.h", "- (void)alone:(int)a;\n");
    const std::string tooFew = scratch_.write("few.txt", "alphabetical,brightness\n");
    const std::string badWords = scratch_.write("bad.txt", "alphabetical,,brightness\n");

    struct Case {
        std::string arguments;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"rename '" + spaced.string() + "' --random",
         "cannot work on " + spaced.string() +
             ": a path may hold only ASCII letters, digits, \"_\", \"/\", \".\" and \"-\""},
        {"rename " + project() + "/Missing --random", "no such folder"},
        {"rename " + project() + "/Models/Product.m --random", "not a folder"},
        {"rename " + empty.string() + " --random",
         "no header with an implementation file beside it was found in " + empty.string()},
        {"rename " + project() + " --words " + tooFew,
         "not enough words: the words file " + tooFew + " holds 2 and this project needs "},
        {"rename " + project() + " --words " + badWords, "not a word bank text"},
        {"rename " + project() + " --words " + scratch_.str() + "/none.txt", "cannot read"},
        {"rename " + project() + " --random --sdk /no/such/sdk",
         "cannot read the SDK folder /no/such/sdk"},
        {"methods " + project() + " --protect " + scratch_.str() + "/none.txt",
         "cannot read the selector list"},
    };
    for (const auto& c : cases) {
        const auto result = run(c.arguments);
        EXPECT_EQ(result.exitCode, 1) << c.arguments << "\n" << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << c.arguments << "\n"
                                                                 << result.err;
    }
    fs::remove_all(spaced);
    fs::remove_all(empty);
    EXPECT_EQ(treeDump(project_.path()), before);
}

TEST_F(Cli, MethodsInThePreciseModeSayWhyAMethodKeepsItsName) {
    writeFile(project() + "/Models/Shelf.h",
              "@interface Shelf : NSObject\n@property NSArray *books;\n"
              "- (void)insertObject:(id)o inBooksAtIndex:(NSUInteger)i;\n"
              "+ (instancetype)stringWithFormat:(NSString *)format, ...;\n@end\n");
    writeFile(project() + "/Models/Shelf.m", "@implementation Shelf\n@end\n");
    const std::string sdk = scratch_.write("SDK/NSString.h", "@interface NSString\n"
                                                             "+ (id)stringWithFormat:(id)f, ...;\n"
                                                             "@end\n");
    const std::string keep = scratch_.write("keep.txt", "# mine\nisCheaperThan:\n");
    const auto result =
        run("methods " + project() + " --sdk " + scratch_.str() + "/SDK --protect " + keep);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const std::string line :
         {"insertObject:inBooksAtIndex:\tShelf.h\tprotected: called by the runtime by name\n",
          "stringWithFormat:\tShelf.h\tprotected: declared by the SDK\n",
          "isCheaperThan:\tProduct.h\tprotected: in the list of protected selectors\n",
          "addProduct:quantity:\tCart.h\trename\n"}) {
        EXPECT_NE(result.out.find(line), std::string::npos) << line << result.out;
    }
    const auto lines = text::split(result.out, '\n');
    EXPECT_NE(result.err.find("methods: " + std::to_string(lines.size() - 1) + " (rename " +
                              std::to_string(lines.size() - 4) + ", protected 3)\n"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("SDK: " + scratch_.str() + "/SDK (1 headers, 1 selectors)\n"),
              std::string::npos)
        << result.err;
    // The second run reads the SDK folder from the cache.
    EXPECT_NE(run("methods " + project() + " --sdk " + scratch_.str() + "/SDK")
                  .err.find("/SDK (1 headers, 1 selectors, cached)\n"),
              std::string::npos);
}

TEST_F(Cli, ADryRunPrintsTheChangesAsAPatchAndWritesNothing) {
    const std::string before = treeDump(project_.path());
    const auto result = run("rename " + project() + " --random --dry-run");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(treeDump(project_.path()), before);
    EXPECT_FALSE(fs::exists(home_.path() / "Quillet" / "Backup"));
    EXPECT_NE(result.out.find("--- a/Models/Cart.h\n+++ b/Models/Cart.h\n@@ -"), std::string::npos)
        << result.out;
    EXPECT_NE(result.err.find("; nothing was written\n"), std::string::npos) << result.err;

    // The diff is a patch that applies to the project as it is.
    const std::string patchFile = scratch_.write("run.diff", result.out);
    const std::string apply = "cd '" + project() + "' && patch -s -p1 < '" + patchFile + "'";
    ASSERT_EQ(std::system(apply.c_str()), 0);
    EXPECT_NE(readFile(project() + "/Models/Cart.h"),
              readFile(QUILLET_EXAMPLES_DIR "/DemoShop/Models/Cart.h"));
    EXPECT_EQ(run("rename " + project() + " --random --dry-run --mode literal").exitCode, 0);
}

TEST_F(Cli, StoredSdkFoldersAndSelectorsProtectEveryRun) {
    const std::string sdk = scratch_.write("SDK/Cart.h", "@interface Cart\n"
                                                         "- (void)removeProduct:(id)p;\n@end\n");
    const std::string keep = scratch_.write("keep.txt", "quantityOfProduct:\n");
    ASSERT_EQ(run("settings set --sdk " + scratch_.str() + "/SDK --protect " + keep).exitCode, 0);
    const auto shown = run("settings show").out;
    EXPECT_NE(shown.find("SDK folder: " + scratch_.str() + "/SDK\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("protected selector: quantityOfProduct:\n"), std::string::npos);
    const auto methods = run("methods " + project()).out;
    EXPECT_NE(methods.find("removeProduct:\tCart.h\tprotected: declared by the SDK"),
              std::string::npos);
    EXPECT_NE(methods.find("quantityOfProduct:\tCart.h\tprotected: in the list"),
              std::string::npos);
    ASSERT_EQ(run("settings set --no-sdk").exitCode, 0);
    EXPECT_EQ(run("settings show").out.find("SDK folder:"), std::string::npos);
}

TEST_F(Cli, ASecondRunOnAFolderInUseIsRefusedAndWritesNothing) {
    const std::string before = treeDump(project_.path());
    const auto held = quillet::fs::FolderLock::take(project());
    ASSERT_TRUE(held) << held.error().message;
    const auto result = run("rename " + project() + " --random --no-backup");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find(project() + ": another run is working on it; nothing was written"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(treeDump(project_.path()), before);
}

TEST_F(Cli, AFileThatCannotBeReadIsNamedAndTheRunIsNotCalledDone) {
    // It calls a renamed method, which it will go on calling by the old name.
    const std::string blob = project() + "/Models/Blob.m";
    writeFile(blob, std::string("[cart addProduct:p quantity:1];\0", 32));
    const auto result = run("rename " + project() + " --random --no-backup --quiet");
    EXPECT_EQ(result.exitCode, 3) << result.err;
    EXPECT_NE(result.err.find("not read, left as it was (it may use renamed methods): " + blob +
                              ": binary content"),
              std::string::npos)
        << result.err;
    EXPECT_NE(readFile(logPath()).find("Not read, left as it was: " + blob), std::string::npos);
}

TEST_F(Cli, RestorePutsTheProjectBackAsItsBackupHoldsIt) {
    const std::string original = treeDump(project());
    ASSERT_EQ(run("rename " + project() + " --random --quiet").exitCode, 0);
    ASSERT_NE(treeDump(project()), original);
    const auto archives = backupsIn(home_.path() / "Quillet" / "Backup");
    ASSERT_EQ(archives.size(), 1u);

    const auto restored = run("restore " + archives.front().string());
    ASSERT_EQ(restored.exitCode, 0) << restored.err;
    EXPECT_NE(restored.out.find("kept, added since the backup: MethodReplaceList.txt\n"),
              std::string::npos)
        << restored.out;
    fs::remove(project() + "/MethodReplaceList.txt");
    EXPECT_EQ(treeDump(project()), original);

    ASSERT_EQ(run("rename " + project() + " --random --quiet --no-backup").exitCode, 0);
    const std::string elsewhere = scratch_.str() + "/Elsewhere";
    ASSERT_EQ(run("restore " + archives.front().string() + " " + elsewhere).exitCode, 0);
    EXPECT_EQ(treeDump(elsewhere), original);
    const auto cleaned = run("restore " + archives.front().string() + " --clean");
    ASSERT_EQ(cleaned.exitCode, 0) << cleaned.err;
    EXPECT_NE(cleaned.out.find("removed, added since the backup: MethodReplaceList.txt\n"),
              std::string::npos);
    EXPECT_EQ(treeDump(project()), original);

    const auto notAnArchive = run("restore " + project() + "/Models/Cart.m");
    EXPECT_EQ(notAnArchive.exitCode, 1);
    EXPECT_EQ(notAnArchive.err, "quillet-cli: cannot open " + project() +
                                    "/Models/Cart.m: Not a zip archive; nothing was changed\n");
    // An archive without the folder's name in its comment needs the folder named: here an
    // empty one, only the end of its central directory.
    const std::string bare =
        scratch_.write("bare.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    const auto unnamed = run("restore " + bare);
    EXPECT_EQ(unnamed.exitCode, 1);
    EXPECT_EQ(unnamed.err, "quillet-cli: " + bare +
                               " does not say which folder it holds; nothing was changed\n");
    for (const std::string& arguments : {"restore " + scratch_.str() + "/none.zip",
                                         "restore " + scratch_.str() + "/none.zip " + project()}) {
        const auto missing = run(arguments);
        EXPECT_EQ(missing.exitCode, 1);
        EXPECT_EQ(missing.err, "quillet-cli: cannot open " + scratch_.str() +
                                   "/none.zip: No such file or directory; nothing was changed\n");
    }
}

TEST_F(Cli, UnaryKindAddsArgumentlessMethodsAndLeavesTheDefaultAsItWas) {
    const auto plain = run("methods " + project());
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    const auto explicitKinds = run("methods " + project() + " --kinds methods");
    EXPECT_EQ(explicitKinds.out, plain.out);
    // The same summary, but for the SDK folders read from the cache the second time.
    EXPECT_EQ(std::regex_replace(explicitKinds.err, std::regex(", cached\\)"), ")"), plain.err);
    EXPECT_EQ(run("methods " + project() + " --mode literal --kinds methods").exitCode, 0);

    const auto unary = run("methods " + project() + " --kinds methods,unary");
    ASSERT_EQ(unary.exitCode, 0) << unary.err;
    std::string withKeywords;
    std::vector<std::string> renamed;
    const std::regex unaryLine(
        R"(([A-Za-z_][A-Za-z0-9_]*)\t[A-Za-z0-9_+]+\.h\t(rename|protected: .+))");
    for (const auto& line : text::split(unary.out, '\n')) {
        std::smatch match;
        if (line.find(':') < line.find('\t')) {
            withKeywords += line + "\n";
        } else if (!line.empty()) {
            ASSERT_TRUE(std::regex_match(line, match, unaryLine)) << line;
            if (match[2] == "rename") {
                renamed.push_back(match[1]);
            }
        }
    }
    EXPECT_EQ(withKeywords, plain.out);
    EXPECT_NE(unary.out.find("\nclear\tCart.h\trename\n"), std::string::npos) << unary.out;
    ASSERT_FALSE(renamed.empty());

    const auto result =
        run("rename " + project() + " --random --no-backup --quiet --kinds methods,unary");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::string list = readFile(project() + "/MethodReplaceList.txt");
    for (const auto& old : renamed) {
        EXPECT_NE(list.find("\nOld --> " + old + "\nNew --> "), std::string::npos) << old;
    }
}

// The window and the cli share the stored kinds and class prefix; --kinds and --class-prefix
// change one run only.
TEST_F(Cli, StoredKindsAndClassPrefixApplyUntilARunSaysOtherwise) {
    ASSERT_EQ(run("settings set --kinds methods,classes --class-prefix Zq").exitCode, 0);
    const auto shown = run("settings show").out;
    EXPECT_NE(shown.find("\nclass prefix: Zq\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\nkinds of names a precise run renames: methods,classes\n"),
              std::string::npos)
        << shown;

    const auto listed = run("methods " + project());
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_NE(listed.out.find("\nclass Cart\trename\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.err.find("classes, protocols and properties: "), std::string::npos);
    const auto methodsOnly = run("methods " + project() + " --kinds methods");
    EXPECT_EQ(methodsOnly.out.find("class "), std::string::npos) << methodsOnly.out;
    // The literal mode renames methods only, whatever is stored.
    EXPECT_EQ(run("methods " + project() + " --mode literal").out.find("class "),
              std::string::npos);

    const auto renamed = run("rename " + project() + " --random --no-backup");
    ASSERT_EQ(renamed.exitCode, 0) << renamed.err;
    EXPECT_NE(renamed.err.find("classes, protocols and properties renamed: "), std::string::npos)
        << renamed.err;
    const std::string table = readFile(project() + "/QuilletNames.tsv");
    const std::regex cartLine("(^|\n)class\tCart\t(Zq[A-Z][A-Za-z]*)\n");
    std::smatch cart;
    ASSERT_TRUE(std::regex_search(table, cart, cartLine)) << table;
    EXPECT_FALSE(fs::exists(project() + "/Models/Cart.h"));
    const std::string header = readFile(project() + "/Models/" + cart[2].str() + ".h");
    EXPECT_NE(header.find("@interface " + cart[2].str() + " : NSObject"), std::string::npos)
        << header;
}

TEST_F(Cli, AClassPrefixNoClassNameCanStartWithIsRefused) {
    for (const char* prefix : {"9Zq", "Z-q", "_Zq"}) {
        EXPECT_EQ(run(std::string("settings set --class-prefix ") + prefix).exitCode, 2) << prefix;
        EXPECT_EQ(run("rename " + project() + " --random --class-prefix " + prefix).exitCode, 2);
    }
    // One an older version stored is refused when the run starts, before anything is written.
    DefaultsStore store(home_.str() + "/.config/Quillet/Defaults.json");
    ASSERT_TRUE(store.setValue("SettingModel", BinaryData{R"({"classPrefix": "9Zq"})"}));
    const std::string before = treeDump(project());
    const auto refused =
        run("rename " + project() + " --random --no-backup --kinds methods,classes");
    EXPECT_EQ(refused.exitCode, 1) << refused.err;
    EXPECT_NE(refused.err.find("the stored class prefix \"9Zq\" cannot start a class name"),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(treeDump(project()), before);
}

// The method list of a run is enough to rename the same sources again with the same names, in
// either mode.
TEST_F(Cli, AReuseOfTheLastMethodListGivesTheSameRenamedTree) {
    for (const std::string mode : {"precise", "literal"}) {
        const fs::path last = scratch_.path() / ("last-" + mode);
        const fs::path next = scratch_.path() / ("next-" + mode);
        fs::copy(QUILLET_EXAMPLES_DIR "/DemoShop", last, fs::copy_options::recursive);
        fs::copy(QUILLET_EXAMPLES_DIR "/DemoShop", next, fs::copy_options::recursive);
        ASSERT_EQ(run("rename " + last.string() + " --random --no-backup --quiet --mode " + mode)
                      .exitCode,
                  0);
        const auto again = run("rename " + next.string() + " --random --no-backup --mode " + mode +
                               " --reuse " + last.string() + "/MethodReplaceList.txt");
        ASSERT_EQ(again.exitCode, 0) << again.err;
        EXPECT_NE(again.err.find("names given again: "), std::string::npos) << again.err;
        fs::remove(next / "QuilletNames.tsv");
        EXPECT_EQ(treeDump(next), treeDump(last)) << mode;
    }
    const auto refused =
        run("rename " + project() + " --random --reuse " + project() + "/none.tsv");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("cannot read " + project() + "/none.tsv"), std::string::npos)
        << refused.err;
}

TEST_F(Cli, UnrenameWithTheNamesFileGivesBackTheProject) {
    const std::string before = treeDump(project());
    ASSERT_EQ(run("rename " + project() +
                  " --random --no-backup --quiet --kinds methods,unary,properties,classes")
                  .exitCode,
              0);
    const std::string names = project() + "/QuilletNames.tsv";
    const auto planned = run("unrename " + names + " " + project() + " --dry-run");
    ASSERT_EQ(planned.exitCode, 0) << planned.err;
    EXPECT_NE(planned.out.find("rename from "), std::string::npos) << "moved files move back";
    const auto back = run("unrename " + names + " " + project() + " --quiet");
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(back.err, "");
    fs::remove(project() + "/MethodReplaceList.txt");
    fs::remove(names);
    EXPECT_EQ(treeDump(project()), before);
    EXPECT_FALSE(backupsIn(home_.path() / "Quillet/Backup").empty()) << "zipped first";
}

TEST_F(Cli, UsageErrorsSayWhatIsWrongInOneLineAndWhereToLook) {
    struct Case {
        std::string arguments;
        std::string seeHelp; // the usage the message points to
    };
    const std::vector<Case> cases = {
        {"frobnicate x", "quillet-cli --help"},
        {"rename " + project() + " --random --words w", "quillet-cli rename --help"},
        {"methods", "quillet-cli methods --help"},
        {"rename " + project() + " --random --prefix 'a b'", "quillet-cli rename --help"},
        {"methods a b", "quillet-cli methods --help"},
        {"methods a -x", "quillet-cli methods --help"},
        {"bank", "quillet-cli bank --help"},
        {"bank frob", "quillet-cli bank --help"},
        {"bank verify", "quillet-cli bank verify --help"},
        {"bank show extra", "quillet-cli bank show --help"},
        {"settings set", "quillet-cli settings set --help"},
        {"settings set --backup-dir", "quillet-cli settings set --help"},
        {"methods " + project() + " --mode fast", "quillet-cli methods --help"},
        {"settings set --sdk /a --no-sdk", "quillet-cli settings set --help"},
        {"rename " + project() + " --sdk", "quillet-cli rename --help"},
        {"settings set --prefix " + shellQuoted("a\xff"), "quillet-cli settings set --help"},
        {"bank new --remark " + shellQuoted("\xc3"), "quillet-cli bank new --help"},
        {"restore", "quillet-cli restore --help"},
        {"restore a b c", "quillet-cli restore --help"},
        {"restore a --force", "quillet-cli restore --help"},
        {"methods " + project() + " --kinds unary", "quillet-cli methods --help"},
        {"methods " + project() + " --kinds methods,frobs", "quillet-cli methods --help"},
        {"rename " + project() + " --random --mode literal --kinds methods,unary",
         "quillet-cli rename --help"},
        {"settings set --kinds classes", "quillet-cli settings set --help"},
        {"unrename names.tsv", "quillet-cli unrename --help"},
        {"translate", "quillet-cli translate --help"},
        {"translate names --json", "quillet-cli translate --help"},
    };
    for (const auto& c : cases) {
        const auto result = run(c.arguments);
        EXPECT_EQ(result.exitCode, 2) << c.arguments;
        const std::regex oneLine("quillet-cli: [^\n]+\nsee " + c.seeHelp + "\n");
        EXPECT_TRUE(std::regex_match(result.err, oneLine)) << c.arguments << "\n" << result.err;
        EXPECT_EQ(result.out, "") << c.arguments;
    }
    // Nothing at all is a mistake too, answered with the whole usage.
    const auto nothing = run("");
    EXPECT_EQ(nothing.exitCode, 2);
    EXPECT_EQ(nothing.out, "");
    EXPECT_EQ(nothing.err, run("--help").out);
}

TEST_F(Cli, HelpShowsTheUsageOfTheCommandAskedAbout) {
    const std::vector<std::string> commands = {
        "methods",     "rename",   "unrename", "restore",       "translate",   "bank show",
        "bank verify", "bank set", "bank new", "settings show", "settings set"};
    const auto full = run("--help");
    ASSERT_EQ(full.exitCode, 0);
    for (const std::string asked : {"-h", "help"}) {
        EXPECT_EQ(run(asked).out, full.out) << asked;
    }
    const auto linesOf = [](const std::string& usage) {
        std::vector<std::string> lines;
        for (const auto& line : text::split(usage, '\n')) {
            if (line.starts_with("  quillet-cli ")) {
                lines.push_back(line);
            }
        }
        return lines;
    };
    EXPECT_EQ(linesOf(full.out).size(), commands.size() + 2); // --version and COMMAND --help
    for (const auto& command : commands) {
        for (const std::string asked : {" --help", " -h"}) {
            // The project and the options before it do not matter: -h is never a folder.
            const auto help = run(command + " " + project() + " --quiet" + asked);
            const auto plain = run(command + asked);
            EXPECT_EQ(plain.exitCode, 0) << command << asked << plain.err;
            EXPECT_EQ(help.out, plain.out) << command << asked;
            const auto lines = linesOf(plain.out);
            ASSERT_EQ(lines.size(), 1u) << command << asked << plain.out;
            EXPECT_TRUE(lines[0].starts_with("  quillet-cli " + command + " ") ||
                        lines[0] == "  quillet-cli " + command)
                << lines[0];
            EXPECT_NE(full.out.find(lines[0] + "\n"), std::string::npos) << lines[0];
        }
    }
    // Only the options the command takes are described.
    const auto methods = run("methods -h").out;
    EXPECT_NE(methods.find("\n  --skip-unreadable "), std::string::npos) << methods;
    EXPECT_EQ(methods.find("--random"), std::string::npos) << methods;
    EXPECT_EQ(methods.find("--backup-dir"), std::string::npos) << methods;
    // A group's usage has its commands.
    const auto bank = run("bank --help");
    EXPECT_EQ(bank.exitCode, 0);
    EXPECT_EQ(linesOf(bank.out).size(), 4u) << bank.out;
    EXPECT_EQ(run("help bank set").out, run("bank set -h").out);
}

// The settings are JSON, which holds no other text than UTF-8: such a folder once ended the
// program with an exception instead of an answer.
TEST_F(Cli, AnSdkFolderToStoreMustBeUtf8) {
    const auto refused = run("settings set --sdk " + shellQuoted("/sdk/\xff"));
    EXPECT_EQ(refused.exitCode, 2) << refused.err;
    EXPECT_NE(refused.err.find("--sdk must be UTF-8 text"), std::string::npos) << refused.err;
    const auto shown = run("settings show");
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_EQ(shown.out.find("SDK folder:"), std::string::npos) << shown.out;
}

TEST_F(Cli, AFileThatCannotBeWrittenIsReportedButTheRestIsDone) {
    const std::string before = treeDump(project());
    // Cart.m defines renamed methods, so its bytes would change.
    const std::string locked = project() + "/Models/Cart.m";
    const std::string lockedBefore = readFile(locked);
    ::chmod(locked.c_str(), 0444);
    const auto result = run("rename " + project() + " --random --quiet");
    EXPECT_EQ(result.exitCode, 3) << result.err;
    EXPECT_NE(result.err.find("could not be written"), std::string::npos);
    EXPECT_EQ(readFile(locked), lockedBefore);
    EXPECT_NE(treeDump(project()), before);
}

TEST_F(Cli, TheDefaultBankAndTheStoredPrefixDriveARenameAfterABackup) {
    // Nothing stored yet: the bank is empty, and the refusal says how to go on.
    const auto empty = run("rename " + project() + " --quiet");
    EXPECT_EQ(empty.exitCode, 1);
    const std::regex refusal(
        "quillet-cli: not enough words: the default word bank holds 0 and this project needs "
        "([0-9]+) \\(one and a half for each piece of a selector\\); nothing was written\n"
        "use --random for names of random letters, --words FILE with a bank text of at least "
        "([0-9]+) different words, or make such a file the default bank with quillet-cli bank "
        "set FILE\n");
    std::smatch needed;
    ASSERT_TRUE(std::regex_match(empty.err, needed, refusal)) << empty.err;
    EXPECT_EQ(needed[1], needed[2]);
    EXPECT_NE(run("methods " + project()).err.find("words needed: " + needed[1].str() + "\n"),
              std::string::npos);

    const auto set = run("bank set " + words + " --remark 示例");
    ASSERT_EQ(set.exitCode, 0) << set.err;
    // No token until a new bank is made.
    EXPECT_EQ(set.out, "saved as the default word bank\ntoken: \nremark: 示例\nwords: 463\n"
                       "owner: this device\n");
    ASSERT_EQ(run("settings set --prefix zz").out, "settings stored\n");

    const std::string original = treeDump(project());
    const auto result = run("rename " + project());
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(readFile(project() + "/MethodReplaceList.txt").find("\nNew --> zz"),
              std::string::npos);
    const auto backups = backupsIn(home_.path() / "Quillet" / "Backup");
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_NE(result.err.find("\nbackup: " + backups.front().string() + "\n"), std::string::npos)
        << result.err;
    // The archive holds the project as it was before the rename.
    const fs::path unpacked = scratch_.path() / "unpacked";
    const std::string unzip =
        "unzip -q '" + backups.front().string() + "' -d '" + unpacked.string() + "'";
    ASSERT_EQ(std::system(unzip.c_str()), 0);
    EXPECT_EQ(treeDump(unpacked / "DemoShop"), original);
}

// The word file the README offers for a first run: as many words as a bank may hold, all kept.
TEST_F(Cli, TheExampleBankTextIsAWholeBankThatNamesTheExample) {
    const std::string bank = QUILLET_EXAMPLES_DIR "/bank-words.txt";
    const auto verified = run("bank verify " + bank);
    ASSERT_EQ(verified.exitCode, 0) << verified.err;
    EXPECT_EQ(verified.out, "words: 2000\n");
    ASSERT_EQ(run("bank set " + bank).exitCode, 0);
    const auto renamed = run("rename " + project() + " --quiet --no-backup");
    EXPECT_EQ(renamed.exitCode, 0) << renamed.err;
}

TEST_F(Cli, ABackupThatFailsStopsTheRunBeforeAnythingIsWritten) {
    const std::string blocker = scratch_.write("blocker", "a file, not a folder");
    ASSERT_EQ(run("settings set --backup-dir " + blocker + "/Backup").exitCode, 0);
    const std::string before = treeDump(project());
    const auto result = run("rename " + project() + " --random --quiet");
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.err.find("quillet-cli: the backup could not be made: Could not create " +
                              blocker + "/Backup"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("the project was not changed; fix the backup directory " + blocker +
                              "/Backup"),
              std::string::npos)
        << result.err;
    EXPECT_NE(result.err.find("or rename with --no-backup\n"), std::string::npos) << result.err;
    EXPECT_EQ(treeDump(project()), before);

    const auto skipped = run("rename " + project() + " --random --no-backup");
    EXPECT_EQ(skipped.exitCode, 0);
    EXPECT_EQ(skipped.err.find("backup:"), std::string::npos);
}

TEST_F(Cli, BankCommandsFollowTheWordBankRules) {
    const std::string bad = scratch_.write("bad.txt", "hello world,词语\n");
    const auto refused = run("bank verify " + bad);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "quillet-cli: " + bad +
                               " is not a word bank text: it may hold only ASCII letters, \",\" "
                               "and spaces, and must not be empty\n");
    EXPECT_EQ(run("bank set " + bad).exitCode, 1);

    const std::string good =
        scratch_.write("good.txt", "userAction, loginManager，abc,userAction\n");
    // "abc" is too short and "userAction" comes twice.
    EXPECT_EQ(run("bank verify " + good).out,
              "words: 2\nleft out (7 letters or fewer, or repeated): 2\n");

    const auto made = run("bank new --remark 'A&B'");
    ASSERT_EQ(made.exitCode, 0) << made.err;
    // A bank with words is only replaced on purpose.
    ASSERT_EQ(run("bank set " + good).exitCode, 0);
    const auto kept = run("bank new");
    EXPECT_EQ(kept.exitCode, 1);
    EXPECT_NE(kept.err.find("holds 2 words; bank new --force replaces it"), std::string::npos)
        << kept.err;
    EXPECT_NE(run("bank show").out.find("words: 2\n"), std::string::npos);
    const auto replaced = run("bank new --remark 'A&B' --force");
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err;
    const std::regex tip("saved as the default word bank\ntoken: ([0-9A-F]{32})\nremark: "
                         "A＆B\nwords: 0\nowner: this device\n");
    std::smatch token;
    ASSERT_TRUE(std::regex_match(replaced.out, token, tip)) << replaced.out;
    ASSERT_EQ(run("bank set " + good).exitCode, 0);
    const auto shown = run("bank show");
    EXPECT_EQ(shown.out,
              "token: " + token[1].str() + "\nremark: A＆B\nwords: 2\nowner: this device\n");

    // Another device's bank, as older versions stored it with the owner's identifier: that
    // identifier is the owner's credential and is not printed.
    WordModel theirs;
    theirs.id = token[1].str();
    theirs.uuid = std::string(32, 'F');
    theirs.title = "theirs";
    theirs.text = "userAction";
    DefaultsStore store(home_.str() + "/.config/Quillet/Defaults.json");
    ASSERT_TRUE(theirs.save(store));
    EXPECT_EQ(run("bank show").out,
              "token: " + token[1].str() + "\nremark: theirs\nwords: 1\nowner: another device\n");
}

TEST_F(Cli, SettingsKeepTheBackupDirectoryToThePathRule) {
    const auto defaults = run("settings show");
    EXPECT_EQ(defaults.out,
              "backup directory: " + home_.str() +
                  "/Quillet/Backup\nmethod prefix: \nclass prefix: \nrename mode in the app: "
                  "precise\nkinds of names a precise run renames: methods\n");
    const auto refused = run("settings set --backup-dir '/with space' --prefix p");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "quillet-cli: cannot store the backup directory /with space: a path "
                           "may hold only ASCII letters, digits, \"_\", \"/\", \".\" and \"-\" "
                           "(no spaces, no other characters); nothing was stored\n");
    EXPECT_EQ(run("settings show").out, defaults.out); // neither field changed

    // The prefix goes into selectors, so it keeps to their rule; a relative directory would
    // depend on where the next run starts.
    for (const char* refusedPrefix : {"'my prefix'", "前缀", "9a"}) {
        EXPECT_EQ(run(std::string("settings set --prefix ") + refusedPrefix).exitCode, 2);
    }
    EXPECT_EQ(run("settings set --backup-dir backups").exitCode, 1);
    EXPECT_EQ(run("settings show").out, defaults.out);
    ASSERT_EQ(run("settings set --backup-dir /srv/backups --prefix my_prefix").exitCode, 0);
    EXPECT_EQ(run("settings show").out,
              "backup directory: /srv/backups\nmethod prefix: my_prefix\nclass prefix: \nrename "
              "mode in the app: precise\nkinds of names a precise run renames: methods\n");
}

} // namespace
} // namespace quillet::test
