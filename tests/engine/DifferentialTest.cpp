// The indexed replacement pass against the plain one on generated projects full of the cases
// that trip an index: pieces inside other pieces (count: / recount:), shared leading pieces,
// new names equal to later old pieces, separators and signs in odd places, cycles of imports.
#include <filesystem>

#include <gtest/gtest.h>

#include "engine/MRenameTool.h"
#include "log/Console.h"
#include "random/RandomSource.h"
#include "support/EngineRun.h"
#include "support/Files.h"
#include "support/LiteralReplace.h"

namespace quillet::test {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> words = {"load",  "loadData", "data", "count",    "recount",
                                        "name",  "Name",     "with", "withName", "item",
                                        "items", "at",       "x",    "do"};

class ProjectWriter {
public:
    explicit ProjectWriter(std::uint64_t seed) : random_(seed) {}

    void write(const fs::path& root) {
        const int headers = 3 + pick(6);
        for (int h = 0; h < headers; ++h) {
            std::string text = imports(headers);
            for (int m = pick(5); m >= 0; --m) {
                text += comment() + declaration() + lineEnd();
            }
            save(root / ("Class" + std::to_string(h) + ".h"), text);
            save(root / ("Class" + std::to_string(h) + (pick(4) == 0 ? ".mm" : ".m")),
                 body(headers));
        }
        save(root / "Umbrella.h", "#import \"Class0.h\"\n#import \"Class1.h\"\n");
        for (int u = pick(4); u >= 0; --u) {
            save(root / ("Sub Folder/User" + std::to_string(u) + ".m"), body(headers));
        }
    }

private:
    int pick(int n) { return static_cast<int>(random_.uniform(static_cast<std::uint32_t>(n))); }
    const std::string& word() { return words[pick(static_cast<int>(words.size()))]; }

    const std::string& lineEnd() const {
        static const std::string crlf = "\r\n";
        static const std::string lf = "\n";
        return crlf_ ? crlf : lf;
    }

    std::string imports(int headers) {
        std::string text;
        for (int i = pick(3); i > 0; --i) {
            text += "#import \"Class" + std::to_string(pick(headers)) + ".h\"" + lineEnd();
        }
        if (pick(3) == 0) {
            text += "#import \"Umbrella.h\"" + lineEnd();
        }
        return text;
    }

    std::string comment() {
        switch (pick(4)) {
        case 0:
            return "// uses " + word() + ": and " + word() + ":" + lineEnd();
        case 1:
            return "/** - (void)" + word() + ":(id)a */" + lineEnd();
        default:
            return "";
        }
    }

    std::string between() {
        static const std::vector<std::string> gaps = {" ", " ", "\n        ", "\n", "  ", "\t"};
        return gaps[pick(static_cast<int>(gaps.size()))];
    }

    std::string signature() {
        std::string text = pick(3) == 0 ? "+ (id)" : "- (void)";
        for (int p = pick(3); p >= 0; --p) {
            text += word() + ":(int)a" + std::to_string(p);
            if (p > 0) {
                text += between();
            }
        }
        return text;
    }

    std::string declaration() { return signature() + ";"; }

    std::string call() {
        static const std::vector<std::string> receivers = {"[self ", "[(id)o ", "[o\n", "[o.x "};
        std::string text = receivers[pick(static_cast<int>(receivers.size()))];
        for (int p = pick(3); p >= 0; --p) {
            text += word() + ":" + std::to_string(p) + (p > 0 ? between() : "");
        }
        return text + "]";
    }

    std::string selectorExpression() {
        std::string selector;
        for (int p = pick(2); p >= 0; --p) {
            selector += word() + ":";
        }
        return "@selector(" + selector + ")";
    }

    std::string statement() {
        switch (pick(6)) {
        case 0:
            return "SEL s = " + selectorExpression() + ";";
        case 1:
            return "x = a - (b + " + call() + ");";
        case 2:
            return "NSLog(@\"" + word() + ": %d\", 1); // " + word() + ":";
        default:
            return call() + ";";
        }
    }

    std::string body(int headers) {
        crlf_ = pick(4) == 0;
        std::string text = imports(headers) + "@implementation X" + lineEnd();
        for (int m = pick(4); m >= 0; --m) {
            text += signature();
            text += pick(2) == 0 ? std::string(" ") : lineEnd();
            text += '{';
            text += lineEnd();
            for (int s = pick(4); s >= 0; --s) {
                text += "    " + statement() + lineEnd();
            }
            text += '}';
            text += lineEnd();
            text += lineEnd();
        }
        return text + "@end" + lineEnd();
    }

    void save(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        writeFile(path, text);
        crlf_ = pick(4) == 0;
    }

    SeededRandom random_;
    bool crlf_ = false;
};

// New names drawn from the old pieces themselves, so one rename can create another's old text.
std::vector<RenamePair> tangledPairs(const std::vector<MethodModel>& methods, std::uint64_t seed) {
    SeededRandom random(seed);
    std::vector<std::string> pool;
    for (const auto& method : methods) {
        pool.insert(pool.end(), method.elements.begin(), method.elements.end());
    }
    pool.push_back("fresh:");
    std::vector<RenamePair> pairs;
    for (const auto& method : methods) {
        MethodModel renamed;
        for (std::size_t k = 0; k < method.elements.size(); ++k) {
            renamed.elements.push_back(
                pool[random.uniform(static_cast<std::uint32_t>(pool.size()))]);
        }
        pairs.push_back({method, renamed});
    }
    return pairs;
}

struct Outcome {
    std::string tree;
    std::vector<std::string> log;
};

template <typename Replace>
Outcome run(const fs::path& source, const TempDir& work, std::uint64_t seed, Replace replace) {
    fs::copy(source, work.path(), fs::copy_options::recursive);
    MRenameTool tool;
    tool.setRootPath(work.str());
    if (!tool.loadFiles({})) {
        return {treeDump(work.path()), {}};
    }
    tool.collectMethods();
    Console::shared().clear();
    replace(tool, tangledPairs(tool.allMethodNames(), seed));
    return {treeDump(work.path()), logValues(readFile(Console::shared().path()))};
}

TEST(IndexedReplacement, MatchesThePlainPassByteForByte) {
    for (std::uint64_t seed = 1; seed <= 60; ++seed) {
        TempDir source;
        ProjectWriter(seed).write(source.path());
        TempDir indexedDir;
        TempDir plainDir;
        const auto indexed = run(source.path(), indexedDir, seed,
                                 [](MRenameTool& tool, const auto& pairs) { tool.replace(pairs); });
        const auto plain =
            run(source.path(), plainDir, seed,
                [](MRenameTool& tool, const auto& pairs) { replaceLiterally(tool, pairs); });
        ASSERT_EQ(indexed.tree, plain.tree) << "seed " << seed;
        ASSERT_EQ(indexed.log, plain.log) << "seed " << seed;
        ASSERT_NE(indexed.tree, treeDump(source.path())) << "seed " << seed << " renamed nothing";
    }
}

} // namespace
} // namespace quillet::test
