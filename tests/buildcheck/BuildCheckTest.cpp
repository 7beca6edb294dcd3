// A rename must leave a project building exactly as well as before. quillet-cli renames a copy of
// a Foundation-only project full of the traps a renamer meets, and clang checks the copy against
// the GNUstep headers before and after.
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/Command.h"
#include "support/Files.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

std::size_t countMatches(const std::string& text, const std::regex& pattern) {
    return static_cast<std::size_t>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), pattern), {}));
}

// Matches `piece` only where it is a whole identifier followed by its colon.
std::regex keyword(const std::string& piece) {
    return std::regex("\\b" + piece + ":");
}

// The MethodReplaceList.txt entries, old selector -> every new name given to it.
std::map<std::string, std::vector<std::string>> renames(const std::string& list) {
    std::map<std::string, std::vector<std::string>> found;
    const std::regex entry("Old --> ([^\\n]+)\\nNew --> ([^\\n]+)\\n");
    for (auto it = std::sregex_iterator(list.begin(), list.end(), entry);
         it != std::sregex_iterator(); ++it) {
        found[(*it)[1].str()].push_back((*it)[2].str());
    }
    return found;
}

std::vector<std::string> pieces(const std::string& selector) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t colon; (colon = selector.find(':', start)) != std::string::npos;
         start = colon + 1) {
        result.push_back(selector.substr(start, colon - start));
    }
    return result;
}

class BuildCheck : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef __linux__
        GTEST_SKIP() << "the check compiles against GNUstep's Foundation, set up on Linux only";
#endif
        fs::copy(QUILLET_BUILDCHECK_PROJECT, project(), fs::copy_options::recursive);
    }

    std::string project() const {
        return (root_.path() / "FoundationShop").string();
    }
    std::string source(const std::string& relative) const {
        return readFile(project() + "/" + relative);
    }

    CommandResult syntaxCheck() const {
        return runCommand("bash " + shellQuoted(QUILLET_BUILDCHECK_SCRIPT) + " " +
                              shellQuoted(project()),
                          scratch_);
    }

    CommandResult runRename() const {
        return runCommand("HOME=" + shellQuoted(home_.str()) + " " + shellQuoted(QUILLET_CLI_PATH) +
                              " rename " + shellQuoted(project()) + " --random --no-backup --quiet",
                          scratch_);
    }

    // Every .h and .m file of the copy, one after the other.
    std::string allSources() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(project())) {
            const auto extension = entry.path().extension();
            if (entry.is_regular_file() && (extension == ".h" || extension == ".m")) {
                files[entry.path().string()] = readFile(entry.path());
            }
        }
        std::string all;
        for (const auto& [path, content] : files) {
            all += content + "\n";
        }
        return all;
    }

    // Renames the copy and returns the entries of its MethodReplaceList.txt.
    std::map<std::string, std::vector<std::string>> renameCopy() const {
        const auto result = runRename();
        EXPECT_EQ(result.exitCode, 0) << result.err;
        const fs::path list = project() + "/MethodReplaceList.txt";
        EXPECT_TRUE(fs::exists(list)) << result.err;
        return fs::exists(list) ? renames(readFile(list))
                                : std::map<std::string, std::vector<std::string>>{};
    }

    TempDir root_;
    TempDir home_;
    TempDir scratch_;
};

TEST_F(BuildCheck, TheFixtureCompilesWithoutDiagnostics) {
    const auto check = syntaxCheck();
    ASSERT_EQ(check.exitCode, 0) << check.err;
    EXPECT_EQ(check.out, "");
}

