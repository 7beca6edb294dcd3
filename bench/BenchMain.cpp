// Measures a whole rename of a generated large project: the cli end to end in the literal and
// the precise mode side by side (time and peak memory), the engine's phases in process, the
// plain replacement pass as the baseline of the literal one (checking that both write the same
// bytes), and the reading of a generated SDK folder, first and from the cache.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "CorpusGenerator.h"
#include "SdkHeaders.h"
#include "TreeCompare.h"
#include "engine/MRenameTool.h"
#include "job/RenameStrategies.h"
#include "log/Console.h"
#include "precise/SdkSelectors.h"
#include "random/RandomSource.h"
#include "support/LiteralReplace.h"
#include "text/Text.h"

namespace stdfs = std::filesystem;
using namespace quillet;

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Copies are only removed at the end: on some file systems a burst of deleted files slows down
// creating new ones for minutes, which would be charged to the next run.
stdfs::path freshCopy(const stdfs::path& corpus, const stdfs::path& workRoot,
                      const std::string& name) {
    const stdfs::path copy = workRoot / name;
    stdfs::copy(corpus, copy, stdfs::copy_options::recursive);
    return copy;
}

struct Phases {
    double scan = 0, collect = 0, names = 0, replace = 0, write = 0;
    double total() const { return scan + collect + names + replace + write; }
};

struct EngineRun {
    Phases phases;
    std::size_t pairs = 0;
    std::size_t logEntries = 0;
};

// The engine's stages one by one; `plain` swaps in the plain pass (which writes as well).
EngineRun runEngine(const stdfs::path& project, RenameMode mode, bool plain) {
    EngineRun run;
    SeededRandom random(42);
    MRenameTool tool(random, strategyFor(mode));
    Console::shared().clear();
    auto start = Clock::now();
    tool.setRootPath(project.string());
    tool.loadFiles({});
    run.phases.scan = since(start);
    start = Clock::now();
    tool.collectMethods();
    tool.allMethodNames();
    run.phases.collect = since(start);
    start = Clock::now();
    const auto pairs = *tool.makeNewNames({});
    run.phases.names = since(start);
    run.pairs = pairs.size();
    start = Clock::now();
    if (plain) {
        test::replaceLiterally(tool, pairs);
        run.phases.replace = since(start);
    } else {
        const std::string list = tool.rewrite(pairs);
        run.phases.replace = since(start);
        start = Clock::now();
        tool.writeOutputs(list);
        run.phases.write = since(start);
    }
    const std::string log = bench::contentOf(Console::shared().path());
    run.logEntries = static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n')) / 3;
    return run;
}

// Writes as many log entries as the run did, in as many batches, to a log of its own: the
// share of the replacement phase that is spent on the log.
double logCost(std::size_t entries, std::size_t batches, const stdfs::path& path) {
    Console console(path.string());
    console.clear();
    const std::string entry = "2026-12-06 10:00:00.000 in ReplacementPass.cpp replace(factor:) "
                              "[Line 78]:\nSomeClassName.m\n";
    const std::size_t perBatch =
        std::max<std::size_t>(1, entries / std::max<std::size_t>(1, batches));
    const auto start = Clock::now();
    std::string batch;
    for (std::size_t written = 0; written < entries;) {
        const std::size_t count = std::min(perBatch, entries - written);
        batch.clear();
        for (std::size_t k = 0; k < count; ++k) {
            batch += k == 0 ? "" : "\n";
            batch += entry;
        }
        console.saveJoined(batch, count);
        written += count;
    }
    return since(start);
}

struct CliFigures {
    std::vector<double> seconds;
    long peakKilobytes = 0;

    double median() const {
        auto sorted = seconds;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
    double peakMB() const { return static_cast<double>(peakKilobytes) / 1024.0; }
};

bool addCliRun(CliFigures& figures, const stdfs::path& project, const char* mode,
               const stdfs::path& home) {
    const auto child = bench::runChild(
        QUILLET_CLI_PATH,
        {"rename", project.string(), "--random", "--quiet", "--no-backup", "--mode", mode},
        home.string());
    if (child.exitCode != 0) {
        std::fprintf(stderr, "quillet-cli --mode %s failed with exit code %d\n", mode,
                     child.exitCode);
        return false;
    }
    figures.seconds.push_back(child.seconds);
    figures.peakKilobytes = std::max(figures.peakKilobytes, child.peakKilobytes);
    return true;
}

// A folder of SDK headers read the first time (parsed) and the second (from the cache).
void measureSdk(const stdfs::path& workRoot, std::size_t headers) {
    const stdfs::path sdk = workRoot / "sdk";
    const auto bytes = bench::writeSdkHeaders(sdk, headers, 7);
    const SdkSelectorCache cache((workRoot / "sdk-cache").string());
    auto start = Clock::now();
    const auto first = cache.load(sdk.string());
    const double parsed = since(start);
    start = Clock::now();
    const auto again = cache.load(sdk.string());
    const double cached = since(start);
    std::printf("SDK folder: %zu headers, %.1f MB, %zu selectors: parsed in %.3f s, from the "
                "cache in %.3f s%s\n",
                first->headers, static_cast<double>(bytes) / 1e6, first->selectors.size(), parsed,
                cached, again->fromCache ? "" : " (NOT CACHED)");
}

void printPhases(const char* title, const Phases& p) {
    std::printf(
        "%-22s scan %.3f  collect %.3f  names %.3f  replace %.3f  write %.3f  total %.3f s\n",
        title, p.scan, p.collect, p.names, p.replace, p.write, p.total());
}

} // namespace

