#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "CorpusGenerator.h"
#include "engine/MRenameTool.h"
#include "random/RandomSource.h"
#include "support/EngineRun.h"
#include "support/Files.h"
#include "support/LiteralReplace.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;
using bench::CorpusOptions;
using bench::generateCorpus;

TEST(Corpus, SameSeedGivesTheSameProjectAndAnotherSeedAnotherOne) {
    TempDir first;
    TempDir second;
    TempDir third;
    const auto stats = generateCorpus(CorpusOptions::small(3), first.path() / "p");
    generateCorpus(CorpusOptions::small(3), second.path() / "p");
    generateCorpus(CorpusOptions::small(4), third.path() / "p");
    EXPECT_EQ(treeDump(first.path()), treeDump(second.path()));
    EXPECT_NE(treeDump(first.path()), treeDump(third.path()));
    EXPECT_EQ(stats.methods, CorpusOptions::small(3).methods);
}

TEST(Corpus, TheEngineFindsEveryPlannedMethodAndTheRealisticOddities) {
    TempDir dir;
    const auto options = CorpusOptions::small(11);
    generateCorpus(options, dir.path());
    MRenameTool tool;
    scan(tool, dir.str());
    EXPECT_EQ(tool.allMethodNames().size(), options.methods);
    const std::string tree = treeDump(dir.path());
    EXPECT_NE(tree.find("\r\n"), std::string::npos);
    EXPECT_NE(tree.find("+"), std::string::npos);
    EXPECT_NE(tree.find("Supporting Files/"), std::string::npos);
    EXPECT_NE(tree.find("@selector("), std::string::npos);
}

TEST(Corpus, IndexedAndPlainPassesAgreeOnGeneratedProjects) {
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        TempDir source;
        generateCorpus(CorpusOptions::small(seed), source.path());
        auto renameCopy = [&](const TempDir& work, bool plain) {
            fs::copy(source.path(), work.path(), fs::copy_options::recursive);
            SeededRandom random(seed);
            MRenameTool tool(random);
            scan(tool, work.str());
            const auto pairs = *tool.makeNewNames({});
            if (plain) {
                replaceLiterally(tool, pairs);
            } else {
                tool.replace(pairs);
            }
            return treeDump(work.path());
        };
        TempDir indexed;
        TempDir plain;
        const auto indexedTree = renameCopy(indexed, false);
        ASSERT_NE(indexedTree, treeDump(source.path())) << "seed " << seed;
        ASSERT_EQ(indexedTree, renameCopy(plain, true)) << "seed " << seed;
    }
}

} // namespace
} // namespace quillet::test