// Proves the check can fail: the naive rename of an SDK selector that every renamer must avoid.
TEST_F(BuildCheck, TheCheckReportsAnSdkSelectorRenamedInTheProjectOnly) {
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(project())) {
        if (!entry.is_regular_file() || entry.path().extension() != ".m") {
            continue;
        }
        std::string text = readFile(entry.path());
        const std::string renamed =
            std::regex_replace(text, keyword("stringWithFormat"), "zzqStringWithFormat:");
        if (renamed != text) {
            writeFile(entry.path(), renamed);
            ++files;
        }
    }
    ASSERT_GT(files, 3u);
    const auto check = syntaxCheck();
    ASSERT_EQ(check.exitCode, 0) << check.err;
    const std::regex notFound(
        R"((^|\n)[^\n]+\.m:[0-9]+:[0-9]+: warning: class method '\+zzqStringWithFormat:' not found)");
    EXPECT_GE(countMatches(check.out, notFound), files) << check.out;
    EXPECT_EQ(check.out.find(root_.str()), std::string::npos) << "paths are project-relative";
}

TEST_F(BuildCheck, ARenamedCopyCompilesExactlyAsTheOriginal) {
    const auto before = syntaxCheck();
    ASSERT_EQ(before.exitCode, 0) << before.err;
    ASSERT_EQ(before.out, "");
    const std::string sources = allSources();

    const auto renamed = renameCopy();
    ASSERT_FALSE(renamed.empty());
    ASSERT_NE(allSources(), sources) << "the rename changed nothing";

    const auto after = syntaxCheck();
    ASSERT_EQ(after.exitCode, 0) << after.err;
    EXPECT_EQ(after.out, before.out);
}

TEST_F(BuildCheck, TheProjectsOwnSelectorsAreRenamedEverywhere) {
    const std::string sourcesBefore = allSources();
    const auto renamed = renameCopy();
    const auto newName = [&](const std::string& old) {
        const auto found = renamed.find(old);
        return found == renamed.end() ? std::string() : found->second.front();
    };
    for (const std::string old :
         {"orderStore:didAddOrder:", "orderStore:didRemoveOrder:", "orderStoreDidReload:",
          "shopTrimmedToLength:", "shopPriceStringWithCents:currency:", "checkoutTapped:",
          "applyCouponCode:", "configureWithName:price:", "configureWithName:price:downloadPath:",
          "totalWithTaxRate:discount:shippingCents:", "addProduct:quantity:",
          "shopSummaryWithCurrency:"}) {
        ASSERT_EQ(renamed.count(old), 1u) << old << " is the project's own and must be renamed";
        const auto& names = renamed.at(old);
        for (const auto& name : names) {
            EXPECT_EQ(name, names.front()) << old << " got two new names";
            EXPECT_NE(name, old);
            EXPECT_EQ(pieces(name).size(), pieces(old).size()) << old << " --> " << name;
        }
    }

    // Methods with a block in their signature are never collected.
    EXPECT_EQ(renamed.count("fetchOrdersWithLimit:completion:"), 0u);

    // Each use of a one-piece selector now carries the new name, and none the old one.
    const std::string all = allSources();
    const std::string trimmed = newName("shopTrimmedToLength:");
    const auto oldUses = countMatches(sourcesBefore, keyword("shopTrimmedToLength"));
    ASSERT_GT(oldUses, 2u);
    EXPECT_EQ(countMatches(all, keyword("shopTrimmedToLength")), 0u);
    EXPECT_EQ(countMatches(all, keyword(trimmed.substr(0, trimmed.size() - 1))), oldUses);

    // The guard and the call it guards share a line; both parts of it follow the rename.
    const std::string removed = newName("orderStore:didRemoveOrder:");
    const auto removedPieces = pieces(removed);
    ASSERT_EQ(removedPieces.size(), 2u);
    EXPECT_NE(source("Services/OrderStore.m")
                  .find("if ([self.delegate respondsToSelector:@selector(" + removed +
                        ")]) [self.delegate " + removedPieces[0] + ":self " + removedPieces[1] +
                        ":order];"),
              std::string::npos);

    // A super call to the project's own method, and a message sent from a macro body.
    const auto configure = pieces(newName("configureWithName:price:"));
    ASSERT_EQ(configure.size(), 2u);
    EXPECT_NE(source("Models/DigitalProduct.m")
                  .find("[super " + configure[0] + ":name " + configure[1] + ":priceCents];"),
              std::string::npos);
    const auto price = pieces(newName("shopPriceStringWithCents:currency:"));
    ASSERT_EQ(price.size(), 2u);
    EXPECT_NE(
        source("Shared/ShopDefines.h")
            .find("[NSString " + price[0] + ":(cents) " + price[1] + ":SHOP_DEFAULT_CURRENCY]"),
        std::string::npos);

    // Names that the compiler never sees: the xib action and the string looked up at run time.
    const std::string action = newName("checkoutTapped:");
    const std::string xib = source("Resources/Checkout.xib");
    EXPECT_NE(xib.find("<action selector=\"" + action + "\" destination=\"-1\""), std::string::npos)
        << xib;
    EXPECT_EQ(xib.find("\"checkoutTapped:\""), std::string::npos);
    EXPECT_NE(source("Controllers/CheckoutController.h").find("- (IBAction)" + action + "(id)"),
              std::string::npos);
    const std::string coupon = newName("applyCouponCode:");
    const std::string controller = source("Controllers/CheckoutController.m");
    EXPECT_NE(controller.find("NSSelectorFromString(@\"" + coupon + "\")"), std::string::npos);
    EXPECT_EQ(controller.find("@\"applyCouponCode:\""), std::string::npos);
}