int main(int argc, char** argv) {
    bool runLiteral = true;
    int cliRuns = 3;
    std::size_t sdkHeaders = 4000;
    stdfs::path workParent = stdfs::temp_directory_path();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--skip-literal") {
            runLiteral = false;
        } else if (arg == "--cli-runs" && i + 1 < argc) {
            cliRuns = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--sdk-headers" && i + 1 < argc) {
            sdkHeaders = static_cast<std::size_t>(std::max(1, std::atoi(argv[++i])));
        } else if (arg == "--work" && i + 1 < argc) {
            workParent = argv[++i]; // e.g. a memory file system, to leave the disk out
        } else {
            std::fprintf(stderr,
                         "usage: quillet-bench [--skip-literal] [--cli-runs N] [--sdk-headers N] "
                         "[--work DIR]\n");
            return 2;
        }
    }
    const stdfs::path workRoot = workParent / "quillet-bench";
    stdfs::remove_all(workRoot);
    stdfs::create_directories(workRoot / "home");
    ::setenv("HOME", (workRoot / "home").c_str(), 1);
    Console::shared().setEcho(false);

    const stdfs::path corpus = workRoot / "corpus";
    auto start = Clock::now();
    const auto stats = bench::generateCorpus(bench::CorpusOptions::large(), corpus);
    const auto bytes = bench::sourceBytes(corpus);
    std::printf("corpus: %zu files, %zu lines, %.1f MB of sources, %zu methods declared (%.1f s to "
                "generate)\n",
                stats.files, stats.lines, static_cast<double>(bytes) / 1e6, stats.methods,
                since(start));

    // Reads the platform's SDK folders into the cache once, so every precise run finds them
    // the same way.
    bench::runChild(QUILLET_CLI_PATH, {"methods", corpus.string()}, (workRoot / "home").string());
    CliFigures literalCli;
    CliFigures preciseCli;
    for (int i = 0; i < cliRuns; ++i) {
        // Alternately, so that the machine's moods fall on both alike.
        const auto literalCopy = freshCopy(corpus, workRoot, "literal-" + std::to_string(i));
        const auto preciseCopy = freshCopy(corpus, workRoot, "precise-" + std::to_string(i));
        if (!addCliRun(literalCli, literalCopy, "literal", workRoot / "home") ||
            !addCliRun(preciseCli, preciseCopy, "precise", workRoot / "home")) {
            return 1;
        }
    }
    const double budgetMB = 4.0 * static_cast<double>(bytes) / (1024.0 * 1024.0) + 50.0;
    std::printf("cli rename --random, median of %d runs each: literal %.3f s, precise %.3f s "
                "(precise / literal = %.2f)\n",
                cliRuns, literalCli.median(), preciseCli.median(),
                preciseCli.median() / literalCli.median());
    std::printf("peak memory: literal %.1f MB, precise %.1f MB (budget 4 x sources + 50 MB = "
                "%.1f MB)\n",
                literalCli.peakMB(), preciseCli.peakMB(), budgetMB);

    const auto indexed =
        runEngine(freshCopy(corpus, workRoot, "indexed"), RenameMode::literal, false);
    const double log = logCost(indexed.logEntries, indexed.pairs, workRoot / "log-cost.txt");
    std::printf("pairs %zu, log entries %zu\n", indexed.pairs, indexed.logEntries);
    printPhases("indexed pass:", indexed.phases);
    std::printf("%-22s of the replace phase about %.3f s is the log, %.3f s the rewriting\n", "",
                log, std::max(0.0, indexed.phases.replace - log));
    const auto precise =
        runEngine(freshCopy(corpus, workRoot, "precise"), RenameMode::precise, false);
    printPhases("precise (no SDK):", precise.phases);

    if (runLiteral) {
        const auto plain =
            runEngine(freshCopy(corpus, workRoot, "plain"), RenameMode::literal, true);
        printPhases("plain pass (baseline):", plain.phases);
        const auto difference = bench::firstDifference(workRoot / "plain", workRoot / "indexed");
        std::printf("outputs %s\n",
                    difference.empty() ? "byte-identical" : ("DIFFER at " + difference).c_str());
        std::printf("replacement + writing: indexed %.3f s, plain %.3f s: %.0f x faster\n",
                    indexed.phases.replace + indexed.phases.write, plain.phases.replace,
                    plain.phases.replace / (indexed.phases.replace + indexed.phases.write));
        std::printf("whole run in process: indexed %.3f s, plain %.3f s: %.0f x faster\n",
                    indexed.phases.total(), plain.phases.total(),
                    plain.phases.total() / indexed.phases.total());
        if (!difference.empty()) {
            return 1;
        }
    }
    measureSdk(workRoot, sdkHeaders);
    stdfs::remove_all(workRoot);
    return 0;
}
