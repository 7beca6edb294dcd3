#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

// Writes a deterministic, realistic Objective-C project for benchmarks and tests: modules of
// classes and categories, import chains, umbrella headers imported by groups of files,
// multi-line declarations and calls, @selector uses, CRLF files, and selector pieces that
// contain one another.
namespace quillet::bench {

struct CorpusOptions {
    std::uint64_t seed = 1;
    std::size_t files = 2400;   // about; each class is a header and an implementation file
    std::size_t methods = 4000; // declarations the engine collects
    std::size_t lines = 600000; // about
    int crlfPercent = 10;       // share of files with "\r\n" line ends
    int overlapPercent = 10;    // share of selectors whose first piece contains another's
    // Doc comments and NSSelectorFromString strings that name selectors, which the literal and
    // the precise mode treat differently.
    bool selectorsInText = true;

    // The large project of the benchmark.
    static CorpusOptions large();
    // A project small enough for a unit test, different for every seed.
    static CorpusOptions small(std::uint64_t seed);
};

struct CorpusStats {
    std::size_t files = 0;
    std::size_t lines = 0;
    std::size_t bytes = 0;
    std::size_t methods = 0;
};

// Creates `root` (which must not hold a project already) and fills it.
CorpusStats generateCorpus(const CorpusOptions& options, const std::filesystem::path& root);

} // namespace quillet::bench