TEST_F(BuildCheck, SelectorsTheSdkOwnsAreLeftAlone) {
    // The project declares or overrides most of these in its own headers, so a renamer that
    // trusts those headers alone would take them.
    const std::vector<std::string> sdk = {
        "stringWithFormat:",
        "stringByAppendingString:",
        "observeValueForKeyPath:ofObject:change:context:",
        "addObserver:forKeyPath:options:context:",
        "objectAtIndexedSubscript:",
        "setObject:atIndexedSubscript:",
        "objectForKeyedSubscript:",
        "isEqual:",
        "copyWithZone:",
        "respondsToSelector:",
        "performSelector:withObject:",
    };
    std::map<std::string, std::size_t> before;
    const std::string sourcesBefore = allSources();
    for (const auto& selector : sdk) {
        for (const auto& piece : pieces(selector)) {
            before[piece] = countMatches(sourcesBefore, keyword(piece));
            EXPECT_GT(before[piece], 0u) << piece << " is not in the fixture";
        }
    }

    const auto renamed = renameCopy();
    ASSERT_FALSE(renamed.empty());
    const std::string sourcesAfter = allSources();
    for (const auto& selector : sdk) {
        EXPECT_EQ(renamed.count(selector), 0u) << selector << " was renamed";
        for (const auto& piece : pieces(selector)) {
            EXPECT_EQ(countMatches(sourcesAfter, keyword(piece)), before[piece])
                << piece << " of " << selector;
        }
    }
    EXPECT_NE(source("Services/OrderObserver.m")
                  .find("[super observeValueForKeyPath:keyPath ofObject:object change:change "
                        "context:context];"),
              std::string::npos);
}

TEST_F(BuildCheck, AFileWithWindowsLineEndsKeepsThem) {
    const std::string name = "Services/OrderObserver.m";
    const std::string before = source(name);
    const auto lineEnds = [](const std::string& text) {
        std::size_t crlf = 0;
        std::size_t bare = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ++(i > 0 && text[i - 1] == '\r' ? crlf : bare);
            }
        }
        return std::make_pair(crlf, bare);
    };
    ASSERT_GT(lineEnds(before).first, 50u);
    ASSERT_EQ(lineEnds(before).second, 0u);

    renameCopy();
    const std::string after = source(name);
    EXPECT_NE(after, before) << "it implements the delegate, so the rename must reach it";
    EXPECT_EQ(lineEnds(after), lineEnds(before));
}

} // namespace
} // namespace quillet::test
