// The precise mode against the literal one on generated projects where nothing needs protecting
// and no comment or string holds a selector: both must write the same bytes.
#include <filesystem>

#include <gtest/gtest.h>

#include "CorpusGenerator.h"
#include "engine/MRenameTool.h"
#include "job/RenameStrategies.h"
#include "random/RandomSource.h"
#include "support/EngineRun.h"
#include "support/Files.h"
#include "text/UnifiedDiff.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

TEST(PreciseDifferential, PreciseAndLiteralWriteTheSameBytesWhereNothingIsProtected) {
    for (std::uint64_t seed = 1; seed <= 8; ++seed) {
        TempDir source;
        auto options = bench::CorpusOptions::small(seed);
        options.selectorsInText = false;
        bench::generateCorpus(options, source.path());
        TempDir literalCopy;
        TempDir preciseCopy;
        fs::copy(source.path(), literalCopy.path(), fs::copy_options::recursive);
        fs::copy(source.path(), preciseCopy.path(), fs::copy_options::recursive);

        SeededRandom random(seed);
        MRenameTool literal(random, strategyFor(RenameMode::literal));
        scan(literal, literalCopy.str());
        MRenameTool precise(random, strategyFor(RenameMode::precise));
        scan(precise, preciseCopy.str());
        ASSERT_EQ(precise.protectedCount(), 0u) << "seed " << seed;
        ASSERT_EQ(precise.allMethodNames().size(), literal.allMethodNames().size());
        for (std::size_t i = 0; i < literal.allMethodNames().size(); ++i) {
            ASSERT_EQ(precise.allMethodNames()[i].selector(),
                      literal.allMethodNames()[i].selector());
            ASSERT_EQ(precise.allMethodNames()[i].file, literal.allMethodNames()[i].file);
        }

        const auto pairs = *literal.makeNewNames({});
        literal.replace(pairs);
        precise.replace(pairs);
        const std::string renamed = treeDump(literalCopy.path());
        ASSERT_NE(renamed, treeDump(source.path())) << "seed " << seed;
        const std::string preciseTree = treeDump(preciseCopy.path());
        ASSERT_TRUE(preciseTree == renamed)
            << "seed " << seed << "\n"
            << text::unifiedDiff(renamed, preciseTree, "literal", "precise");
    }
}

} // namespace
} // namespace quillet::test
